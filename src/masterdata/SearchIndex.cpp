#include "masterdata/SearchIndex.h"

#include "core/Database.h"
#include "core/DbError.h"
#include "core/Transaction.h"

#include <QSqlQuery>
#include <QStringView>

#include <algorithm>

namespace {

constexpr char16_t RecordEnd = 0x1E;

bool knownSet(const QString& set) {
    for (const char* s : {"Medicine", "Supply", "Custom", "Employee", "Member"})
        if (set == QLatin1String(s))
            return true;
    return false;
}

} // namespace

SearchIndex::SearchIndex(const QString& setName) : m_set(setName) {
    // The set name becomes part of table names, so only the known sets are accepted.
    if (!knownSet(m_set))
        throw DbError(QObject::tr("没有这个列表的查询索引：%1").arg(setName));
}

QString SearchIndex::fold(const QString& text) {
    QString r;
    r.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            continue;
        r += (u >= 'A' && u <= 'Z') ? QChar(char16_t(u + 32)) : c;
    }
    return r;
}

bool SearchIndex::usesIndex(const QString& folded) {
    // The trigram tokens count code points, not UTF-16 units.
    int points = 0;
    for (int i = 0; i < folded.size() && points < 3; ++i, ++points)
        if (folded[i].isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate())
            ++i;
    return points >= 3;
}

qint64 SearchIndex::ensureCurrent(Database& db) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT stale, version FROM tSearchState WHERE tablename = ?"), {m_set});
    if (!q.next())
        throw DbError(QObject::tr("数据库缺少查询索引，请升级数据库"));
    const bool stale = q.value(0).toInt() != 0;
    const qint64 version = q.value(1).toLongLong();
    q.finish();
    if (!stale)
        return version;
    Transaction t(db);
    db.run(QStringLiteral("DELETE FROM %1").arg(ftsTable()));
    db.run(
        QStringLiteral("INSERT INTO %1 (rowid, body) SELECT id, body FROM v%2Search").arg(ftsTable(), m_set));
    db.run(QStringLiteral("UPDATE tSearchState SET stale = 0, version = version + 1 WHERE tablename = ?"),
           {m_set});
    t.commit();
    return db.scalar(QStringLiteral("SELECT version FROM tSearchState WHERE tablename = ?"), {m_set})
        .toLongLong();
}

QString SearchIndex::condition(Database& db, const QString& input, QVariantList* values,
                               const QString& idColumn) {
    const qint64 version = ensureCurrent(db);
    const QString folded = fold(input);
    if (usesIndex(folded)) {
        // A phrase of the trigram index is a substring; inside the quotes only '"' is special.
        QString phrase = folded;
        phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        *values << QStringLiteral("\"%1\"").arg(phrase);
        return QStringLiteral("%2 IN (SELECT rowid FROM %1 WHERE %1 MATCH ?)").arg(ftsTable(), idColumn);
    }
    if (version != m_version || db.path() != m_dbPath)
        loadTexts(db, version);
    const std::vector<qint64> ids = scan(folded);
    QString list;
    list.reserve(int(ids.size()) * 7 + 2);
    list += QLatin1Char('[');
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i)
            list += QLatin1Char(',');
        list += QString::number(ids[i]);
    }
    list += QLatin1Char(']');
    *values << list;
    return QStringLiteral("%1 IN (SELECT value FROM json_each(?))").arg(idColumn);
}

std::vector<qint64> SearchIndex::matchingIds(Database& db, const QString& input) {
    QVariantList values;
    const QString cond = condition(db, input, &values, QStringLiteral("rowid"));
    std::vector<qint64> ids;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY rowid").arg(ftsTable(), cond), values);
    while (q.next())
        ids.push_back(q.value(0).toLongLong());
    return ids;
}

void SearchIndex::loadTexts(Database& db, qint64 version) {
    m_pool.clear();
    m_start.clear();
    m_ids.clear();
    QSqlQuery q = db.exec(QStringLiteral("SELECT rowid, body FROM %1 ORDER BY rowid").arg(ftsTable()));
    while (q.next()) {
        m_ids.push_back(q.value(0).toLongLong());
        m_start.push_back(uint32_t(m_pool.size()));
        const QString body = q.value(1).toString();
        const auto* p = reinterpret_cast<const char16_t*>(body.utf16());
        m_pool.insert(m_pool.end(), p, p + body.size());
        m_pool.push_back(RecordEnd);
    }
    m_version = version;
    m_dbPath = db.path();
}

std::vector<qint64> SearchIndex::scan(const QString& folded) const {
    std::vector<qint64> found;
    if (folded.isEmpty()) {
        found = m_ids;
        return found;
    }
    const QStringView pool(reinterpret_cast<const QChar*>(m_pool.data()), qsizetype(m_pool.size()));
    qsizetype from = 0;
    while (true) {
        const qsizetype at = pool.indexOf(folded, from);
        if (at < 0)
            break;
        // The row whose text holds the match; then go on after that row's text.
        const auto it = std::upper_bound(m_start.begin(), m_start.end(), uint32_t(at));
        const size_t row = size_t(it - m_start.begin()) - 1;
        found.push_back(m_ids[row]);
        from = row + 1 < m_start.size() ? qsizetype(m_start[row + 1]) : pool.size();
    }
    return found;
}
