#include "core/DataSet.h"
#include "core/DbError.h"
#include "core/IniFile.h"
#include "core/PasswordHash.h"
#include "core/Routines.h"
#include "core/Schema.h"
#include "core/Transaction.h"
#include "core/UData.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestDataSet : public QObject {
    Q_OBJECT
private slots:
    void newDatabaseHoldsSchemaAndStartingRows();
    void fieldsWithoutCaseAndEmptyAppendSelection();
    void postWritesAtOnceOutsideBatchMode();
    void batchApplyWritesAllOrNothing();
    void badValueFailsTheSaveAndLeavesNoRow();
    void sortAndBookmarks();
    void cancelRestoresTheRow();
    void lineAmount_data();
    void lineAmount();
    void iniMatchesWithoutCase();
    void textWithQuotesTravelsBound();
};

void TestDataSet::newDatabaseHoldsSchemaAndStartingRows() {
    TestDatabase t;
    Database& db = t.db();
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA application_id")).toInt(), Schema::ApplicationId);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), Schema::CurrentVersion);
    for (const char* table : {"tMedicine", "tSupply", "tCustom", "tEmployee", "tMember", "tCompany", "tAccount", "tStock",
                              "tSale", "tCash", "tOut", "tChailing", "tChangePrice", "tNursing", "tFK", "tSK", "tType",
                              "tOther", "tUnits", "tFieldShow", "tImport", "tSoftInfo", "tAdmin", "tAuthority", "tBill",
                              "tBillDetail", "tPanDian", "vDepot", "vDepotChaiLing", "vRunningAccount"})
        QVERIFY2(db.hasTable(QString::fromLatin1(table)), table);
    QCOMPARE(db.scalar(QStringLiteral("SELECT SoftName FROM tSoftInfo")).toString(), QStringLiteral("Pelmora"));
    QVERIFY(db.scalar(QStringLiteral("SELECT count(*) FROM tFieldShow WHERE TableName = 'medicine'")).toInt() > 5);
    // The first operator: a hash of the empty password, every permission of the catalogue.
    QSqlQuery q = db.exec(QStringLiteral("SELECT password, authority FROM tAdmin WHERE username = 'admin'"));
    QVERIFY(q.next());
    QVERIFY(q.value(0).toString().startsWith(QStringLiteral("$argon2id$")));
    QVERIFY(PasswordHash::verify(q.value(0).toString(), QString()));
    QVERIFY(!PasswordHash::verify(q.value(0).toString(), QStringLiteral(" ")));
    QCOMPARE(q.value(1).toString(), Schema::allAuthorities(db));
    QVERIFY(q.value(1).toString().contains(QStringLiteral("|SetSale")));
    // An existing database is accepted as it is; a foreign one is refused.
    Schema::upgrade(db);
    db.run(QStringLiteral("PRAGMA application_id = 7"));
    QVERIFY_THROWS_EXCEPTION(DbError, Schema::upgrade(db));
}

void TestDataSet::fieldsWithoutCaseAndEmptyAppendSelection() {
    TestDatabase t;
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tOther WHERE tablename = ? ORDER BY id"), {QStringLiteral("units")});
    QVERIFY(ds.recordCount() > 3);
    QCOMPARE(ds.fieldIndex(QStringLiteral("NAME")), ds.fieldIndex(QStringLiteral("name")));
    QCOMPARE(ds.text(QStringLiteral("TableName")), QStringLiteral("Units"));
    int seen = 0;
    for (ds.first(); !ds.eof(); ds.next())
        ++seen;
    QCOMPARE(seen, ds.recordCount());
    // "where id < 0" opens an empty selection whose appended rows get new keys.
    OpenSQL(ds, QStringLiteral("SELECT * FROM tOther WHERE id < 0"));
    QVERIFY(ds.isEmpty());
    ds.append();
    ds.setValue(QStringLiteral("tablename"), QStringLiteral("Units"));
    ds.setValue(QStringLiteral("name"), QStringLiteral("提"));
    ds.post();
    QVERIFY(ds.toInt(QStringLiteral("id")) > 0);
    QCOMPARE(ds.recordCount(), 1);
}

