#include "core/ColumnKinds.h"

#include <QSet>

namespace ColumnKinds {

bool isCurrency(const QString& column) {
    static const QSet<QString> names = {
        QStringLiteral("price"),        QStringLiteral("money"),        QStringLiteral("stockprice"),
        QStringLiteral("wholesaleprice"), QStringLiteral("saleprice"),  QStringLiteral("vipprice"),
        QStringLiteral("stockmoney"),   QStringLiteral("totalmoney"),   QStringLiteral("moling"),
        QStringLiteral("oldsaleprice"), QStringLiteral("oldvipprice"),  QStringLiteral("newsaleprice"),
        QStringLiteral("newvipprice"),  QStringLiteral("inimon"),       QStringLiteral("bcmoney"),
        QStringLiteral("balance"),      QStringLiteral("inmoney"),      QStringLiteral("outmoney"),
        QStringLiteral("paymoney"),     QStringLiteral("owemoney"),     QStringLiteral("salemoney"),
        QStringLiteral("summoney"),     QStringLiteral("gain"),         QStringLiteral("stocksum"),
    };
    return names.contains(column.toLower());
}

bool isBool(const QString& column) {
    static const QSet<QString> names = {
        QStringLiteral("flag"),       QStringLiteral("show"),     QStringLiteral("showmoney"),
        QStringLiteral("fgoodscode"), QStringLiteral("check"),    QStringLiteral("isdiaobo"),
    };
    return names.contains(column.toLower());
}

} // namespace ColumnKinds
