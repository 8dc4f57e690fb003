#include "core/DataSet.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "core/Transaction.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/PartnerPicker.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>

// Searching the master lists: the search texts follow the rows and the grid sets, nulls count
// as empty text, typed text is taken literally, categories include their sub-categories (the
// picker's category does not).
class TestMasterSearch : public QObject {
    Q_OBJECT
private slots:
    void listSearch_data();
    void listSearch();
    void textsFollowRowsAndColumnSet();
    void reloadKeepsSearchAndCategory();
    void manyMatchesAreScannedInListOrder();
    void upgradeIndexesAnExistingDatabase();
    void picker_data();
    void picker();
};

namespace {

void addMedicine(Database& db, const QString& code, const QString& name, const QVariant& maker,
                 const QString& type, const QVariant& jixing = QVariant(),
                 const QVariant& remark = QVariant(), const QVariant& salePrice = QVariant()) {
    db.run(
        QStringLiteral("insert into tMedicine (MedicineCode, MedicineName, Manufacturer, TypeCode, JiXing, "
                       "Remark1, SalePrice) values (?, ?, ?, ?, ?, ?, ?)"),
        {code, name, maker, type, jixing, remark, salePrice});
}

// Five medicines with nulls in listed columns, quotes and LIKE wildcards in their texts.
void fillMedicines(Database& db) {
    addMedicine(db, QStringLiteral("YP0001"), QStringLiteral("阿莫西林胶囊"), QVariant(),
                QStringLiteral("01"), QStringLiteral("胶囊"));
    addMedicine(db, QStringLiteral("YP0002"), QStringLiteral("O'Brien%_test"), QStringLiteral("Acme"),
                QStringLiteral("0101"));
    addMedicine(db, QStringLiteral("YP0003"), QStringLiteral("维生素C"), QStringLiteral("x%y"),
                QStringLiteral("010203"));
    addMedicine(db, QStringLiteral("ZZ0004"), QStringLiteral("布洛芬"), QStringLiteral("ACME"),
                QStringLiteral("02"), QVariant(), QStringLiteral("放在冷处"));
    addMedicine(db, QStringLiteral("ZZ0005"), QStringLiteral("甘草片"), QStringLiteral("老厂"),
                QStringLiteral("0201"), QVariant(), QVariant(), 125000);
}

QStringList codes(const DataSet& list, const QString& column = QStringLiteral("MedicineCode")) {
    QStringList l;
    const int f = list.fieldIndex(column);
    for (int row = 0; row < list.recordCount(); ++row)
        l << list.text(row, f);
    return l;
}

} // namespace

void TestMasterSearch::listSearch_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("expected");
    const QStringList all = {"YP0001", "YP0002", "YP0003", "ZZ0004", "ZZ0005"};
    QTest::newRow("empty text lists all by code") << ""
                                                  << "" << all;
    QTest::newRow("one character") << "阿"
                                   << "" << QStringList{"YP0001"};
    QTest::newRow("two characters") << "西林"
                                    << "" << QStringList{"YP0001"};
    QTest::newRow("index: three characters") << "莫西林"
                                             << "" << QStringList{"YP0001"};
    QTest::newRow("row with nulls found by code") << "yp0001"
                                                  << "" << QStringList{"YP0001"};
    QTest::newRow("ASCII letters without case") << "acme"
                                                << "" << QStringList{"YP0002", "ZZ0004"};
    QTest::newRow("apostrophe") << "'"
                                << "" << QStringList{"YP0002"};
    QTest::newRow("apostrophe, index") << "o'brien"
                                       << "" << QStringList{"YP0002"};
    QTest::newRow("percent is literal") << "%"
                                        << "" << QStringList{"YP0002", "YP0003"};
    QTest::newRow("underscore is literal") << "_"
                                           << "" << QStringList{"YP0002"};
    QTest::newRow("wildcards, index") << "%_t"
                                      << "" << QStringList{"YP0002"};
    QTest::newRow("no match across two columns") << "囊胶"
                                                 << "" << QStringList{};
    QTest::newRow("listed but hidden column") << "冷处"
                                              << "" << QStringList{"ZZ0004"};
    QTest::newRow("money as shown") << "12.5"
                                    << "" << QStringList{"ZZ0005"};
    QTest::newRow("category holds its descendants") << ""
                                                    << "01" << QStringList{"YP0001", "YP0002", "YP0003"};
    QTest::newRow("sub-category") << ""
                                  << "0102" << QStringList{"YP0003"};
    QTest::newRow("text within category") << "acme"
                                          << "02" << QStringList{"ZZ0004"};
    QTest::newRow("nothing") << "没有这个"
                             << "" << QStringList{};
}

