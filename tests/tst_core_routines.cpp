#include "core/DataSet.h"
#include "core/DbError.h"
#include "core/Routines.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

class TestRoutines : public QObject {
    Q_OBJECT
private slots:
    void moneyToCapital_data();
    void moneyToCapital();
    void textInitials_data();
    void textInitials();
    void smallRoutines();
    void newBillCode();
    void newBillCodeRefusesTheTenThousandth();
    void comboItems();
    void deleteRecordAsksFirst();
    void compactKeepsDataAndNeverHalfCopies();
    void copyOfOpenDatabaseIsConsistent();
};

void TestRoutines::moneyToCapital_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("101") << 101.0 << QStringLiteral("人民币壹佰零壹元整");
    QTest::newRow("110") << 110.0 << QStringLiteral("人民币壹佰壹拾元整");
    QTest::newRow("12.30") << 12.30 << QStringLiteral("人民币壹拾贰元叁角");
    QTest::newRow("1005") << 1005.0 << QStringLiteral("人民币壹仟零伍元整");
    QTest::newRow("0.50") << 0.50 << QStringLiteral("人民币伍角");
    QTest::newRow("0.05") << 0.05 << QStringLiteral("人民币伍分");
    QTest::newRow("0") << 0.0 << QStringLiteral("人民币零元整");
    QTest::newRow("100000000") << 100000000.0 << QStringLiteral("人民币壹亿元整");
    QTest::newRow("100010000") << 100010000.0 << QStringLiteral("人民币壹亿零壹万元整");
    QTest::newRow("107000.53") << 107000.53 << QStringLiteral("人民币壹拾万柒仟元零伍角叁分");
    QTest::newRow("1680.32") << 1680.32 << QStringLiteral("人民币壹仟陆佰捌拾元零叁角贰分");
    QTest::newRow("1409.50") << 1409.50 << QStringLiteral("人民币壹仟肆佰零玖元伍角");
    QTest::newRow("12.05") << 12.05 << QStringLiteral("人民币壹拾贰元零伍分");
    QTest::newRow("10001000") << 10001000.0 << QStringLiteral("人民币壹仟万壹仟元整");
    QTest::newRow("37.5") << 37.5 << QStringLiteral("人民币叁拾柒元伍角");
}

void TestRoutines::moneyToCapital() {
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(MoneyToCapital(amount), text);
}

void TestRoutines::textInitials_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("initials");
    QTest::newRow("level one") << QStringLiteral("阿莫西林胶囊0.25g") << QStringLiteral("amxljn0.25g");
    QTest::newRow("ascii kept") << QStringLiteral("A区") << QStringLiteral("Aq");
    // Level-two characters common in drug names.
    QTest::newRow("level two") << QStringLiteral("苄星青霉素") << QStringLiteral("bxqms");
    QTest::newRow("level two 2") << QStringLiteral("甲硝唑片") << QStringLiteral("jxzp");
    QTest::newRow("level two 3") << QStringLiteral("盐酸二甲双胍") << QStringLiteral("ysejsg");
    QTest::newRow("level two 4") << QStringLiteral("嘧啶") << QStringLiteral("md");
    QTest::newRow("symbols dropped") << QStringLiteral("维生素C，片") << QStringLiteral("wssCp");
    QTest::newRow("empty") << QString() << QString();
}

void TestRoutines::textInitials() {
    QFETCH(QString, text);
    QFETCH(QString, initials);
    const QString got = TextInitials(text);
    QCOMPARE(got, initials);
    QVERIFY(!got.contains(QChar(0)));
}

void TestRoutines::smallRoutines() {
    QCOMPARE(SplitText(QStringLiteral("a;b;"), QStringLiteral(";")),
             QStringList({QStringLiteral("a"), QStringLiteral("b"), QString()}));
    QCOMPARE(RemoveText(QStringLiteral("Remark1, Remark1"), QStringLiteral("1")), QStringLiteral("Remark, Remark1"));
    QCOMPARE(RemoveText(QStringLiteral("abc"), QStringLiteral("x")), QStringLiteral("abc"));
    QCOMPARE(WeekdayName(QDate(2010, 10, 8)), QStringLiteral("星期五"));
    QCOMPARE(WeekdayName(QDate(2010, 10, 10)), QStringLiteral("星期天"));
    QVERIFY(IsIdentifier(QStringLiteral("tStock")));
    QVERIFY(!IsIdentifier(QStringLiteral("tStock; drop table x")));
}

