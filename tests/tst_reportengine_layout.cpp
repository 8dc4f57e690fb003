#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/MemoryDataSource.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportFormat.h"
#include "reports/engine/ReportMemo.h"

#include <QtTest>

namespace {

const QStringList kBillFields = {"id",           "BillCode",     "AddDate", "Maker",        "medicinecode",
                                 "medicinename", "medicineunit", "units",   "manufacturer", "batchno",
                                 "price",        "number",       "money",   "flag"};

std::shared_ptr<MemoryDataSource> billLines(int count) {
    auto bill = std::make_shared<MemoryDataSource>("Bill", kBillFields);
    for (int i = 0; i < count; ++i) {
        const double price = 12.5 + i;
        const double number = i + 1;
        bill->addRow(QVariantMap{{"id", i + 1},
                                 {"billcode", "XS202401050003"},
                                 {"adddate", "2024-01-05 09:30:00"},
                                 {"medicinename", QString("药品%1").arg(i + 1)},
                                 {"medicineunit", "0.25g*24粒"},
                                 {"batchno", QString("B%1").arg(i + 1)},
                                 {"units", "盒"},
                                 {"price", price},
                                 {"number", number},
                                 {"money", price * number},
                                 {"manufacturer", "华北制药"}});
    }
    return bill;
}

std::shared_ptr<MemoryDataSource> medicines(int count) {
    auto source = std::make_shared<MemoryDataSource>(
        "Medicine", QStringList{"MedicineCode", "MedicineName", "FirstUnits", "MedicineUnit", "AgreeNo",
                                "Manufacturer", "Remark1"});
    for (int i = 0; i < count; ++i)
        source->addRow(QVariantList{QString("YP%1").arg(i + 1, 4, 10, QChar('0')),
                                    QString("药品%1").arg(i + 1), "盒", "10mg*20", "国药准字H0001",
                                    "某某药业", QString()});
    return source;
}

// The texts of one object on one page ("MasterData1/Memo6" -> every text it printed there).
QStringList texts(const PreparedReport& prepared, int page, const QString& bandSlashObject) {
    QStringList out;
    const QString prefix = bandSlashObject + QLatin1String(": ");
    for (const QString& line : prepared.pageLines(page)) {
        if (line.startsWith(prefix))
            out << line.mid(prefix.size());
    }
    return out;
}

// The object name of the memo whose text is exactly text.
QString memoNamed(const Report& report, const QString& text) {
    for (int b = 0; b < report.page(0)->bandCount(); ++b) {
        const ReportBand* band = report.page(0)->band(b);
        for (int o = 0; o < band->objectCount(); ++o) {
            auto* memo = dynamic_cast<ReportMemo*>(band->object(o));
            if (memo && memo->text() == text)
                return band->name() + QLatin1Char('/') + memo->name();
        }
    }
    return QString();
}

} // namespace

class TestReportLayout : public QObject {
    Q_OBJECT

private slots:
    void receiptOfThreeLines();
    void listsPaginate_data();
    void listsPaginate();
    void missingObjectIsSkipped();
    void emptyTitlePrintsEmpty();
    void expressions_data();
    void expressions();
    void displayFormats_data();
    void displayFormats();
    void rowGrowsToTallestMemo();
    void tableOfReceipt();
};