void TestDataSet::postWritesAtOnceOutsideBatchMode() {
    TestDatabase t;
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine WHERE id < 0"));
    ds.append();
    ds.setValue(QStringLiteral("MedicineCode"), QStringLiteral("YP0001"));
    ds.setValue(QStringLiteral("SalePrice"), QStringLiteral("12.5"));
    ds.post();
    const qint64 id = ds.toInt(QStringLiteral("id"));
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT SalePrice FROM tMedicine WHERE id = ?"), {id}).toLongLong(), 125000);
    ds.setValue(QStringLiteral("MedicineName"), QStringLiteral("布洛芬"));
    ds.post();
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT MedicineName FROM tMedicine WHERE id = ?"), {id}).toString(),
             QStringLiteral("布洛芬"));
    ds.remove();
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM tMedicine")).toInt(), 0);
}

void TestDataSet::batchApplyWritesAllOrNothing() {
    TestDatabase t;
    RunSQL(QStringLiteral("INSERT INTO tSale (billcode, number) VALUES ('XS1', 1), ('XS1', 2)"));
    DataSet ds;
    ds.setBatchMode(true);
    OpenSQL(ds, QStringLiteral("SELECT * FROM tSale ORDER BY id"));
    ds.first();
    ds.setValue(QStringLiteral("number"), 5);
    ds.next();
    ds.remove();
    ds.append();
    ds.setValue(QStringLiteral("billcode"), QStringLiteral("XS2"));
    ds.append();
    ds.setValue(QStringLiteral("billcode"), QStringLiteral("XS2"));
    // A row the table refuses, in the middle of the batch (flag must be 0 or 1).
    ds.setValue(QStringLiteral("flag"), 1);
    RunSQL(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON tSale WHEN NEW.billcode = 'XS2' AND NEW.flag = 1 "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    ds.append();
    ds.setValue(QStringLiteral("billcode"), QStringLiteral("XS3"));
    ds.post();
    {
        Transaction tr(t.db());
        QVERIFY_THROWS_EXCEPTION(DbError, ds.applyUpdates());
    }
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM tSale")).toInt(), 2);
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT total(number) FROM tSale")).toDouble(), 3.0);
    QVERIFY(ds.hasPendingUpdates());
    // Once the cause is gone, the same batch goes through and the new rows learn their keys.
    RunSQL(QStringLiteral("DROP TRIGGER refuse"));
    {
        Transaction tr(t.db());
        ds.applyUpdates();
        tr.commit();
    }
    QVERIFY(!ds.hasPendingUpdates());
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM tSale")).toInt(), 4);
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT number FROM tSale WHERE billcode = 'XS1'")).toDouble(), 5.0);
    for (int r = 0; r < ds.recordCount(); ++r)
        QVERIFY(ds.value(r, ds.fieldIndex(QStringLiteral("id"))).toLongLong() > 0);
}

void TestDataSet::badValueFailsTheSaveAndLeavesNoRow() {
    TestDatabase t;
    DataSet ds;
    ds.setBatchMode(true);
    OpenSQL(ds, QStringLiteral("SELECT * FROM tStock WHERE id < 0"));
    ds.append();
    ds.setValue(QStringLiteral("medicinecode"), QStringLiteral("YP1"));
    QVERIFY_THROWS_EXCEPTION(DbError, ds.setValue(QStringLiteral("number"), QStringLiteral("十")));
    QVERIFY_THROWS_EXCEPTION(DbError, ds.setValue(QStringLiteral("stockprice"), QStringLiteral("十元")));
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM tStock")).toInt(), 0);
}

void TestDataSet::sortAndBookmarks() {
    TestDatabase t;
    RunSQL(QStringLiteral("INSERT INTO tMedicine (MedicineCode, MedicineName, Remark1, SalePrice) VALUES "
                          "('c', 'b', 'x', 10000), ('a', 'B', 'y', 30000), ('b', 'a', NULL, 20000)"));
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine ORDER BY id"));
    ds.setRecNo(2);
    const DataSet::Bookmark mark = ds.bookmark();
    ds.setSort(QStringLiteral("  MedicineName, SalePrice DESC "));
    QStringList codes;
    for (int r = 0; r < ds.recordCount(); ++r)
        codes << ds.text(r, ds.fieldIndex(QStringLiteral("MedicineCode")));
    QCOMPARE(codes, QStringList({QStringLiteral("b"), QStringLiteral("a"), QStringLiteral("c")}));
    QCOMPARE(ds.text(QStringLiteral("MedicineCode")), QStringLiteral("b")); // the current row follows
    ds.setSort(QStringLiteral("Remark1"));
    QCOMPARE(ds.text(0, ds.fieldIndex(QStringLiteral("MedicineCode"))), QStringLiteral("b")); // nulls first
    ds.setSort(QString());
    QVERIFY(ds.gotoBookmark(mark));
    QCOMPARE(ds.recNo(), 2);
    QCOMPARE(ds.sum(ds.fieldIndex(QStringLiteral("SalePrice"))).toDouble(), 6.0);
}

void TestDataSet::cancelRestoresTheRow() {
    TestDatabase t;
    DataSet ds;
    ds.setBatchMode(true);
    OpenSQL(ds, QStringLiteral("SELECT * FROM tUnits ORDER BY id"));
    const QString before = ds.text(QStringLiteral("name"));
    const int count = ds.recordCount();
    ds.setValue(QStringLiteral("name"), QStringLiteral("改"));
    ds.cancel();
    QCOMPARE(ds.text(QStringLiteral("name")), before);
    ds.append();
    ds.cancel();
    QCOMPARE(ds.recordCount(), count);
    QVERIFY(!ds.hasPendingUpdates());
}

void TestDataSet::lineAmount_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<double>("number");
    QTest::addColumn<bool>("priceFirst");
    QTest::addColumn<qint64>("money");
    QTest::newRow("12.5 x 3") << QStringLiteral("12.5") << 3.0 << true << qint64(375000);
    QTest::newRow("3 x 12.5") << QStringLiteral("12.5") << 3.0 << false << qint64(375000);
    QTest::newRow("tie up to even") << QStringLiteral("0.0003") << 0.5 << true << qint64(2);
    QTest::newRow("tie down to even") << QStringLiteral("0.0001") << 0.5 << true << qint64(0);
    QTest::newRow("price rounded first") << QStringLiteral("1.00005") << 2.0 << false << qint64(20000);
}

