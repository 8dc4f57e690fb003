#include "core/IniFile.h"
#include "core/PasswordHash.h"
#include "core/ProgramFolder.h"
#include "core/UData.h"
#include "shell/uLogin.h"
#include "shell/uMain.h"
#include "shell/uStartup.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void unreadableDatabaseEndsWithoutLogin_data();
    void unreadableDatabaseEndsWithoutLogin();
    void newFolderGetsDatabaseAndFiles();
    void login_data();
    void login();
};

void TestStartup::unreadableDatabaseEndsWithoutLogin_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(Msg::IdYes);
    QTest::newRow("no") << int(Msg::IdNo);
}

void TestStartup::unreadableDatabaseEndsWithoutLogin() {
    QFETCH(int, answer);
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("DataBase"));
    QFile junk(QDir(home.path()).filePath(QStringLiteral("DataBase/Pelmora.db")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    ScriptedAnswers answers;
    answers.queue(answer);
    // Any login window that appears is recorded and closed, so the test never hangs on it.
    bool loginShown = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&]() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TFrmLogin*>(w) && w->isVisible()) {
                loginShown = true;
                static_cast<QDialog*>(w)->reject();
            }
    });
    watch.start(20);
    StartOptions o;
    o.home = home.path();
    const int rc = RunStartup(o);
    QVERIFY(rc != 0);
    QVERIFY(!loginShown);
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("连接数据库失败,您要连接本机数据库吗! ")});
    QCOMPARE(answers.shown.first().caption, QStringLiteral("Pelmora"));
    IniFile ini(QDir(home.path()).filePath(QStringLiteral("Config.ini")));
    QCOMPARE(ini.hasKey(QStringLiteral("Config"), QStringLiteral("DBConn")), answer == Msg::IdYes);
    QCOMPARE(ini.readString(QStringLiteral("Config"), QStringLiteral("DBConn"), QStringLiteral("unset")),
             answer == Msg::IdYes ? QString() : QStringLiteral("unset"));
    // The damaged file was left as it was.
    QCOMPARE(QFileInfo(junk.fileName()).size(), qint64(4096));
}

void TestStartup::newFolderGetsDatabaseAndFiles() {
    QTemporaryDir home;
    QVERIFY(ProgramFolder::prepare(home.path(), false).isEmpty());
    QDir dir(home.path());
    QVERIFY(dir.exists(QStringLiteral("DataBase/Pelmora.db")));
    QVERIFY(dir.exists(QStringLiteral("IMG/Login.jpg")));
    QVERIFY(dir.exists(QStringLiteral("nav/index.html")));
    // A second start keeps the database it finds.
    Database db;
    db.open(dir.filePath(QStringLiteral("DataBase/Pelmora.db")));
    db.run(QStringLiteral("INSERT INTO tUnits (name) VALUES ('留存')"));
    db.close();
    QVERIFY(ProgramFolder::prepare(home.path(), false).isEmpty());
    db.open(dir.filePath(QStringLiteral("DataBase/Pelmora.db")));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM tUnits WHERE name = '留存'")).toInt(), 1);
}

void TestStartup::login_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::newRow("admin, empty password") << QStringLiteral("Admin") << QString() << true << QString();
    QTest::newRow("other letter case") << QStringLiteral("admin") << QString() << true << QString();
    QTest::newRow("right password") << QStringLiteral("王药师") << QStringLiteral("s3cret ") << true << QString();
    QTest::newRow("trimmed password") << QStringLiteral("王药师") << QStringLiteral("s3cret") << false
                                      << QStringLiteral("密码错误，请重新输入密码！");
    QTest::newRow("empty password") << QStringLiteral("王药师") << QString() << false << QStringLiteral("请输入密码！");
    QTest::newRow("empty name") << QStringLiteral("  ") << QString() << false << QStringLiteral("请选择一个用户名！");
    QTest::newRow("unknown name") << QStringLiteral("nobody") << QString() << false
                                  << QStringLiteral("没有这个操作员，请从列表中选择或重新输入用户名！");
    QTest::newRow("group is no operator") << QStringLiteral("收银组") << QString() << false
                                          << QStringLiteral("没有这个操作员，请从列表中选择或重新输入用户名！");
    QTest::newRow("apostrophe") << QStringLiteral("O'Brien") << QString() << false
                                << QStringLiteral("没有这个操作员，请从列表中选择或重新输入用户名！");
}

void TestStartup::login() {
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    QTemporaryDir home;
    QVERIFY(ProgramFolder::prepare(home.path(), false).isEmpty());
    ScriptedAnswers answers;
    TFrmMain main;
    TFrmData data(home.path(), &main);
    data.FormCreate();
    QVERIFY(data.connected());
    data.db().run(QStringLiteral("INSERT INTO tAdmin (tablename, username, password, authority) VALUES "
                                 "('user', '王药师', ?, ''), ('team', '收银组', '', '|SetSale')"),
                  {PasswordHash::hash(QStringLiteral("s3cret "))});
    TFrmLogin login(&main, home.path());
    login.show();
    auto* combo = login.findChild<QComboBox*>(QStringLiteral("ComboUser"));
    auto* pass = login.findChild<QLineEdit*>(QStringLiteral("EditPass"));
    auto* okButton = login.findChild<QPushButton*>(QStringLiteral("Btn_ok"));
    QVERIFY(combo && pass && okButton);
    // Operators only, in the order they were entered.
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(0), QStringLiteral("Admin"));
    combo->setEditText(name);
    pass->setText(password);
    QTest::mouseClick(okButton, Qt::LeftButton);
    QCOMPARE(login.LoginOK, ok);
    QCOMPARE(answers.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (ok) {
        QCOMPARE(main.OperatorName, name);
        QCOMPARE(main.panelText(0), QStringLiteral(" 当前操作员: ") + name);
    } else {
        QVERIFY(answers.shown.first().caption == QStringLiteral("警告"));
        QVERIFY(main.OperatorName.isEmpty());
    }
    // The list position is written after every attempt; a typed name gives -1.
    IniFile ini(QDir(home.path()).filePath(QStringLiteral("Config.ini")));
    QCOMPARE(ini.readInteger(QStringLiteral("Login"), QStringLiteral("Username"), -7), -1);
}

QTEST_MAIN(TestStartup)
#include "tst_app_startup.moc"
