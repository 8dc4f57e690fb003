#include "shell/uChangePassword.h"

#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "core/widgets/WidgetRoutines.h"
#include "shell/OperatorAdmin.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* box(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

} // namespace

TFrmChangePassword::TFrmChangePassword(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmChangePassword"));
    setWindowTitle(tr("修改密码"));

    m_userName = box(QStringLiteral("EditUserName"));
    m_oldPassword = box(QStringLiteral("EditOldPassword"));
    m_newPassword = box(QStringLiteral("EditNewPassword"));
    m_repeat = box(QStringLiteral("EditRepeat"));
    m_userName->setText(Commands::operatorName());

    auto* form = new QFormLayout;
    form->addRow(tr("用户名"), m_userName);
    form->addRow(tr("旧密码"), m_oldPassword);
    form->addRow(tr("新密码"), m_newPassword);
    form->addRow(tr("确认新密码"), m_repeat);

    auto* ok = new QPushButton(tr("确定"));
    ok->setObjectName(QStringLiteral("BtnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("取消"));
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, &TFrmChangePassword::BtnOkClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    SetTabOrderByPosition(this);
    m_oldPassword->setFocus();
}

void TFrmChangePassword::BtnOkClick() {
    using O = OperatorAdmin::Outcome;
    const O r = OperatorAdmin::changePassword(FrmData->db(), m_userName->text(), m_oldPassword->text(),
                                              m_newPassword->text(), m_repeat->text());
    switch (r) {
    case O::Ok:
        MsgInfo(tr("修改成功!"));
        accept();
        return;
    case O::WrongOldPassword:
        MsgInfo(OperatorAdmin::message(r));
        m_oldPassword->clear();
        m_oldPassword->setFocus();
        return;
    case O::PasswordsDiffer:
        MsgInfo(OperatorAdmin::message(r));
        m_newPassword->clear();
        m_repeat->clear();
        m_repeat->setFocus();
        return;
    default:
        MsgError(OperatorAdmin::message(r));
        return;
    }
}
