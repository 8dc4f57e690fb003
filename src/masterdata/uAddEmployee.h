#pragma once

#include "masterdata/widgets/PartnerEditorDialog.h"

// The employee editor: a new employee, or the current row of the data module's QryEmployee, with the
// departments of the lookup list Depart.
class TFrmAddEmployee : public PartnerEditorDialog {
    Q_OBJECT
public:
    explicit TFrmAddEmployee(QWidget* parent = nullptr);
};