void TestRoutines::newBillCode() {
    TestDatabase t;
    const QDate day(2010, 10, 8);
    QCOMPARE(NewBillCode(QStringLiteral("XS"), QStringLiteral("tSale"), QStringLiteral("billcode"), day),
             QStringLiteral("XS201010080001"));
    RunSQL(QStringLiteral("INSERT INTO tSale (billcode) VALUES (?), (?), (?)"),
           {QStringLiteral("XS201010070042"), QStringLiteral("XS201010080007"), QStringLiteral("XS20101008000X")});
    QCOMPARE(NewBillCode(QStringLiteral("XS"), QStringLiteral("tSale"), QStringLiteral("billcode"), day),
             QStringLiteral("XS201010080008"));
    // Collections number by their own column.
    QCOMPARE(NewBillCode(QStringLiteral("SK"), QStringLiteral("tCash"), QStringLiteral("cashcode"), day),
             QStringLiteral("SK201010080001"));
    RunSQL(QStringLiteral("INSERT INTO tCash (cashcode) VALUES ('SK201010080001')"));
    QCOMPARE(NewBillCode(QStringLiteral("SK"), QStringLiteral("tCash"), QStringLiteral("cashcode"), day),
             QStringLiteral("SK201010080002"));
    QVERIFY_THROWS_EXCEPTION(DbError, NewBillCode(QStringLiteral("XS"), QStringLiteral("tSale x"), QStringLiteral("billcode"), day));
}

void TestRoutines::newBillCodeRefusesTheTenThousandth() {
    TestDatabase t;
    RunSQL(QStringLiteral("INSERT INTO tOut (billcode) VALUES ('CK201010089999')"));
    QVERIFY_THROWS_EXCEPTION(DbError, NewBillCode(QStringLiteral("CK"), QStringLiteral("tOut"), QStringLiteral("billcode"),
                                                  QDate(2010, 10, 8)));
}

void TestRoutines::comboItems() {
    TestDatabase t;
    RunSQL(QStringLiteral("DELETE FROM tOther"));
    RunSQL(QStringLiteral("INSERT INTO tOther (tablename, name) VALUES ('Position', ' B1 '), ('Position', 'A1'), "
                          "('Position', 'B1'), ('Units', '盒')"));
    // A list saved as Position is found as position; duplicates kept in stored order.
    QCOMPARE(ComboItems(QStringLiteral("tOther"), QStringLiteral("name"), QStringLiteral("position")),
             QStringList({QStringLiteral("B1"), QStringLiteral("A1"), QStringLiteral("B1")}));
    // Without a list name: distinct and sorted.
    QCOMPARE(ComboItems(QStringLiteral("tOther"), QStringLiteral("name")),
             QStringList({QStringLiteral("A1"), QStringLiteral("B1"), QStringLiteral("盒")}));
}

void TestRoutines::deleteRecordAsksFirst() {
    TestDatabase t;
    ScriptedAnswers answers;
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tUnits ORDER BY id"));
    const int before = ds.recordCount();
    QVERIFY(before > 1);
    answers.queue(Msg::IdNo);
    QVERIFY(!DeleteRecord(ds));
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("您确定要删除这条记录吗？")});
    QVERIFY(DeleteRecord(ds));
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT count(*) FROM tUnits")).toInt(), before - 1);
    // An empty list asks nothing.
    answers.clear();
    OpenSQL(ds, QStringLiteral("SELECT * FROM tUnits WHERE id < 0"));
    QVERIFY(!DeleteRecord(ds));
    QVERIFY(answers.shown.isEmpty());
}

void TestRoutines::compactKeepsDataAndNeverHalfCopies() {
    TestDatabase t;
    RunSQL(QStringLiteral("INSERT INTO tUnits (name) VALUES ('测试')"));
    const QString path = t.path();
    t.db().close();
    QVERIFY(CompactDbFile(path));
    Database db;
    db.open(path);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM tUnits WHERE name = '测试'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    db.close();
    // A file that is not a database is refused and left as it was.
    const QString junk = QDir(t.dir()).filePath(QStringLiteral("junk.db"));
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a database");
    f.close();
    QVERIFY(!CompactDbFile(junk));
    QVERIFY(!CompactDbFile(QDir(t.dir()).filePath(QStringLiteral("missing.db"))));
    QFile back(junk);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray("not a database"));
    // No temporary copy is left behind.
    QCOMPARE(QDir(t.dir()).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList());
}

void TestRoutines::copyOfOpenDatabaseIsConsistent() {
    TestDatabase t;
    // A write the main file does not hold yet (it sits in the write-ahead log).
    RunSQL(QStringLiteral("INSERT INTO tUnits (name) VALUES ('日志中')"));
    const QString copy = QDir(t.dir()).filePath(QStringLiteral("Pelmora_bak.db"));
    LZCopyFile(t.path(), copy);
    Database db;
    db.open(copy);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM tUnits WHERE name = '日志中'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    db.close();
    QVERIFY_THROWS_EXCEPTION(DbError, LZCopyFile(QDir(t.dir()).filePath(QStringLiteral("none.db")), copy));
    QVERIFY_THROWS_EXCEPTION(DbError, LZCopyFile(t.path(), QStringLiteral("/proc/forbidden/x.db")));
}

QTEST_GUILESS_MAIN(TestRoutines)
#include "tst_core_routines.moc"
