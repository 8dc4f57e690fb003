#pragma once

#include <QString>

// Our renderer of spreadsheet number format codes: the text a spreadsheet shows for a value.
//
// Supported: up to four sections (positive;negative;zero;text), conditions such as [>=100],
// colours ([Red], [Color10]) ignored, the placeholders 0 # ?, the decimal point, thousands
// separators and trailing commas (each divides by 1000), %, exponents (E+00, E-0, engineering
// ##0.0E+0), quoted literals ("年"), backslash escapes, _x (a space) and *x (fill, dropped),
// @ for the text, General, fractions (# ?/?, # ??/??, ?/8), and the date and time tokens
// yyyy yy m mm mmm mmmm mmmmm d dd ddd dddd aaa aaaa h hh m mm (minutes after h or before s)
// s ss, AM/PM A/P 上午/下午, [h] [m] [s] elapsed, .0 .00 .000 fractional seconds.
// Locale prefixes such as [$-804] are dropped (a Chinese locale id switches mmm/ddd to Chinese
// names); a currency prefix [$￥-804] shows its symbol; [DBNum1]-style numeral systems are not
// rendered (the digits stay Arabic).
//
// Rounding follows the spreadsheet: a value is first taken to 15 significant digits and then
// rounded half away from zero, so 2.5 with "0" shows 3 and 1.005 with "0.00" shows 1.01.
class NumberFormat {
public:
    // The text shown for a number with the format code. An empty code means General.
    static QString render(double value, const QString& formatCode, bool date1904 = false);
    // The text shown for a text value (the text section, "@" replaced by the text).
    static QString renderText(const QString& text, const QString& formatCode);
    // The text a spreadsheet shows for a number in the General format (up to 11 characters,
    // scientific notation for very large or very small numbers).
    static QString general(double value);

    // The code of a built-in format id (0-49 and the Chinese-locale ids 50-58), as a Chinese
    // (zh-CN) spreadsheet program shows it; empty for an id that is not built in.
    static QString builtinCode(int id);
    // True when the code's number section formats dates or times.
    static bool isDateFormat(const QString& formatCode);
    // True when the code's number section shows a time of day or a duration but no date.
    static bool isTimeFormat(const QString& formatCode);
};