void TestMasterSearch::listSearch() {
    QFETCH(QString, text);
    QFETCH(QString, category);
    QFETCH(QStringList, expected);
    TestDatabase t;
    fillMedicines(t.db());
    DataSet list(&t.db());
    MasterSearch search(MasterTable::medicine());
    search.setText(text);
    search.setCategory(category);
    search.run(list);
    QCOMPARE(codes(list), expected);
}

void TestMasterSearch::textsFollowRowsAndColumnSet() {
    TestDatabase t;
    Database& db = t.db();
    fillMedicines(db);
    DataSet list(&db);
    MasterSearch search(MasterTable::medicine());
    auto found = [&](const QString& text) {
        search.setText(text);
        search.run(list);
        return codes(list);
    };
    // Short input is scanned in the program's copy of the texts, longer input in the index:
    // both see every change at once.
    QCOMPARE(found(QStringLiteral("布")), QStringList{"ZZ0004"});
    db.run(
        QStringLiteral("update tMedicine set MedicineName = '对乙酰氨基酚' where MedicineCode = 'ZZ0004'"));
    QCOMPARE(found(QStringLiteral("布")), QStringList{});
    QCOMPARE(found(QStringLiteral("乙")), QStringList{"ZZ0004"});
    QCOMPARE(found(QStringLiteral("乙酰氨")), QStringList{"ZZ0004"});
    db.run(QStringLiteral("delete from tMedicine where MedicineCode = 'ZZ0004'"));
    QCOMPARE(found(QStringLiteral("乙")), QStringList{});
    QCOMPARE(found(QStringLiteral("乙酰氨")), QStringList{});

    // The grid set decides what is searched: a field taken out of it is no longer found.
    QCOMPARE(found(QStringLiteral("x%y")), QStringList{"YP0003"});
    db.run(QStringLiteral("delete from tFieldShow where TableName = 'Medicine' and Field = 'Manufacturer'"));
    QCOMPARE(found(QStringLiteral("x%y")), QStringList{});
    QCOMPARE(found(QStringLiteral("%")), QStringList{"YP0002"});
    db.run(QStringLiteral(
        "insert into tFieldShow (TableName, Field, Name) values ('Medicine', 'Manufacturer', '厂家')"));
    QCOMPARE(found(QStringLiteral("x%y")), QStringList{"YP0003"});
    QCOMPARE(found(QStringLiteral("%")), (QStringList{"YP0002", "YP0003"}));
}

void TestMasterSearch::reloadKeepsSearchAndCategory() {
    TestDatabase t;
    Database& db = t.db();
    fillMedicines(db);
    DataSet list(&db);
    MasterSearch search(MasterTable::medicine());
    search.openAll(list);
    QCOMPARE(list.recordCount(), 5);
    search.setText(QStringLiteral("片"));
    search.setCategory(QStringLiteral("02"));
    search.run(list);
    QCOMPARE(codes(list), QStringList{"ZZ0005"});
    addMedicine(db, QStringLiteral("ZZ0006"), QStringLiteral("维C片"), QVariant(), QStringLiteral("02"));
    addMedicine(db, QStringLiteral("ZZ0007"), QStringLiteral("复方片"), QVariant(), QStringLiteral("03"));
    search.reload(list);
    QCOMPARE(codes(list), (QStringList{"ZZ0005", "ZZ0006"}));
}

