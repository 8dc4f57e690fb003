#include "shell/LoginLogic.h"

#include "core/Database.h"
#include "core/PasswordHash.h"

#include <QObject>
#include <QSqlQuery>

QStringList LoginLogic::operators(Database& db) {
    QStringList names;
    QSqlQuery q = db.exec(QStringLiteral("SELECT username FROM tAdmin WHERE tablename = 'user' ORDER BY id"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

LoginLogic::Result LoginLogic::check(Database& db, const QString& name, const QString& password) {
    if (name.trimmed().isEmpty())
        return Result::EmptyName;
    const QVariant stored =
        db.scalar(QStringLiteral("SELECT password FROM tAdmin WHERE tablename = 'user' AND username = ? ORDER BY id LIMIT 1"),
                  {name});
    if (!stored.isValid())
        return Result::UnknownName;
    if (PasswordHash::verify(stored.toString(), password))
        return Result::Ok;
    return password.isEmpty() ? Result::EmptyPassword : Result::WrongPassword;
}

QString LoginLogic::message(Result r) {
    switch (r) {
    case Result::Ok:
        return QString();
    case Result::EmptyName:
        return QObject::tr("请选择一个用户名！");
    case Result::EmptyPassword:
        return QObject::tr("请输入密码！");
    case Result::WrongPassword:
        return QObject::tr("密码错误，请重新输入密码！");
    case Result::UnknownName:
        return QObject::tr("没有这个操作员，请从列表中选择或重新输入用户名！");
    }
    return QString();
}
