#pragma once

#include <QString>
#include <QStringList>

// One box of an editor: the column it holds, the control's objectName and caption, the text a
// new entry starts with, and how the box takes its input. The windows lay their boxes out from
// these tables; the logic reads and checks the texts by column.
struct EditorField {
    enum Kind {
        Text,     // edit box
        Number,   // edit box for a number (a validator in the window)
        Money,    // edit box for a money amount
        Choice,   // combo box that also takes typed text; items from a lookup list or fixed
        Category, // edit box with a button that picks from the category tree
        Zone,     // edit box with a button that picks from the area tree
        Hidden,   // not shown (the category code)
    };
    EditorField() = default;
    EditorField(const QString& column, const QString& control, const QString& caption, Kind kind = Text,
                const QString& defaultText = QString(), const QString& lookupList = QString(),
                const QStringList& choices = {}, const QString& suffix = QString());

    QString column;
    QString control;
    QString caption;
    Kind kind = Text;
    QString defaultText;
    QString lookupList;  // Choice: tOther list name ("Units", "JiXing", "Depart")
    QStringList choices; // Choice: fixed items when there is no lookup list
    QString suffix;      // text after the box ("（天）")
};
