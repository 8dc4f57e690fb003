#include "shell/QuickDates.h"

#include <QCoreApplication>

const QVector<QuickDates::Entry>& QuickDates::menu() {
    static const QVector<Entry> list = {Entry::Today,     Entry::Yesterday, Entry::DayBefore,
                                        Entry::Separator, Entry::Last7Days, Entry::Last30Days,
                                        Entry::Separator, Entry::ThisMonth, Entry::LastMonth};
    return list;
}

QString QuickDates::caption(Entry entry) {
    switch (entry) {
    case Entry::Today:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "今天"));
    case Entry::Yesterday:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "昨天"));
    case Entry::DayBefore:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "前天"));
    case Entry::Last7Days:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "最近7天"));
    case Entry::Last30Days:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "最近30天"));
    case Entry::ThisMonth:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "本月"));
    case Entry::LastMonth:
        return QStringLiteral(QT_TRANSLATE_NOOP("QuickDates", "上月"));
    case Entry::Separator:
        break;
    }
    return QString();
}

QString QuickDates::displayCaption(Entry entry) {
    return QCoreApplication::translate("QuickDates", caption(entry).toUtf8().constData());
}

bool QuickDates::fromCaption(const QString& text, Entry& entry) {
    for (Entry e : menu()) {
        if (e != Entry::Separator && (text == caption(e) || text == displayCaption(e))) {
            entry = e;
            return true;
        }
    }
    return false;
}

QString QuickDates::objectName(Entry entry) {
    switch (entry) {
    case Entry::Today:
        return QStringLiteral("pmDateToday");
    case Entry::Yesterday:
        return QStringLiteral("pmDateYesterday");
    case Entry::DayBefore:
        return QStringLiteral("pmDateDayBefore");
    case Entry::Last7Days:
        return QStringLiteral("pmDateLast7");
    case Entry::Last30Days:
        return QStringLiteral("pmDateLast30");
    case Entry::ThisMonth:
        return QStringLiteral("pmDateThisMonth");
    case Entry::LastMonth:
        return QStringLiteral("pmDateLastMonth");
    case Entry::Separator:
        break;
    }
    return QString();
}

QuickDates::Range QuickDates::range(Entry entry, const QDate& today) {
    const QDate firstOfMonth(today.year(), today.month(), 1);
    switch (entry) {
    case Entry::Today:
        return {today, today};
    case Entry::Yesterday:
        return {today.addDays(-1), today.addDays(-1)};
    case Entry::DayBefore:
        return {today.addDays(-2), today.addDays(-2)};
    case Entry::Last7Days:
        return {today.addDays(-7), today};
    case Entry::Last30Days:
        return {today.addDays(-30), today};
    case Entry::ThisMonth:
        return {firstOfMonth, firstOfMonth.addMonths(1).addDays(-1)};
    case Entry::LastMonth:
        return {firstOfMonth.addMonths(-1), firstOfMonth.addDays(-1)};
    case Entry::Separator:
        break;
    }
    return {};
}
