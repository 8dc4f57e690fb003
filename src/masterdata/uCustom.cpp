#include "masterdata/uCustom.h"

#include "core/UData.h"

TFrmCustom* FrmCustom = nullptr;

namespace {

MasterListSetup listSetup() {
    MasterListSetup s;
    s.table = &MasterTable::custom();
    s.list = &FrmData->QryCustom;
    s.objectName = QStringLiteral("FrmCustom");
    s.caption = QObject::tr("客户管理");
    s.treeCaption = QObject::tr("客户分类");
    s.addAction = QStringLiteral("AddCustom");
    s.editAction = QStringLiteral("EditCustom");
    s.deleteAction = QStringLiteral("DelCustom");
    s.printAction = QStringLiteral("PrintCustom");
    s.typeAction = QStringLiteral("CustType");
    s.typeCaption = QObject::tr("客户分类");
    s.alternatingColors = false;
    s.batchCategory = true;
    return s;
}

} // namespace

TFrmCustom::TFrmCustom(QWidget* parent) : MasterListWindow(listSetup(), parent) {}
