#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/MemoryDataSource.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportPainter.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QtTest>

namespace {

Report customerList() {
    Report report = BuiltInLayouts::FrxCust();
    auto cust =
        std::make_shared<MemoryDataSource>("Cust", QStringList{"CustName", "CustType", "CustZone", "Company",
                                                               "LegalPerson", "Address", "Tel", "EMail"});
    cust->addRow(QVariantList{"人民医院", "医院", "长安区", "金泰药业有限公司", "张生", "解放路12号",
                              "0311-8888", "jt2024@qq.com"});
    cust->addRow(
        QVariantList{"方舟诊所", "诊所", "新华区", "甘草堂", "李长民", "中山路3号", "0311-6666", ""});
    report.setDataSource(cust);
    report.setMemoText("MemoTitle", "康泰大药房");
    return report;
}

Report receipt() {
    Report report = BuiltInLayouts::FrxBill();
    auto bill =
        std::make_shared<MemoryDataSource>("Bill", QStringList{"BillCode", "AddDate", "medicinename", "units",
                                                               "number", "price", "money", "manufacturer"});
    bill->addRow(
        QVariantList{"XS202401050003", "2024-01-05 09:30:00", "阿莫西林胶囊", "盒", 2, 12.5, 25, "华北制药"});
    report.setDataSource(bill);
    report.setMemoText("MTitle", "康泰大药房");
    report.setMemoText("mbig", "合计：人民币贰拾伍元整");
    return report;
}

QString pdfText(const QString& path) {
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int inkIn(const QImage& image, const QRectF& mm, double pixelsPerMm) {
    const QRect r = QRectF(mm.x() * pixelsPerMm, mm.y() * pixelsPerMm, mm.width() * pixelsPerMm,
                           mm.height() * pixelsPerMm)
                        .toRect()
                        .adjusted(3, 3, -3, -3); // inside the frame lines
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

class TestReportPdf : public QObject {
    Q_OBJECT

private slots:
    void pdfHoldsTheTexts_data();
    void pdfHoldsTheTexts();
    void unwritablePathIsReported();
    void pageIsPaintedWhereItIsLaidOut();
};

void TestReportPdf::pdfHoldsTheTexts_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QStringList>("expected");
    // Characters such as 金 生 厂 人 民 长 方 甘 share glyphs with radicals in the CJK fonts; digits
    // after Latin letters are where a shaped run loses its mapping.
    QTest::newRow("customer list") << "cust"
                                   << QStringList{"康泰大药房", "客户信息",         "客户名称",
                                                  "人民医院",   "金泰药业有限公司", "方舟诊所",
                                                  "甘草堂",     "李长民",           "jt2024@qq.com"};
    QTest::newRow("receipt") << "bill"
                             << QStringList{"销售单", "XS202401050003",         "阿莫西林胶囊", "生产厂家",
                                            "金额",   "合计：人民币贰拾伍元整", "25.00"};
}

void TestReportPdf::pdfHoldsTheTexts() {
    QFETCH(QString, which);
    QFETCH(QStringList, expected);
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const Report report = which == "cust" ? customerList() : receipt();
    QTemporaryDir dir;
    const QString path = dir.filePath("report.pdf");
    QString error;
    QVERIFY2(report.exportPdf(path, &error), qPrintable(error));
    const QString text = pdfText(path);
    for (const QString& piece : expected)
        QVERIFY2(text.contains(piece), qPrintable(piece + " not in:\n" + text));
}

void TestReportPdf::unwritablePathIsReported() {
    QString error;
    QVERIFY(!receipt().exportPdf("/nonexistent-folder/receipt.pdf", &error));
    QVERIFY(error.contains("receipt.pdf"));
}

void TestReportPdf::pageIsPaintedWhereItIsLaidOut() {
    const PreparedReport prepared = receipt().prepare();
    const PreparedPage& page = prepared.page(0);
    const double pixelsPerMm = 8;
    QImage image(int(page.paperSize.width() * pixelsPerMm), int(page.paperSize.height() * pixelsPerMm),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        ReportPainter(&painter, pixelsPerMm).paintPage(page);
    }
    int checked = 0;
    for (const PreparedItem& item : page.items) {
        if (item.kind != PreparedItem::Kind::Text || item.rect.height() < 2)
            continue;
        const int ink = inkIn(image, item.rect, pixelsPerMm);
        QVERIFY2(item.text.trimmed().isEmpty() ? ink == 0 : ink > 20,
                 qPrintable(QString("%1 '%2': %3").arg(item.objectName, item.text).arg(ink)));
        ++checked;
    }
    QVERIFY(checked > 20);
}

QTEST_MAIN(TestReportPdf)
#include "tst_reportengine_pdf.moc"
