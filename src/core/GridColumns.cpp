#include "core/GridColumns.h"

#include "core/DataSet.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/Transaction.h"

#include <QObject>
#include <QSqlQuery>

namespace {

Database& db() {
    Database* d = Database::current();
    if (!d || !d->isOpen())
        throw DbError(QObject::tr("数据库未连接"));
    return *d;
}

// The dataset's own spelling of a field that may be used in a sort text, or an empty text.
QString sortField(const QString& name, const DataSet& dataSet) {
    const QString field = name.trimmed();
    if (!IsIdentifier(field))
        return QString();
    const int index = dataSet.fieldIndex(field);
    return index < 0 ? QString() : dataSet.fieldName(index);
}

QStringList captions(const QString& setName, bool shown) {
    QSqlQuery q = db().exec(QStringLiteral("SELECT Name FROM tFieldShow WHERE show = ? AND showmoney = 0 "
                                           "AND TableName = ? ORDER BY id"),
                            {shown ? 1 : 0, setName});
    QStringList l;
    while (q.next())
        l << q.value(0).toString();
    return l;
}

} // namespace

QString GridColumn::format() const {
    return DecimalFormat(decimals);
}

QString DecimalFormat(int decimals) {
    if (decimals == 0)
        return QStringLiteral("0");
    if (decimals >= 1 && decimals <= 10)
        return QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
    return QString();
}

int DecimalsOfFormat(const QString& format) {
    for (int n = 0; n <= 10; ++n)
        if (format == DecimalFormat(n))
            return n;
    return -1;
}

int DotSizeDecimals(int dotSize) {
    int n = -1;
    switch (dotSize) {
    case 1:
        n = g_decimals.price;
        break;
    case 2:
        n = g_decimals.number;
        break;
    case 3:
        n = g_decimals.money;
        break;
    default:
        return -1;
    }
    return n >= 0 && n <= 10 ? n : -1;
}

QVector<GridColumn> ReadGridColumns(const QString& setName) {
    QSqlQuery q =
        db().exec(QStringLiteral("SELECT Field, Name, Width, SumField, ShowButton, DotSize, ReadOnly "
                                 "FROM tFieldShow WHERE show <> 0 AND TableName = ? "
                                 "ORDER BY ShowID, id LIMIT ?"),
                  {setName, MaxGridColumns});
    QVector<GridColumn> columns;
    while (q.next()) {
        GridColumn c;
        c.field = q.value(0).toString().trimmed();
        c.caption = q.value(1).toString();
        c.width = q.value(2).isNull() ? 80 : q.value(2).toInt();
        c.sum = q.value(3).toInt() == 1;
        c.button = q.value(4).toInt() == 1;
        c.decimals = DotSizeDecimals(q.value(5).toInt());
        c.readOnly = q.value(6).toInt() == 1;
        columns << c;
    }
    return columns;
}

bool SaveGridColumns(const QString& setName, const QVector<ColumnLayout>& columns, bool showMessage) {
    if (columns.size() < 2)
        return false;
    Database& d = db();
    {
        Transaction t(d);
        for (int i = 0; i < columns.size(); ++i)
            d.run(QStringLiteral(
                      "UPDATE tFieldShow SET ShowID = ?, Width = ? WHERE TableName = ? AND Field = ?"),
                  {i, columns[i].width, setName, columns[i].field});
        t.commit();
    }
    if (showMessage)
        MsgBox(QObject::tr("列属性已成功保存!"), Msg::Ok | Msg::IconQuestion, QObject::tr("提示"));
    return true;
}

QString SortTextFromMarkers(const QVector<SortMarker>& markers, const DataSet& dataSet) {
    QString text;
    for (const SortMarker& m : markers) {
        const QString field = sortField(m.field, dataSet);
        if (field.isEmpty())
            continue;
        text += m.descending ? field + QStringLiteral(" DESC , ") : field + QStringLiteral(", ");
    }
    if (text.isEmpty())
        return QString();
    text.chop(2);
    return QStringLiteral("  ") + text;
}

QVector<SortMarker> MarkersFromSortText(const QString& sortText, const DataSet& dataSet) {
    QVector<SortMarker> markers;
    const QStringList pieces = sortText.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& piece : pieces) {
        const QStringList words = piece.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        const QString field = sortField(words.first(), dataSet);
        if (field.isEmpty())
            continue;
        const bool desc =
            words.size() > 1 && words.last().compare(QStringLiteral("DESC"), Qt::CaseInsensitive) == 0;
        markers.push_back({field, desc});
    }
    return markers;
}

void SortByMarkers(DataSet& dataSet, const QVector<SortMarker>& markers) {
    if (dataSet.isOpen())
        dataSet.setSort(SortTextFromMarkers(markers, dataSet));
}

QVector<SortMarker> ToggleSortMarker(const QVector<SortMarker>& markers, const QString& field) {
    QVector<SortMarker> result = markers;
    for (int i = 0; i < result.size(); ++i) {
        if (result[i].field.compare(field, Qt::CaseInsensitive) != 0)
            continue;
        if (result[i].descending)
            result.remove(i);
        else
            result[i].descending = true;
        return result;
    }
    result.push_back({field, false});
    return result;
}

ColumnChoice ReadColumnChoice(const QString& setName) {
    ColumnChoice c;
    c.hidden = captions(setName, false);
    c.shown = captions(setName, true);
    return c;
}

bool MoveColumnEntry(QStringList& from, QStringList& to, int index) {
    if (index < 0 || index >= from.size())
        return false;
    to << from.takeAt(index);
    return true;
}

void MoveAllColumnEntries(QStringList& from, QStringList& to) {
    to << from;
    from.clear();
}

void StoreColumnChoice(const QString& setName, const ColumnChoice& choice) {
    Database& d = db();
    Transaction t(d);
    const QString sql =
        QStringLiteral("UPDATE tFieldShow SET show = ? WHERE trim(Name) = ? AND TableName = ? "
                       "AND showmoney = 0");
    for (const QString& name : choice.hidden)
        d.run(sql, {0, name.trimmed(), setName});
    for (const QString& name : choice.shown)
        d.run(sql, {1, name.trimmed(), setName});
    t.commit();
}
