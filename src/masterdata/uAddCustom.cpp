#include "masterdata/uAddCustom.h"

#include "core/UData.h"

TFrmAddCustom::TFrmAddCustom(QWidget* parent)
    : PartnerEditorDialog(PartnerKind::custom(), FrmData->QryCustom, parent) {
    setObjectName(QStringLiteral("FrmAddCustom"));
}