void TestReportLayout::receiptOfThreeLines() {
    Report report = BuiltInLayouts::FrxBill();
    report.setDataSource(billLines(3));
    QVERIFY(report.setMemoText("MTitle", "康泰大药房"));
    // The amount due after a discount differs from the summed line amounts.
    QVERIFY(report.setMemoText("mbig", "合计：人民币柒拾元整"));

    const PreparedReport prepared = report.prepare();
    QCOMPARE(prepared.pageCount(), 1);
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Line#]")), QStringList({"1", "2", "3"}));
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Bill.\"medicinename\"]")),
             QStringList({"药品1", "药品2", "药品3"}));
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Bill.\"money\"]")),
             QStringList({"12.50", "27.00", "43.50"}));
    // 1 + 2 + 3 and 12.5 + 13.5 * 2 + 14.5 * 3
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[SUM(<Bill.\"number\">,MasterData1)]")),
             QStringList({"6"}));
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[SUM(<Bill.\"money\">,MasterData1)]")),
             QStringList({"83.00"}));
    QCOMPARE(texts(prepared, 0, "ReportSummary1/mbig"), QStringList({"合计：人民币柒拾元整"}));
    QCOMPARE(texts(prepared, 0, "ReportTitle1/MTitle"), QStringList({"康泰大药房"}));
    QCOMPARE(texts(prepared, 0, "ReportTitle1/MemoBillType"), QStringList({"销售单"}));
    // The header reads the bill code and date that every line shares.
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Bill.\"BillCode\"]")), QStringList({"XS202401050003"}));
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Bill.\"AddDate\"]")),
             QStringList({"2024-01-05 09:30:00"}));
    QCOMPARE(texts(prepared, 0, memoNamed(report, "[Page#]")), QStringList({"1"}));
}

void TestReportLayout::listsPaginate_data() {
    QTest::addColumn<QString>("reportName");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("headerText");
    QTest::newRow("medicine list, 100 rows") << "FrxMedicine" << 100 << "药品编码";
    QTest::newRow("receipt, 80 lines") << "FrxBill" << 80 << "药品名称";
    QTest::newRow("medicine list, one page") << "FrxMedicine" << 5 << "药品编码";
}

void TestReportLayout::listsPaginate() {
    QFETCH(QString, reportName);
    QFETCH(int, rows);
    QFETCH(QString, headerText);
    Report report = BuiltInLayouts::byName(reportName);
    report.setDataSource(medicines(rows));
    report.setDataSource(billLines(rows));
    const bool isBill = reportName == "FrxBill";
    const QString rowObject =
        memoNamed(report, isBill ? "[Bill.\"medicinename\"]" : "[Medicine.\"MedicineName\"]");
    const QString header = memoNamed(report, headerText);
    const QString pageObject = isBill ? memoNamed(report, "[Page#]") : QString("PageFooter1/MemoPage");

    const PreparedReport prepared = report.prepare();
    const int pages = prepared.pageCount();
    QVERIFY(rows < 30 ? pages == 1 : pages >= 2);
    QStringList printed;
    for (int p = 0; p < pages; ++p) {
        QCOMPARE(texts(prepared, p, header), QStringList{headerText});
        const QString expected =
            isBill ? QString::number(p + 1) : QString("第 %1 页，共 %2 页").arg(p + 1).arg(pages);
        QCOMPARE(texts(prepared, p, pageObject), QStringList{expected});
        // The title only on the first page, the summary only on the last.
        QCOMPARE(prepared.pageLines(p).join('\n').contains("ReportTitle1/"), p == 0);
        QCOMPARE(prepared.pageLines(p).join('\n').contains("ReportSummary1/"), isBill && p == pages - 1);
        const QStringList onPage = texts(prepared, p, rowObject);
        QVERIFY(!onPage.isEmpty());
        printed << onPage;
        // Nothing crosses into the bottom margin.
        for (const PreparedItem& item : prepared.page(p).items)
            QVERIFY2(item.rect.bottom() <= 297 - 10 + 0.01, qPrintable(item.objectName));
    }
    QStringList expectedRows;
    for (int i = 0; i < rows; ++i)
        expectedRows << QString("药品%1").arg(i + 1);
    QCOMPARE(printed, expectedRows);
}

void TestReportLayout::missingObjectIsSkipped() {
    Report report = BuiltInLayouts::FrxMedicine();
    report.setDataSource(medicines(3));
    const QString before = report.prepare().toText();
    QVERIFY(report.findObject("mbig") == nullptr);
    QVERIFY(report.findMemo("NoSuchMemo") == nullptr);
    QVERIFY(!report.setMemoText("mbig", "合计：人民币壹元整"));
    QCOMPARE(report.prepare().toText(), before);
    // Names are found without regard to case, as the templates' authors spell them.
    QVERIFY(report.findMemo("memotitle") == report.findMemo("MemoTitle"));
    QVERIFY(report.findObject("MemoTitle") != nullptr);
}

