#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/MemoryDataSource.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/ReportTemplate.h"

#include <QtTest>

namespace {

// Everything a template can hold, set away from the defaults.
Report everything() {
    Report report("Everything");
    report.newLayout();
    ReportPage* first = report.page(0);
    first->setOrientation(QPageLayout::Landscape);
    first->setMargins(QMarginsF(12.5, 8, 7.25, 15));
    ReportBand* title = report.findBand("ReportTitle1");
    title->setHeight(18.75);
    auto memo = std::make_unique<ReportMemo>();
    memo->setName("Odd");
    memo->setGeometry(QRectF(-1.5, 2.25, 80.1, 9.3));
    memo->setText("  <第一行> & \"引号\"\n第二行 [Page#]  ");
    QFont font("楷体_GB2312");
    font.setPointSizeF(15.5);
    font.setItalic(true);
    font.setUnderline(true);
    memo->setFont(font);
    memo->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    memo->setWordWrap(false);
    memo->setFrame(ReportFrame{Qt::LeftEdge | Qt::BottomEdge, 0.5, QColor("#336699")});
    memo->setDisplayFormat("%2.2n");
    memo->setTextColor(QColor("#aa0000"));
    memo->setFillColor(QColor(255, 255, 0, 128));
    title->addObject(std::move(memo));
    auto line = std::make_unique<ReportLine>();
    line->setName("Rule");
    line->setGeometry(QRectF(0, 17, 200, 0));
    line->setPenWidth(0.35);
    line->setColor(Qt::blue);
    title->addObject(std::move(line));
    report.findBand("MasterData1")->setDataSetName("Medicine");
    report.findBand("MasterData1")->setStretch(false);

    auto second = std::make_unique<ReportPage>("Page2");
    second->setPageSize(QPageSize(QSizeF(80, 200), QPageSize::Millimeter));
    auto band = std::make_unique<ReportBand>(ReportBandType::ReportSummary, "ReportSummary2");
    band->setHeight(0);
    second->addBand(std::move(band));
    report.addPage(std::move(second));
    return report;
}

QString tempPath(const QTemporaryDir& dir, const QString& name) {
    return dir.filePath(name);
}

} // namespace

class TestReportTemplate : public QObject {
    Q_OBJECT

private slots:
    void saveAndReloadGiveTheSameLayout_data();
    void saveAndReloadGiveTheSameLayout();
    void brokenTemplateKeepsTheLayout_data();
    void brokenTemplateKeepsTheLayout();
    void missingFileIsSilent();
    void supplierListTemplateShipped();
};

void TestReportTemplate::saveAndReloadGiveTheSameLayout_data() {
    QTest::addColumn<QString>("reportName");
    for (const QString& name : BuiltInLayouts::reportNames())
        QTest::newRow(qPrintable(name)) << name;
    QTest::newRow("every property") << QString();
}

void TestReportTemplate::saveAndReloadGiveTheSameLayout() {
    QFETCH(QString, reportName);
    const Report original = reportName.isEmpty() ? everything() : BuiltInLayouts::byName(reportName);
    QTemporaryDir dir;
    const QString path = tempPath(dir, "layout.fr3");
    QString error;
    QVERIFY2(original.saveTemplate(path, &error), qPrintable(error));

    Report reloaded("Other");
    reloaded.newLayout();
    QVERIFY2(reloaded.loadTemplate(path, &error), qPrintable(error));
    QVERIFY(error.isEmpty());
    reloaded.setName(original.name());
    QCOMPARE(ReportTemplate::toXml(reloaded), ReportTemplate::toXml(original));

    // Same layout, same output.
    auto medicine = std::make_shared<MemoryDataSource>("Medicine", QStringList{"MedicineName", "Remark1"});
    medicine->addRow(QVariantList{"阿莫西林", "备注"});
    Report a = original;
    Report b = reloaded;
    a.setDataSource(medicine);
    b.setDataSource(medicine);
    QCOMPARE(b.prepare().toText(), a.prepare().toText());

    if (reportName.isEmpty()) {
        // A few properties read back directly, so a writer and reader that agree on a wrong
        // spelling do not pass.
        const ReportMemo* odd = reloaded.findMemo("Odd");
        QVERIFY(odd);
        QCOMPARE(odd->text(), QString("  <第一行> & \"引号\"\n第二行 [Page#]  "));
        QCOMPARE(odd->geometry(), QRectF(-1.5, 2.25, 80.1, 9.3));
        QCOMPARE(odd->font().family(), QString("楷体_GB2312"));
        QCOMPARE(odd->frame().sides, Qt::LeftEdge | Qt::BottomEdge);
        QCOMPARE(odd->fillColor(), QColor(255, 255, 0, 128));
        QCOMPARE(reloaded.page(0)->orientation(), QPageLayout::Landscape);
        QCOMPARE(reloaded.page(1)->paperSize(), QSizeF(80, 200));
        QCOMPARE(static_cast<const ReportLine*>(reloaded.findObject("Rule"))->penWidth(), 0.35);
    }
}

