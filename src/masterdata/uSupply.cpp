#include "masterdata/uSupply.h"

#include "core/UData.h"

TFrmSupply* FrmSupply = nullptr;

namespace {

MasterListSetup listSetup() {
    MasterListSetup s;
    s.table = &MasterTable::supply();
    s.list = &FrmData->QrySupply;
    s.objectName = QStringLiteral("FrmSupply");
    s.caption = QObject::tr("供应商管理");
    s.treeCaption = QObject::tr("供应商分类");
    s.addAction = QStringLiteral("AddSupply");
    s.editAction = QStringLiteral("EditSupply");
    s.deleteAction = QStringLiteral("DelSupply");
    s.printAction = QStringLiteral("PrintSupply");
    s.typeAction = QStringLiteral("SupplyType");
    s.typeCaption = QObject::tr("修改供应商分类");
    s.alternatingColors = false;
    s.batchCategory = true;
    return s;
}

} // namespace

TFrmSupply::TFrmSupply(QWidget* parent) : MasterListWindow(listSetup(), parent) {}
