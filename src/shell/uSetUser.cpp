#include "shell/uSetUser.h"

#include "core/DataSet.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DataGrid.h"
#include "core/widgets/TypeTree.h"
#include "core/widgets/WidgetRoutines.h"
#include "shell/OperatorAdmin.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

const QString kUserSql = QStringLiteral("SELECT * FROM tAdmin WHERE tablename = 'user' ORDER BY id");
const QString kTeamSql = QStringLiteral("SELECT * FROM tAdmin WHERE tablename = 'team' ORDER BY id");

QPlainTextEdit* memoBox(const QString& name) {
    auto* box = new QPlainTextEdit;
    box->setObjectName(name);
    box->setMaximumHeight(70);
    return box;
}

} // namespace

TFrmSetUser::TFrmSetUser(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSetUser"));
    setWindowTitle(tr("操作员管理"));
    resize(820, 560);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pcUser"));
    m_pages->addTab(buildUserTab(), tr("用户管理"));
    m_pages->addTab(buildTeamTab(), tr("权限组管理"));

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("RzCheckTree2"));
    m_tree->setMinimumWidth(240);

    auto* body = new QHBoxLayout;
    body->addWidget(m_pages, 3);
    body->addWidget(m_tree, 2);

    m_status = new QStatusBar;
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->showMessage(tr("修改权限后需要重启软件！"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(m_status);

    m_listener = FrmData->QryUser.addListener([this](DataSet::Change c, int) {
        if (c == DataSet::Change::Current || c == DataSet::Change::Reset)
            showCurrent();
    });
    pcUserChange();
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { pcUserChange(); });
    connect(m_team, &QComboBox::textActivated, this, &TFrmSetUser::ComboTypeChange);
    SetTabOrderByPosition(this);
}

TFrmSetUser::~TFrmSetUser() {
    if (FrmData)
        FrmData->QryUser.removeListener(m_listener);
}

void TFrmSetUser::buildActions(Tab& tab, const QString& suffix, QWidget* owner) {
    auto* bar = new QToolBar(owner);
    bar->setObjectName(QStringLiteral("tb") + suffix);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto make = [&](const QString& name, const QString& text) {
        QAction* a = bar->addAction(text);
        a->setObjectName(name + suffix);
        return a;
    };
    tab.add = make(QStringLiteral("aAdd"), tr("新增"));
    tab.edit = make(QStringLiteral("aEdit"), tr("编辑"));
    tab.del = make(QStringLiteral("aDel"), tr("删除"));
    tab.cancel = make(QStringLiteral("aCancel"), tr("取消"));
    tab.save = make(QStringLiteral("aSave"), tr("保存"));
    auto* exit = new QPushButton(tr("退出"));
    exit->setObjectName(QStringLiteral("BtnExit") + suffix);
    bar->addWidget(exit);
    connect(exit, &QPushButton::clicked, this, &QDialog::close);
    owner->layout()->addWidget(bar);
    setResting(tab, true);
}

QWidget* TFrmSetUser::buildUserTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabUser"));
    auto* layout = new QVBoxLayout(page);
    buildActions(m_user, QStringLiteral("User"), page);

    m_gridUser = new DataGrid;
    m_gridUser->setObjectName(QStringLiteral("dgUser"));
    layout->addWidget(m_gridUser, 1);

    m_userName = new QLineEdit;
    m_userName->setObjectName(QStringLiteral("EditUserName"));
    m_password = new QLineEdit;
    m_password->setObjectName(QStringLiteral("EditPassword"));
    m_password->setPlaceholderText(tr("编辑时留空则不修改密码"));
    m_team = new QComboBox;
    m_team->setObjectName(QStringLiteral("ComboType"));
    m_team->setEditable(false);
    m_memo = memoBox(QStringLiteral("Memo"));
    auto* form = new QFormLayout;
    form->addRow(tr("用户名："), m_userName);
    form->addRow(tr("密码："), m_password);
    form->addRow(tr("权限组："), m_team);
    form->addRow(tr("备注："), m_memo);
    layout->addLayout(form);

    connect(m_user.add, &QAction::triggered, this, &TFrmSetUser::aAddUserExecute);
    connect(m_user.edit, &QAction::triggered, this, [this] {
        m_user.adding = false;
        setResting(m_user, false);
    });
    connect(m_user.cancel, &QAction::triggered, this, [this] { cancelTab(m_user); });
    connect(m_user.save, &QAction::triggered, this, &TFrmSetUser::aSaveUserExecute);
    connect(m_user.del, &QAction::triggered, this, &TFrmSetUser::aDelUserExecute);
    return page;
}

