#include "masterdata/uAddEmployee.h"

#include "core/UData.h"

TFrmAddEmployee::TFrmAddEmployee(QWidget* parent)
    : PartnerEditorDialog(PartnerKind::employee(), FrmData->QryEmployee, parent) {
    setObjectName(QStringLiteral("FrmAddEmployee"));
}
