#include "masterdata/uAddSupply.h"

#include "core/UData.h"

TFrmAddSupply::TFrmAddSupply(QWidget* parent)
    : PartnerEditorDialog(PartnerKind::supply(), FrmData->QrySupply, parent) {
    setObjectName(QStringLiteral("FrmAddSupply"));
}
