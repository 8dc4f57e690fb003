// A medicine list of many rows written to PDF through the report engine, against painting the
// same rows straight into a QPdfWriter with QPainter in the same run.
//
//   bench_report_pdf [rows=10000] [rounds=3]

#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/MemoryDataSource.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportFonts.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

const QStringList kFields = {"MedicineCode", "MedicineName", "FirstUnits", "MedicineUnit",
                             "AgreeNo",      "Manufacturer", "Remark1"};
const double kWidths[] = {21, 23, 10, 30, 29, 37, 40};

std::shared_ptr<MemoryDataSource> medicines(int rows) {
    const QStringList names = {"阿莫西林胶囊", "复方甘草片", "维生素C片", "布洛芬缓释胶囊", "板蓝根颗粒",
                               "头孢克肟片",   "氯雷他定片", "蒙脱石散",  "感冒灵颗粒",     "藿香正气水"};
    const QStringList units = {"盒", "瓶", "袋", "支", "板"};
    const QStringList packages = {"0.25g*24粒", "100片", "0.1g*100片", "0.3g*20粒", "10g*20袋", "10ml*10支"};
    const QStringList makers = {"华北制药股份有限公司", "某某药业", "太极集团", "白云山制药厂",
                                "修正药业集团"};
    const QStringList remarks = {"", "", "处方药", "饭后服用", "冷藏保存", "儿童慎用"};
    QRandomGenerator random(20240105);
    auto source = std::make_shared<MemoryDataSource>("Medicine", kFields);
    for (int i = 0; i < rows; ++i) {
        source->addRow(QVariantList{
            QString("YP%1").arg(i + 1, 6, 10, QChar('0')), names.at(random.bounded(int(names.size()))),
            units.at(random.bounded(int(units.size()))), packages.at(random.bounded(int(packages.size()))),
            QString("国药准字H%1").arg(random.bounded(10000000, 99999999)),
            makers.at(random.bounded(int(makers.size()))), remarks.at(random.bounded(int(remarks.size())))});
    }
    return source;
}

// The same page as the built-in medicine list, painted by hand.
bool paintDirectly(const MemoryDataSource& source, const QString& company, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const double px = writer.resolution() / 25.4;
    QFont cellFont("宋体");
    cellFont.setPointSizeF(9);
    QFont headerFont = cellFont;
    headerFont.setBold(true);
    QFont titleFont = headerFont;
    titleFont.setPointSizeF(14);
    painter.setPen(QPen(Qt::black, 0.2 * px));
    auto rect = [px](double x, double y, double w, double h) {
        return QRectF(x * px, y * px, w * px, h * px);
    };
    auto cell = [&](double x, double y, double w, const QString& text) {
        const QRectF r = rect(x, y, w, 6);
        painter.drawRect(r);
        painter.drawText(r.adjusted(0.5 * px, 0.3 * px, -0.5 * px, -0.3 * px),
                         Qt::AlignCenter | Qt::TextWordWrap, text);
    };
    const double bottom = 297 - 10 - 8;
    const int firstPageRows = int((bottom - 10 - 12 - 6) / 6);
    const int otherPageRows = int((bottom - 10 - 6) / 6);
    const int rows = source.rowCount();
    const int pages =
        rows <= firstPageRows ? 1 : 1 + (rows - firstPageRows + otherPageRows - 1) / otherPageRows;
    int row = 0;
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            writer.newPage();
        double y = 10;
        if (page == 1) {
            painter.setFont(titleFont);
            painter.drawText(rect(10, y, 190, 10), Qt::AlignCenter, company);
            y += 12;
        }
        painter.setFont(headerFont);
        double x = 10;
        const QStringList captions = {"药品编码", "药品名称", "单位", "规格型号",
                                      "批准文号", "生产厂家", "备注"};
        for (int c = 0; c < 7; ++c) {
            cell(x, y, kWidths[c], captions.at(c));
            x += kWidths[c];
        }
        y += 6;
        painter.setFont(cellFont);
        for (; row < rows && y + 6 <= bottom; ++row, y += 6) {
            x = 10;
            for (int c = 0; c < 7; ++c) {
                cell(x, y, kWidths[c], source.value(row, kFields.at(c)).toString());
                x += kWidths[c];
            }
        }
        painter.drawText(rect(10, bottom + 2, 190, 5), Qt::AlignCenter,
                         QString("第 %1 页，共 %2 页").arg(page).arg(pages));
    }
    return painter.end();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? QString(argv[1]).toInt() : 10000;
    const int rounds = argc > 2 ? QString(argv[2]).toInt() : 3;
    ReportFonts::install();
    QTemporaryDir dir;
    const QString company = QStringLiteral("康泰大药房");
    const auto source = medicines(rows);

    Report report = BuiltInLayouts::FrxMedicine();
    report.setDataSource(source);
    report.setMemoText("MemoTitle", company);

    double bestEngine = 1e30;
    double bestDirect = 1e30;
    qint64 engineSize = 0;
    qint64 directSize = 0;
    int pages = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QString error;
        if (!report.exportPdf(dir.filePath("engine.pdf"), &error)) {
            std::fprintf(stderr, "engine: %s\n", qPrintable(error));
            return 1;
        }
        bestEngine = qMin(bestEngine, timer.nsecsElapsed() / 1e6);

        timer.restart();
        if (!paintDirectly(*source, company, dir.filePath("direct.pdf"))) {
            std::fprintf(stderr, "direct painting failed\n");
            return 1;
        }
        bestDirect = qMin(bestDirect, timer.nsecsElapsed() / 1e6);
    }
    engineSize = QFileInfo(dir.filePath("engine.pdf")).size();
    directSize = QFileInfo(dir.filePath("direct.pdf")).size();
    pages = report.prepare().pageCount();

    std::printf("rows %d, pages %d, best of %d rounds\n", rows, pages, rounds);
    std::printf("engine (layout + paint + PDF)  %9.1f ms  %8lld bytes\n", bestEngine, engineSize);
    std::printf("direct QPainter into QPdfWriter %9.1f ms  %8lld bytes\n", bestDirect, directSize);
    std::printf("ratio engine / direct           %9.2f  (goal <= 1.50)\n", bestEngine / bestDirect);
    return 0;
}
