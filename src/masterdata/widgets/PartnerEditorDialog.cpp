#include "masterdata/widgets/PartnerEditorDialog.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/WidgetRoutines.h"
#include "core/widgets/uTree.h"
#include "masterdata/MasterRecords.h"
#include "masterdata/widgets/EditorForm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

PartnerEditorDialog::PartnerEditorDialog(const PartnerKind& kind, DataSet& list, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_list(list), m_editor(kind, true) {
    auto* layout = new QVBoxLayout(this);
    QWidget* page = nullptr;
    if (kind.pageCaption.isEmpty()) {
        page = new QWidget(this);
        layout->addWidget(page);
    } else {
        auto* pages = new QTabWidget(this);
        pages->setObjectName(QStringLiteral("PageControl1"));
        page = new QWidget(pages);
        page->setObjectName(QStringLiteral("TabSheet1"));
        pages->addTab(page, kind.pageCaption);
        layout->addWidget(pages);
    }
    m_form = std::make_unique<EditorForm>(page, kind.fields, 2, [this](const EditorField& f) { pick(f); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOk"));
    m_cancel = new QPushButton(kind.cancelButton, this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &PartnerEditorDialog::BtnOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    layout->activate();
    setFixedSize(sizeHint());
    SetTabOrderByPosition(this);
}

PartnerEditorDialog::~PartnerEditorDialog() = default;

void PartnerEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void PartnerEditorDialog::FormShow() {
    m_editor.AddMode = AddMode;
    setWindowTitle(AddMode ? m_kind.addCaption : m_kind.editCaption);
    m_ok->setText(AddMode ? m_kind.addButton : m_kind.editButton);
    // The choices first, so that an edited employee shows the stored department.
    m_form->fillChoices(false);
    try {
        if (AddMode) {
            MasterRecords::EnsureOpen(m_list, *m_kind.table);
            m_editor.clearToDefaults();
        } else {
            m_editor.loadCurrent(m_list);
        }
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    m_form->write(m_editor);
}

void PartnerEditorDialog::BtnOkClick() {
    m_form->read(m_editor);
    bool saved = false;
    try {
        saved = m_editor.Submit(m_list);
        if (saved && !AddMode)
            m_editor.loadCurrent(m_list); // the values as stored
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    if (saved && (!AddMode || m_kind.emptiesAfterAdding))
        m_form->write(m_editor);
    // The lookup choices are read again (a department may have been added meanwhile); the box
    // keeps the department just saved.
    m_form->fillChoices(true);
    if (!saved)
        m_form->focusControl(m_editor.focusControl());
}

void PartnerEditorDialog::pick(const EditorField& field) {
    try {
        if (field.kind == EditorField::Category)
            TFrmTree::Pick(this, m_kind.table->setName, m_kind.treeCaption, m_kind.caller);
        else if (field.kind == EditorField::Zone)
            TFrmTree::Pick(this, QStringLiteral("Zone"), tr("地区分类"), m_kind.caller);
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}