void TestReportTemplate::brokenTemplateKeepsTheLayout_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray page =
        "<Page paper=\"A4\"><Band type=\"MasterData\" name=\"MasterData1\" height=\"6\"/></Page>";
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("not XML") << QByteArray("这不是报表模板");
    QTest::newRow("cut short") << QByteArray(
        "<PelmoraReport version=\"1\"><Page paper=\"A4\"><Band type=\"Master");
    QTest::newRow("another format") << QByteArray("<?xml version=\"1.0\"?><TfrxReport Version=\"4.0\"/>");
    QTest::newRow("newer version") << "<PelmoraReport version=\"2\">" + page + "</PelmoraReport>";
    QTest::newRow("no page") << QByteArray("<PelmoraReport version=\"1\"/>");
    QTest::newRow("unknown band") << QByteArray(
        "<PelmoraReport><Page><Band type=\"GroupHeader\"/></Page></PelmoraReport>");
    QTest::newRow("height not a number") << QByteArray(
        "<PelmoraReport><Page><Band type=\"PageHeader\" height=\"高\"/></Page></PelmoraReport>");
    QTest::newRow("negative memo width") << QByteArray(
        "<PelmoraReport><Page><Band type=\"PageHeader\"><Memo width=\"-3\"/></Band></Page></PelmoraReport>");
    QTest::newRow("unknown paper") << QByteArray("<PelmoraReport><Page paper=\"A99\"/></PelmoraReport>");
    QTest::newRow("margins wider than paper")
        << QByteArray("<PelmoraReport><Page marginLeft=\"150\" marginRight=\"100\"/></PelmoraReport>");
    QTest::newRow("bad colour") << QByteArray(
        "<PelmoraReport><Page><Band type=\"PageHeader\"><Memo color=\"红\"/></Band></Page></PelmoraReport>");
    QTest::newRow("mismatched tags") << "<PelmoraReport>" + page + "</Page></PelmoraReport>";
}

void TestReportTemplate::brokenTemplateKeepsTheLayout() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = tempPath(dir, "frxBill.fr3");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    Report report = BuiltInLayouts::FrxBill();
    const QString before = ReportTemplate::toXml(report);
    QString error;
    QVERIFY(!report.loadTemplate(path, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains("frxBill.fr3"), qPrintable(error));
    QCOMPARE(ReportTemplate::toXml(report), before);
    QVERIFY(report.findMemo("mbig"));
}

void TestReportTemplate::missingFileIsSilent() {
    QTemporaryDir dir;
    Report report = BuiltInLayouts::FrxCust();
    const QString before = ReportTemplate::toXml(report);
    QString error = "unchanged?";
    QVERIFY(!report.loadTemplate(dir.filePath("Reports/FrxCustom.fr3"), &error));
    QVERIFY(error.isEmpty());
    QCOMPARE(ReportTemplate::toXml(report), before);

    // A folder where the file should be cannot be read: that is reported.
    QVERIFY(QDir(dir.path()).mkpath("Reports/FrxCustom.fr3"));
    QVERIFY(!report.loadTemplate(dir.filePath("Reports/FrxCustom.fr3"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReportTemplate::toXml(report), before);
}

// The supplier list template that ships in the program folder's Reports/ is the built-in
// supplier layout. PELMORA_WRITE_TEMPLATES=1 writes it afresh after a layout change.
void TestReportTemplate::supplierListTemplateShipped() {
    const QString path = QStringLiteral(PELMORA_SOURCE_DIR "/assets/home/Reports/FrxSupply.fr3");
    const Report builtIn = BuiltInLayouts::FrxSupply();
    if (qEnvironmentVariableIntValue("PELMORA_WRITE_TEMPLATES") == 1) {
        QDir().mkpath(QFileInfo(path).path());
        QString error;
        QVERIFY2(builtIn.saveTemplate(path, &error), qPrintable(error));
    }
    Report loaded("FrxSupply");
    QString error;
    QVERIFY2(loaded.loadTemplate(path, &error), qPrintable(error + path));
    QCOMPARE(ReportTemplate::toXml(loaded), ReportTemplate::toXml(builtIn));
    QCOMPARE(loaded.page(0)->orientation(), QPageLayout::Landscape);
    QCOMPARE(loaded.findBand("MasterData1")->dataSetName(), QString("Supply"));
    QVERIFY(loaded.findMemo("MemoTitle"));
}

QTEST_MAIN(TestReportTemplate)
#include "tst_reportengine_template.moc"
