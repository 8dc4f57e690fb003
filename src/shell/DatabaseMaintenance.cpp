#include "shell/DatabaseMaintenance.h"

#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/Schema.h"
#include "core/Transaction.h"
#include "core/UData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>

#include <algorithm>

#include <sqlite3.h>

namespace {

bool sameFile(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The current database's safety copy, beside it, named after the moment of the restore.
QString safetyCopyName(const QString& databasePath) {
    const QFileInfo fi(databasePath);
    return fi.absoluteDir().filePath(
        QStringLiteral("Pelmora_before_restore_%1.db")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
}

} // namespace

QString DatabaseMaintenance::backupFileName(const QString& folder, const QDate& day) {
    return QDir(folder).filePath(QStringLiteral("Pelmora_bak_") + day.toString(QStringLiteral("yyyy-MM-dd")) +
                                 QStringLiteral(".db"));
}

QString DatabaseMaintenance::backup(Database& db, const QString& folder, const QDate& day) {
    if (!db.isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw DbError(QObject::tr("备份文件夹不存在：%1").arg(folder));
    const QString target = backupFileName(folder, day);
    // Read through SQLite, so the copy holds every committed row, also those still in the log.
    LZCopyFile(db.path(), target);
    return target;
}

QString DatabaseMaintenance::checkBackupFile(const QString& path) {
    const QString notOurs = QObject::tr("所选文件不是本程序的数据库,数据未恢复!");
    const QString damaged = QObject::tr("所选文件已损坏,数据未恢复!");
    if (!QFileInfo(path).isFile())
        return QObject::tr("找不到所选文件,数据未恢复!");
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.read(16) != QByteArray("SQLite format 3\0", 16))
        return notOurs;
    f.close();

    sqlite3* h = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &h, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(h);
        return damaged;
    }
    sqlite3_busy_timeout(h, 8000);
    auto single = [h](const char* sql, QString* text) {
        sqlite3_stmt* st = nullptr;
        bool ok = sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW;
        if (ok)
            *text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        return ok;
    };
    QString app, version, integrity;
    QString reason;
    if (!single("PRAGMA application_id", &app) || !single("PRAGMA user_version", &version))
        reason = damaged;
    else if (app.toInt() != Schema::ApplicationId)
        reason = notOurs;
    else if (version.toInt() > Schema::CurrentVersion)
        reason = QObject::tr("所选备份来自更新版本的程序,数据未恢复!");
    else if (!single("PRAGMA integrity_check", &integrity) || integrity != QLatin1String("ok"))
        reason = damaged;
    sqlite3_close(h);
    return reason;
}

bool DatabaseMaintenance::restore(TFrmData& data, const QString& backupFile, QString* error,
                                  QString* safetyCopy) {
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString target = data.databasePath();
    if (sameFile(backupFile, target))
        return fail(QObject::tr("所选文件就是当前使用的数据库,数据未恢复!"));
    const QString reason = checkBackupFile(backupFile);
    if (!reason.isEmpty())
        return fail(reason);

    // The safety copy is taken while the connection is still open, so it holds every row.
    const QString safety = safetyCopyName(target);
    try {
        LZCopyFile(target, safety);
    } catch (const DbError& e) {
        return fail(QObject::tr("无法保存当前数据库的副本,数据未恢复!\n%1").arg(e.message()));
    }
    if (safetyCopy)
        *safetyCopy = safety;

    data.db().close();
    QString copyError;
    try {
        LZCopyFile(backupFile, target);
    } catch (const DbError& e) {
        copyError = e.message();
    }
    if (copyError.isEmpty() && data.reconnect())
        return true;
    // The copy failed (the file is untouched) or the restored file does not open: put the
    // safety copy back before connecting again.
    if (copyError.isEmpty()) {
        data.db().close();
        try {
            LZCopyFile(safety, target);
        } catch (const DbError&) {
        }
        copyError = QObject::tr("恢复的数据库无法打开");
    }
    data.reconnect();
    return fail(QObject::tr("数据恢复失败!\n%1").arg(copyError));
}

bool DatabaseMaintenance::compact(TFrmData& data) {
    data.db().close();
    const bool ok = CompactDbFile(data.databasePath());
    const bool connected = data.reconnect();
    return ok && connected;
}

bool DatabaseMaintenance::CompactDatabase(TFrmData& data) {
    const bool ok = compact(data);
    if (ok)
        MsgInfo(QObject::tr("压缩数据库成功!"));
    else
        MsgWarn(QObject::tr("压缩数据库失败!"));
    return ok;
}

const QVector<DatabaseMaintenance::ClearGroup>& DatabaseMaintenance::clearGroups() {
    auto del = [](const char* table) {
        return Statement{QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)), {}};
    };
    auto types = [](const char* tree) {
        return Statement{QStringLiteral("DELETE FROM tType WHERE tablename = ?"),
                         {QString::fromLatin1(tree)}};
    };
    static const QVector<ClearGroup> groups = {
        {QStringLiteral("CheckBox1"),
         QObject::tr("清空单据"),
         {del("tStock"), del("tOut"), del("tSale"), del("tChailing")}},
        {QStringLiteral("CheckBox2"), QObject::tr("清空财务单据"), {del("tCash"), del("tSK"), del("tFK")}},
        {QStringLiteral("CheckBox3"), QObject::tr("清空药品资料"), {del("tMedicine")}},
        {QStringLiteral("CheckBox4"), QObject::tr("清空药品分类"), {types("medicine")}},
        {QStringLiteral("CheckBox5"), QObject::tr("清空供应商资料"), {del("tSupply")}},
        {QStringLiteral("CheckBox6"), QObject::tr("清空供应商分类"), {types("Supply")}},
        {QStringLiteral("CheckBox7"), QObject::tr("清除员工资料"), {del("tEmployee")}},
        {QStringLiteral("CheckBox8"), QObject::tr("清除员工分类"), {types("employee")}},
    };
    return groups;
}

void DatabaseMaintenance::clearData(Database& db, const QVector<int>& ticked) {
    const QVector<ClearGroup>& groups = clearGroups();
    QVector<int> order = ticked;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    if (order.isEmpty())
        return;
    Transaction t(db);
    for (int i : order) {
        if (i < 0 || i >= groups.size())
            continue;
        for (const Statement& s : groups[i].statements)
            db.run(s.sql, s.values);
    }
    t.commit();
}
