#include "reports/engine/widgets/uPreview.h"

#include "reports/engine/Report.h"
#include "reports/engine/ReportPainter.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
ReportExcelExporter& defaultExporter() {
    static ReportExcelExporter exporter;
    return exporter;
}
constexpr double kZoomStep = 1.25;
} // namespace

TFrmPreview::TFrmPreview(Report* report, QWidget* parent)
    : QDialog(parent), m_report(report), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("FrmPreview"));
    setWindowTitle(tr("打印预览"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setModal(true);
    m_printer->setFullPage(true);

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar_Preview"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* printAction = addAction(QStringLiteral("TB_Print"), tr("打印"), tr("打印报表"));
    connect(printAction, &QAction::triggered, this, &TFrmPreview::print);
    toolBar->addAction(printAction);
    QAction* setupAction =
        addAction(QStringLiteral("TB_PageSetup"), tr("页面设置"), tr("纸张、方向和页边距"));
    connect(setupAction, &QAction::triggered, this, &TFrmPreview::pageSetup);
    toolBar->addAction(setupAction);
    toolBar->addSeparator();

    const struct {
        const char* name;
        QString text;
        void (TFrmPreview::*slot)();
    } zoomActions[] = {{"TB_ZoomIn", tr("放大"), &TFrmPreview::zoomIn},
                       {"TB_ZoomOut", tr("缩小"), &TFrmPreview::zoomOut},
                       {"TB_Zoom100", tr("100%"), &TFrmPreview::zoomActualSize},
                       {"TB_ZoomWidth", tr("页宽"), &TFrmPreview::fitWidth},
                       {"TB_ZoomPage", tr("整页"), &TFrmPreview::fitPage}};
    for (const auto& z : zoomActions) {
        QAction* action = addAction(QLatin1String(z.name), z.text, z.text);
        connect(action, &QAction::triggered, this, z.slot);
        toolBar->addAction(action);
    }
    toolBar->addSeparator();

    const struct {
        const char* name;
        QString text;
        void (TFrmPreview::*slot)();
    } navActions[] = {{"TB_First", tr("首页"), &TFrmPreview::firstPage},
                      {"TB_Prior", tr("上一页"), &TFrmPreview::previousPage},
                      {"TB_Next", tr("下一页"), &TFrmPreview::nextPage},
                      {"TB_Last", tr("末页"), &TFrmPreview::lastPage}};
    for (int i = 0; i < 4; ++i) {
        QAction* action =
            addAction(QLatin1String(navActions[i].name), navActions[i].text, navActions[i].text);
        connect(action, &QAction::triggered, this, navActions[i].slot);
        toolBar->addAction(action);
        if (i == 1) {
            m_pageBox = new QSpinBox(toolBar);
            m_pageBox->setObjectName(QStringLiteral("Edit_Page"));
            m_pageBox->setMinimum(1);
            m_pageBox->setKeyboardTracking(false);
            m_pageBox->setToolTip(tr("页码"));
            toolBar->addWidget(m_pageBox);
            m_pageCountLabel = new QLabel(toolBar);
            m_pageCountLabel->setObjectName(QStringLiteral("lbl_PageCount"));
            toolBar->addWidget(m_pageCountLabel);
            connect(m_pageBox, qOverload<int>(&QSpinBox::valueChanged), this, &TFrmPreview::goToPage);
        }
    }
    toolBar->addSeparator();

    m_findEdit = new QLineEdit(toolBar);
    m_findEdit->setObjectName(QStringLiteral("Edit_Find"));
    m_findEdit->setPlaceholderText(tr("查找文字"));
    m_findEdit->setClearButtonEnabled(true);
    m_findEdit->setMaximumWidth(180);
    toolBar->addWidget(m_findEdit);
    QAction* findAction = addAction(QStringLiteral("TB_Find"), tr("查找"), tr("查找下一处"));
    toolBar->addAction(findAction);
    connect(findAction, &QAction::triggered, this, &TFrmPreview::find);
    connect(m_findEdit, &QLineEdit::returnPressed, this, &TFrmPreview::find);
    toolBar->addSeparator();

    QAction* pdfAction = addAction(QStringLiteral("TB_ExportPdf"), tr("导出PDF"), tr("导出为 PDF 文件"));
    connect(pdfAction, &QAction::triggered, this, &TFrmPreview::exportPdf);
    toolBar->addAction(pdfAction);
    m_excelAction = addAction(QStringLiteral("TB_ExportExcel"), tr("导出Excel"), tr("导出为 Excel 文件"));
    connect(m_excelAction, &QAction::triggered, this, &TFrmPreview::exportExcel);
    toolBar->addAction(m_excelAction);
    toolBar->addSeparator();
    QAction* closeAction = addAction(QStringLiteral("TB_Close"), tr("关闭"), tr("关闭预览"));
    connect(closeAction, &QAction::triggered, this, &QDialog::accept);
    toolBar->addAction(closeAction);

    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("PreviewWidget"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &TFrmPreview::paintPages);
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &TFrmPreview::updatePageControls);

    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("lbl_Status"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_preview, 1);
    auto* statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(6, 2, 6, 2);
    statusRow->addWidget(m_statusLabel, 1);
    layout->addLayout(statusRow);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(qMin(1100, available.width() * 9 / 10), available.height() * 9 / 10);
    }
    m_excelAction->setVisible(bool(excelExporter()));
    rebuild();
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(1.0);
}

void TFrmPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showPosition(currentPage(), 0);
}

TFrmPreview::~TFrmPreview() = default;

int TFrmPreview::showReport(Report* report, QWidget* parent) {
    TFrmPreview preview(report, parent);
    return preview.exec();
}

void TFrmPreview::setDefaultExcelExporter(ReportExcelExporter exporter) {
    defaultExporter() = std::move(exporter);
}

void TFrmPreview::setExcelExporter(ReportExcelExporter exporter) {
    m_excelExporter = std::move(exporter);
    m_excelAction->setVisible(bool(excelExporter()));
}

ReportExcelExporter TFrmPreview::excelExporter() const {
    return m_excelExporter ? m_excelExporter : defaultExporter();
}

QAction* TFrmPreview::addAction(const QString& name, const QString& text, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setToolTip(tip);
    return action;
}

int TFrmPreview::currentPage() const {
    return m_preview->currentPage();
}

double TFrmPreview::zoomFactor() const {
    return m_preview->zoomFactor();
}

void TFrmPreview::rebuild() {
    m_prepared = m_report->prepare();
    applyPrinterLayout(m_printer.get());
    m_preview->updatePreview();
    updatePageControls();
}

void TFrmPreview::applyPrinterLayout(QPrinter* printer) const {
    if (m_prepared.pageCount() > 0)
        printer->setPageLayout(m_prepared.page(0).pageLayout());
    if (m_report->pageCount() > 0) {
        QPageLayout layout = printer->pageLayout();
        layout.setMode(QPageLayout::FullPageMode);
        layout.setMargins(m_report->page(0)->margins());
        printer->setPageLayout(layout);
    }
}

void TFrmPreview::paintPages(QPrinter* printer) {
    QString error;
    if (!ReportPainter::paintAll(printer, m_prepared, &error, m_highlight))
        m_statusLabel->setText(error);
}

void TFrmPreview::updatePageControls() {
    const int count = qMax(1, m_preview->pageCount());
    const QSignalBlocker blocker(m_pageBox);
    m_pageBox->setMaximum(count);
    m_pageBox->setValue(qBound(1, m_preview->currentPage(), count));
    m_pageCountLabel->setText(tr(" / 共 %1 页 ").arg(m_prepared.pageCount()));
}

void TFrmPreview::goToPage(int page) {
    showPosition(page, 0);
}

void TFrmPreview::showPosition(int page, double yMm) {
    page = qBound(1, page, qMax(1, m_preview->pageCount()));
    // The preview centres the page it moves to; scroll from there to the point asked for.
    m_preview->setCurrentPage(page);
    auto* view = m_preview->findChild<QGraphicsView*>();
    if (view && page <= m_prepared.pageCount()) {
        const double pixelsPerMm = view->logicalDpiY() / 25.4 * m_preview->zoomFactor();
        const double pageHeight = m_prepared.page(page - 1).paperSize.height();
        const double viewHeight = view->viewport()->height() / pixelsPerMm;
        // A page that fits stays centred; a taller one keeps filling the view, so it stays
        // the current page.
        if (viewHeight < pageHeight) {
            yMm = qBound(0.0, yMm, pageHeight - viewHeight + 3);
            const double offset = (yMm - pageHeight / 2 + viewHeight / 2) * pixelsPerMm - 12;
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() + int(offset));
        }
    }
    updatePageControls();
}

void TFrmPreview::firstPage() {
    goToPage(1);
}
void TFrmPreview::previousPage() {
    goToPage(currentPage() - 1);
}
void TFrmPreview::nextPage() {
    goToPage(currentPage() + 1);
}
void TFrmPreview::lastPage() {
    goToPage(m_preview->pageCount());
}

