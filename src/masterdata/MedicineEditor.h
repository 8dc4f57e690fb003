#pragma once

#include "masterdata/RecordEditor.h"

#include <QString>

class DataSet;
class Database;
class IniFile;

// The medicine editor's rules: defaults and automatic codes for a new medicine, the input
// check in its fixed order, and the save through the list dataset with the mnemonic ShortName.
class MedicineEditor : public RecordEditor {
public:
    explicit MedicineEditor(bool addMode);

    static const QVector<EditorField>& Fields();
    // The columns in the order a save assigns them.
    static const QStringList& SaveOrder();

    bool AddMode;
    // The state of 自动 (automatic codes).
    bool AutoCode = false;

    // The next automatic code after last: the last four characters (all of a shorter code),
    // which must be digits, plus one, as four digits after the rest of the code (YP0009 gives
    // YP0010, 12 gives 0013, A9999 gives A0000). False when they are not digits.
    static bool NextCode(const QString& last, QString* next);

    // Automatic codes on or off (tSoftInfo.fGoodsCode).
    static bool GoodsCodeOn(Database& db);
    static void SetGoodsCode(Database& db, bool on);

    // A new entry: every box to its default; with automatic codes on, 自动 ticked and the code
    // following the last one remembered in Config.ini ([Other] MedicineCode), or an empty code
    // and "自动编码新增失败!" when that code gives none.
    void ClearForNew(Database& db, IniFile& ini);
    // The input check; shows the first problem, sets InputRejected and the focus.
    bool CheckInput(Database& db);
    // The button: check, store 自动, save (a new row or the list's current row). After a new
    // medicine is saved, the code is remembered (automatic codes on) and the boxes are cleared
    // for the next one; a failed save keeps the boxes as typed. Returns true when saved.
    bool Submit(DataSet& list, IniFile& ini);
};
