#pragma once

#include "masterdata/widgets/MasterListWindow.h"

// The medicine catalogue: the master list window on the data module's QryMedicine.
class TFrmMedicine : public MasterListWindow {
    Q_OBJECT
public:
    explicit TFrmMedicine(QWidget* parent = nullptr);
};

extern TFrmMedicine* FrmMedicine;
