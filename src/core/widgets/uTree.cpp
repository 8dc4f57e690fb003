#include "core/widgets/uTree.h"

#include "core/CategoryTree.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/TypeTree.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Where a pick goes: the opener's name box and code box for each caller and tree ("*": any).
struct PickRoute {
    const char* caller;
    const char* tree;
    const char* nameBox;
    const char* codeBox;
};

const PickRoute pickRoutes[] = {
    {"AddMedicine", "Medicine", "EditMedicineType", "EditTypeCode"},
    {"AddCustom", "Custom", "EditCustType", "EditTypeCode"},
    {"AddCustom", "Zone", "EditCustZone", ""},
    {"AddSupply", "Supply", "EditSupplyType", "EditTypeCode"},
    {"AddSupply", "Zone", "EditSupplyZone", ""},
    {"AddEmployee", "Employee", "EditEmployeeType", "EditTypeCode"},
    {"ChangeType", "*", "EditTypeName", "EditTypeCode"},
    {"FrmNursing", "Medicine", "EditType", ""},
};

void setBoxText(QWidget* opener, const QString& box, const QString& text) {
    if (!opener || box.isEmpty())
        return;
    QWidget* w = opener->objectName() == box ? opener : opener->findChild<QWidget*>(box);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(text);
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->setCurrentText(text);
    else if (w)
        w->setProperty("text", text);
}

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TFrmTree::TFrmTree(const QString& tree, const QString& rootCaption, const QString& caller, QWidget* opener)
    : QDialog(opener), m_tree(tree), m_rootCaption(rootCaption), m_caller(caller), m_opener(opener) {
    setObjectName(QStringLiteral("FrmTree"));
    buildControls();
    // On show: empty boxes, the caption, the tree drawn afresh.
    setWindowTitle(m_rootCaption);
    FillTypeTree(m_view, m_tree, m_rootCaption);
    m_code->clear();
    m_name->clear();
    setState(State::Browse);
}

TFrmTree::~TFrmTree() = default;

void TFrmTree::buildControls() {
    resize(420, 480);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    m_add = toolButton(this, "TB_Add", tr("新增&A"));
    m_edit = toolButton(this, "TB_Edit", tr("编辑&E"));
    m_del = toolButton(this, "TB_Del", tr("删除&D"));
    m_save = toolButton(this, "TB_Save", tr("保存&S"));
    m_cancel = toolButton(this, "TB_Cancel", tr("取消&C"));
    QToolButton* select = toolButton(this, "TB_Select", tr("选择&C"));
    QToolButton* refresh = toolButton(this, "TB_Refresh", tr("刷新&R"));
    QToolButton* exit = toolButton(this, "TB_Exit", tr("退出&Q"));
    for (QToolButton* b : {m_add, m_edit, m_del, m_save, m_cancel, select, refresh, exit})
        bar->addWidget(b);
    bar->addStretch();

    m_view = new QTreeWidget(this);
    m_view->setObjectName(QStringLiteral("TreeView1"));
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("PopupMenu1"));
    m_addSibling = m_menu->addAction(tr("新增同级节点"));
    m_addSibling->setObjectName(QStringLiteral("N_AddSibling"));
    m_addChild = m_menu->addAction(tr("新增下级节点"));
    m_addChild->setObjectName(QStringLiteral("N_AddChild"));

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    m_code = new QLineEdit(panel);
    m_code->setObjectName(QStringLiteral("EditCode"));
    m_code->setMaxLength(11);
    m_name = new QLineEdit(panel);
    m_name->setObjectName(QStringLiteral("EditName"));
    grid->addWidget(new QLabel(tr("编码:"), panel), 0, 0);
    grid->addWidget(m_code, 0, 1);
    grid->addWidget(new QLabel(tr("名称:"), panel), 1, 0);
    grid->addWidget(m_name, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    layout->addWidget(panel);

    connect(m_add, &QToolButton::clicked, this, [this] { TB_AddClick(); });
    connect(m_edit, &QToolButton::clicked, this, [this] { TB_EditClick(); });
    connect(m_del, &QToolButton::clicked, this, [this] { TB_DelClick(); });
    connect(m_save, &QToolButton::clicked, this, [this] { TB_SaveClick(); });
    connect(m_cancel, &QToolButton::clicked, this, [this] { TB_CancelClick(); });
    connect(select, &QToolButton::clicked, this, [this] { TB_SelectClick(); });
    connect(refresh, &QToolButton::clicked, this, [this] { TB_RefreshClick(); });
    connect(exit, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_addSibling, &QAction::triggered, this, [this] { startAdding(false); });
    connect(m_addChild, &QAction::triggered, this, [this] { startAdding(true); });
    connect(m_view, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { TreeView1Change(item); });
    connect(m_view, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { TreeView1DblClick(item); });
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_menu->popup(m_view->viewport()->mapToGlobal(pos)); });
}

bool TFrmTree::Pick(QWidget* opener, const QString& tree, const QString& rootCaption, const QString& caller,
                    QString* code, QString* name) {
    TFrmTree dlg(tree, rootCaption, caller, opener);
    const bool picked = dlg.exec() == QDialog::Accepted;
    if (picked && code)
        *code = dlg.pickedCode();
    if (picked && name)
        *name = dlg.pickedName();
    return picked;
}

QStringList TFrmTree::PickBoxes(const QString& caller, const QString& tree) {
    for (const PickRoute& r : pickRoutes) {
        if (caller.compare(QLatin1String(r.caller), Qt::CaseInsensitive) != 0)
            continue;
        if (qstrcmp(r.tree, "*") == 0 || tree.compare(QLatin1String(r.tree), Qt::CaseInsensitive) == 0)
            return {QLatin1String(r.nameBox), QLatin1String(r.codeBox)};
    }
    return {};
}

