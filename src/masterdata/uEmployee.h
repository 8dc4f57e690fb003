#pragma once

#include "masterdata/widgets/MasterListWindow.h"

// The employees: the master list window on the data module's QryEmployee.
class TFrmEmployee : public MasterListWindow {
    Q_OBJECT
public:
    explicit TFrmEmployee(QWidget* parent = nullptr);
};

extern TFrmEmployee* FrmEmployee;
