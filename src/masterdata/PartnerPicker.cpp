#include "masterdata/PartnerPicker.h"

#include "core/CategoryCodes.h"
#include "core/DataSet.h"
#include "core/Routines.h"

namespace {

const QList<QPair<QString, QString>>& targets() {
    static const QList<QPair<QString, QString>> t = {
        {QStringLiteral("FrmIn"), QStringLiteral("EditSupply")},
        {QStringLiteral("FrmOut"), QStringLiteral("EditCust")},
        {QStringLiteral("FrmExpired"), QStringLiteral("EditCust")},
        {QStringLiteral("FrmFK"), QStringLiteral("EditCust")},
        {QStringLiteral("FrmSK"), QStringLiteral("EditCust")},
        {QStringLiteral("FrmSearchStock"), QStringLiteral("EditCust")},
    };
    return t;
}

} // namespace

QString PartnerPicker::TargetBox(const QString& caller) {
    for (const auto& t : targets())
        if (t.first.compare(caller, Qt::CaseInsensitive) == 0)
            return t.second;
    return QString();
}

QStringList PartnerPicker::Callers() {
    QStringList l;
    for (const auto& t : targets())
        l << t.first;
    return l;
}

void PartnerPicker::OpenAll(DataSet& rows) {
    OpenSQL(rows, QStringLiteral("select * from tSupply order by SupplyName"));
}

void PartnerPicker::Search(DataSet& rows, const QString& code, const QString& name, const QString& typeCode) {
    QString sql = QStringLiteral("select * from tSupply where 1=1");
    QVariantList values;
    if (!code.isEmpty()) {
        sql += QStringLiteral(" and SupplyCode like ? escape '\\'");
        values << EscapeLike(code) + QLatin1Char('%');
    }
    if (!name.isEmpty()) {
        sql += QStringLiteral(" and SupplyName like ? escape '\\'");
        values << QLatin1Char('%') + EscapeLike(name) + QLatin1Char('%');
    }
    const SqlCondition category = CategoryFilter(typeCode, false);
    sql += category.sql;
    values += category.values;
    sql += QStringLiteral(" order by SupplyName");
    OpenSQL(rows, sql, values);
}

QString PartnerPicker::ChosenName(const DataSet& rows) {
    return rows.isOpen() && !rows.isEmpty() ? rows.text(QStringLiteral("SupplyName")) : QString();
}
