// Backups, restores, compaction and data initialisation on real database files, and the two
// maintenance windows.
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Schema.h"
#include "core/UData.h"
#include "shell/DatabaseMaintenance.h"
#include "shell/uBackup.h"
#include "shell/uClearData.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A program folder with a new database, opened by a data module of its own.
struct Home {
    QTemporaryDir dir;
    std::unique_ptr<TFrmData> data;

    explicit Home(bool demo = false) {
        QDir(dir.path()).mkpath(QStringLiteral("DataBase"));
        {
            Database db;
            db.create(QDir(dir.path()).filePath(QStringLiteral("DataBase/Pelmora.db")));
            Schema::createNew(db, demo);
        }
        open();
    }
    void open() {
        data = std::make_unique<TFrmData>(dir.path());
        data->FormCreate();
    }
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    Database& db() { return data->db(); }
    void addMarker(const QString& name) {
        db().run(QStringLiteral("INSERT INTO tOther (tablename, name) VALUES ('Marker', ?)"), {name});
    }
    QStringList markers() { return markersIn(db()); }
    static QStringList markersIn(Database& db) {
        QSqlQuery q =
            db.exec(QStringLiteral("SELECT name FROM tOther WHERE tablename = 'Marker' ORDER BY id"));
        QStringList l;
        while (q.next())
            l << q.value(0).toString();
        return l;
    }
};

QStringList markersOfFile(const QString& file) {
    Database db;
    db.open(file);
    return Home::markersIn(db);
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeFile(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

int count(Database& db, const QString& sql, const QVariantList& values = {}) {
    return db.scalar(sql, values).toInt();
}

} // namespace

class TestShellMaintenance : public QObject {
    Q_OBJECT
private slots:
    void backupFileName_data();
    void backupFileName();
    void backupHoldsTheLatestRows();
    void restoreRoundTrip();
    void restoreRefusesForeignOrDamaged_data();
    void restoreRefusesForeignOrDamaged();
    void compactKeepsDataAndReportsFailure();
    void clearDataEmptiesItsGroupOnly_data();
    void clearDataEmptiesItsGroupOnly();
    void clearDataIsAllOrNothing();
    void clearDataWindow();
    void backupWindow();
};

void TestShellMaintenance::backupFileName_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder") << "/srv/backup"
                            << "/srv/backup/Pelmora_bak_2024-03-09.db";
    QTest::newRow("trailing slash") << "/srv/backup/"
                                    << "/srv/backup/Pelmora_bak_2024-03-09.db";
    QTest::newRow("root") << "/"
                          << "/Pelmora_bak_2024-03-09.db";
}

void TestShellMaintenance::backupFileName() {
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    QCOMPARE(DatabaseMaintenance::backupFileName(folder, QDate(2024, 3, 9)), expected);
}

void TestShellMaintenance::backupHoldsTheLatestRows() {
    Home home;
    QTemporaryDir target;
    const QDate day(2024, 3, 9);
    home.addMarker(QStringLiteral("first"));
    const QString file = DatabaseMaintenance::backup(home.db(), target.path(), day);
    QCOMPARE(file, QDir(target.path()).filePath(QStringLiteral("Pelmora_bak_2024-03-09.db")));
    QCOMPARE(markersOfFile(file), QStringList{QStringLiteral("first")});
    QVERIFY(DatabaseMaintenance::checkBackupFile(file).isEmpty());

    // A second backup on the same day replaces the first; nothing temporary stays behind.
    home.addMarker(QStringLiteral("second"));
    DatabaseMaintenance::backup(home.db(), target.path(), day);
    QCOMPARE(markersOfFile(file), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    QCOMPARE(QDir(target.path()).entryList(QDir::Files),
             QStringList{QStringLiteral("Pelmora_bak_2024-03-09.db")});

    QVERIFY_THROWS_EXCEPTION(DbError, DatabaseMaintenance::backup(home.db(), home.path("missing"), day));
}

void TestShellMaintenance::restoreRoundTrip() {
    Home home;
    QTemporaryDir target;
    home.addMarker(QStringLiteral("kept"));
    const QString backup = DatabaseMaintenance::backup(home.db(), target.path());
    home.addMarker(QStringLiteral("after backup"));

    QString error, safety;
    QVERIFY2(DatabaseMaintenance::restore(*home.data, backup, &error, &safety), qPrintable(error));
    QVERIFY(home.data->connected());
    QCOMPARE(Database::current(), &home.db());
    QCOMPARE(home.markers(), QStringList{QStringLiteral("kept")});
    // The replaced database is kept beside the restored one.
    QCOMPARE(QFileInfo(safety).absolutePath(), QFileInfo(home.data->databasePath()).absolutePath());
    QCOMPARE(markersOfFile(safety), (QStringList{QStringLiteral("kept"), QStringLiteral("after backup")}));
    // The connection writes again.
    home.addMarker(QStringLiteral("new"));
    QCOMPARE(home.markers().size(), 2);
}

void TestShellMaintenance::restoreRefusesForeignOrDamaged_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("text file") << "text";
    QTest::newRow("other program's database") << "foreign";
    QTest::newRow("damaged Pelmora database") << "damaged";
    QTest::newRow("newer Pelmora database") << "newer";
    QTest::newRow("the database itself") << "self";
}

