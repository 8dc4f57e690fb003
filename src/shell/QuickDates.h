#pragma once

#include <QDate>
#include <QString>
#include <QVector>

// The quick date ranges of the main window's pop-up menu pmDate. A range is a pure function of
// the entry and today's date; both ends are whole days.
class QuickDates {
public:
    enum class Entry { Today, Yesterday, DayBefore, Last7Days, Last30Days, ThisMonth, LastMonth, Separator };

    struct Range {
        QDate start;
        QDate end;
    };

    // The menu in its order, separators included.
    static const QVector<Entry>& menu();
    // Source text of the entry's caption ("今天" ... "上月"); empty for a separator.
    static QString caption(Entry entry);
    // Caption shown on the menu (translated).
    static QString displayCaption(Entry entry);
    // The entry of a caption; false when the caption names none.
    static bool fromCaption(const QString& caption, Entry& entry);
    // objectName of the entry's menu item.
    static QString objectName(Entry entry);
    // The range of an entry; invalid dates for a separator.
    static Range range(Entry entry, const QDate& today);
};
