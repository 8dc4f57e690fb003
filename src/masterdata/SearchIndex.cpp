#include "masterdata/SearchIndex.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Transaction.h"

#include <QSqlQuery>
#include <QStringView>

#include <algorithm>
#include <charconv>

namespace {

constexpr char16_t RecordEnd = 0x1E;

} // namespace

SearchIndex::SearchIndex(const MasterTable& table) : m_table(table) {
    // The set name becomes part of table names, so only the known lists are accepted.
    if (MasterTable::bySet(table.setName) != &table)
        throw DbError(QObject::tr("没有这个列表的查询索引：%1").arg(table.setName));
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
    // Trigrams count code points, not UTF-16 units.
    int points = 0;
    for (int i = 0; i < folded.size() && points < 3; ++i, ++points)
        if (folded[i].isHighSurrogate() && i + 1 < folded.size() && folded[i + 1].isLowSurrogate())
            ++i;
    return points >= 3;
}

qint64 SearchIndex::ensureCurrent(Database& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT stale, version FROM tSearchState WHERE tablename = ?"),
                          {m_table.setName});
    if (!q.next())
        throw DbError(QObject::tr("数据库缺少查询索引，请升级数据库"));
    const bool stale = q.value(0).toInt() != 0;
    const qint64 version = q.value(1).toLongLong();
    q.finish();
    if (!stale)
        return version;
    Transaction t(db);
    db.run(QStringLiteral("DELETE FROM %1").arg(ftsTable()));
    db.run(QStringLiteral("INSERT INTO %1 (rowid, body) SELECT id, body FROM v%2Search")
               .arg(ftsTable(), m_table.setName));
    db.run(QStringLiteral("UPDATE tSearchState SET stale = 0, version = version + 1 WHERE tablename = ?"),
           {m_table.setName});
    t.commit();
    return version + 1;
}

SearchIndex::Lookup SearchIndex::find(Database& db, const QString& input, const QString& category) {
    const qint64 version = ensureCurrent(db);
    const QString folded = fold(input);
    Lookup r;
    r.version = version;
    if (usesIndex(folded)) {
        // A phrase of the trigram index is a substring; inside the quotes only '"' is special.
        QString phrase = folded;
        phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        phrase = QStringLiteral("\"%1\"").arg(phrase);
        const int hits =
            db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM %1 WHERE %1 MATCH ? LIMIT %2)")
                          .arg(ftsTable())
                          .arg(IndexRowLimit),
                      {phrase})
                .toInt();
        if (hits < IndexRowLimit) {
            r.condition = QStringLiteral("id IN (SELECT rowid FROM %1 WHERE %1 MATCH ?)").arg(ftsTable());
            r.values << phrase;
            return r;
        }
    }
    if (version != m_version || db.path() != m_dbPath)
        loadTexts(db, version);
    r.scanned = true;
    QVector<qint64> others;
    r.ids = scan(folded, category, &others);
    // The shorter of the two lists goes into the statement: the rows found, or the rows of the
    // category that were not.
    const bool few = r.ids.size() <= others.size();
    r.condition = few ? QStringLiteral("id IN (SELECT value FROM json_each(?))")
                      : QStringLiteral("id NOT IN (SELECT value FROM json_each(?))");
    r.values << idList(few ? r.ids : others);
    return r;
}

void SearchIndex::loadTexts(Database& db, qint64 version) {
    m_pool.clear();
    m_start.clear();
    m_ids.clear();
    m_types.clear();
    DataSet rows(&db);
    rows.open(QStringLiteral("SELECT r.id, s.body, %1 FROM %2 r JOIN %3 s ON s.rowid = r.id ORDER BY r.%4")
                  .arg(m_table.hasCategories() ? QStringLiteral("r.TypeCode") : QStringLiteral("''"),
                       m_table.table, ftsTable(), m_table.orderColumn));
    const int n = rows.recordCount();
    m_ids.reserve(size_t(n));
    m_start.reserve(size_t(n));
    m_types.reserve(size_t(n));
    for (int row = 0; row < n; ++row) {
        m_ids.push_back(rows.value(row, 0).toLongLong());
        m_start.push_back(uint32_t(m_pool.size()));
        const QString body = rows.text(row, 1);
        const auto* p = reinterpret_cast<const char16_t*>(body.utf16());
        m_pool.insert(m_pool.end(), p, p + body.size());
        m_pool.push_back(RecordEnd);
        m_types.push_back(rows.text(row, 2));
    }
    m_version = version;
    m_dbPath = db.path();
}

QVector<qint64> SearchIndex::scan(const QString& folded, const QString& category,
                                  QVector<qint64>* others) const {
    QVector<qint64> found;
    auto inCategory = [&](size_t row) {
        return category.isEmpty() || m_types[row].startsWith(category, Qt::CaseInsensitive);
    };
    // Rows from next up to (not including) end hold no match.
    size_t next = 0;
    auto skipTo = [&](size_t end) {
        for (; next < end; ++next)
            if (inCategory(next))
                others->push_back(m_ids[next]);
    };
    const QStringView pool(reinterpret_cast<const QChar*>(m_pool.data()), qsizetype(m_pool.size()));
    qsizetype from = 0;
    while (!folded.isEmpty()) {
        const qsizetype at = pool.indexOf(folded, from);
        if (at < 0)
            break;
        // The row whose text holds the match (often the next one); the search goes on after
        // that row's text.
        size_t row = next;
        if (row + 1 < m_start.size() && m_start[row + 1] <= uint32_t(at))
            row = size_t(std::upper_bound(m_start.begin() + qsizetype(next), m_start.end(), uint32_t(at)) -
                         m_start.begin()) -
                  1;
        skipTo(row);
        if (inCategory(row))
            found.push_back(m_ids[row]);
        next = row + 1;
        from = next < m_start.size() ? qsizetype(m_start[next]) : pool.size();
    }
    if (folded.isEmpty()) {
        for (; next < m_ids.size(); ++next)
            if (inCategory(next))
                found.push_back(m_ids[next]);
    }
    skipTo(m_ids.size());
    return found;
}

QString SearchIndex::idList(const QVector<qint64>& ids) {
    QByteArray text;
    text.reserve(int(ids.size()) * 8 + 2);
    text += '[';
    char digits[24];
    for (int i = 0; i < ids.size(); ++i) {
        if (i)
            text += ',';
        const auto end = std::to_chars(digits, digits + sizeof digits, ids[i]).ptr;
        text.append(digits, int(end - digits));
    }
    text += ']';
    return QString::fromLatin1(text);
}
