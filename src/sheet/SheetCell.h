#pragma once

#include <QString>
#include <QVariant>

// One cell of a workbook as the readers deliver it: what kind of value it holds, the value
// itself and the number format code that applies to it ("General" when the cell has none).
// A date cell keeps its serial number (days since the workbook's epoch, the fraction being
// the time of day); its type tells that it is a date.
struct SheetCell {
    enum class Type { Empty, Number, Text, Boolean, Date, Error };

    Type type = Type::Empty;
    double number = 0; // Number, Date (serial number), Boolean (0 or 1)
    QString string;    // Text; Error ("#N/A", "#DIV/0!" ...)
    QString formatCode = QStringLiteral("General");

    bool isEmpty() const { return type == Type::Empty; }
    bool isDate() const { return type == Type::Date; }
    // The raw value: double for numbers and dates (the serial number), QString for text and
    // errors, bool for booleans, an invalid QVariant for an empty cell.
    QVariant value() const;
};
