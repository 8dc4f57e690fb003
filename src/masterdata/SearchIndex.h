#pragma once

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <vector>

class Database;

// The search texts of one master list (schema step 2): every row's text of the columns its grid
// set names, kept by triggers. Input of three characters and more is looked up in the trigram
// index; shorter input scans a copy of the texts held here, read again whenever the table or
// the set changed. Matching is literal and ignores the case of ASCII letters.
class SearchIndex {
public:
    // setName: "Medicine", "Supply", "Custom", "Employee" or "Member".
    explicit SearchIndex(const QString& setName);

    // The text as it is compared: ASCII letters in lower case, control characters dropped.
    static QString fold(const QString& text);
    // Input that the trigram index answers (three characters or more).
    static bool usesIndex(const QString& folded);

    // Rebuilds the texts when the set's fields changed since they were written; returns the
    // texts' change count.
    qint64 ensureCurrent(Database& db);
    // A condition on the column (the table's id) that keeps the rows whose text contains the
    // input, with its bound values. ensureCurrent() is run first.
    QString condition(Database& db, const QString& input, QVariantList* values,
                      const QString& idColumn = QStringLiteral("id"));
    // Ids of the rows whose text contains the input, in id order.
    std::vector<qint64> matchingIds(Database& db, const QString& input);

private:
    QString ftsTable() const { return QStringLiteral("t%1Search").arg(m_set); }
    void loadTexts(Database& db, qint64 version);
    std::vector<qint64> scan(const QString& folded) const;

    QString m_set;
    // The copy of the texts: one pool, each text followed by a record separator.
    std::vector<char16_t> m_pool;
    std::vector<uint32_t> m_start;
    std::vector<qint64> m_ids;
    qint64 m_version = -1;
    QString m_dbPath;
};
