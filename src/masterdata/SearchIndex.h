#pragma once

#include "masterdata/MasterTable.h"

#include <QString>
#include <QVariantList>
#include <QVector>

#include <cstdint>
#include <vector>

class Database;

// The search texts of one master list (schema step 2): every row's text of the columns its grid
// set names, kept in step with the rows and the set by triggers. Matching is literal and
// ignores the case of ASCII letters.
//
// Input of three characters and more that few rows contain is looked up in the trigram index.
// Shorter input, and input that many rows contain, is scanned in a copy of the texts held
// here in the list's order (with each row's category), read again whenever the table changed;
// the scan costs the same whatever it finds, where the index costs by the rows it returns.
class SearchIndex {
public:
    explicit SearchIndex(const MasterTable& table);

    // The text as it is compared: ASCII letters in lower case, control characters dropped.
    static QString fold(const QString& text);
    // Input that the trigram index can answer (three characters or more).
    static bool usesIndex(const QString& folded);
    // Up to this many rows the index answers; beyond it the copy is scanned.
    static constexpr int IndexRowLimit = 2000;

    // Rebuilds the texts when the set's fields changed since they were written; returns the
    // table's change count.
    qint64 ensureCurrent(Database& db);

    // The rows whose text contains input and that lie in category (with its sub-categories;
    // empty: all): a condition on the table's id with its values, and, when they were found in
    // the copy, their ids in the list's order.
    struct Lookup {
        QString condition;
        QVariantList values;
        bool scanned = false;
        QVector<qint64> ids;
        qint64 version = -1; // the table's change count the lookup saw
    };
    Lookup find(Database& db, const QString& input, const QString& category);

private:
    QString ftsTable() const { return QStringLiteral("t%1Search").arg(m_table.setName); }
    void loadTexts(Database& db, qint64 version);
    // The rows of the category whose text holds folded, in the list's order; the others of
    // the category go to others.
    QVector<qint64> scan(const QString& folded, const QString& category, QVector<qint64>* others) const;
    // A JSON array of ids for json_each().
    static QString idList(const QVector<qint64>& ids);

    const MasterTable& m_table;
    // The copy of the texts in the list's order: one pool, each text followed by a record
    // separator; each row's id and category code.
    std::vector<char16_t> m_pool;
    std::vector<uint32_t> m_start;
    std::vector<qint64> m_ids;
    std::vector<QString> m_types;
    qint64 m_version = -1;
    QString m_dbPath;
};