QWidget* TFrmSetUser::buildTeamTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabTeam"));
    auto* layout = new QVBoxLayout(page);
    buildActions(m_group, QStringLiteral("Team"), page);

    m_gridTeam = new DataGrid;
    m_gridTeam->setObjectName(QStringLiteral("dgUserZ"));
    layout->addWidget(m_gridTeam, 1);

    m_teamName = new QLineEdit;
    m_teamName->setObjectName(QStringLiteral("EditTypeName"));
    m_teamMemo = memoBox(QStringLiteral("MemoType"));
    auto* form = new QFormLayout;
    form->addRow(tr("权限组名："), m_teamName);
    form->addRow(tr("备注："), m_teamMemo);
    layout->addLayout(form);

    connect(m_group.add, &QAction::triggered, this, &TFrmSetUser::aAddTeamExecute);
    connect(m_group.edit, &QAction::triggered, this, [this] {
        m_group.adding = false;
        setResting(m_group, false);
    });
    connect(m_group.cancel, &QAction::triggered, this, [this] { cancelTab(m_group); });
    connect(m_group.save, &QAction::triggered, this, &TFrmSetUser::aSaveTeamExecute);
    connect(m_group.del, &QAction::triggered, this, &TFrmSetUser::aDelTeamExecute);
    return page;
}

bool TFrmSetUser::usersTab() const {
    return m_pages->currentIndex() == 0;
}

void TFrmSetUser::setResting(Tab& tab, bool resting) {
    tab.add->setEnabled(resting);
    tab.edit->setEnabled(resting);
    tab.del->setEnabled(resting);
    tab.cancel->setEnabled(!resting);
    tab.save->setEnabled(!resting);
}

void TFrmSetUser::pcUserChange() {
    FillNameTree(m_tree, QStringLiteral("tAuthority"), tr("操作权限"));
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        Qt::ItemFlags flags = (*it)->flags() | Qt::ItemIsUserCheckable;
        if ((*it)->childCount() > 0)
            flags |= Qt::ItemIsAutoTristate;
        (*it)->setFlags(flags);
        (*it)->setCheckState(0, Qt::Unchecked);
    }
    m_tree->expandAll();
    if (usersTab()) {
        const QString current = m_team->currentText();
        m_team->clear();
        m_team->addItems(OperatorAdmin::groupNames(FrmData->db()));
        m_team->setCurrentIndex(m_team->findText(current));
    }
    openRows();
}

void TFrmSetUser::openRows(qint64 locateId) {
    DataSet& qry = FrmData->QryUser;
    OpenSQL(qry, usersTab() ? kUserSql : kTeamSql);
    LoadGridColumns(usersTab() ? m_gridUser : m_gridTeam, qry, QStringLiteral("user"));
    if (locateId >= 0)
        for (int row = 0; row < qry.recordCount(); ++row)
            if (qry.value(row, qry.fieldIndex(QStringLiteral("id"))).toLongLong() == locateId) {
                qry.setRecNo(row);
                break;
            }
    showCurrent();
}

void TFrmSetUser::showCurrent() {
    DataSet& qry = FrmData->QryUser;
    if (!qry.isOpen() || qry.isEmpty() || !m_pages)
        return;
    if (usersTab()) {
        m_userName->setText(qry.text(QStringLiteral("username")));
        m_password->clear();
        m_team->setCurrentIndex(m_team->findText(qry.text(QStringLiteral("team")).trimmed()));
        m_memo->setPlainText(qry.text(QStringLiteral("memo")));
    } else {
        m_teamName->setText(qry.text(QStringLiteral("username")));
        m_teamMemo->setPlainText(qry.text(QStringLiteral("memo")));
    }
    tickTree(qry.text(QStringLiteral("authority")));
}

