#pragma once

#include "masterdata/widgets/MasterListWindow.h"

// The members: the master list window without a category tree, on the data module's QryMember.
class TFrmMember : public MasterListWindow {
    Q_OBJECT
public:
    explicit TFrmMember(QWidget* parent = nullptr);
};

extern TFrmMember* FrmMember;