void TFrmPreview::zoomIn() {
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(qMin(8.0, m_preview->zoomFactor() * kZoomStep));
}

void TFrmPreview::zoomOut() {
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(qMax(0.1, m_preview->zoomFactor() / kZoomStep));
}

void TFrmPreview::zoomActualSize() {
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(1.0);
}

void TFrmPreview::fitPage() {
    m_preview->fitInView();
}
void TFrmPreview::fitWidth() {
    m_preview->fitToWidth();
}

bool TFrmPreview::findText(const QString& text) {
    if (text.isEmpty())
        return false;
    // The same text again continues after the page of the last hit.
    const int from = text == m_lastFind ? currentPage() : currentPage() - 1;
    const int found = m_prepared.findText(text, from % qMax(1, m_prepared.pageCount()));
    if (found < 0) {
        m_statusLabel->setText(tr("未找到“%1”").arg(text));
        return false;
    }
    m_lastFind = text;
    if (m_highlight != text) {
        m_highlight = text;
        m_preview->updatePreview();
    }
    double y = 0;
    for (const PreparedItem& item : m_prepared.page(found).items) {
        if (item.kind == PreparedItem::Kind::Text && item.text.contains(text, Qt::CaseInsensitive)) {
            y = qMax(0.0, item.rect.top() - 10);
            break;
        }
    }
    showPosition(found + 1, y);
    m_statusLabel->setText(tr("“%1”在第 %2 页").arg(text).arg(found + 1));
    return true;
}

void TFrmPreview::find() {
    findText(m_findEdit->text());
}

QString TFrmPreview::suggestedPath(const QString& suffix) const {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = m_report->name().isEmpty() ? tr("报表") : m_report->name();
    return QDir(folder).filePath(name + suffix);
}

bool TFrmPreview::exportPdfTo(const QString& path, QString* error) {
    QString message;
    const bool ok = ReportPainter::exportPdf(m_prepared, path, m_report->name(), &message);
    if (error)
        *error = message;
    if (ok)
        m_statusLabel->setText(tr("已导出到 %1").arg(QDir::toNativeSeparators(path)));
    return ok;
}

bool TFrmPreview::exportExcelTo(const QString& path, QString* error) {
    const ReportExcelExporter exporter = excelExporter();
    if (!exporter) {
        if (error)
            *error = tr("没有可用的 Excel 导出");
        return false;
    }
    QString message;
    const bool ok = exporter(path, m_report->table(), &message);
    if (error)
        *error = message;
    if (ok)
        m_statusLabel->setText(tr("已导出到 %1").arg(QDir::toNativeSeparators(path)));
    return ok;
}

void TFrmPreview::exportPdf() {
    QString path = QFileDialog::getSaveFileName(this, tr("导出PDF"), suggestedPath(QStringLiteral(".pdf")),
                                                tr("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    QString error;
    if (!exportPdfTo(path, &error))
        QMessageBox::warning(this, tr("错误"), error);
}

void TFrmPreview::exportExcel() {
    QString path = QFileDialog::getSaveFileName(this, tr("导出Excel"), suggestedPath(QStringLiteral(".xlsx")),
                                                tr("Excel 文件 (*.xlsx)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xlsx");
    QString error;
    if (!exportExcelTo(path, &error))
        QMessageBox::warning(this, tr("错误"), error.isEmpty() ? tr("导出失败") : error);
}

void TFrmPreview::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(m_report->name());
    applyPrinterLayout(&printer);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("打印"));
    dialog.setMinMax(1, qMax(1, m_prepared.pageCount()));
    if (dialog.exec() != QDialog::Accepted)
        return;
    PreparedReport pages;
    int first = 1;
    int last = m_prepared.pageCount();
    if (printer.printRange() == QPrinter::PageRange) {
        first = qMax(1, printer.fromPage());
        last = qMin(last, printer.toPage());
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = currentPage();
    }
    for (int i = first; i <= last; ++i)
        pages.addPage(m_prepared.page(i - 1));
    QString error;
    if (!ReportPainter::paintAll(&printer, pages, &error))
        QMessageBox::warning(this, tr("错误"), tr("打印失败: %1").arg(error));
}

void TFrmPreview::pageSetup() {
    applyPrinterLayout(m_printer.get());
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(tr("页面设置"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QPageLayout layout = m_printer->pageLayout();
    for (int p = 0; p < m_report->pageCount(); ++p) {
        ReportPage* page = m_report->page(p);
        page->setPageSize(layout.pageSize());
        page->setOrientation(layout.orientation());
        page->setMargins(layout.margins(QPageLayout::Millimeter));
    }
    rebuild();
}