void TestReportLayout::emptyTitlePrintsEmpty() {
    for (const QString& name : BuiltInLayouts::reportNames()) {
        Report report = BuiltInLayouts::byName(name);
        const QString titleMemo = report.findMemo("MemoTitle") ? "MemoTitle" : "MTitle";
        if (name == "FrxBillNoCash")
            continue; // its company line carries a placeholder until code fills it
        QVERIFY2(report.setMemoText(titleMemo, QString()), qPrintable(name));
        const PreparedReport prepared = report.prepare();
        QCOMPARE(texts(prepared, 0, "ReportTitle1/" + titleMemo), QStringList{QString()});
    }
}

void TestReportLayout::expressions_data() {
    QTest::addColumn<QString>("memoText");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected"); // texts of the two rows, joined by '|'
    QTest::newRow("field, any case") << "[Bill.\"MEDICINENAME\"]"
                                     << ""
                                     << "药品1|药品2";
    QTest::newRow("field in angle brackets") << "[<Bill.\"batchno\">]"
                                             << ""
                                             << "B1|B2";
    QTest::newRow("literal around fields") << "第[Line#]行：[Bill.\"units\"]"
                                           << ""
                                           << "第1行：盒|第2行：盒";
    QTest::newRow("unknown field is empty") << "<[Bill.\"nosuch\"]>"
                                            << ""
                                            << "<>|<>";
    QTest::newRow("unknown dataset is empty") << "[Stock.\"units\"]x"
                                              << ""
                                              << "x|x";
    QTest::newRow("other brackets stay") << "[备注] [a"
                                         << ""
                                         << "[备注] [a|[备注] [a";
    QTest::newRow("format applies to values") << "单价[Bill.\"price\"]元"
                                              << "0.00"
                                              << "单价12.50元|单价13.50元";
    QTest::newRow("running sum in the row") << "[SUM(<Bill.\"number\">,MasterData1)]"
                                            << ""
                                            << "1|3";
    QTest::newRow("count") << "[COUNT(MasterData1)]/[TotalPages#]"
                           << ""
                           << "1/1|2/1";
}

void TestReportLayout::expressions() {
    QFETCH(QString, memoText);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    Report report("Test");
    report.newLayout();
    ReportBand* data = report.findBand("MasterData1");
    data->setDataSetName("Bill");
    auto memo = std::make_unique<ReportMemo>();
    memo->setName("Cell");
    memo->setGeometry(QRectF(0, 0, 100, 6));
    memo->setText(memoText);
    memo->setDisplayFormat(format);
    data->addObject(std::move(memo));
    report.setDataSource(billLines(2));
    QCOMPARE(texts(report.prepare(), 0, "MasterData1/Cell").join('|'), expected);
}

