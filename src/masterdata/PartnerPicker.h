#pragma once

#include <QString>
#include <QStringList>

class DataSet;

// The supplier picker's selection: every supplier by name when it opens, then the suppliers
// whose code starts with the code text, whose name contains the name text and that are filed
// exactly under the chosen category. Texts are matched literally.
class PartnerPicker {
public:
    // The box of each opening window that receives the chosen name ("FrmIn" -> "EditSupply");
    // empty for an unknown window.
    static QString TargetBox(const QString& caller);
    static QStringList Callers();

    // "select * from tSupply order by SupplyName".
    static void OpenAll(DataSet& rows);
    static void Search(DataSet& rows, const QString& code, const QString& name, const QString& typeCode);
    // SupplyName of the current row; empty when there is none.
    static QString ChosenName(const DataSet& rows);
};
