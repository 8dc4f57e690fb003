#include "sheet/ExcelDate.h"

#include <QTime>

#include <cmath>

namespace {
constexpr qint64 kMaxSerial1900 = 2958465; // 9999-12-31

QDate epoch(bool date1904) {
    return date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
}
} // namespace

bool ExcelDate::dateParts(qint64 days, bool date1904, Parts* parts) {
    if (days < 0)
        return false;
    QDate date;
    if (!date1904 && days == 0) {
        parts->year = 1900;
        parts->month = 1;
        parts->day = 0;
        parts->dayOfWeek = 6; // as spreadsheets show it (day 1 is a Sunday there)
        return true;
    }
    if (!date1904 && days == 60) {
        parts->year = 1900;
        parts->month = 2;
        parts->day = 29;
        parts->dayOfWeek = 3;
        return true;
    }
    if (!date1904 && days < 60)
        date = QDate(1899, 12, 31).addDays(days);
    else
        date = epoch(date1904).addDays(days);
    if (!date.isValid() || date.year() > 9999)
        return false;
    parts->year = date.year();
    parts->month = date.month();
    parts->day = date.day();
    parts->dayOfWeek = date.dayOfWeek();
    return true;
}

QDate ExcelDate::toDate(double serial, bool date1904) {
    if (!std::isfinite(serial) || serial < 0 || serial > kMaxSerial1900 + 1462)
        return {};
    const qint64 days = static_cast<qint64>(std::floor(serial));
    if (!date1904 && days < 61) {
        if (days == 0 || days == 60)
            return {};
        if (days < 60)
            return QDate(1899, 12, 31).addDays(days);
    }
    QDate date = epoch(date1904).addDays(days);
    return date.year() <= 9999 ? date : QDate();
}

QDateTime ExcelDate::toDateTime(double serial, bool date1904) {
    const QDate date = toDate(serial, date1904);
    if (!date.isValid())
        return {};
    qint64 ms = std::llround((serial - std::floor(serial)) * 86400000.0);
    QDate day = date;
    if (ms >= 86400000) {
        day = day.addDays(1);
        ms -= 86400000;
    }
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)));
}

double ExcelDate::fromDate(const QDate& date, bool date1904) {
    if (!date1904 && date < QDate(1900, 3, 1))
        return static_cast<double>(QDate(1899, 12, 31).daysTo(date));
    return static_cast<double>(epoch(date1904).daysTo(date));
}

double ExcelDate::fromDateTime(const QDateTime& dateTime, bool date1904) {
    return fromDate(dateTime.date(), date1904) + dateTime.time().msecsSinceStartOfDay() / 86400000.0;
}

bool ExcelDate::fromIsoText(const QString& text, bool date1904, double* serial) {
    const QString t = text.trimmed();
    const QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (dt.isValid()) {
        *serial = fromDateTime(dt, date1904);
        return true;
    }
    const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    if (d.isValid()) {
        *serial = fromDate(d, date1904);
        return true;
    }
    const QTime tm = QTime::fromString(t, QStringLiteral("HH:mm:ss"));
    if (tm.isValid()) {
        *serial = tm.msecsSinceStartOfDay() / 86400000.0;
        return true;
    }
    return false;
}
