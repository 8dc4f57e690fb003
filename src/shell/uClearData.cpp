#include "shell/uClearData.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/UData.h"
#include "shell/DatabaseMaintenance.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFrmClearData::TFrmClearData(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmClearData"));
    setWindowTitle(tr("数据初始化"));
    auto* grid = new QGridLayout;
    const QVector<DatabaseMaintenance::ClearGroup>& groups = DatabaseMaintenance::clearGroups();
    for (int i = 0; i < groups.size(); ++i) {
        auto* box = new QCheckBox(groups[i].caption, this);
        box->setObjectName(groups[i].objectName);
        grid->addWidget(box, i / 2, i % 2);
        m_boxes << box;
    }
    Btn_ok = new QPushButton(tr("确定"), this);
    Btn_ok->setObjectName(QStringLiteral("Btn_ok"));
    Btn_cancel = new QPushButton(tr("取消"), this);
    Btn_cancel->setObjectName(QStringLiteral("Btn_cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Btn_ok);
    buttons->addWidget(Btn_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    connect(Btn_ok, &QPushButton::clicked, this, &TFrmClearData::Btn_okClick);
    connect(Btn_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmClearData::Btn_okClick() {
    QVector<int> ticked;
    for (int i = 0; i < m_boxes.size(); ++i)
        if (m_boxes[i]->isChecked())
            ticked << i;
    // Emptying tables cannot be undone: ask once before anything is deleted.
    if (!ticked.isEmpty() && !MsgAsk(tr("所选数据将被全部清空且无法恢复,确定要初始化吗?")))
        return;
    try {
        if (!ticked.isEmpty())
            DatabaseMaintenance::clearData(FrmData->db(), ticked);
    } catch (const DbError& e) {
        MsgError(tr("初始化失败,数据未作任何修改!\n%1").arg(e.message()));
        return;
    }
    MsgInfo(tr("初始化成功！"));
}
