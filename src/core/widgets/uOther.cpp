#include "core/widgets/uOther.h"

#include "core/DataSet.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/UData.h"
#include "core/widgets/DataGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(text);
    b->setAutoRaise(true);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}

} // namespace

TFrmOther::TFrmOther(const QString& caption, const QString& listName, DataSet* query, QWidget* parent)
    : QDialog(parent), m_listName(listName), m_qry(query ? query : (FrmData ? &FrmData->QryOther : nullptr)) {
    setObjectName(QStringLiteral("FrmOther"));
    setWindowTitle(caption);
    resize(520, 420);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    m_add = toolButton(this, "TB_Add", tr("新增"));
    m_edit = toolButton(this, "TB_Edit", tr("修改"));
    m_del = toolButton(this, "TB_Del", tr("删除"));
    m_save = toolButton(this, "TB_Save", tr("保存"));
    m_cancel = toolButton(this, "TB_Cancel", tr("取消"));
    QToolButton* exit = toolButton(this, "TB_Exit", tr("关闭&Q"));
    for (QToolButton* b : {m_add, m_edit, m_del, m_save, m_cancel, exit})
        bar->addWidget(b);
    bar->addStretch();

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setReadOnly(true);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("PanelEdit"));
    auto* form = new QGridLayout(m_panel);
    form->setContentsMargins(0, 0, 0, 0);
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("EditName"));
    m_note = new QLineEdit(m_panel);
    m_note->setObjectName(QStringLiteral("EditNote"));
    form->addWidget(new QLabel(tr("名称："), m_panel), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(tr("备注"), m_panel), 1, 0);
    form->addWidget(m_note, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_panel);

    connect(m_add, &QToolButton::clicked, this, [this] { TB_AddClick(); });
    connect(m_edit, &QToolButton::clicked, this, [this] { TB_EditClick(); });
    connect(m_del, &QToolButton::clicked, this, [this] { TB_DelClick(); });
    connect(m_save, &QToolButton::clicked, this, [this] { TB_SaveClick(); });
    connect(m_cancel, &QToolButton::clicked, this, [this] { TB_CancelClick(); });
    connect(exit, &QToolButton::clicked, this, &QDialog::reject);

    FormShow();
}

void TFrmOther::FormShow() {
    m_name->clear();
    m_note->clear();
    setEntering(false);
    if (!m_qry)
        return;
    try {
        OpenSQL(*m_qry, QStringLiteral("SELECT * FROM tOther WHERE tablename = ? ORDER BY id"), {m_listName});
        LoadGridColumns(m_grid, *m_qry, QStringLiteral("Other"));
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmOther::setEntering(bool on) {
    if (!on)
        m_state = State::Browse;
    m_add->setEnabled(!on);
    m_edit->setEnabled(!on);
    m_del->setEnabled(!on);
    m_save->setEnabled(on);
    m_cancel->setEnabled(on);
    m_panel->setEnabled(on);
    m_grid->setEnabled(!on);
}

void TFrmOther::TB_AddClick() {
    if (!m_qry || !m_qry->isOpen())
        return;
    m_state = State::Add;
    m_name->clear();
    m_note->clear();
    setEntering(true);
    m_name->setFocus();
}

void TFrmOther::TB_EditClick() {
    // Nothing to change in an empty list.
    if (!m_qry || !m_qry->isOpen() || m_qry->isEmpty())
        return;
    m_state = State::Edit;
    m_name->setText(m_qry->text(QStringLiteral("name")));
    m_note->setText(m_qry->text(QStringLiteral("note")));
    setEntering(true);
    m_name->setFocus();
}

void TFrmOther::TB_SaveClick() {
    if (m_state == State::Browse || !m_qry)
        return;
    try {
        if (m_state == State::Add)
            m_qry->append();
        else
            m_qry->edit();
        m_qry->setValue(QStringLiteral("tablename"), m_listName);
        m_qry->setValue(QStringLiteral("name"), m_name->text());
        m_qry->setValue(QStringLiteral("note"), m_note->text());
        m_qry->post();
    } catch (const DbError& e) {
        m_qry->cancel();
        MsgError(e.message());
        return;
    }
    m_name->clear();
    m_note->clear();
    TB_CancelClick();
}

void TFrmOther::TB_CancelClick() {
    setEntering(false);
}

void TFrmOther::TB_DelClick() {
    if (!m_qry || !m_qry->isOpen() || m_qry->isEmpty())
        return;
    if (MsgBox(tr("确认删除此条记录？"), Msg::YesNo | Msg::IconQuestion) != Msg::IdYes)
        return;
    try {
        m_qry->remove();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}
