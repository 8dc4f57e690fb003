#include "core/DemoShop.h"

#include "core/Currency.h"
#include "core/Database.h"
#include "core/DbError.h"
#include "core/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <map>

namespace {

struct Med {
    QString code, name, usual, spec, maker, unit, type;
    Currency stock, sale;
};

struct Line {
    qint64 id;
    QString bill, code, name, spec, unit, maker, batch;
    Currency sale, vip, stock;
    double left;
};

QString codeFor(const QString& prefix, const QDate& d, std::map<QString, int>& serials) {
    const QString stem = prefix + d.toString(QStringLiteral("yyyyMMdd"));
    return stem + QString::number(++serials[stem]).rightJustified(4, QLatin1Char('0'));
}

QStringList column(Database& db, const QString& sql) {
    QStringList l;
    QSqlQuery q = db.exec(sql);
    while (q.next())
        l << q.value(0).toString();
    return l;
}

} // namespace

namespace DemoShop {

void fill(Database& db) {
    db.run(QStringLiteral("DELETE FROM tCompany"));
    const QDir dir(QStringLiteral(":/schema/demo"));
    for (const QString& f : dir.entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(f));
        if (!file.open(QIODevice::ReadOnly))
            throw DbError(QObject::tr("缺少示例数据：%1").arg(f));
        Schema::loadRows(db, f.left(f.size() - 4), QString::fromUtf8(file.readAll()));
    }
    if (db.scalar(QStringLiteral("SELECT count(*) FROM tCompany")).toInt() == 0)
        db.run(QStringLiteral("INSERT INTO tCompany (Company) VALUES ('')"));

    QVector<Med> meds;
    QSqlQuery q = db.exec(QStringLiteral("SELECT MedicineCode, MedicineName, UsualName, MedicineUnit, Manufacturer, "
                                         "FirstUnits, MedicineType, StockPrice, SalePrice FROM tMedicine ORDER BY id"));
    while (q.next()) {
        Med m{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
              q.value(4).toString(), q.value(5).toString(), q.value(6).toString(),
              Currency::fromRaw(q.value(7).toLongLong()), Currency::fromRaw(q.value(8).toLongLong())};
        if (m.sale.raw() <= 0)
            m.sale = m.stock.times(1.3);
        meds << m;
    }
    if (meds.isEmpty())
        return;
    const QStringList supplies = column(db, QStringLiteral("SELECT SupplyName FROM tSupply ORDER BY id"));
    const QStringList employees = column(db, QStringLiteral("SELECT EmployeeName FROM tEmployee ORDER BY id"));
    const QStringList positions = column(db, QStringLiteral("SELECT name FROM tOther WHERE tablename = 'Position' ORDER BY id"));
    const QStringList cashTypes = column(db, QStringLiteral("SELECT name FROM tOther WHERE tablename = 'CashType' ORDER BY id"));
    QVector<QPair<QString, QString>> members;
    q = db.exec(QStringLiteral("SELECT MemberCode, MemberName, MemberType FROM tMember ORDER BY id"));
    QStringList memberTypes;
    while (q.next()) {
        members << qMakePair(q.value(0).toString(), q.value(1).toString());
        memberTypes << q.value(2).toString();
    }
    auto pick = [](const QStringList& l, QRandomGenerator& r) { return l.isEmpty() ? QString() : l[int(r.bounded(l.size()))]; };