void TestShellMaintenance::restoreRefusesForeignOrDamaged() {
    QFETCH(QString, kind);
    Home home;
    home.addMarker(QStringLiteral("current"));
    QTemporaryDir target;
    QString file = QDir(target.path()).filePath(QStringLiteral("Pelmora_bak_2024-03-09.db"));
    if (kind == QLatin1String("text")) {
        writeFile(file, "not a database\n");
    } else if (kind == QLatin1String("foreign")) {
        Database db;
        db.create(file);
        db.run(QStringLiteral("CREATE TABLE t (x)"));
    } else if (kind == QLatin1String("damaged")) {
        DatabaseMaintenance::backup(home.db(), target.path(), QDate(2024, 3, 9));
        QByteArray bytes = readAll(file);
        const int page = 4096;
        QVERIFY(bytes.size() > 8 * page);
        for (int i = 2 * page; i < bytes.size() - page; i += 3 * page)
            bytes.replace(i + 16, page / 2, QByteArray(page / 2, '\x5a'));
        writeFile(file, bytes);
    } else if (kind == QLatin1String("newer")) {
        DatabaseMaintenance::backup(home.db(), target.path(), QDate(2024, 3, 9));
        Database db;
        db.open(file);
        db.run(QStringLiteral("PRAGMA user_version = %1").arg(Schema::CurrentVersion + 1));
    } else {
        file = home.data->databasePath();
    }

    QString error, safety;
    QVERIFY(!DatabaseMaintenance::restore(*home.data, file, &error, &safety));
    QVERIFY(!error.isEmpty());
    QVERIFY(safety.isEmpty());
    QVERIFY(home.data->connected());
    QCOMPARE(home.markers(), QStringList{QStringLiteral("current")});
    QCOMPARE(QDir(QFileInfo(home.data->databasePath()).absolutePath()).entryList({QStringLiteral("*.db")}),
             QStringList{QStringLiteral("Pelmora.db")});
}

void TestShellMaintenance::compactKeepsDataAndReportsFailure() {
    ScriptedAnswers answers;
    {
        Home home(true);
        home.addMarker(QStringLiteral("kept"));
        const int medicines = count(home.db(), QStringLiteral("SELECT count(*) FROM tMedicine"));
        QVERIFY(medicines > 0);
        QVERIFY(DatabaseMaintenance::CompactDatabase(*home.data));
        QVERIFY(home.data->connected());
        QCOMPARE(home.markers(), QStringList{QStringLiteral("kept")});
        QCOMPARE(count(home.db(), QStringLiteral("SELECT count(*) FROM tMedicine")), medicines);
        QCOMPARE(count(home.db(), QStringLiteral("PRAGMA application_id")), Schema::ApplicationId);
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("压缩数据库成功!")});
    }
    answers.clear();
    Home home;
    const QString file = home.data->databasePath();
    home.data.reset();
    writeFile(file, "not a database\n");
    answers.queue(Msg::IdNo); // the connection message of the data module
    home.open();
    QVERIFY(!home.data->connected());
    QVERIFY(!DatabaseMaintenance::CompactDatabase(*home.data));
    QCOMPARE(answers.texts().last(), QStringLiteral("压缩数据库失败!"));
    QCOMPARE(readAll(file), QByteArray("not a database\n"));
}

