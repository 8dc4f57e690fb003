#pragma once

#include "masterdata/widgets/MasterListWindow.h"

// The customers: the master list window on the data module's QryCustom.
class TFrmCustom : public MasterListWindow {
    Q_OBJECT
public:
    explicit TFrmCustom(QWidget* parent = nullptr);
};

extern TFrmCustom* FrmCustom;
