#include "masterdata/MasterSearch.h"

#include "core/CategoryCodes.h"
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Routines.h"

MasterSearch::MasterSearch(const MasterTable& table) : m_table(table), m_index(table.setName) {}

void MasterSearch::openAll(DataSet& list) {
    OpenSQL(list, m_table.openStatement());
    m_searched = false;
}

QString MasterSearch::categoryOfCaption(const QString& caption) {
    const int dash = caption.indexOf(QLatin1Char('-'));
    return (dash < 0 ? caption : caption.left(dash)).trimmed();
}

void MasterSearch::run(DataSet& list) {
    Database* db = list.database();
    if (!db)
        throw DbError(QObject::tr("数据库未连接"));
    QString sql = QStringLiteral("select * from %1 where 1=1").arg(m_table.table);
    QVariantList values;
    if (!m_text.isEmpty())
        sql += QStringLiteral(" and ") + m_index.condition(*db, m_text, &values);
    if (m_table.hasCategories()) {
        const SqlCondition filter = CategoryFilter(m_category, true);
        sql += filter.sql;
        values += filter.values;
    }
    sql += QStringLiteral(" order by %1").arg(m_table.orderColumn);
    OpenSQL(list, sql, values);
    m_searched = true;
}

void MasterSearch::reload(DataSet& list) {
    const QVariant id = list.isOpen() ? list.value(QStringLiteral("id")) : QVariant();
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
