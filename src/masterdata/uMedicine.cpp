#include "masterdata/uMedicine.h"

#include "core/UData.h"

TFrmMedicine* FrmMedicine = nullptr;

namespace {

MasterListSetup listSetup() {
    MasterListSetup s;
    s.table = &MasterTable::medicine();
    s.list = &FrmData->QryMedicine;
    s.objectName = QStringLiteral("FrmMedicine");
    s.caption = QObject::tr("药品管理");
    s.treeCaption = QObject::tr("药品分类");
    s.addAction = QStringLiteral("AddMedicine");
    s.editAction = QStringLiteral("EditMedicine");
    s.deleteAction = QStringLiteral("DelMedicine");
    s.printAction = QStringLiteral("PrintMedicine");
    s.typeAction = QStringLiteral("MedicineType");
    s.typeCaption = QObject::tr("药品分类");
    s.alternatingColors = true;
    s.batchCategory = true;
    return s;
}

} // namespace

TFrmMedicine::TFrmMedicine(QWidget* parent) : MasterListWindow(listSetup(), parent) {}
