#include "shell/OperatorAdmin.h"

#include "core/Database.h"
#include "core/DbError.h"
#include "core/PasswordHash.h"
#include "core/Transaction.h"
#include "shell/Permissions.h"

#include <QHash>
#include <QObject>
#include <QSqlQuery>

namespace {

const QString kUser = QStringLiteral("user");
const QString kTeam = QStringLiteral("team");

QHash<QString, QString> catalogueByCode(Database& db) {
    QHash<QString, QString> map;
    QSqlQuery q = db.exec(QStringLiteral("SELECT code, authority FROM tAuthority ORDER BY code"));
    while (q.next())
        map.insert(q.value(0).toString().toLower(), q.value(1).toString().trimmed());
    return map;
}

// True when another row of the same kind already carries the name (letter case ignored, as
// the unique index on tAdmin does).
bool nameTaken(Database& db, const QString& kind, const QString& name, qint64 exceptId) {
    return db
        .scalar(
            QStringLiteral("SELECT id FROM tAdmin WHERE tablename = ? AND username = ? AND id <> ? LIMIT 1"),
            {kind, name, exceptId})
        .isValid();
}

} // namespace

QString OperatorAdmin::permissionString(Database& db, const QStringList& checkedCodes) {
    const QHash<QString, QString> catalogue = catalogueByCode(db);
    QString result;
    for (const QString& code : checkedCodes) {
        const QString action = catalogue.value(code.toLower());
        if (!action.isEmpty())
            result += QLatin1Char('|') + action;
    }
    return result;
}

QStringList OperatorAdmin::tickedCodes(Database& db, const QString& permissionString) {
    QStringList codes;
    QSqlQuery q = db.exec(QStringLiteral("SELECT code, authority FROM tAuthority ORDER BY code"));
    while (q.next()) {
        const QString action = q.value(1).toString().trimmed();
        if (!action.isEmpty() && Permissions::grants(permissionString, action))
            codes << q.value(0).toString();
    }
    return codes;
}

QStringList OperatorAdmin::groupNames(Database& db) {
    QStringList names;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT username FROM tAdmin WHERE tablename = ? ORDER BY id"), {kTeam});
    while (q.next())
        names << q.value(0).toString().trimmed();
    return names;
}

QString OperatorAdmin::groupPermissions(Database& db, const QString& group) {
    const QVariant v = db.scalar(
        QStringLiteral(
            "SELECT authority FROM tAdmin WHERE tablename = ? AND username = ? ORDER BY id LIMIT 1"),
        {kTeam, group.trimmed()});
    return v.isValid() ? v.toString() : QString();
}

int OperatorAdmin::otherAdministrators(Database& db, qint64 exceptId) {
    int count = 0;
    QSqlQuery q = db.exec(QStringLiteral("SELECT authority FROM tAdmin WHERE tablename = ? AND id <> ?"),
                          {kUser, exceptId});
    while (q.next())
        if (Permissions::grants(q.value(0).toString(), adminAction()))
            ++count;
    return count;
}

OperatorAdmin::Outcome OperatorAdmin::saveOperator(Database& db, qint64 id, const Operator& op,
                                                   qint64* savedId) {
    const QString name = op.name.trimmed();
    const QString password = op.password.trimmed();
    try {
        Transaction tx(db);
        if (nameTaken(db, kUser, name, id))
            return Outcome::DuplicateOperator;
        if (id < 0) {
            db.run(QStringLiteral("INSERT INTO tAdmin (tablename, username, password, team, memo, authority) "
                                  "VALUES (?, ?, ?, ?, ?, ?)"),
                   {kUser, name, PasswordHash::hash(password), op.team.trimmed(), op.memo.trimmed(),
                    op.authority});
            id = db.lastInsertId();
        } else {
            const QVariant before = db.scalar(
                QStringLiteral("SELECT authority FROM tAdmin WHERE id = ? AND tablename = ?"), {id, kUser});
            if (!before.isValid())
                return Outcome::NotFound;
            if (Permissions::grants(before.toString(), adminAction()) &&
                !Permissions::grants(op.authority, adminAction()) && otherAdministrators(db, id) == 0)
                return Outcome::LastAdministrator;
            db.run(QStringLiteral(
                       "UPDATE tAdmin SET username = ?, team = ?, memo = ?, authority = ? WHERE id = ?"),
                   {name, op.team.trimmed(), op.memo.trimmed(), op.authority, id});
            if (!password.isEmpty())
                db.run(QStringLiteral("UPDATE tAdmin SET password = ? WHERE id = ?"),
                       {PasswordHash::hash(password), id});
        }
        tx.commit();
    } catch (const DbError&) {
        return Outcome::Failed;
    }
    if (savedId)
        *savedId = id;
    return Outcome::Ok;
}

