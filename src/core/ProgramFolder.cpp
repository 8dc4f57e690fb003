#include "core/ProgramFolder.h"

#include "core/Database.h"
#include "core/DbError.h"
#include "core/Schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QStandardPaths>

namespace ProgramFolder {

QString resolve(const QString& homeOption, const QString& executableDir) {
    if (!homeOption.isEmpty())
        return QDir(homeOption).absolutePath();
    const QString env = qEnvironmentVariable("PELMORA_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    if (QFileInfo(executableDir).isWritable())
        return QDir(executableDir).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString prepare(const QString& home, bool demo) {
    QDir dir(home);
    if (!dir.mkpath(QStringLiteral(".")))
        return QObject::tr("无法创建程序目录：%1").arg(home);
    // Shipped files under :/home are copied where the folder lacks them; the user's own
    // changes (an edited start page, saved templates) are kept.
    QDirIterator it(QStringLiteral(":/home"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = src.mid(QStringLiteral(":/home/").size());
        const QString dst = dir.filePath(rel);
        if (QFileInfo::exists(dst))
            continue;
        dir.mkpath(QFileInfo(rel).path());
        if (QFile::copy(src, dst))
            QFile::setPermissions(dst, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    for (const char* sub : {"Reports", "Doc", "nav", "IMG"})
        dir.mkpath(QString::fromLatin1(sub));
    if (dir.exists(QStringLiteral("DataBase")))
        return QString();
    if (!dir.mkpath(QStringLiteral("DataBase")))
        return QObject::tr("无法创建数据库目录：%1").arg(dir.filePath(QStringLiteral("DataBase")));
    const QString path = dir.filePath(QStringLiteral("DataBase/Pelmora.db"));
    try {
        Database db;
        db.create(path);
        Schema::createNew(db, demo);
        db.close();
    } catch (const DbError& e) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        dir.rmdir(QStringLiteral("DataBase"));
        return QObject::tr("无法创建数据库：%1").arg(e.message());
    }
    return QString();
}

} // namespace ProgramFolder
