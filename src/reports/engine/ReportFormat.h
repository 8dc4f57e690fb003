#pragma once

#include <QString>
#include <QVariant>

// Writes values of report expressions under a memo's display format:
//   "%2.2n"  two decimals with thousands separators    1,234.50
//   "%.2f"   two decimals                              1234.50
//   "%d"     whole number                              1235
//   "0.00", "#,##0.00", "0.##", "0%"-like pictures     1234.50, 1,234.50, 1234.5
//   "yyyy-MM-dd" and other date patterns for dates and ISO date texts
// Halves are rounded away from zero on the value's shortest decimal form, so 1.005 gives 1.01.
class ReportFormat {
public:
    static QString format(const QVariant& value, const QString& displayFormat);
    // The text of a value without a format: numbers without binary noise ("0.3", "37.5").
    static QString plain(const QVariant& value);
    // A number from a numeric value or a text that reads as one.
    static double toNumber(const QVariant& value, bool* ok = nullptr);
    // |value| rounded half away from zero to decimals places, as digits with a '.'.
    static QString fixed(double value, int decimals, bool grouping = false);
};
