#include "masterdata/widgets/MasterListWindow.h"

#include "core/DataSet.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/DataGrid.h"
#include "core/widgets/GridExport.h"
#include "core/widgets/TypeTree.h"
#include "core/widgets/uChangeType.h"
#include "masterdata/widgets/CommandAction.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

MasterListWindow::MasterListWindow(const MasterListSetup& setup, QWidget* parent)
    : QWidget(parent), m_setup(setup), m_search(*setup.table) {
    setObjectName(setup.objectName);
    setWindowTitle(setup.caption);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

MasterListWindow::~MasterListWindow() = default;

void MasterListWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto addButton = [this](const QString& objectName, QAction* action) {
        auto* b = new QToolButton(m_toolBar);
        b->setObjectName(objectName);
        b->setDefaultAction(action);
        m_toolBar->addWidget(b);
        return b;
    };
    auto addLocal = [this, &addButton](const QString& objectName, const QString& caption,
                                       void (MasterListWindow::*slot)()) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QStringLiteral("act") + objectName);
        connect(a, &QAction::triggered, this, slot);
        return addButton(objectName, a);
    };
    addButton(QStringLiteral("TB_Add"), CommandAction(this, m_setup.addAction, tr("新增")));
    addButton(QStringLiteral("TB_Edit"), CommandAction(this, m_setup.editAction, tr("编辑")));
    addButton(QStringLiteral("TB_Del"), CommandAction(this, m_setup.deleteAction, tr("删除")));
    m_toolBar->addSeparator();
    addLocal(QStringLiteral("ToolButton1"), tr("Excel"), &MasterListWindow::ExportClick);
    addLocal(QStringLiteral("ToolButton3"), tr("刷新"), &MasterListWindow::RefreshClick);
    if (!m_setup.printAction.isEmpty())
        addButton(QStringLiteral("TB_Print"), CommandAction(this, m_setup.printAction, tr("打印")));
    auto* exit = new QAction(tr("关闭&Q"), this);
    exit->setObjectName(QStringLiteral("actTB_Exit"));
    connect(exit, &QAction::triggered, this, [this]() {
        // Inside the frame the sub-window closes; it frees this window with it.
        if (QWidget* frame = parentWidget(); frame && frame->inherits("QMdiSubWindow"))
            frame->close();
        else
            close();
    });
    addButton(QStringLiteral("TB_Exit"), exit);
    m_toolBar->addSeparator();
    auto* prompt = new QLabel(tr("请输入相关信息查询："), m_toolBar);
    prompt->setObjectName(QStringLiteral("Label1"));
    m_toolBar->addWidget(prompt);
    m_editKey = new QLineEdit(m_toolBar);
    m_editKey->setObjectName(QStringLiteral("EditKey"));
    QFont big = m_editKey->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    m_editKey->setFont(big);
    m_editKey->setMinimumWidth(260);
    m_editKey->setClearButtonEnabled(true);
    m_toolBar->addWidget(m_editKey);
    connect(m_editKey, &QLineEdit::textChanged, this, &MasterListWindow::EditKeyChange);
    layout->addWidget(m_toolBar);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter1"));
    if (!m_setup.treeCaption.isEmpty()) {
        m_tree = new QTreeWidget(split);
        m_tree->setObjectName(QStringLiteral("TreeView1"));
        m_tree->setHeaderHidden(true);
        m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_tree->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
                [this](QTreeWidgetItem* item) { TreeView1DblClick(item); });
        auto* typeItem = new QAction(m_setup.typeCaption, m_tree);
        typeItem->setObjectName(QStringLiteral("N10"));
        QAction* type = CommandAction(this, m_setup.typeAction, m_setup.typeCaption);
        connect(typeItem, &QAction::triggered, this, [this, type]() {
            type->trigger();
            fillTree(); // the categories may have changed
        });
        typeItem->setEnabled(type->isEnabled());
        connect(type, &QAction::changed, typeItem,
                [typeItem, type]() { typeItem->setEnabled(type->isEnabled()); });
        auto* refreshTree = new QAction(tr("刷新"), m_tree);
        refreshTree->setObjectName(QStringLiteral("N11"));
        connect(refreshTree, &QAction::triggered, this, &MasterListWindow::RefreshTreeClick);
        m_tree->addAction(typeItem);
        m_tree->addAction(refreshTree);
    }
    m_grid = new DataGrid(split);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setReadOnly(true);
    if (m_setup.alternatingColors) {
        // Odd record numbers (the first row, the third ...) light green, even ones on the
        // tool-tip background.
        // The colours belong to the rows only; the empty area below them stays plain.
        m_grid->setAlternatingRowColors(true);
        const QColor even = m_grid->view()->palette().color(QPalette::ToolTipBase);
        m_grid->view()->setStyleSheet(
            QStringLiteral("QTableView::item { background: rgb(191, 255, 223); }"
                           "QTableView::item:alternate { background: %1; }"
                           "QTableView::item:selected { background: palette(highlight); color: palette(highlighted-text); }")
                .arg(even.name()));
    }
    split->addWidget(m_grid);
    if (m_tree) {
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        split->setSizes({200, 800});
    }
    layout->addWidget(split, 1);
    connect(m_grid, &DataGrid::rowActivated, this, [this]() { RunCommand(this, m_setup.editAction); });

    // The grid's pop-up menu: the commands first, then the grid's own column items.
    QMenu* menu = m_grid->contextMenu();
    QAction* first = menu->actions().value(0);
    auto insert = [menu, first](QAction* a) { menu->insertAction(first, a); };
    insert(CommandAction(this, m_setup.addAction, tr("新增")));
    insert(CommandAction(this, m_setup.editAction, tr("编辑")));
    insert(CommandAction(this, m_setup.deleteAction, tr("删除")));
    menu->insertSeparator(first);
    auto* refresh = new QAction(tr("刷新"), menu);
    refresh->setObjectName(QStringLiteral("N9"));
    connect(refresh, &QAction::triggered, this, &MasterListWindow::RefreshClick);
    insert(refresh);
    menu->insertSeparator(first);
    menu->addSeparator();
    if (m_setup.batchCategory) {
        auto* change = new QAction(tr("批量修改分类"), menu);
        change->setObjectName(QStringLiteral("N3"));
        connect(change, &QAction::triggered, this, &MasterListWindow::ChangeTypeClick);
        menu->addAction(change);
    }
    auto* excel = new QAction(tr("导出Excel"), menu);
    excel->setObjectName(QStringLiteral("Excel1"));
    connect(excel, &QAction::triggered, this, &MasterListWindow::ExportClick);
    menu->addAction(excel);
}

void MasterListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    try {
        FormShow();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void MasterListWindow::FormShow() {
    setWindowTitle(m_setup.caption);
    fillTree();
    m_search.openAll(*m_setup.list);
    layOutGrid();
}

void MasterListWindow::fillTree() {
    if (!m_tree)
        return;
    try {
        FillTypeTree(m_tree, m_setup.table->setName, m_setup.treeCaption);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void MasterListWindow::layOutGrid() {
    LoadGridColumns(m_grid, *m_setup.list, m_setup.table->setName);
}

void MasterListWindow::EditKeyChange(const QString& text) {
    m_search.setText(text);
    runSearch();
}

void MasterListWindow::TreeView1DblClick(QTreeWidgetItem* item) {
    if (!m_tree || m_tree->topLevelItemCount() == 0 || !item)
        return;
    m_search.setCategory(IsTypeTreeRoot(item) ? QString() : TypeTreeCode(item));
    runSearch();
}

void MasterListWindow::runSearch() {
    try {
        m_search.run(*m_setup.list);
        layOutGrid();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void MasterListWindow::reload() {
    try {
        m_search.reload(*m_setup.list);
        layOutGrid();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void MasterListWindow::RefreshClick() {
    reload();
}

void MasterListWindow::RefreshTreeClick() {
    fillTree();
}

void MasterListWindow::ExportClick() {
    ExportGridToExcel(m_grid, windowTitle());
}

void MasterListWindow::ChangeTypeClick() {
    TFrmChangeType dlg(m_setup.table->setName, m_setup.list, this);
    dlg.exec();
}
