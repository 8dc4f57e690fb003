#include "masterdata/MasterSearch.h"

#include "core/CategoryCodes.h"
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Routines.h"

#include <QSqlQuery>

MasterSearch::MasterSearch(const MasterTable& table) : m_table(table), m_index(table) {}

void MasterSearch::openAll(DataSet& list) {
    OpenSQL(list, m_table.openStatement());
    m_searched = false;
    m_loadedVersion = -1;
}

QString MasterSearch::categoryOfCaption(const QString& caption) {
    const int dash = caption.indexOf(QLatin1Char('-'));
    return (dash < 0 ? caption : caption.left(dash)).trimmed();
}

QString MasterSearch::statement(Database& db, const QString& columns, QVariantList* values,
                                SearchIndex::Lookup* lookup) {
    QString sql = QStringLiteral("select %1 from %2 where 1=1").arg(columns, m_table.table);
    const QString category = m_table.hasCategories() ? m_category.trimmed() : QString();
    if (!m_text.isEmpty()) {
        *lookup = m_index.find(db, m_text, category);
        sql += QStringLiteral(" and ") + lookup->condition;
        *values += lookup->values;
    }
    if (m_table.hasCategories()) {
        const SqlCondition filter = CategoryFilter(m_category, true);
        sql += filter.sql;
        *values += filter.values;
    }
    return sql + QStringLiteral(" order by %1").arg(m_table.orderColumn);
}

void MasterSearch::run(DataSet& list) {
    Database* db = list.database();
    if (!db)
        throw DbError(QObject::tr("数据库未连接"));
    QVariantList values;
    SearchIndex::Lookup lookup;
    const QString sql = statement(*db, QStringLiteral("*"), &values, &lookup);
    // Rows found in the copy of the texts, all of them already in the list as it was loaded
    // with no change to the table since: the list stays as it is (typing on in a search that
    // matches many rows reads them only once).
    if (lookup.scanned && list.isOpen() && list.sql() == sql && m_loadedVersion == lookup.version &&
        m_loadedIds == lookup.ids)
        return;
    OpenSQL(list, sql, values);
    m_searched = true;
    m_loadedVersion = lookup.scanned ? lookup.version : -1;
    m_loadedIds = lookup.ids;
}

QVector<qint64> MasterSearch::matchingIds(Database& db) {
    QVariantList values;
    SearchIndex::Lookup lookup;
    const QString sql = statement(db, QStringLiteral("id"), &values, &lookup);
    if (lookup.scanned)
        return lookup.ids;
    QSqlQuery q = db.exec(sql, values);
    QVector<qint64> ids;
    while (q.next())
        ids << q.value(0).toLongLong();
    return ids;
}

void MasterSearch::reload(DataSet& list) {
    const QVariant id = list.isOpen() ? list.value(QStringLiteral("id")) : QVariant();
    m_loadedVersion = -1; // read the rows again
    if (m_searched)
        run(list);
    else
        openAll(list);
    if (id.isNull())
        return;
    const int field = list.fieldIndex(QStringLiteral("id"));
    for (int row = 0; row < list.recordCount(); ++row) {
        if (list.value(row, field) == id) {
            list.setRecNo(row);
            break;
        }
    }
}
