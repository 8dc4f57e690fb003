#pragma once

#include "reports/engine/PreparedReport.h"
#include "reports/engine/ReportTable.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QSpinBox;
class Report;

// Writes a report's table to a spreadsheet file; false with a reason when it cannot.
using ReportExcelExporter =
    std::function<bool(const QString& path, const ReportTable& table, QString* error)>;

// The print preview: the report built from its current data, shown at 100 %, with printing,
// page setup, zoom, page navigation, find and export to PDF and Excel. Modal; created for one
// showing. Page setup changes the report's paper and margins, as a designer change would.
class TFrmPreview : public QDialog {
    Q_OBJECT

public:
    explicit TFrmPreview(Report* report, QWidget* parent = nullptr);
    ~TFrmPreview() override;

    // Builds the report and shows it modally.
    static int showReport(Report* report, QWidget* parent = nullptr);
    // The exporter every preview offers unless it is given its own; the Excel button stays
    // hidden while neither is set.
    static void setDefaultExcelExporter(ReportExcelExporter exporter);
    void setExcelExporter(ReportExcelExporter exporter);

    const PreparedReport& prepared() const { return m_prepared; }
    int pageCount() const { return m_prepared.pageCount(); }
    int currentPage() const; // 1-based
    double zoomFactor() const;
    QPrintPreviewWidget* previewWidget() const { return m_preview; }

public slots:
    void rebuild();
    void goToPage(int page);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomIn();
    void zoomOut();
    void zoomActualSize();
    void fitPage();
    void fitWidth();
    // Moves to the next page holding text and marks the texts that contain it.
    bool findText(const QString& text);
    bool exportPdfTo(const QString& path, QString* error = nullptr);
    bool exportExcelTo(const QString& path, QString* error = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void print();
    void pageSetup();
    void exportPdf();
    void exportExcel();
    void find();
    void paintPages(QPrinter* printer);
    void updatePageControls();

private:
    QAction* addAction(const QString& name, const QString& text, const QString& tip);
    // Shows page (1-based) with the point yMm from its top near the top of the view.
    void showPosition(int page, double yMm);
    ReportExcelExporter excelExporter() const;
    void applyPrinterLayout(QPrinter* printer) const;
    QString suggestedPath(const QString& suffix) const;

    Report* m_report;
    PreparedReport m_prepared;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview = nullptr;
    QSpinBox* m_pageBox = nullptr;
    QLabel* m_pageCountLabel = nullptr;
    QLineEdit* m_findEdit = nullptr;
    QLabel* m_statusLabel = nullptr;
    QAction* m_excelAction = nullptr;
    ReportExcelExporter m_excelExporter;
    QString m_highlight;
    QString m_lastFind;
};