void TestDataSet::lineAmount() {
    QFETCH(QString, price);
    QFETCH(double, number);
    QFETCH(bool, priceFirst);
    QFETCH(qint64, money);
    TestDatabase t;
    QTemporaryDir home;
    TFrmData data(home.path());
    data.QrySale.setDatabase(&t.db());
    data.QrySale.open(QStringLiteral("SELECT * FROM tSale WHERE id < 0"));
    data.QrySale.append();
    if (priceFirst) {
        data.QrySale.setValue(QStringLiteral("price"), price);
        data.QrySale.setValue(QStringLiteral("number"), number);
    } else {
        data.QrySale.setValue(QStringLiteral("number"), number);
        data.QrySale.setValue(QStringLiteral("price"), price);
    }
    QCOMPARE(data.QrySale.currency(QStringLiteral("money")).raw(), money);
}

void TestDataSet::iniMatchesWithoutCase() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("Config.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; settings\n[Config]\nshowexpiry=1\nDBConn=x\n\n[Other]\nMedicineCode=YP0009\n");
    f.close();
    IniFile ini(path);
    QCOMPARE(ini.readInteger(QStringLiteral("config"), QStringLiteral("ShowExpiry"), 0), 1);
    QCOMPARE(ini.readInteger(QStringLiteral("login"), QStringLiteral("Username"), -1), -1);
    QVERIFY(ini.writeString(QStringLiteral("CONFIG"), QStringLiteral("dbconn"), QString()));
    QVERIFY(ini.writeInteger(QStringLiteral("login"), QStringLiteral("Username"), 2));
    IniFile again(path);
    QVERIFY(again.hasKey(QStringLiteral("Config"), QStringLiteral("DBConn")));
    QCOMPARE(again.readString(QStringLiteral("Config"), QStringLiteral("DBConn"), QStringLiteral("?")), QString());
    QCOMPARE(again.readInteger(QStringLiteral("Login"), QStringLiteral("username"), -1), 2);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    // Spelling and order kept: the key stays in its section as first written.
    QVERIFY(text.startsWith(QStringLiteral("; settings\n[Config]\nshowexpiry=1\nDBConn=\n")));
    QVERIFY(text.contains(QStringLiteral("[login]\nUsername=2")));
}

void TestDataSet::textWithQuotesTravelsBound() {
    TestDatabase t;
    RunSQL(QStringLiteral("INSERT INTO tSupply (SupplyName) VALUES (?)"), {QStringLiteral("O'Neil 药业 100%_")});
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tSupply WHERE SupplyName = ?"), {QStringLiteral("o'neil 药业 100%_")});
    QCOMPARE(ds.recordCount(), 1);
}

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_core_dataset.moc"
