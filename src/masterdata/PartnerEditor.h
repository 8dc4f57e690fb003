#pragma once

#include "masterdata/PartnerKind.h"
#include "masterdata/RecordEditor.h"

class DataSet;
class Database;

// The supplier, customer and employee editors' rules: the input check (the unique column when
// adding, then the required boxes) and the save through the list dataset.
class PartnerEditor : public RecordEditor {
public:
    PartnerEditor(const PartnerKind& kind, bool addMode);

    const PartnerKind& kind() const { return m_kind; }
    bool AddMode;

    bool CheckInput(Database& db);
    // Check and save (a new row or the list's current row); returns true when saved. After a
    // new entry the customer editor empties its boxes, the others keep them.
    bool Submit(DataSet& list);

private:
    const PartnerKind& m_kind;
};
