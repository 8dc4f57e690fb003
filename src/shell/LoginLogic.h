#pragma once

#include <QString>
#include <QStringList>

class Database;

// Who may log in: operator rows of tAdmin (permission groups are not operators), checked
// against their Argon2id password hash.
class LoginLogic {
public:
    enum class Result { Ok, EmptyName, EmptyPassword, WrongPassword, UnknownName };

    // Operator names in the order they were entered.
    static QStringList operators(Database& db);
    // The checks in their order: the name first, then the password. The name is matched
    // without regard to letter case, the password exactly.
    static Result check(Database& db, const QString& name, const QString& password);
    // The message shown for a failed check (empty for Ok).
    static QString message(Result r);
};
