#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class Database;

// Which commands the logged-in operator may use. The permission catalogue (tAuthority) names
// the gated commands; the operator's permission string in tAdmin is "|Name|Name...". A gated
// command is allowed exactly when its name is one of the entries of that string: a name that
// merely occurs inside another one ("Account" inside "RunningAccount") grants nothing.
class Permissions {
public:
    // Command names the catalogue gates, in catalogue order (heading rows left out).
    static QStringList catalogue(Database& db);
    // The operator's permission string; empty when no operator row carries that name.
    static QString permissionString(Database& db, const QString& operatorName);
    // The entries of a permission string (empty pieces dropped).
    static QStringList entries(const QString& permissionString);
    // True when name is one of the entries (letter case ignored, like the action look-up).
    static bool grants(const QString& permissionString, const QString& name);
    // The enabled state of every gated name, keyed by the lower-case name.
    static QHash<QString, bool> states(const QStringList& catalogue, const QString& permissionString);
};
