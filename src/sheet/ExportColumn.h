#pragma once

#include <QString>

// One column of a grid export: its caption (row 1 of the sheet), whether its values are
// written as text or as numbers, and for numbers the display format code ("0.00", "#,##0.00";
// empty for General).
struct ExportColumn {
    enum class Kind { Text, Number };

    QString caption;
    Kind kind = Kind::Text;
    QString numberFormat;
};
