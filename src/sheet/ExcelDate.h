#pragma once

#include <QDate>
#include <QDateTime>

// Spreadsheet serial numbers: days since the workbook's epoch with the time of day as the
// fraction. The 1900 date system counts 1900-01-01 as day 1 and, like every spreadsheet
// program, keeps the phantom day 60 (1900-02-29); the 1904 system counts 1904-01-01 as day 0.
class ExcelDate {
public:
    // The calendar parts of a serial number as a spreadsheet shows them (day 0 of the 1900
    // system is "1900-01-00", day 60 is "1900-02-29"). False for negative serials and for
    // serials after 9999-12-31.
    struct Parts {
        int year = 0, month = 0, day = 0;
        int dayOfWeek = 0; // 1 = Monday ... 7 = Sunday
    };
    static bool dateParts(qint64 days, bool date1904, Parts* parts);

    static QDate toDate(double serial, bool date1904);         // invalid when out of range
    static QDateTime toDateTime(double serial, bool date1904); // invalid when out of range
    static double fromDate(const QDate& date, bool date1904);
    static double fromDateTime(const QDateTime& dateTime, bool date1904);
    // "yyyy-MM-dd", "yyyy-MM-dd HH:mm:ss" or "HH:mm:ss" text (as freexl reports date cells).
    static bool fromIsoText(const QString& text, bool date1904, double* serial);
};
