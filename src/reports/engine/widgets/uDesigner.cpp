#include "reports/engine/widgets/uDesigner.h"

#include "reports/engine/Report.h"
#include "reports/engine/ReportLine.h"
#include "reports/engine/ReportMemo.h"
#include "reports/engine/widgets/ReportDesignCanvas.h"
#include "reports/engine/widgets/ReportPropertyPanel.h"
#include "reports/engine/widgets/uPreview.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFrmDesigner::TFrmDesigner(Report* report, const QString& templatePath, QWidget* parent)
    : QDialog(parent), m_report(report), m_templatePath(templatePath) {
    setObjectName(QStringLiteral("FrmDesigner"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    setModal(true);

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ToolBar_Designer"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* newAction = makeAction(QStringLiteral("TB_New"), tr("新建"), tr("新建 A4 纵向空白报表"));
    QAction* openAction = makeAction(QStringLiteral("TB_Open"), tr("打开"), tr("打开模板文件"));
    QAction* saveAction = makeAction(QStringLiteral("TB_Save"), tr("保存"), tr("保存模板文件"));
    QAction* saveAsAction = makeAction(QStringLiteral("TB_SaveAs"), tr("另存为"), tr("保存为另一个模板文件"));
    QAction* previewAction = makeAction(QStringLiteral("TB_Preview"), tr("预览"), tr("用当前数据预览"));
    QAction* memoAction =
        makeAction(QStringLiteral("TB_AddMemo"), tr("添加文本"), tr("在所选带区添加文本框"));
    QAction* lineAction = makeAction(QStringLiteral("TB_AddLine"), tr("添加线条"), tr("在所选带区添加线条"));
    m_deleteAction = makeAction(QStringLiteral("TB_Delete"), tr("删除"), tr("删除所选对象"));
    m_deleteBandAction =
        makeAction(QStringLiteral("TB_DeleteBand"), tr("删除带区"), tr("删除所选带区及其对象"));
    QAction* zoomInAction = makeAction(QStringLiteral("TB_ZoomIn"), tr("放大"));
    QAction* zoomOutAction = makeAction(QStringLiteral("TB_ZoomOut"), tr("缩小"));
    QAction* closeAction = makeAction(QStringLiteral("TB_Close"), tr("关闭"));
    m_deleteAction->setShortcut(QKeySequence::Delete);
    m_deleteAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    saveAction->setShortcut(QKeySequence::Save);

    auto* bandMenu = new QMenu(this);
    bandMenu->setObjectName(QStringLiteral("Menu_AddBand"));
    for (ReportBandType type :
         {ReportBandType::ReportTitle, ReportBandType::PageHeader, ReportBandType::MasterData,
          ReportBandType::ReportSummary, ReportBandType::PageFooter}) {
        QAction* action = bandMenu->addAction(reportBandTypeCaption(type));
        action->setObjectName(QStringLiteral("TB_AddBand_") + reportBandTypeName(type));
        connect(action, &QAction::triggered, this, [this, type] { addBand(type); });
    }
    auto* bandButton = new QToolButton(toolBar);
    bandButton->setObjectName(QStringLiteral("TB_AddBand"));
    bandButton->setText(tr("添加带区"));
    bandButton->setMenu(bandMenu);
    bandButton->setPopupMode(QToolButton::InstantPopup);

    toolBar->addActions({newAction, openAction, saveAction, saveAsAction});
    toolBar->addSeparator();
    toolBar->addAction(previewAction);
    toolBar->addSeparator();
    toolBar->addActions({memoAction, lineAction, m_deleteAction});
    toolBar->addWidget(bandButton);
    toolBar->addAction(m_deleteBandAction);
    toolBar->addSeparator();
    toolBar->addActions({zoomInAction, zoomOutAction});
    m_pageCombo = new QComboBox(toolBar);
    m_pageCombo->setObjectName(QStringLiteral("Combo_Page"));
    m_pageComboAction = toolBar->addWidget(m_pageCombo);
    toolBar->addSeparator();
    toolBar->addAction(closeAction);

    m_canvas = new ReportDesignCanvas;
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollCanvas"));
    m_scroll->setWidget(m_canvas);
    m_scroll->setWidgetResizable(false);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_panel = new ReportPropertyPanel;
    auto* panelScroll = new QScrollArea(this);
    panelScroll->setWidget(m_panel);
    panelScroll->setWidgetResizable(true);
    panelScroll->setMinimumWidth(300);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_scroll);
    splitter->addWidget(panelScroll);
    splitter->setStretchFactor(0, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lbl_Status"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(splitter, 1);
    auto* statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(6, 2, 6, 2);
    statusRow->addWidget(m_status);
    layout->addLayout(statusRow);

    connect(newAction, &QAction::triggered, this, &TFrmDesigner::newClicked);
    connect(openAction, &QAction::triggered, this, &TFrmDesigner::openClicked);
    connect(saveAction, &QAction::triggered, this, &TFrmDesigner::saveClicked);
    connect(saveAsAction, &QAction::triggered, this, &TFrmDesigner::saveAsClicked);
    connect(previewAction, &QAction::triggered, this, &TFrmDesigner::preview);
    connect(memoAction, &QAction::triggered, this, &TFrmDesigner::addMemo);
    connect(lineAction, &QAction::triggered, this, &TFrmDesigner::addLine);
    connect(m_deleteAction, &QAction::triggered, this, &TFrmDesigner::deleteSelected);
    connect(m_deleteBandAction, &QAction::triggered, this, &TFrmDesigner::deleteSelectedBand);
    connect(zoomInAction, &QAction::triggered, this, [this] { m_canvas->setZoom(m_canvas->zoom() * 1.25); });
    connect(zoomOutAction, &QAction::triggered, this, [this] { m_canvas->setZoom(m_canvas->zoom() / 1.25); });
    connect(closeAction, &QAction::triggered, this, &QDialog::close);
    connect(m_pageCombo, qOverload<int>(&QComboBox::activated), m_canvas, &ReportDesignCanvas::setPageIndex);

    connect(m_canvas, &ReportDesignCanvas::selectionChanged, this, &TFrmDesigner::selectionChanged);
    connect(m_canvas, &ReportDesignCanvas::geometryChanged, m_panel, &ReportPropertyPanel::refreshGeometry);
    connect(m_canvas, &ReportDesignCanvas::layoutEdited, this, &TFrmDesigner::markModified);
    connect(m_canvas, &ReportDesignCanvas::deleteRequested, this, [this] {
        if (!deleteSelected())
            deleteSelectedBand();
    });
    connect(m_canvas, &ReportDesignCanvas::editTextRequested, m_panel, &ReportPropertyPanel::focusText);
    connect(m_panel, &ReportPropertyPanel::edited, this, [this] {
        m_canvas->update();
        markModified();
    });
    connect(m_panel, &ReportPropertyPanel::structureEdited, m_canvas, &ReportDesignCanvas::relayout);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(qMin(1280, available.width() * 9 / 10), available.height() * 9 / 10);
    }
    reload();
}

TFrmDesigner::~TFrmDesigner() = default;

int TFrmDesigner::design(Report* report, const QString& templatePath, QWidget* parent) {
    TFrmDesigner designer(report, templatePath, parent);
    return designer.exec();
}

QAction* TFrmDesigner::makeAction(const QString& name, const QString& text, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    action->setToolTip(tip.isEmpty() ? text : tip);
    return action;
}

void TFrmDesigner::reload() {
    m_panel->setReport(m_report);
    m_canvas->setReport(m_report);
    m_pageCombo->clear();
    for (int p = 0; p < m_report->pageCount(); ++p)
        m_pageCombo->addItem(m_report->page(p)->name());
    m_pageComboAction->setVisible(m_report->pageCount() > 1);
    selectionChanged();
    updateTitle();
}

void TFrmDesigner::updateTitle() {
    QString title = tr("报表设计 - %1").arg(m_report->name());
    if (!m_templatePath.isEmpty())
        title += QLatin1String(" [") + QFileInfo(m_templatePath).fileName() + QLatin1Char(']');
    if (m_modified)
        title += QLatin1String(" *");
    setWindowTitle(title);
}

void TFrmDesigner::updateActions() {
    m_deleteAction->setEnabled(m_canvas->selectedObject());
    m_deleteBandAction->setEnabled(m_canvas->selectedBand() && !m_canvas->selectedObject());
}

void TFrmDesigner::setStatus(const QString& text) {
    m_status->setText(text);
}

void TFrmDesigner::selectionChanged() {
    m_panel->showSelection(m_canvas->page(), m_canvas->selectedBand(), m_canvas->selectedObject());
    updateActions();
}

void TFrmDesigner::markModified() {
    if (!m_modified) {
        m_modified = true;
        updateTitle();
    }
}

bool TFrmDesigner::selectObject(const QString& name) {
    ReportObject* object = m_report->findObject(name);
    if (!object)
        return false;
    ReportBand* band = m_report->bandOf(object);
    ReportPage* page = m_report->pageOf(band);
    for (int p = 0; p < m_report->pageCount(); ++p) {
        if (m_report->page(p) == page && m_canvas->pageIndex() != p)
            m_canvas->setPageIndex(p);
    }
    m_canvas->selectObject(object);
    return true;
}

ReportObject* TFrmDesigner::selectedObject() const {
    return m_canvas->selectedObject();
}

ReportBand* TFrmDesigner::selectedBand() const {
    return m_canvas->selectedBand();
}

void TFrmDesigner::moveSelected(double dxMm, double dyMm) {
    if (ReportObject* object = selectedObject()) {
        object->setGeometry(object->geometry().translated(dxMm, dyMm));
        m_canvas->update();
        m_panel->refreshGeometry();
        markModified();
    }
}

void TFrmDesigner::setSelectedGeometry(const QRectF& geometryMm) {
    if (ReportObject* object = selectedObject()) {
        object->setGeometry(geometryMm);
        m_canvas->update();
        m_panel->refreshGeometry();
        markModified();
    }
}

// The selected band, else the band of the selected object, else the first data band.
ReportBand* TFrmDesigner::targetBand() const {
    if (m_canvas->selectedBand())
        return m_canvas->selectedBand();
    ReportPage* page = m_canvas->page();
    if (!page)
        return nullptr;
    for (int b = 0; b < page->bandCount(); ++b) {
        if (page->band(b)->type() == ReportBandType::MasterData)
            return page->band(b);
    }
    return page->bandCount() > 0 ? page->band(0) : nullptr;
}

ReportMemo* TFrmDesigner::addMemo() {
    ReportBand* band = targetBand();
    if (!band) {
        setStatus(tr("请先添加带区"));
        return nullptr;
    }
    auto memo = std::make_unique<ReportMemo>();
    memo->setName(m_report->uniqueName(QStringLiteral("Memo")));
    memo->setFont(m_report->defaultFont());
    memo->setText(tr("文本"));
    memo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    memo->setGeometry(QRectF(0, 0, 30, qMin(6.0, qMax(1.0, band->height()))));
    if (band->height() < 6)
        band->setHeight(6);
    auto* added = static_cast<ReportMemo*>(band->addObject(std::move(memo)));
    m_canvas->relayout();
    m_canvas->selectObject(added);
    m_panel->focusText();
    markModified();
    return added;
}

ReportLine* TFrmDesigner::addLine() {
    ReportBand* band = targetBand();
    if (!band) {
        setStatus(tr("请先添加带区"));
        return nullptr;
    }
    auto line = std::make_unique<ReportLine>();
    line->setName(m_report->uniqueName(QStringLiteral("Line")));
    const double width = m_canvas->page() ? m_canvas->page()->contentWidth() : 100;
    line->setGeometry(QRectF(0, qMax(0.0, band->height() / 2), width, 0));
    auto* added = static_cast<ReportLine*>(band->addObject(std::move(line)));
    m_canvas->selectObject(added);
    markModified();
    return added;
}

bool TFrmDesigner::deleteSelected() {
    ReportObject* object = selectedObject();
    if (!object)
        return false;
    ReportBand* band = m_report->bandOf(object);
    m_canvas->selectBand(band);
    band->takeObject(object);
    m_canvas->update();
    markModified();
    return true;
}

ReportBand* TFrmDesigner::addBand(ReportBandType type) {
    ReportPage* page = m_canvas->page();
    if (!page) {
        auto newPage = std::make_unique<ReportPage>(QStringLiteral("Page1"));
        page = m_report->addPage(std::move(newPage));
        reload();
    }
    auto band = std::make_unique<ReportBand>(type, m_report->uniqueName(reportBandTypeName(type)));
    band->setHeight(type == ReportBandType::ReportTitle ? 15 : 8);
    band->setStretch(type == ReportBandType::MasterData);
    ReportBand* added = page->insertBandInOrder(std::move(band));
    m_canvas->relayout();
    m_canvas->selectBand(added);
    markModified();
    return added;
}

bool TFrmDesigner::deleteSelectedBand() {
    ReportBand* band = selectedBand();
    ReportPage* page = m_canvas->page();
    if (!band || selectedObject() || !page)
        return false;
    m_canvas->clearSelection();
    page->takeBand(band);
    m_canvas->relayout();
    markModified();
    return true;
}

void TFrmDesigner::newLayout() {
    m_report->newLayout();
    m_modified = true;
    reload();
    setStatus(tr("已新建空白报表"));
}

bool TFrmDesigner::openTemplate(const QString& path, QString* error) {
    QString message;
    if (!m_report->loadTemplate(path, &message)) {
        if (message.isEmpty())
            message = tr("文件 %1 不存在").arg(QFileInfo(path).fileName());
        if (error)
            *error = message;
        return false;
    }
    m_templatePath = path;
    m_modified = false;
    reload();
    setStatus(tr("已打开 %1").arg(QFileInfo(path).fileName()));
    return true;
}

bool TFrmDesigner::saveTemplateTo(const QString& path, QString* error) {
    QString message;
    if (!m_report->saveTemplate(path, &message)) {
        if (error)
            *error = message;
        return false;
    }
    m_templatePath = path;
    m_modified = false;
    updateTitle();
    setStatus(tr("已保存到 %1").arg(QFileInfo(path).fileName()));
    return true;
}

void TFrmDesigner::preview() {
    TFrmPreview::showReport(m_report, this);
}

void TFrmDesigner::newClicked() {
    if (m_modified && QMessageBox::question(this, tr("提示"), tr("当前报表已修改，确定新建空白报表吗？")) !=
                          QMessageBox::Yes)
        return;
    newLayout();
}

void TFrmDesigner::openClicked() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("打开报表模板"), QFileInfo(m_templatePath).path(), tr("报表模板 (*.fr3);;所有文件 (*)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!openTemplate(path, &error))
        QMessageBox::warning(this, tr("错误"), error);
}

bool TFrmDesigner::saveClicked() {
    if (m_templatePath.isEmpty())
        return saveAsClicked();
    QString error;
    if (!saveTemplateTo(m_templatePath, &error)) {
        QMessageBox::warning(this, tr("错误"), error);
        return false;
    }
    return true;
}

bool TFrmDesigner::saveAsClicked() {
    QString path =
        QFileDialog::getSaveFileName(this, tr("保存报表模板"), m_templatePath, tr("报表模板 (*.fr3)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".fr3");
    QString error;
    if (!saveTemplateTo(path, &error)) {
        QMessageBox::warning(this, tr("错误"), error);
        return false;
    }
    return true;
}

// The layout stays changed in memory either way; the question is about the file.
void TFrmDesigner::reject() {
    if (m_modified) {
        const auto answer = QMessageBox::question(this, tr("提示"), tr("报表已修改，是否保存到模板文件？"),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !saveClicked()))
            return;
    }
    QDialog::reject();
}
