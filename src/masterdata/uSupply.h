#pragma once

#include "masterdata/widgets/MasterListWindow.h"

// The suppliers: the master list window on the data module's QrySupply.
class TFrmSupply : public MasterListWindow {
    Q_OBJECT
public:
    explicit TFrmSupply(QWidget* parent = nullptr);
};

extern TFrmSupply* FrmSupply;
