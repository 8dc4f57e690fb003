#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class Database;

// The rules of the operator window and the change-password window, without any window: the
// permission string from the ticked catalogue nodes, which nodes a string ticks, saving and
// deleting operators and permission groups, and changing one's own password.
//
// Operators (tablename 'user') and groups (tablename 'team') share tAdmin. Passwords are kept
// only as Argon2id hashes. The last operator who may open the operator window keeps that right.
class OperatorAdmin {
public:
    enum class Outcome {
        Ok,
        DuplicateOperator,
        DuplicateGroup,
        LastAdministrator,
        CurrentOperator,
        NotFound,
        WrongOldPassword,
        PasswordsDiffer,
        Failed
    };

    struct Operator {
        QString name;
        QString password; // as typed; on editing an empty box keeps the stored password
        QString team;
        QString memo;
        QString authority;
    };

    // The action that opens the operator window; someone must always hold it.
    static QString adminAction() { return QStringLiteral("SetUser"); }

    // "|" + catalogue action of every fully ticked node, in the order of the codes given (tree
    // order); heading nodes (empty action) add nothing.
    static QString permissionString(Database& db, const QStringList& checkedCodes);
    // The catalogue codes a permission string ticks: nodes whose action is one whole entry.
    static QStringList tickedCodes(Database& db, const QString& permissionString);

    // Group names for the operator's drop-down list, trimmed, in the order they were entered.
    static QStringList groupNames(Database& db);
    // The permission string of a group (empty when there is no such group).
    static QString groupPermissions(Database& db, const QString& group);

    // Adds (id < 0) or changes the operator row id. Names are trimmed, the password is hashed.
    static Outcome saveOperator(Database& db, qint64 id, const Operator& op, qint64* savedId = nullptr);
    // Adds (id < 0) or changes the group row id.
    static Outcome saveGroup(Database& db, qint64 id, const QString& name, const QString& memo,
                             const QString& authority, qint64* savedId = nullptr);
    // Whether the operator row id may be deleted while currentOperator is logged in.
    static Outcome canDeleteOperator(Database& db, qint64 id, const QString& currentOperator);

    // The checks of the change-password window in their order: the old password, then the
    // repetition. Only operator rows are changed; the new password is kept as typed.
    static Outcome changePassword(Database& db, const QString& name, const QString& oldPassword,
                                  const QString& newPassword, const QString& repeat);

    static QString message(Outcome outcome);

private:
    // Operator rows other than exceptId that hold the administrator action.
    static int otherAdministrators(Database& db, qint64 exceptId);
};