    QRandomGenerator rnd(20261211);
    const QDate today = QDate::currentDate();
    std::map<QString, int> serials;
    QVector<Line> lines;
    const QString insertStock = QStringLiteral(
        "INSERT INTO tStock (rkdate, supply, pjdate, fapiao, piaoju, medicinecode, medicinename, usualname, medicineunit, "
        "manufacturer, units, number, position, BatchNo, madedate, medicinetype, vipprice, stockprice, saleprice, "
        "stockmoney, EffectDate, Inspector, Buyer, memo, billcode, Percentage, clnumber) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,0,?)");
    QStringList bills;
    for (int b = 0; b < 24; ++b) {
        const QDate day = today.addDays(-120 + b * 5);
        const QString bill = codeFor(QStringLiteral("RK"), day, serials);
        bills << bill;
        const QString supply = pick(supplies, rnd);
        const int n = 6 + int(rnd.bounded(9));
        for (int i = 0; i < n; ++i) {
            const Med& m = meds[int(rnd.bounded(meds.size()))];
            const double number = 10 + rnd.bounded(19) * 10;
            // Most batches keep two or three years; some run out within weeks, a few already have.
            const int roll = int(rnd.bounded(100));
            const QDate expiry = roll < 4 ? today.addDays(-int(rnd.bounded(30)) - 1)
                                 : roll < 14 ? today.addDays(5 + int(rnd.bounded(55)))
                                             : today.addDays(200 + int(rnd.bounded(900)));
            const QDate made = expiry.addYears(-2);
            const QString batch = made.toString(QStringLiteral("yyMMdd")) + QString::number(10 + rnd.bounded(89));
            const Currency vip = m.sale.times(0.9);
            db.run(insertStock,
                   {day.toString(Qt::ISODate), supply, day.toString(Qt::ISODate),
                    QStringLiteral("FP%1").arg(100000 + rnd.bounded(899999)), QString(), m.code, m.name, m.usual, m.spec,
                    m.maker, m.unit, number, pick(positions, rnd), batch, made.toString(Qt::ISODate), m.type,
                    qlonglong(vip.raw()), qlonglong(m.stock.raw()), qlonglong(m.sale.raw()),
                    qlonglong(m.stock.times(number).raw()), expiry.toString(Qt::ISODate), pick(employees, rnd),
                    pick(employees, rnd), QString(), bill, QVariant()});
            lines << Line{db.lastInsertId(), bill, m.code, m.name, m.spec, m.unit, m.maker, batch, m.sale, vip, m.stock, number};
        }
    }
    // Payments: most bills paid in full, some in part, the newest not yet.
    for (int b = 0; b < bills.size() - 4; ++b) {
        const Currency owed = Currency::fromRaw(
            db.scalar(QStringLiteral("SELECT total(stockmoney) FROM tStock WHERE billcode = ?"), {bills[b]}).toLongLong());
        const Currency paid = b % 3 == 0 ? owed.times(0.5) : owed;
        const QDate day = today.addDays(-110 + b * 5);
        db.run(QStringLiteral("INSERT INTO tFK (adddate, billcode, money, maker) VALUES (?,?,?,'Admin')"),
               {day.toString(QStringLiteral("yyyy-MM-dd 10:00:00")), bills[b], qlonglong(paid.raw())});
    }
    // Sales of the last sixty days.
    for (int s = 0; s < 90; ++s) {
        const QDate day = today.addDays(-60 + s * 2 / 3);
        const QString bill = codeFor(QStringLiteral("XS"), day, serials);
        const bool member = !members.isEmpty() && rnd.bounded(100) < 35;
        const int mi = member ? int(rnd.bounded(members.size())) : -1;
        const bool vip = member && memberTypes[mi] == QStringLiteral("高级会员");
        Currency total;
        const int n = 1 + int(rnd.bounded(4));
        for (int i = 0; i < n; ++i) {
            Line& l = lines[int(rnd.bounded(lines.size()))];
            const double number = 1 + rnd.bounded(3);
            if (l.left < number + 5)
                continue;
            l.left -= number;
            const Currency price = vip ? l.vip : l.sale;
            const Currency money = price.times(number);
            total += money;
            db.run(QStringLiteral("INSERT INTO tSale (billcode, adddate, maker, medicinecode, medicinename, medicineunit, "
                                  "units, manufacturer, batchno, price, number, money, flag, Stockbill, membercode, "
                                  "membername, stockprice) VALUES (?,?,'Admin',?,?,?,?,?,?,?,?,?,0,?,?,?,?)"),
                   {bill, day.toString(Qt::ISODate), l.code, l.name, l.spec, l.unit, l.maker, l.batch,
                    qlonglong(price.raw()), number, qlonglong(money.raw()), l.bill,
                    member ? members[mi].first : QString(), member ? members[mi].second : QString(),
                    qlonglong(l.stock.raw())});
        }
        if (total.raw() == 0)
            continue;
        const qint64 tens = (total.raw() + 99999) / 100000 * 100000;
        db.run(QStringLiteral("INSERT INTO tCash (cashcode, billcode, totalmoney, money, discount, moling, cashtype, "
                              "adddate, maker) VALUES (?,?,?,?,100,0,?,?,'Admin')"),
               {codeFor(QStringLiteral("SK"), day, serials), bill, qlonglong(total.raw()), qlonglong(tens),
                pick(cashTypes, rnd), day.toString(Qt::ISODate)});
    }
}

} // namespace DemoShop
