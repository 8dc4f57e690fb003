#include "core/widgets/uChangeType.h"

#include "core/CategoryChange.h"
#include "core/CategoryCodes.h"
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "core/widgets/uTree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TFrmChangeType::TFrmChangeType(const QString& list, DataSet* rows, QWidget* parent)
    : QDialog(parent), m_list(list), m_rows(rows ? rows : ListDataSet(list)) {
    setObjectName(QStringLiteral("FrmChangeType"));
    setWindowTitle(tr("批量修改分类"));
    try {
        if (m_rows)
            m_ids = SelectedRowIds(*m_rows);
    } catch (const DbError& e) {
        MsgError(e.message());
    }

    m_title = new QLabel(tr("您选择了%1条记录").arg(m_ids.size()), this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = m_title->font();
    big.setBold(true);
    m_title->setFont(big);
    auto* prompt = new QLabel(tr("请选择要修改的分类"), this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_typeName = new QLineEdit(this);
    m_typeName->setObjectName(QStringLiteral("EditTypeName"));
    m_typeName->setReadOnly(true);
    m_typeCode = new QLineEdit(this);
    m_typeCode->setObjectName(QStringLiteral("EditTypeCode"));
    m_typeCode->setVisible(false);
    auto* choose = new QToolButton(this);
    choose->setObjectName(QStringLiteral("BtnSelectType"));
    choose->setText(QStringLiteral("..."));
    auto* ok = new QPushButton(tr("确定"), this);
    ok->setObjectName(QStringLiteral("Btn_ok"));
    auto* exit = new QPushButton(tr("退出"), this);
    exit->setObjectName(QStringLiteral("Btn_exit"));

    auto* box = new QHBoxLayout;
    box->addWidget(m_typeName, 1);
    box->addWidget(choose);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(prompt);
    layout->addLayout(box);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(360, 160);

    connect(choose, &QToolButton::clicked, this, [this] { BtnSelectTypeClick(); });
    connect(ok, &QPushButton::clicked, this, [this] { Btn_okClick(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
}

DataSet* TFrmChangeType::ListDataSet(const QString& list) {
    if (!FrmData)
        return nullptr;
    const QString l = list.toLower();
    if (l == QLatin1String("medicine"))
        return &FrmData->QryMedicine;
    if (l == QLatin1String("supply"))
        return &FrmData->QrySupply;
    if (l == QLatin1String("custom"))
        return &FrmData->QryCustom;
    if (l == QLatin1String("employee"))
        return &FrmData->QryEmployee;
    return nullptr;
}

void TFrmChangeType::BtnSelectTypeClick() {
    try {
        TFrmTree::Pick(this, m_list, TreeRootCaption(m_list), QStringLiteral("ChangeType"));
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void TFrmChangeType::Btn_okClick() {
    if (m_typeCode->text().trimmed().isEmpty()) {
        // Without a category every selected row would lose its own.
        MsgInfo(tr("请选择要修改的分类"));
        return;
    }
    try {
        Database* db = m_rows ? m_rows->database() : Database::current();
        if (!db)
            throw DbError(tr("数据库未连接"));
        if (!m_ids.isEmpty()) {
            MoveToCategory(*db, m_list, m_ids, m_typeName->text(), m_typeCode->text());
            const int row = m_rows->recNo();
            m_rows->refresh();
            if (row >= 0 && row < m_rows->recordCount())
                m_rows->setRecNo(row);
        }
    } catch (const DbError& e) {
        MsgError(e.message());
        return;
    }
    MsgBox(tr("批量修改成功"), Msg::Ok | Msg::IconInformation, tr("成功"));
    accept();
}
