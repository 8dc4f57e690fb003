#include "masterdata/uEmployee.h"

#include "core/UData.h"

TFrmEmployee* FrmEmployee = nullptr;

namespace {

MasterListSetup listSetup() {
    MasterListSetup s;
    s.table = &MasterTable::employee();
    s.list = &FrmData->QryEmployee;
    s.objectName = QStringLiteral("FrmEmployee");
    s.caption = QObject::tr("员工管理");
    s.treeCaption = QObject::tr("员工分类");
    s.addAction = QStringLiteral("AddEmployee");
    s.editAction = QStringLiteral("EditEmployee");
    s.deleteAction = QStringLiteral("DelEmployee");
    s.printAction = QStringLiteral("PrintEmployee");
    s.typeAction = QStringLiteral("EmployeeType");
    s.typeCaption = QObject::tr("员工分类");
    s.alternatingColors = false;
    s.batchCategory = true;
    return s;
}

} // namespace

TFrmEmployee::TFrmEmployee(QWidget* parent) : MasterListWindow(listSetup(), parent) {}
