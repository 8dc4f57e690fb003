#include "masterdata/uMember.h"

#include "core/UData.h"

TFrmMember* FrmMember = nullptr;

namespace {

MasterListSetup listSetup() {
    MasterListSetup s;
    s.table = &MasterTable::member();
    s.list = &FrmData->QryMember;
    s.objectName = QStringLiteral("FrmMember");
    s.caption = QObject::tr("会员管理");
    s.addAction = QStringLiteral("AddMember");
    s.editAction = QStringLiteral("EditMember");
    s.deleteAction = QStringLiteral("DelMember");
    // The member list prints itself (the member list report over QryMember).
    s.printAction = QStringLiteral("PrintMember");
    return s;
}

} // namespace

TFrmMember::TFrmMember(QWidget* parent) : MasterListWindow(listSetup(), parent) {}