void TFrmSetUser::tickTree(const QString& permissionString) {
    QTreeWidgetItem* root = TypeTreeRoot(m_tree);
    if (!root)
        return;
    root->setCheckState(0, Qt::Unchecked);
    for (const QString& code : OperatorAdmin::tickedCodes(FrmData->db(), permissionString))
        if (QTreeWidgetItem* item = FindTypeTreeItem(m_tree, code))
            item->setCheckState(0, Qt::Checked);
}

QString TFrmSetUser::treePermissions() const {
    QStringList codes;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->parent() && (*it)->checkState(0) == Qt::Checked)
            codes << TypeTreeCode(*it);
    return OperatorAdmin::permissionString(FrmData->db(), codes);
}

void TFrmSetUser::ComboTypeChange(const QString& group) {
    tickTree(OperatorAdmin::groupPermissions(FrmData->db(), group));
}

void TFrmSetUser::aAddUserExecute() {
    m_user.adding = true;
    m_userName->clear();
    m_password->clear();
    m_team->setCurrentIndex(-1);
    m_memo->clear();
    setResting(m_user, false);
    m_userName->setFocus();
}

void TFrmSetUser::aAddTeamExecute() {
    m_group.adding = true;
    m_teamName->clear();
    m_teamMemo->clear();
    setResting(m_group, false);
    m_teamName->setFocus();
}

void TFrmSetUser::cancelTab(Tab& tab) {
    tab.adding = false;
    setResting(tab, true);
    showCurrent();
}

void TFrmSetUser::aSaveUserExecute() {
    DataSet& qry = FrmData->QryUser;
    const qint64 id = m_user.adding || qry.isEmpty() ? -1 : qry.toInt(QStringLiteral("id"));
    OperatorAdmin::Operator op;
    op.name = m_userName->text();
    op.password = m_password->text();
    op.team = m_team->currentText();
    op.memo = m_memo->toPlainText();
    op.authority = treePermissions();
    qint64 saved = -1;
    const OperatorAdmin::Outcome r = OperatorAdmin::saveOperator(FrmData->db(), id, op, &saved);
    finishSave(r, OperatorAdmin::Outcome::DuplicateOperator, m_userName, saved, id, m_user);
}

void TFrmSetUser::aSaveTeamExecute() {
    DataSet& qry = FrmData->QryUser;
    const qint64 id = m_group.adding || qry.isEmpty() ? -1 : qry.toInt(QStringLiteral("id"));
    qint64 saved = -1;
    const OperatorAdmin::Outcome r = OperatorAdmin::saveGroup(
        FrmData->db(), id, m_teamName->text(), m_teamMemo->toPlainText(), treePermissions(), &saved);
    finishSave(r, OperatorAdmin::Outcome::DuplicateGroup, m_teamName, saved, id, m_group);
}

// A duplicate name keeps the panel open on the name; any other outcome is reported and the tab
// returns to browsing on the saved (or the edited) row.
void TFrmSetUser::finishSave(OperatorAdmin::Outcome r, OperatorAdmin::Outcome duplicate, QWidget* nameBox,
                             qint64 saved, qint64 id, Tab& tab) {
    using O = OperatorAdmin::Outcome;
    if (r == duplicate) {
        MsgInfo(OperatorAdmin::message(r));
        nameBox->setFocus();
        return;
    }
    if (r == O::Ok)
        MsgInfo(tr("保存成功！"));
    else if (r == O::Failed)
        MsgError(OperatorAdmin::message(r));
    else
        MsgWarn(OperatorAdmin::message(r));
    openRows(r == O::Ok ? saved : id);
    cancelTab(tab);
}

void TFrmSetUser::aDelUserExecute() {
    DataSet& qry = FrmData->QryUser;
    if (!qry.isOpen() || qry.isEmpty())
        return;
    const OperatorAdmin::Outcome r = OperatorAdmin::canDeleteOperator(
        FrmData->db(), qry.toInt(QStringLiteral("id")), Commands::operatorName());
    if (r != OperatorAdmin::Outcome::Ok) {
        MsgWarn(OperatorAdmin::message(r));
        return;
    }
    DeleteRecord(qry);
    showCurrent();
}

void TFrmSetUser::aDelTeamExecute() {
    DataSet& qry = FrmData->QryUser;
    if (DeleteRecord(qry))
        showCurrent();
}
