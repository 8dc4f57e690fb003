#include "reports/engine/BuiltInLayouts.h"
#include "reports/engine/MemoryDataSource.h"
#include "reports/engine/Report.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/ReportTemplate.h"
#include "reports/engine/widgets/ReportDesignCanvas.h"
#include "reports/engine/widgets/uDesigner.h"
#include "reports/engine/widgets/uPreview.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QtTest>

namespace {

Report medicineList(int rows) {
    Report report = BuiltInLayouts::FrxMedicine();
    auto source = std::make_shared<MemoryDataSource>("Medicine", QStringList{"MedicineCode", "MedicineName"});
    for (int i = 0; i < rows; ++i)
        source->addRow(
            QVariantList{QString("YP%1").arg(i + 1, 4, 10, QChar('0')), QString("药品%1").arg(i + 1)});
    report.setDataSource(source);
    report.setMemoText("MemoTitle", "康泰大药房");
    return report;
}

void mouse(QWidget* widget, QEvent::Type type, const QPointF& pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void drag(QWidget* widget, const QPointF& from, const QPointF& to) {
    mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

} // namespace

class TestReportWindows : public QObject {
    Q_OBJECT

private slots:
    void previewShowsTheReport();
    void designerEditsTheCallersReport();
    void designerNewAndTemplates();
};

void TestReportWindows::previewShowsTheReport() {
    Report report = medicineList(100);
    TFrmPreview preview(&report);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    for (const char* name : {"TB_Print", "TB_PageSetup", "TB_ZoomIn", "TB_ZoomOut", "TB_Zoom100",
                             "TB_ZoomWidth", "TB_ZoomPage", "TB_First", "TB_Prior", "TB_Next", "TB_Last",
                             "TB_Find", "TB_ExportPdf", "TB_ExportExcel", "TB_Close"})
        QVERIFY2(preview.findChild<QAction*>(name), name);
    QCOMPARE(preview.findChild<QAction*>("TB_Print")->text(), QString("打印"));
    QVERIFY(preview.findChild<QPrintPreviewWidget*>("PreviewWidget"));
    QCOMPARE(preview.zoomFactor(), 1.0);
    // Without an exporter there is no Excel button.
    QVERIFY(!preview.findChild<QAction*>("TB_ExportExcel")->isVisible());

    const int pages = preview.pageCount();
    QVERIFY(pages >= 3);
    QCOMPARE(preview.previewWidget()->pageCount(), pages);
    QCOMPARE(preview.currentPage(), 1);
    preview.findChild<QAction*>("TB_Last")->trigger();
    QCOMPARE(preview.currentPage(), pages);
    preview.findChild<QAction*>("TB_Prior")->trigger();
    QCOMPARE(preview.currentPage(), pages - 1);
    preview.findChild<QAction*>("TB_First")->trigger();
    QCOMPARE(preview.currentPage(), 1);
    preview.findChild<QAction*>("TB_ZoomIn")->trigger();
    QVERIFY(preview.zoomFactor() > 1.0);

    // Find moves to the page holding the text.
    const int expected = preview.prepared().findText("YP0090") + 1;
    QVERIFY(expected > 1);
    preview.findChild<QLineEdit*>("Edit_Find")->setText("YP0090");
    preview.findChild<QAction*>("TB_Find")->trigger();
    QCOMPARE(preview.currentPage(), expected);
    QVERIFY(!preview.findText("没有这段文字"));
    QVERIFY(preview.findChild<QLabel*>("lbl_Status")->text().contains("未找到"));

    QTemporaryDir dir;
    QString error;
    QVERIFY2(preview.exportPdfTo(dir.filePath("list.pdf"), &error), qPrintable(error));
    QVERIFY(QFileInfo(dir.filePath("list.pdf")).size() > 1000);

    ReportTable written;
    QString writtenPath;
    preview.setExcelExporter([&](const QString& path, const ReportTable& table, QString*) {
        writtenPath = path;
        written = table;
        return true;
    });
    QVERIFY(preview.findChild<QAction*>("TB_ExportExcel")->isVisible());
    QVERIFY(preview.exportExcelTo(dir.filePath("list.xlsx"), &error));
    QCOMPARE(writtenPath, dir.filePath("list.xlsx"));
    QCOMPARE(written.rows.size(), 100);
    QCOMPARE(written.captions.first(), QString("药品编码"));
    QCOMPARE(written.rows.at(99).at(0).toString(), QString("YP0100"));
}

void TestReportWindows::designerEditsTheCallersReport() {
    Report report = medicineList(3);
    TFrmDesigner designer(&report);
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    for (const char* name : {"TB_New", "TB_Open", "TB_Save", "TB_SaveAs", "TB_Preview", "TB_AddMemo",
                             "TB_AddLine", "TB_Delete", "TB_DeleteBand", "TB_AddBand_MasterData"})
        QVERIFY2(designer.findChild<QAction*>(name), name);
    auto* canvas = designer.findChild<ReportDesignCanvas*>("DesignCanvas");
    QVERIFY(canvas);
    auto* left = designer.findChild<QDoubleSpinBox*>("Edit_Left");
    auto* top = designer.findChild<QDoubleSpinBox*>("Edit_Top");
    QVERIFY(left && top);

    // Through the designer's API.
    QVERIFY(designer.selectObject("MemoTitle"));
    const QRectF before = report.findObject("MemoTitle")->geometry();
    designer.moveSelected(5, 1.5);
    QCOMPARE(report.findObject("MemoTitle")->geometry(), before.translated(5, 1.5));
    QCOMPARE(left->value(), before.x() + 5);
    QVERIFY(designer.isModified());

    // With the mouse: a drag moves by whole grid steps, a corner handle resizes.
    ReportObject* cell = report.findObject("Memo2");
    QVERIFY(cell);
    canvas->selectObject(cell);
    const QRectF cellBefore = cell->geometry();
    const double px = canvas->pixelsPerMm();
    QRectF onScreen = canvas->objectRect(cell);
    drag(canvas, onScreen.center() - QPointF(0, 2), onScreen.center() - QPointF(0, 2) + QPointF(10 * px, 0));
    QCOMPARE(cell->geometry().x(), cellBefore.x() + 10);
    QCOMPARE(cell->geometry().y(), cellBefore.y());
    QCOMPARE(left->value(), cellBefore.x() + 10);
    onScreen = canvas->objectRect(cell);
    drag(canvas, onScreen.bottomRight(), onScreen.bottomRight() + QPointF(4 * px, 0));
    QCOMPARE(cell->geometry().width(), cellBefore.width() + 4);

    // The property panel writes straight into the layout.
    auto* text = designer.findChild<QPlainTextEdit*>("Edit_Text");
    text->setPlainText("[Medicine.\"MedicineName\"] 新文本");
    QCOMPARE(static_cast<ReportMemo*>(cell)->text(), QString("[Medicine.\"MedicineName\"] 新文本"));
    designer.findChild<QCheckBox*>("Check_FrameLeft")->setChecked(false);
    QVERIFY(!(static_cast<ReportMemo*>(cell)->frame().sides & Qt::LeftEdge));
    left->setValue(2.5);
    QCOMPARE(cell->geometry().x(), 2.5);

    // Add and delete memos and bands.
    ReportBand* data = report.findBand("MasterData1");
    canvas->selectBand(data);
    const int objects = data->objectCount();
    ReportMemo* added = designer.addMemo();
    QVERIFY(added);
    QCOMPARE(data->objectCount(), objects + 1);
    QVERIFY(report.findObject(added->name()) == added);
    QVERIFY(designer.deleteSelected());
    QCOMPARE(data->objectCount(), objects);
    ReportBand* summary = designer.addBand(ReportBandType::ReportSummary);
    QCOMPARE(report.page(0)->indexOf(summary), report.page(0)->indexOf(data) + 1);
    const QString summaryName = summary->name();
    QVERIFY(designer.deleteSelectedBand());
    QVERIFY(!report.findBand(summaryName));

    // The edits print.
    QVERIFY(report.prepare().toText().contains("药品1 新文本"));
}

void TestReportWindows::designerNewAndTemplates() {
    Report report = BuiltInLayouts::FrxBill();
    TFrmDesigner designer(&report);
    QTemporaryDir dir;
    const QString path = dir.filePath("frxBill.fr3");
    QString error;
    QVERIFY2(designer.saveTemplateTo(path, &error), qPrintable(error));
    QVERIFY(!designer.isModified());
    const QString saved = ReportTemplate::toXml(report);

    designer.findChild<QAction*>("TB_New")->trigger(); // unmodified: no question asked
    QCOMPARE(report.pageCount(), 1);
    const ReportPage* page = report.page(0);
    QCOMPARE(page->paperSize(), QSizeF(210, 297));
    QCOMPARE(page->margins(), QMarginsF(10, 10, 10, 10));
    QCOMPARE(report.defaultFont().family(), QString("Arial"));
    QVERIFY(!report.findMemo("mbig"));
    {
        ReportMemo* memo = designer.addMemo();
        QVERIFY(memo);
        QCOMPARE(memo->font().family(), QString("Arial"));
    }

    QVERIFY2(designer.openTemplate(path, &error), qPrintable(error));
    QCOMPARE(ReportTemplate::toXml(report), saved);
    QVERIFY(!designer.openTemplate(dir.filePath("missing.fr3"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReportTemplate::toXml(report), saved);
}

QTEST_MAIN(TestReportWindows)
#include "tst_reportengine_windows.moc"
