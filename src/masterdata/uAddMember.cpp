#include "masterdata/uAddMember.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/WidgetRoutines.h"
#include "masterdata/MasterRecords.h"
#include "masterdata/MasterTable.h"
#include "masterdata/widgets/EditorForm.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFrmAddMember::TFrmAddMember(QWidget* parent) : QDialog(parent), m_list(FrmData->QryMember) {
    setObjectName(QStringLiteral("FrmAddMember"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet1"));
    m_pages->addTab(page, QString());
    m_form = std::make_unique<EditorForm>(page, MemberEditor::Fields(), 2);
    layout->addWidget(m_pages);
    connect(m_form->lineEdit(QStringLiteral("MemberName")), &QLineEdit::textEdited, this,
            &TFrmAddMember::EditMemberNameChange);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* save = new QPushButton(tr("保存"), this);
    save->setObjectName(QStringLiteral("Button1"));
    auto* close = new QPushButton(tr("退出"), this);
    close->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(save, &QPushButton::clicked, this, &TFrmAddMember::Button1Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    layout->activate();
    setFixedSize(sizeHint());
    SetTabOrderByPosition(this);
}

TFrmAddMember::~TFrmAddMember() = default;

void TFrmAddMember::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TFrmAddMember::FormShow() {
    m_editor.AddMode = AddMode;
    const QString caption = AddMode ? tr("新增会员") : tr("编辑会员");
    setWindowTitle(caption);
    m_pages->setTabText(0, caption);
    try {
        if (AddMode) {
            MasterRecords::EnsureOpen(m_list, MasterTable::member());
            m_editor.clearToDefaults();
        } else {
            m_editor.loadCurrent(m_list);
        }
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    m_form->write(m_editor);
}

void TFrmAddMember::EditMemberNameChange(const QString& name) {
    m_editor.NameChanged(name);
    m_form->setText(QStringLiteral("ShortName"), m_editor.text(QStringLiteral("ShortName")));
}

void TFrmAddMember::Button1Click() {
    m_form->read(m_editor);
    bool saved = false;
    try {
        saved = m_editor.Submit(m_list);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    if (saved) {
        accept();
        return;
    }
    // A taken card number was emptied; the other boxes keep what was typed.
    m_form->setText(QStringLiteral("MemberCode"), m_editor.text(QStringLiteral("MemberCode")));
    m_form->focusControl(m_editor.focusControl());
}
