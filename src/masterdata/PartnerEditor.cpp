#include "masterdata/PartnerEditor.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/MsgBox.h"

PartnerEditor::PartnerEditor(const PartnerKind& kind, bool addMode)
    : RecordEditor(kind.fields), AddMode(addMode), m_kind(kind) {}

bool PartnerEditor::CheckInput(Database& db) {
    InputRejected = false;
    m_focus.clear();
    const int flags = Msg::Ok | Msg::IconWarning;
    // Values are stored trimmed, so the duplicate test looks at the trimmed text; a text is
    // empty only when it has no characters at all.
    const QString unique = text(m_kind.uniqueColumn);
    if (AddMode && exists(db, m_kind.table->table, m_kind.uniqueColumn, unique.trimmed()))
        return reject(m_kind.duplicateMessage, m_kind.uniqueColumn, flags);
    for (const auto& r : m_kind.required)
        if (text(r.first).isEmpty())
            return reject(r.second, r.first, flags);
    return true;
}

bool PartnerEditor::Submit(DataSet& list) {
    Database* db = list.database();
    if (!db || !CheckInput(*db))
        return false;
    QString reason;
    if (!write(list, AddMode, m_kind.saveOrder, &reason)) {
        MsgBox(QObject::tr("保存失败,可能是您输入的数据有误!") + QLatin1Char('\n') + reason,
               Msg::Ok | Msg::IconInformation, QObject::tr("提示"));
        return false;
    }
    if (AddMode && m_kind.emptiesAfterAdding)
        clearToDefaults();
    return true;
}