void TestReportLayout::displayFormats_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("n: separators") << QVariant(1234567.5) << "%2.2n"
                                   << "1,234,567.50";
    QTest::newRow("f") << QVariant(1234.5) << "%.2f"
                       << "1234.50";
    QTest::newRow("d rounds") << QVariant(2.5) << "%d"
                              << "3";
    QTest::newRow("picture 0.00") << QVariant(3) << "0.00"
                                  << "3.00";
    QTest::newRow("half away from zero") << QVariant(1.005) << "0.00"
                                         << "1.01";
    QTest::newRow("negative half") << QVariant(-2.345) << "0.00"
                                   << "-2.35";
    QTest::newRow("no negative zero") << QVariant(-0.001) << "0.00"
                                      << "0.00";
    QTest::newRow("grouped picture") << QVariant(-9876543.215) << "#,##0.00"
                                     << "-9,876,543.22";
    QTest::newRow("optional decimals") << QVariant(12.5) << "0.##"
                                       << "12.5";
    QTest::newRow("optional decimals, whole") << QVariant(12.0) << "0.##"
                                              << "12";
    QTest::newRow("picture with suffix") << QVariant(8.1) << "0.00元"
                                         << "8.10元";
    QTest::newRow("number as text") << QVariant("37.5") << "0.00"
                                    << "37.50";
    QTest::newRow("text stays text") << QVariant("盒") << "0.00"
                                     << "盒";
    QTest::newRow("plain sum without noise") << QVariant(0.1 + 0.2) << ""
                                             << "0.3";
    QTest::newRow("plain whole double") << QVariant(37.0) << ""
                                        << "37";
    QTest::newRow("null is empty") << QVariant() << "0.00"
                                   << "";
    QTest::newRow("date of ISO text") << QVariant("2024-01-05 09:30:00") << "yyyy年M月d日"
                                      << "2024年1月5日";
    QTest::newRow("date value") << QVariant(QDate(2024, 2, 29)) << "yyyy-MM-dd"
                                << "2024-02-29";
}

void TestReportLayout::displayFormats() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(ReportFormat::format(value, format), expected);
}

void TestReportLayout::rowGrowsToTallestMemo() {
    Report report = BuiltInLayouts::FrxMedicine();
    auto source = medicines(2);
    source->addRow(
        QVariantList{"YP9999", "药品", "盒", "10mg", "国药准字", "某某药业",
                     "一段很长的备注文字，需要换成好几行才能放下，行高随之增加。一段很长的备注文字。"});
    report.setDataSource(source);
    const PreparedReport prepared = report.prepare();
    QMap<double, QList<QRectF>> rowsByTop;
    for (const PreparedItem& item : prepared.page(0).items) {
        if (item.bandName == "MasterData1")
            rowsByTop[item.rect.top()] << item.rect;
    }
    QCOMPARE(rowsByTop.size(), 3);
    const QList<double> tops = rowsByTop.keys();
    for (const double top : tops) {
        const QList<QRectF> cells = rowsByTop.value(top);
        QCOMPARE(cells.size(), 7);
        for (const QRectF& cell : cells)
            QCOMPARE(cell.height(), cells.first().height()); // frames of one row stay aligned
    }
    QCOMPARE(rowsByTop.value(tops.at(0)).first().height(), 6.0);
    QVERIFY(rowsByTop.value(tops.at(2)).first().height() > 9.0);
    // Rows follow each other without gaps.
    QCOMPARE(tops.at(1), tops.at(0) + 6.0);
}

void TestReportLayout::tableOfReceipt() {
    Report report = BuiltInLayouts::FrxBill();
    report.setDataSource(billLines(3));
    report.setMemoText("MTitle", "康泰大药房");
    report.setMemoText("mbig", "合计：人民币捌拾叁元整");
    const ReportTable table = report.table();
    QCOMPARE(table.title, QString("康泰大药房 销售单"));
    QCOMPARE(table.captions, QStringList({"序号", "药品名称", "规格型号", "批号", "单位", "数量", "单价",
                                          "金额", "生产厂家"}));
    QCOMPARE(table.rows.size(), 3);
    QCOMPARE(table.rows.at(2).at(0), QVariant(3));
    QCOMPARE(table.rows.at(1).at(7).toDouble(), 27.0); // numbers stay numbers
    QCOMPARE(table.formats.at(7), QString("0.00"));
    QCOMPARE(table.totals.size(), 9);
    QCOMPARE(table.totals.at(0).toString(), QString("合计"));
    QCOMPARE(table.totals.at(1).toString(), QString("合计：人民币捌拾叁元整"));
    QCOMPARE(table.totals.at(5).toDouble(), 6.0);
    QCOMPARE(table.totals.at(7).toDouble(), 83.0);
    QVERIFY(!table.totals.at(8).isValid());
}

QTEST_MAIN(TestReportLayout)
#include "tst_reportengine_layout.moc"