CategoryTree TFrmTree::categoryTree() const {
    Database* db = Database::current();
    if (!db || !db->isOpen())
        throw DbError(tr("数据库未连接"));
    return CategoryTree(*db, m_tree);
}

QTreeWidgetItem* TFrmTree::selectedItem() const {
    QTreeWidgetItem* item = m_view->currentItem();
    return item ? item : TypeTreeRoot(m_view);
}

void TFrmTree::setState(State s) {
    m_state = s;
    const bool browsing = s == State::Browse;
    m_add->setEnabled(browsing);
    m_edit->setEnabled(browsing);
    m_del->setEnabled(browsing);
    m_addSibling->setEnabled(browsing);
    m_addChild->setEnabled(browsing);
    m_save->setEnabled(!browsing);
    m_cancel->setEnabled(!browsing);
    m_code->setEnabled(s == State::AddChild || s == State::AddSibling);
    m_name->setEnabled(!browsing);
}

void TFrmTree::fillBoxes(QTreeWidgetItem* item) {
    m_code->setText(TypeTreeCode(item));
    m_name->setText(TypeTreeName(item));
}

void TFrmTree::TreeView1Change(QTreeWidgetItem* item) {
    // While a node is entered the boxes hold the entry, whatever is clicked.
    if (m_state == State::Browse)
        fillBoxes(item);
}

void TFrmTree::TreeView1DblClick(QTreeWidgetItem* item) {
    if (item)
        m_view->setCurrentItem(item);
    TB_SelectClick();
}

void TFrmTree::startAdding(bool child) {
    if (m_state != State::Browse)
        return;
    try {
        const CategoryTree tree = categoryTree();
        const QString code = TypeTreeCode(selectedItem());
        const bool empty = tree.codes().isEmpty();
        const QString proposal =
            child || code.isEmpty() ? tree.proposeChild(code) : tree.proposeSibling(code);
        if (proposal.isEmpty()) {
            MsgInfo(tr("这一级的编码01至99已全部使用,不能再增加节点!"));
            return;
        }
        setState(child ? State::AddChild : State::AddSibling);
        m_code->setText(proposal);
        if (!empty)
            m_name->clear();
        m_name->setFocus();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmTree::TB_EditClick() {
    if (m_state != State::Browse)
        return;
    fillBoxes(selectedItem());
    setState(State::Edit);
    m_name->setFocus();
}

void TFrmTree::TB_DelClick() {
    if (m_state != State::Browse)
        return;
    QTreeWidgetItem* item = m_view->currentItem();
    if (!item || IsTypeTreeRoot(item))
        return;
    try {
        CategoryTree tree = categoryTree();
        const QString code = TypeTreeCode(item);
        if (item->childCount() > 0 || tree.hasChildren(code)) {
            MsgInfo(tr("不能删除有子目录的目录，请先删除子目录！"));
            return;
        }
        if (MsgBox(tr("你真的要删除所选择的目录吗？"), Msg::OkCancel | Msg::IconQuestion) != Msg::IdOk)
            return;
        tree.remove(code);
        QTreeWidgetItem* parent = item->parent();
        delete item;
        m_view->setCurrentItem(parent);
        fillBoxes(parent);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmTree::TB_SaveClick() {
    try {
        const bool saved = m_state == State::Edit ? saveEdit() : m_state != State::Browse && saveNew();
        if (saved)
            setState(State::Browse);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

bool TFrmTree::saveNew() {
    CategoryTree tree = categoryTree();
    const QString code = m_code->text().trimmed();
    const QString name = m_name->text().trimmed();
    const CodeProblem problem = tree.checkNew(code);
    if (problem != CodeProblem::None) {
        MsgInfo(CodeProblemText(problem));
        m_code->setFocus();
        return false;
    }
    tree.add(code, name);
    if (QTreeWidgetItem* item = AddTypeTreeItem(m_view, code, name))
        m_view->setCurrentItem(item);
    return true;
}

bool TFrmTree::saveEdit() {
    CategoryTree tree = categoryTree();
    const QString code = m_code->text().trimmed();
    if (code.isEmpty()) {
        MsgBox(tr("请点击取消按钮再重新选择一个节点进行编辑!"), Msg::Ok | Msg::IconQuestion);
        return false;
    }
    const QString name = m_name->text().trimmed();
    if (!tree.rename(code, name)) {
        MsgBox(tr("您选择的节点不存在,请点击取消按钮再重新选择一个节点进行编辑!"),
               Msg::Ok | Msg::IconQuestion);
        return false;
    }
    RenameTypeTreeItem(FindTypeTreeItem(m_view, code), name);
    m_name->setText(name);
    return true;
}

void TFrmTree::TB_CancelClick() {
    setState(State::Browse);
    fillBoxes(m_view->currentItem());
}

void TFrmTree::TB_SelectClick() {
    QTreeWidgetItem* item = m_view->currentItem();
    if (m_caller.isEmpty() || m_state != State::Browse || !item || IsTypeTreeRoot(item))
        return;
    m_pickedCode = TypeTreeCode(item);
    m_pickedName = TypeTreeName(item);
    const QStringList boxes = PickBoxes(m_caller, m_tree);
    if (boxes.size() == 2) {
        setBoxText(m_opener, boxes[0], m_pickedName);
        setBoxText(m_opener, boxes[1], m_pickedCode);
    }
    accept();
}

void TFrmTree::TB_RefreshClick() {
    if (m_state != State::Browse)
        TB_CancelClick();
    try {
        FillTypeTree(m_view, m_tree, m_rootCaption);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    m_view->setCurrentItem(TypeTreeRoot(m_view));
    fillBoxes(TypeTreeRoot(m_view));
}
