#include "masterdata/uSelectCust.h"

#include "core/DataSet.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/DataGrid.h"
#include "core/widgets/TypeTree.h"
#include "masterdata/PartnerPicker.h"
#include "masterdata/uAddSupply.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

TFrmSelectCust::TFrmSelectCust(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmSelectCust"));
    setWindowTitle(tr("选择供应商"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* codeLabel = new QLabel(tr("供应商编码"), this);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("EditCode"));
    codeLabel->setBuddy(m_code);
    auto* nameLabel = new QLabel(tr("供应商名称"), this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("EditName"));
    nameLabel->setBuddy(m_name);
    m_type = new QLineEdit(this);
    m_type->setObjectName(QStringLiteral("EditType"));
    m_type->hide();
    auto* btnNew = new QPushButton(tr("新增供应商"), this);
    btnNew->setObjectName(QStringLiteral("BtnNew"));
    auto* btnSelect = new QPushButton(tr("选择"), this);
    btnSelect->setObjectName(QStringLiteral("BtnSelect"));
    auto* btnExit = new QPushButton(tr("退出"), this);
    btnExit->setObjectName(QStringLiteral("BtnExit"));
    top->addWidget(codeLabel);
    top->addWidget(m_code);
    top->addWidget(nameLabel);
    top->addWidget(m_name, 1);
    top->addWidget(btnNew);
    top->addWidget(btnSelect);
    top->addWidget(btnExit);
    layout->addLayout(top);

    auto* split = new QSplitter(Qt::Horizontal, this);
    m_tree = new QTreeWidget(split);
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid = new DataGrid(split);
    m_grid->setObjectName(QStringLiteral("DBGridEh1"));
    m_grid->setReadOnly(true);
    split->addWidget(m_tree);
    split->addWidget(m_grid);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 620});
    layout->addWidget(split, 1);
    resize(860, 520);

    connect(m_code, &QLineEdit::textChanged, this, &TFrmSelectCust::RunSearch);
    connect(m_name, &QLineEdit::textChanged, this, &TFrmSelectCust::RunSearch);
    connect(m_type, &QLineEdit::textChanged, this, &TFrmSelectCust::RunSearch);
    connect(btnSelect, &QPushButton::clicked, this, &TFrmSelectCust::BtnSelectClick);
    connect(btnNew, &QPushButton::clicked, this, &TFrmSelectCust::BtnNewClick);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { TreeView1DblClick(item); });
    connect(m_grid, &DataGrid::rowActivated, this, [this]() {
        if (!FrmData->QrySelectCust.isEmpty())
            BtnSelectClick();
    });
}

TFrmSelectCust::~TFrmSelectCust() = default;

bool TFrmSelectCust::Choose(QWidget* caller, QString* name, QVariantMap* row) {
    TFrmSelectCust dlg(caller);
    dlg.Caller = caller ? caller->objectName() : QString();
    const bool ok = dlg.exec() == QDialog::Accepted;
    if (ok && name)
        *name = dlg.chosenName();
    if (ok && row)
        *row = dlg.chosenRow();
    return ok;
}

void TFrmSelectCust::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TFrmSelectCust::FormShow() {
    try {
        FillTypeTree(m_tree, QStringLiteral("Supply"), tr("供应商分类"));
        PartnerPicker::OpenAll(FrmData->QrySelectCust);
        layOutGrid();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmSelectCust::layOutGrid() {
    LoadGridColumns(m_grid, FrmData->QrySelectCust, QStringLiteral("Supply"));
}

void TFrmSelectCust::RunSearch() {
    try {
        PartnerPicker::Search(FrmData->QrySelectCust, m_code->text(), m_name->text(), m_type->text());
        layOutGrid();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmSelectCust::TreeView1DblClick(QTreeWidgetItem* item) {
    // The root leaves the chosen category in force.
    if (!item || IsTypeTreeRoot(item))
        return;
    m_type->setText(TypeTreeCode(item));
}

QWidget* TFrmSelectCust::callerWindow() const {
    if (Caller.isEmpty())
        return nullptr;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (w->objectName().compare(Caller, Qt::CaseInsensitive) == 0)
            return w;
    for (QWidget* w : QApplication::allWidgets())
        if (w != this && w->objectName().compare(Caller, Qt::CaseInsensitive) == 0)
            return w;
    return nullptr;
}

void TFrmSelectCust::BtnSelectClick() {
    const DataSet& rows = FrmData->QrySelectCust;
    m_chosenName = PartnerPicker::ChosenName(rows);
    m_chosenRow.clear();
    if (rows.isOpen() && !rows.isEmpty())
        for (int f = 0; f < rows.fieldCount(); ++f)
            m_chosenRow.insert(rows.fieldName(f), rows.value(rows.recNo(), f));
    if (QWidget* opener = callerWindow()) {
        const QString box = PartnerPicker::TargetBox(Caller);
        if (auto* edit = opener->findChild<QLineEdit*>(box))
            edit->setText(m_chosenName);
    }
    emit chosen(m_chosenName);
    accept();
}

void TFrmSelectCust::BtnNewClick() {
    // Opened directly, not through the action: the picker's button works whatever the
    // operator's permissions say about adding suppliers.
    TFrmAddSupply editor(this);
    editor.AddMode = true;
    editor.exec();
    RunSearch(); // the new supplier shows at once
}
