#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// How a click on the start page becomes commands. The link's target, as written in the page,
// is tested against the command names in their fixed order; every name it contains is run (so
// a link naming Backup and Restore runs both, backup first), and any match keeps the page
// where it is. Only the link itself is tested, never the folder the page was loaded from.
class NavRouting {
public:
    // The command names in the order they are tested.
    static const QStringList& commandNames();
    // The names a link target contains, in that order.
    static QStringList commandsFor(const QString& target);
    // The target text of a clicked link: a link the browser resolved against the page's file
    // is reduced to its part below the page's folder, so the folder's own path (which may
    // contain a command name, as in a folder called Backup) never takes part in the test.
    static QString targetText(const QUrl& link, const QUrl& page);
};
