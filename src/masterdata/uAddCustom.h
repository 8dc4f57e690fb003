#pragma once

#include "masterdata/widgets/PartnerEditorDialog.h"

// The customer editor: a new customer, or the current row of the data module's QryCustom; the boxes are
// emptied after a new customer was saved.
class TFrmAddCustom : public PartnerEditorDialog {
    Q_OBJECT
public:
    explicit TFrmAddCustom(QWidget* parent = nullptr);
};
