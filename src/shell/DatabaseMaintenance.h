#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class Database;
class TFrmData;

// Work on the database file itself: dated backups, restoring a backup, compaction and the
// initialisation that empties chosen groups of tables. No windows; the maintenance windows and
// commands call these and show what they return.
class DatabaseMaintenance {
public:
    // One statement of an initialisation group.
    struct Statement {
        QString sql;
        QVariantList values;
    };
    // A check box of the initialisation window and the statements it stands for.
    struct ClearGroup {
        QString objectName;
        QString caption;
        QVector<Statement> statements;
    };

    // folder/Pelmora_bak_yyyy-MM-dd.db
    static QString backupFileName(const QString& folder, const QDate& day = QDate::currentDate());
    // A consistent copy of the open database to backupFileName(folder, day), replacing a file of
    // that name only once the copy has been written and checked. Returns the file name; throws
    // DbError on failure.
    static QString backup(Database& db, const QString& folder, const QDate& day = QDate::currentDate());

    // Empty when the file is a whole Pelmora database this program can open, else the reason
    // (in the user's language) why it cannot be restored.
    static QString checkBackupFile(const QString& path);
    // Replaces the data module's database by the backup file. The file is checked before
    // anything is touched; the current database is kept beside it as a safety copy
    // (safetyCopy receives its name). On failure the database stays as it was, the connection
    // is open again and error receives the reason.
    static bool restore(TFrmData& data, const QString& backupFile, QString* error = nullptr,
                        QString* safetyCopy = nullptr);
    // Closes the connection, compacts the file and reopens it; false when the compaction failed
    // (the file is then as it was).
    static bool compact(TFrmData& data);
    // compact() with its message, "压缩数据库成功!" or "压缩数据库失败!".
    static bool CompactDatabase(TFrmData& data);

    // The initialisation groups in the order of their check boxes.
    static const QVector<ClearGroup>& clearGroups();
    // Runs the statements of the ticked groups (indexes into clearGroups()) in one transaction:
    // all of them or, on an error (thrown as DbError), none.
    static void clearData(Database& db, const QVector<int>& ticked);
};
