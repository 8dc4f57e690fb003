#pragma once

#include "masterdata/RecordEditor.h"

class DataSet;
class Database;

// The member editor's rules: a card number that is not yet taken (a taken one empties its
// box), the mnemonic from the name, CreateDate and EditDate as ISO moments, and the save
// through the list dataset. Its messages are plain boxes with an OK button.
class MemberEditor : public RecordEditor {
public:
    explicit MemberEditor(bool addMode);

    static const QVector<EditorField>& Fields();
    static const QStringList& SaveOrder();

    bool AddMode;

    // The name changed: the mnemonic becomes its initials (and may then be edited).
    void NameChanged(const QString& name);
    // Check and save; true when saved ("保存成功！" shown).
    bool Submit(DataSet& list);
    // The moment written into CreateDate / EditDate, yyyy-MM-dd HH:mm:ss; tests may fix it.
    QString Now;
};
