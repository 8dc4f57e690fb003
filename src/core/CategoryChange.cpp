#include "core/CategoryChange.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Transaction.h"

#include <QObject>

CategoryListTable CategoryListTableOf(const QString& list) {
    const QString l = list.toLower();
    if (l == QLatin1String("medicine"))
        return {QStringLiteral("tMedicine"), QStringLiteral("MedicineType")};
    if (l == QLatin1String("supply"))
        return {QStringLiteral("tSupply"), QStringLiteral("SupplyType")};
    if (l == QLatin1String("custom"))
        return {QStringLiteral("tCustom"), QStringLiteral("CustType")};
    if (l == QLatin1String("employee"))
        return {QStringLiteral("tEmployee"), QStringLiteral("EmployeeType")};
    return {};
}

QVector<qint64> SelectedRowIds(const DataSet& rows) {
    QVector<qint64> ids;
    if (!rows.isOpen() || rows.isEmpty())
        return ids;
    const int id = rows.fieldIndex(QStringLiteral("id"));
    if (id < 0)
        throw DbError(QObject::tr("列表中没有id列"));
    QVector<int> picked;
    for (DataSet::Bookmark b : rows.selectedBookmarks()) {
        const int row = rows.rowOfBookmark(b);
        if (row >= 0 && !picked.contains(row))
            picked << row;
    }
    if (picked.isEmpty() && rows.recNo() >= 0)
        picked << rows.recNo();
    for (int row : picked) {
        const QVariant v = rows.value(row, id);
        if (!v.isNull())
            ids << v.toLongLong();
    }
    return ids;
}

int MoveToCategory(Database& db, const QString& list, const QVector<qint64>& ids, const QString& name,
                   const QString& code) {
    const CategoryListTable t = CategoryListTableOf(list);
    if (t.table.isEmpty())
        throw DbError(QObject::tr("未知的列表：%1").arg(list));
    const QString sql =
        QStringLiteral("UPDATE %1 SET %2 = ?, TypeCode = ? WHERE id = ?").arg(t.table, t.nameColumn);
    int changed = 0;
    Transaction tx(db);
    for (qint64 id : ids)
        changed += db.run(sql, {name.trimmed(), code.trimmed(), id});
    tx.commit();
    return changed;
}
