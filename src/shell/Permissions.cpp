#include "shell/Permissions.h"

#include "core/Database.h"

#include <QSet>
#include <QSqlQuery>

QStringList Permissions::catalogue(Database& db) {
    QStringList names;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT authority FROM tAuthority WHERE authority <> '' ORDER BY code"));
    while (q.next()) {
        const QString name = q.value(0).toString().trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QString Permissions::permissionString(Database& db, const QString& operatorName) {
    const QVariant v = db.scalar(
        QStringLiteral(
            "SELECT authority FROM tAdmin WHERE tablename = 'user' AND username = ? ORDER BY id LIMIT 1"),
        {operatorName});
    return v.isValid() ? v.toString() : QString();
}

QStringList Permissions::entries(const QString& permissionString) {
    QStringList list;
    for (const QString& piece : permissionString.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString name = piece.trimmed();
        if (!name.isEmpty())
            list << name;
    }
    return list;
}

bool Permissions::grants(const QString& permissionString, const QString& name) {
    if (name.trimmed().isEmpty())
        return false;
    for (const QString& entry : entries(permissionString))
        if (entry.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QHash<QString, bool> Permissions::states(const QStringList& catalogue, const QString& permissionString) {
    QSet<QString> granted;
    for (const QString& entry : entries(permissionString))
        granted.insert(entry.toLower());
    QHash<QString, bool> result;
    for (const QString& name : catalogue)
        result.insert(name.toLower(), granted.contains(name.trimmed().toLower()));
    return result;
}
