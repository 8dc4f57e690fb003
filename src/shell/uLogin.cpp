#include "shell/uLogin.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "shell/LoginLogic.h"
#include "shell/uMain.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPixmap>
#include <QShowEvent>
#include <QVBoxLayout>

TFrmLogin::TFrmLogin(TFrmMain* main, const QString& home, QWidget* parent)
    : QDialog(parent), m_main(main), m_home(home) {
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(tr("登录"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* hint1 = new QLabel(tr("请选择操作员姓名并输入相应密码"), Image1);
    hint1->setObjectName(QStringLiteral("Label3"));
    auto* hint2 = new QLabel(tr("初始用户为：“Admin” 初始密码为空"), Image1);
    hint2->setObjectName(QStringLiteral("Label4"));
    for (QLabel* l : {hint1, hint2}) {
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setStyleSheet(QStringLiteral("color: #17365d; background: transparent; font-weight: bold;"));
    }
    hint1->move(24, 64);
    hint2->move(24, 86);

    ComboUser = new QComboBox(this);
    ComboUser->setObjectName(QStringLiteral("ComboUser"));
    ComboUser->setEditable(true);
    ComboUser->setInsertPolicy(QComboBox::NoInsert);
    EditPass = new QLineEdit(this);
    EditPass->setObjectName(QStringLiteral("EditPass"));
    EditPass->setEchoMode(QLineEdit::Password);
    Btn_ok = new QPushButton(tr("确定(&Y)"), this);
    Btn_ok->setObjectName(QStringLiteral("Btn_ok"));
    Btn_ok->setDefault(true);
    Btn_Exit = new QPushButton(tr("取消(&C)"), this);
    Btn_Exit->setObjectName(QStringLiteral("Btn_Exit"));

    auto* form = new QGridLayout;
    form->setContentsMargins(40, 16, 40, 8);
    form->setHorizontalSpacing(10);
    form->addWidget(new QLabel(tr("用户名称："), this), 0, 0);
    form->addWidget(ComboUser, 0, 1);
    form->addWidget(new QLabel(tr("用户密码："), this), 1, 0);
    form->addWidget(EditPass, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_ok);
    buttons->addWidget(Btn_Exit);
    buttons->setContentsMargins(40, 4, 40, 14);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->addWidget(Image1);
    root->addLayout(form);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(Btn_ok, &QPushButton::clicked, this, &TFrmLogin::Btn_okClick);
    connect(Btn_Exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(ComboUser, qOverload<int>(&QComboBox::activated), this, &TFrmLogin::ComboUserSelect);
    connect(ComboUser->lineEdit(), &QLineEdit::textEdited, this, [this]() { m_chosen = -1; });
}

void TFrmLogin::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
    // The start-up benchmark measures the way to this window and then leaves.
    if (qEnvironmentVariableIsSet("PELMORA_EXIT_AT_LOGIN"))
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void TFrmLogin::FormShow() {
    setWindowTitle(tr("登录"));
    EditPass->clear();
    QPixmap banner(QDir(m_home).filePath(QStringLiteral("IMG/Login.jpg")));
    Image1->setPixmap(banner); // a missing picture leaves the banner empty
    if (!banner.isNull())
        Image1->setFixedSize(banner.size());
    ComboUser->clear();
    if (FrmData && FrmData->connected()) {
        try {
            ComboUser->addItems(LoginLogic::operators(FrmData->db()));
        } catch (const DbError& e) {
            MsgError(e.message());
        }
    }
    const int saved = FrmData ? FrmData->ini().readInteger(QStringLiteral("Login"), QStringLiteral("Username"), -1) : -1;
    if (saved >= 0 && saved < ComboUser->count()) {
        ComboUser->setCurrentIndex(saved);
        m_chosen = saved;
    } else {
        ComboUser->setCurrentIndex(-1);
        ComboUser->setEditText(QString());
        m_chosen = -1;
    }
    EditPass->setFocus();
}

void TFrmLogin::ComboUserSelect(int index) {
    m_chosen = index;
    EditPass->setFocus();
}

void TFrmLogin::Btn_okClick() {
    const QString name = ComboUser->currentText();
    LoginLogic::Result r = LoginLogic::Result::UnknownName;
    try {
        r = LoginLogic::check(FrmData->db(), name, EditPass->text());
    } catch (const DbError& e) {
        MsgError(e.message());
        return;
    }
    switch (r) {
    case LoginLogic::Result::Ok:
        LoginOK = true;
        if (m_main) {
            m_main->OperatorName = name;
            m_main->setPanelText(0, QStringLiteral(" 当前操作员: ") + name);
        }
        break;
    case LoginLogic::Result::EmptyPassword:
        MsgBox(LoginLogic::message(r), Msg::Ok | Msg::IconError, tr("警告"));
        EditPass->setFocus();
        break;
    case LoginLogic::Result::WrongPassword:
        MsgBox(LoginLogic::message(r), Msg::Ok | Msg::IconError, tr("警告"));
        EditPass->clear();
        EditPass->setFocus();
        break;
    case LoginLogic::Result::EmptyName:
    case LoginLogic::Result::UnknownName:
        MsgBox(LoginLogic::message(r), Msg::Ok | Msg::IconError, tr("警告"));
        ComboUser->setFocus();
        break;
    }
    FrmData->ini().writeInteger(QStringLiteral("login"), QStringLiteral("Username"), m_chosen);
    if (LoginOK)
        accept();
}
