#pragma once

#include "masterdata/widgets/PartnerEditorDialog.h"

// The supplier editor: a new supplier, or the current row of the data module's QrySupply; the boxes keep
// their values after a new supplier was saved.
class TFrmAddSupply : public PartnerEditorDialog {
    Q_OBJECT
public:
    explicit TFrmAddSupply(QWidget* parent = nullptr);
};