void TestShellMaintenance::clearDataEmptiesItsGroupOnly_data() {
    QTest::addColumn<int>("group");
    QTest::addColumn<QStringList>("emptied");
    QTest::newRow("清空单据") << 0 << QStringList{"tStock", "tOut", "tSale", "tChailing"};
    QTest::newRow("清空财务单据") << 1 << QStringList{"tCash", "tSK", "tFK"};
    QTest::newRow("清空药品资料") << 2 << QStringList{"tMedicine"};
    QTest::newRow("清空药品分类") << 3 << QStringList{"type:Medicine"};
    QTest::newRow("清空供应商资料") << 4 << QStringList{"tSupply"};
    QTest::newRow("清空供应商分类") << 5 << QStringList{"type:Supply"};
    QTest::newRow("清除员工资料") << 6 << QStringList{"tEmployee"};
    QTest::newRow("清除员工分类") << 7 << QStringList{"type:Employee"};
}

namespace {

// Rows of the tables the initialisation may touch, and of each category tree.
QMap<QString, int> rowCounts(Database& db) {
    QMap<QString, int> m;
    for (const char* table : {"tStock", "tOut", "tSale", "tChailing", "tCash", "tSK", "tFK", "tMedicine",
                              "tSupply", "tEmployee", "tCustom", "tMember", "tAdmin", "tOther"})
        m[QLatin1String(table)] =
            count(db, QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)));
    for (const char* tree : {"Medicine", "Supply", "Employee", "Custom", "Zone"})
        m[QStringLiteral("type:") + QLatin1String(tree)] = count(
            db, QStringLiteral("SELECT count(*) FROM tType WHERE tablename = ?"), {QLatin1String(tree)});
    return m;
}

// The demo shop with a row in each document table it leaves empty.
void fillDocuments(Database& db) {
    for (const char* table : {"tOut", "tChailing", "tSK"})
        db.run(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(QLatin1String(table)));
    db.run(QStringLiteral("INSERT INTO tType (tablename, code, name) VALUES ('Supply', '99', 'x')"));
    db.run(QStringLiteral("INSERT INTO tType (tablename, code, name) VALUES ('Employee', '99', 'x')"));
}

} // namespace

void TestShellMaintenance::clearDataEmptiesItsGroupOnly() {
    QFETCH(int, group);
    QFETCH(QStringList, emptied);
    TestDatabase t(true);
    Database& db = t.db();
    fillDocuments(db);
    const QMap<QString, int> before = rowCounts(db);
    for (const QString& key : emptied)
        QVERIFY2(before.value(key) > 0, qPrintable(key));

    DatabaseMaintenance::clearData(db, {group});
    const QMap<QString, int> after = rowCounts(db);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        QCOMPARE(after.value(it.key()), emptied.contains(it.key()) ? 0 : it.value());
}

