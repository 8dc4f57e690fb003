#include "core/Database.h"

#include "core/DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

Database* Database::s_current = nullptr;

namespace {

QString errorText(const QSqlError& e) {
    QString t = e.databaseText();
    if (t.isEmpty())
        t = e.text();
    return t;
}

} // namespace

Database::Database() : m_name(QStringLiteral("pelmora-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {}

Database::~Database() {
    close();
    if (s_current == this)
        s_current = nullptr;
}

void Database::open(const QString& path) {
    const QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile())
        throw DbError(QObject::tr("数据库文件不存在：%1").arg(path));
    if (!fi.isReadable())
        throw DbError(QObject::tr("数据库文件无法读取：%1").arg(path));
    openConnection(path, false);
}

void Database::create(const QString& path) {
    if (QFileInfo::exists(path))
        throw DbError(QObject::tr("数据库文件已存在：%1").arg(path));
    openConnection(path, true);
}

void Database::openConnection(const QString& path, bool create) {
    close();
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(path);
    m_db.setConnectOptions(create ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=8000")
                                  : QStringLiteral("QSQLITE_BUSY_TIMEOUT=8000"));
    if (!m_db.open()) {
        const QString msg = errorText(m_db.lastError());
        close();
        throw DbError(QObject::tr("无法打开数据库：%1").arg(msg));
    }
    m_path = path;
    try {
        // A file that is not a database fails on its first read.
        if (!create)
            scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        run(QStringLiteral("PRAGMA synchronous=FULL"));
        run(QStringLiteral("PRAGMA foreign_keys=ON"));
        run(QStringLiteral("PRAGMA busy_timeout=8000"));
    } catch (const DbError&) {
        close();
        throw;
    }
}

void Database::close() {
    m_columns.clear();
    if (m_db.isValid()) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    m_path.clear();
}

bool Database::isOpen() const { return m_db.isValid() && m_db.isOpen(); }

QSqlQuery Database::exec(const QString& sql, const QVariantList& values) {
    if (!isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    QSqlQuery q(m_db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(errorText(q.lastError()) + QStringLiteral("\n") + sql);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec())
        throw DbError(errorText(q.lastError()));
    return q;
}

int Database::run(const QString& sql, const QVariantList& values) {
    QSqlQuery q = exec(sql, values);
    return q.numRowsAffected();
}

QVariant Database::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery q = exec(sql, values);
    if (q.next())
        return q.value(0);
    return QVariant();
}

void Database::runScript(const QString& script) {
    // Statements end with ";" at the end of a line; trigger bodies keep their inner ";" by
    // ending their lines differently (";" followed by a comment or inside BEGIN ... END;).
    QString statement;
    int depth = 0;
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QStringLiteral("--")) || line.isEmpty())
            continue;
        statement += raw + QLatin1Char('\n');
        const QString upper = line.toUpper();
        if (upper.endsWith(QStringLiteral(" BEGIN")) || upper == QStringLiteral("BEGIN"))
            ++depth;
        if (upper.startsWith(QStringLiteral("END")) && depth > 0)
            --depth;
        if (depth == 0 && line.endsWith(QLatin1Char(';'))) {
            run(statement);
            statement.clear();
        }
    }
    if (!statement.trimmed().isEmpty())
        run(statement);
}

qint64 Database::lastInsertId() { return scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong(); }

QStringList Database::columns(const QString& table) {
    const QString key = table.toLower();
    auto it = m_columns.constFind(key);
    if (it != m_columns.constEnd())
        return it.value();
    QStringList names;
    QSqlQuery q = exec(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
    while (q.next())
        names << q.value(0).toString();
    if (!names.isEmpty())
        m_columns.insert(key, names);
    return names;
}

bool Database::hasColumn(const QString& table, const QString& column) {
    const QStringList cols = columns(table);
    for (const QString& c : cols)
        if (c.compare(column, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool Database::hasTable(const QString& table) { return !columns(table).isEmpty(); }

void Database::copyTo(const QString& destination) {
    if (QFileInfo::exists(destination))
        QFile::remove(destination);
    run(QStringLiteral("VACUUM INTO ?"), {destination});
}