void TestMasterSearch::manyMatchesAreScannedInListOrder() {
    // More rows than the index answers: the copy of the texts is scanned, in the list's order.
    TestDatabase t;
    Database& db = t.db();
    const int n = SearchIndex::IndexRowLimit + 100;
    {
        Transaction tr(db);
        for (int i = 0; i < n; ++i)
            addMedicine(db, QStringLiteral("M%1").arg(n - i, 5, 10, QLatin1Char('0')),
                        QStringLiteral("复方感冒灵%1").arg(i), QVariant(),
                        i % 2 ? QStringLiteral("0101") : QStringLiteral("02"));
        tr.commit();
    }
    DataSet list(&db);
    MasterSearch search(MasterTable::medicine());
    search.setText(QStringLiteral("感冒灵"));
    search.setCategory(QStringLiteral("01"));
    const QVector<qint64> ids = search.matchingIds(db);
    QCOMPARE(ids.size(), n / 2);
    QVERIFY(ids.first() > ids.last()); // codes run against the order of entry
    search.run(list);
    QCOMPARE(list.recordCount(), n / 2);
    QCOMPARE(list.value(QStringLiteral("id")).toLongLong(), ids.first());
    // The same rows again, nothing changed: the list is not read again (it keeps its row).
    list.setRecNo(7);
    search.setText(QStringLiteral("感冒"));
    search.run(list);
    QCOMPARE(list.recNo(), 7);
    // A change of the table is seen by the next keystroke.
    db.run(QStringLiteral("update tMedicine set MedicineName = '别的' where id = ?"), {ids[3]});
    search.run(list);
    QCOMPARE(list.recordCount(), n / 2 - 1);
    QCOMPARE(list.recNo(), 0);
}

void TestMasterSearch::upgradeIndexesAnExistingDatabase() {
    // A database of the first schema step with medicines in it.
    QTemporaryDir dir;
    Database db;
    db.create(QDir(dir.path()).filePath(QStringLiteral("old.db")));
    QFile step1(QStringLiteral(PELMORA_SOURCE_DIR "/src/core/schema/schema_001.sql"));
    QFile sets(QStringLiteral(PELMORA_SOURCE_DIR "/src/core/schema/data/tFieldShow.tsv"));
    QVERIFY(step1.open(QIODevice::ReadOnly) && sets.open(QIODevice::ReadOnly));
    db.runScript(QString::fromUtf8(step1.readAll()));
    Schema::loadRows(db, QStringLiteral("tFieldShow"), QString::fromUtf8(sets.readAll()));
    db.run(QStringLiteral("PRAGMA application_id = %1").arg(Schema::ApplicationId));
    db.run(QStringLiteral("PRAGMA user_version = 1"));
    fillMedicines(db);

    Schema::upgrade(db);
    QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(), Schema::CurrentVersion);
    DataSet list(&db);
    MasterSearch search(MasterTable::medicine());
    for (const QString& text : {QStringLiteral("甘"), QStringLiteral("甘草片")}) {
        search.setText(text);
        search.run(list);
        QCOMPARE(codes(list), QStringList{"ZZ0005"});
    }
    db.close();
}

void TestMasterSearch::picker_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("category");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("everything") << ""
                                << ""
                                << "" << QStringList{"北方药业", "南方药业", "药业%联合"};
    QTest::newRow("code is a prefix") << "A01"
                                      << ""
                                      << "" << QStringList{"北方药业", "南方药业"};
    QTest::newRow("code without case") << "a0101"
                                       << ""
                                       << "" << QStringList{"南方药业"};
    QTest::newRow("name anywhere") << ""
                                   << "方药"
                                   << "" << QStringList{"北方药业", "南方药业"};
    QTest::newRow("percent in the name is literal") << ""
                                                    << "%"
                                                    << "" << QStringList{"药业%联合"};
    QTest::newRow("underscore in the code is literal") << "A_"
                                                       << ""
                                                       << "" << QStringList{};
    QTest::newRow("category exactly") << ""
                                      << ""
                                      << "01" << QStringList{"北方药业"};
    QTest::newRow("all three") << "A"
                               << "南"
                               << "0101" << QStringList{"南方药业"};
}

void TestMasterSearch::picker() {
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, category);
    QFETCH(QStringList, expected);
    TestDatabase t;
    for (const QStringList& s :
         {QStringList{"A01", "北方药业", "01"}, QStringList{"A0101", "南方药业", "0101"},
          QStringList{"BA01", "药业%联合", "02"}})
        t.db().run(QStringLiteral("insert into tSupply (SupplyCode, SupplyName, TypeCode) values (?, ?, ?)"),
                   {s[0], s[1], s[2]});
    DataSet rows(&t.db());
    PartnerPicker::Search(rows, code, name, category);
    QCOMPARE(codes(rows, QStringLiteral("SupplyName")), expected);
}

QTEST_GUILESS_MAIN(TestMasterSearch)
#include "tst_masterdata_search.moc"