OperatorAdmin::Outcome OperatorAdmin::saveGroup(Database& db, qint64 id, const QString& name,
                                                const QString& memo, const QString& authority,
                                                qint64* savedId) {
    const QString trimmed = name.trimmed();
    try {
        Transaction tx(db);
        if (nameTaken(db, kTeam, trimmed, id))
            return Outcome::DuplicateGroup;
        if (id < 0) {
            db.run(QStringLiteral(
                       "INSERT INTO tAdmin (tablename, username, memo, authority) VALUES (?, ?, ?, ?)"),
                   {kTeam, trimmed, memo.trimmed(), authority});
            id = db.lastInsertId();
        } else if (db.run(QStringLiteral("UPDATE tAdmin SET username = ?, memo = ?, authority = ? "
                                         "WHERE id = ? AND tablename = ?"),
                          {trimmed, memo.trimmed(), authority, id, kTeam}) == 0) {
            return Outcome::NotFound;
        }
        tx.commit();
    } catch (const DbError&) {
        return Outcome::Failed;
    }
    if (savedId)
        *savedId = id;
    return Outcome::Ok;
}

OperatorAdmin::Outcome OperatorAdmin::canDeleteOperator(Database& db, qint64 id,
                                                        const QString& currentOperator) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT username, authority FROM tAdmin WHERE id = ? AND tablename = ?"), {id, kUser});
    if (!q.next())
        return Outcome::NotFound;
    if (!currentOperator.isEmpty() &&
        q.value(0).toString().compare(currentOperator, Qt::CaseInsensitive) == 0)
        return Outcome::CurrentOperator;
    if (Permissions::grants(q.value(1).toString(), adminAction()) && otherAdministrators(db, id) == 0)
        return Outcome::LastAdministrator;
    return Outcome::Ok;
}

OperatorAdmin::Outcome OperatorAdmin::changePassword(Database& db, const QString& name,
                                                     const QString& oldPassword, const QString& newPassword,
                                                     const QString& repeat) {
    const QVariant stored =
        db.scalar(QStringLiteral(
                      "SELECT password FROM tAdmin WHERE tablename = ? AND username = ? ORDER BY id LIMIT 1"),
                  {kUser, name});
    if (!stored.isValid() || !PasswordHash::verify(stored.toString(), oldPassword))
        return Outcome::WrongOldPassword;
    if (newPassword != repeat)
        return Outcome::PasswordsDiffer;
    try {
        db.run(QStringLiteral("UPDATE tAdmin SET password = ? WHERE tablename = ? AND username = ?"),
               {PasswordHash::hash(newPassword), kUser, name});
    } catch (const DbError&) {
        return Outcome::Failed;
    }
    return Outcome::Ok;
}

QString OperatorAdmin::message(Outcome outcome) {
    switch (outcome) {
    case Outcome::Ok:
        return QString();
    case Outcome::DuplicateOperator:
        return QObject::tr("操作员名称重复，请重新输入！");
    case Outcome::DuplicateGroup:
        return QObject::tr("权限组名称重复，请重新输入！");
    case Outcome::LastAdministrator:
        return QObject::tr("这是最后一个拥有“操作员管理”权限的操作员，不能删除它，也不能取消它的这项权限！");
    case Outcome::CurrentOperator:
        return QObject::tr("不能删除当前登录的操作员！");
    case Outcome::NotFound:
        return QObject::tr("这条记录已不存在，请刷新后重试！");
    case Outcome::WrongOldPassword:
        return QObject::tr("请输入正确的原始密码!");
    case Outcome::PasswordsDiffer:
        return QObject::tr("两次输入的密码不一致，请重新输入!");
    case Outcome::Failed:
        return QObject::tr("保存失败，请联系管理员！");
    }
    return QString();
}
