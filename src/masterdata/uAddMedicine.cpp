#include "masterdata/uAddMedicine.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/WidgetRoutines.h"
#include "core/widgets/uTree.h"
#include "masterdata/MasterRecords.h"
#include "masterdata/MasterTable.h"
#include "masterdata/widgets/EditorForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TFrmAddMedicine::TFrmAddMedicine(QWidget* parent) : QDialog(parent), m_list(FrmData->QryMedicine) {
    setObjectName(QStringLiteral("FrmAddMedicine"));
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("TabSheet1"));
    m_pages->addTab(page, tr("药品资料"));
    m_form = std::make_unique<EditorForm>(page, MedicineEditor::Fields(), 2,
                                          [this](const EditorField& f) { pick(f); });
    // 自动 beside the code box.
    QWidget* code = m_form->control(QStringLiteral("MedicineCode"));
    m_form->layout()->removeWidget(code);
    m_form->layout()->addWidget(code, 0, 1);
    m_auto = new QCheckBox(tr("自动"), page);
    m_auto->setObjectName(QStringLiteral("CBAuto"));
    m_form->layout()->addWidget(m_auto, 0, 2);
    layout->addWidget(m_pages);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_cancel = new QPushButton(tr("退出&Q"), this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TFrmAddMedicine::BtnOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    layout->activate();
    setFixedSize(sizeHint());
    SetTabOrderByPosition(this);
}

TFrmAddMedicine::~TFrmAddMedicine() = default;

void TFrmAddMedicine::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TFrmAddMedicine::FormShow() {
    m_editor.AddMode = AddMode;
    m_form->fillChoices(false);
    try {
        if (AddMode) {
            setWindowTitle(tr("新增药品资料"));
            m_ok->setText(tr("新增&A"));
            MasterRecords::EnsureOpen(m_list, MasterTable::medicine());
            m_editor.ClearForNew(FrmData->db(), FrmData->ini());
            m_auto->setChecked(m_editor.AutoCode);
        } else {
            setWindowTitle(tr("编辑药品资料"));
            m_ok->setText(tr("编辑&E"));
            m_editor.loadCurrent(m_list);
        }
    } catch (const DbError& e) {
        MsgError(e.message());
    }
    showEditor();
}

void TFrmAddMedicine::showEditor() {
    m_form->write(m_editor);
    if (m_editor.AddMode)
        m_auto->setChecked(m_editor.AutoCode);
}

void TFrmAddMedicine::BtnOKClick() {
    m_form->read(m_editor);
    m_editor.AutoCode = m_auto->isChecked();
    try {
        const bool saved = m_editor.Submit(m_list, FrmData->ini());
        if (FrmData->QrySys.isOpen())
            FrmData->QrySys.refresh(); // fGoodsCode as just stored
        if (saved && !AddMode)
            m_editor.loadCurrent(m_list); // the values as stored
        if (saved)
            showEditor();
        else
            m_form->focusControl(m_editor.focusControl());
        if (saved && AddMode)
            m_form->focusControl(QStringLiteral("EditMedicineName"));
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmAddMedicine::pick(const EditorField& field) {
    if (field.kind != EditorField::Category)
        return;
    try {
        TFrmTree::Pick(this, QStringLiteral("Medicine"), tr("药品分类"), QStringLiteral("AddMedicine"));
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}
