#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QHash>

// The one connection of the process to the SQLite file. All statements take bound values;
// errors are thrown as DbError. SQLite specifics (PRAGMAs, VACUUM) stay in this class.
class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file (never creates one); throws DbError when it cannot be read.
    void open(const QString& path);
    // Creates a new file (the folder must exist); throws when the file already exists.
    void create(const QString& path);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QSqlDatabase handle() const { return m_db; }

    // Prepares and runs a statement with positional (?) values; returns the active query.
    QSqlQuery exec(const QString& sql, const QVariantList& values = {});
    // Runs a statement and returns the number of rows it changed.
    int run(const QString& sql, const QVariantList& values = {});
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    // Runs a script of statements separated by ";" at line ends (schema files).
    void runScript(const QString& script);
    qint64 lastInsertId();

    // Column names of a table or view as the database declares them (cached).
    QStringList columns(const QString& table);
    bool hasColumn(const QString& table, const QString& column);
    bool hasTable(const QString& table);
    void clearColumnCache() { m_columns.clear(); }

    // A consistent copy of the open database into a new file (VACUUM INTO).
    void copyTo(const QString& destination);

    // The program's connection, used by the shared routines (set by the data module).
    static Database* current() { return s_current; }
    static void setCurrent(Database* db) { s_current = db; }

private:
    void openConnection(const QString& path, bool create);

    QSqlDatabase m_db;
    QString m_name;
    QString m_path;
    QHash<QString, QStringList> m_columns;
    static Database* s_current;
};
