#pragma once

#include "masterdata/MasterTable.h"
#include "masterdata/SearchIndex.h"

#include <QString>
#include <QVariantList>
#include <QVector>

class DataSet;
class Database;

// The rows a master list shows: the whole table in entry order when it opens, then the rows
// whose listed columns contain the search text, within the chosen category and its
// sub-categories, in the table's order column. Reloading runs the same selection again.
class MasterSearch {
public:
    explicit MasterSearch(const MasterTable& table);

    const MasterTable& table() const { return m_table; }

    // "select 1,* from <table> order by id".
    void openAll(DataSet& list);

    void setText(const QString& text) { m_text = text; }
    QString text() const { return m_text; }
    // A category code; empty for every category.
    void setCategory(const QString& code) { m_category = code; }
    QString category() const { return m_category; }
    // The code in front of the first "-" of a tree caption ("01-西药" gives "01").
    static QString categoryOfCaption(const QString& caption);

    // Loads the rows matching the text and the category.
    void run(DataSet& list);
    // The ids of those rows, in the list's order (what the search finds, without loading the
    // rows).
    QVector<qint64> matchingIds(Database& db);
    // The list's selection again (the whole table before the first search), with the current
    // row kept where it still exists.
    void reload(DataSet& list);

private:
    // "select <columns> from <table> where ..." with its bound values.
    QString statement(Database& db, const QString& columns, QVariantList* values,
                      SearchIndex::Lookup* lookup);

    const MasterTable& m_table;
    SearchIndex m_index;
    QString m_text;
    QString m_category;
    bool m_searched = false;
    // What the last search loaded from the copy of the texts, at which change count.
    QVector<qint64> m_loadedIds;
    qint64 m_loadedVersion = -1;
};