void TestShellMaintenance::clearDataIsAllOrNothing() {
    TestDatabase t(true);
    Database& db = t.db();
    fillDocuments(db);
    const QMap<QString, int> before = rowCounts(db);
    // Nothing ticked changes nothing.
    DatabaseMaintenance::clearData(db, {});
    QCOMPARE(rowCounts(db), before);
    // The documents go first, then the medicines fail: the documents come back.
    db.run(QStringLiteral(
        "CREATE TRIGGER keepMedicine BEFORE DELETE ON tMedicine BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    QVERIFY_THROWS_EXCEPTION(DbError, DatabaseMaintenance::clearData(db, {0, 1, 2}));
    QCOMPARE(rowCounts(db), before);
}

void TestShellMaintenance::clearDataWindow() {
    Home home(true);
    ScriptedAnswers answers;
    const int employees = count(home.db(), QStringLiteral("SELECT count(*) FROM tEmployee"));
    QVERIFY(employees > 0);
    TFrmClearData dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("数据初始化"));
    auto* ok = dlg.findChild<QPushButton*>(QStringLiteral("Btn_ok"));
    QVERIFY(ok);

    // Nothing ticked: no question, the success message all the same.
    ok->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("初始化成功！")});

    auto* staff = dlg.findChild<QCheckBox*>(QStringLiteral("CheckBox7"));
    auto* staffTree = dlg.findChild<QCheckBox*>(QStringLiteral("CheckBox8"));
    QVERIFY(staff && staffTree);
    QCOMPARE(staff->text(), QStringLiteral("清除员工资料"));
    staff->setChecked(true);
    staffTree->setChecked(true);
    answers.clear();
    answers.queue(Msg::IdNo);
    ok->click();
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(count(home.db(), QStringLiteral("SELECT count(*) FROM tEmployee")), employees);

    answers.clear();
    ok->click();
    QCOMPARE(answers.texts().size(), 2);
    QCOMPARE(answers.texts().last(), QStringLiteral("初始化成功！"));
    QCOMPARE(count(home.db(), QStringLiteral("SELECT count(*) FROM tEmployee")), 0);
    QCOMPARE(count(home.db(), QStringLiteral("SELECT count(*) FROM tType WHERE tablename = 'employee'")), 0);
}

void TestShellMaintenance::backupWindow() {
    Home home;
    ScriptedAnswers answers;
    QTemporaryDir target;
    home.data->ini().writeString(QStringLiteral("config"), QStringLiteral("DirectoryList"), target.path());
    {
        TFrmBackup dlg(TFrmBackup::BackupMode);
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("数据库备份"));
        QVERIFY(!dlg.findChild<QLabel*>(QStringLiteral("lblNotice"))->isVisible());
        QCOMPARE(dlg.folder(), QDir(target.path()).canonicalPath());
        dlg.findChild<QPushButton*>(QStringLiteral("Btn_backup"))->click();
        const QString file = DatabaseMaintenance::backupFileName(dlg.folder());
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("备份成功,文件备份在:") + file});
        QCOMPARE(answers.shown.first().caption, QStringLiteral("成功"));
        auto* files = dlg.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
        QCOMPARE(files->count(), 1);
        QCOMPARE(files->item(0)->text(), QFileInfo(file).fileName());

        // A folder that vanished: the failure message, the window stays.
        answers.clear();
        dlg.setFolder(home.path(QStringLiteral("gone")));
        dlg.findChild<QPushButton*>(QStringLiteral("Btn_backup"))->click();
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("备份失败!")});
        QCOMPARE(answers.shown.first().caption, QStringLiteral("警告"));
        dlg.setFolder(target.path());
        dlg.reject();
    }
    QCOMPARE(QDir(home.data->ini().readString(QStringLiteral("config"), QStringLiteral("DirectoryList")))
                 .canonicalPath(),
             QDir(target.path()).canonicalPath());
    QVERIFY(home.data->ini().hasKey(QStringLiteral("config"), QStringLiteral("Drive")));

    // The restore page: its caption and the notice; a chosen backup replaces the database.
    home.addMarker(QStringLiteral("after backup"));
    TFrmBackup dlg(TFrmBackup::RestoreMode);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("数据恢复"));
    QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("lblNotice"))->isVisible());
    auto* files = dlg.findChild<QListWidget*>(QStringLiteral("FileListBox1"));
    files->setCurrentRow(0);
    answers.clear();
    dlg.findChild<QPushButton*>(QStringLiteral("Btn_restore"))->click();
    QCOMPARE(answers.shown.size(), 2); // the question, then the outcome
    QCOMPARE(answers.shown.last().caption, QStringLiteral("成功"));
    QVERIFY(home.markers().isEmpty());
}

QTEST_MAIN(TestShellMaintenance)
#include "tst_shell_maintenance.moc"
