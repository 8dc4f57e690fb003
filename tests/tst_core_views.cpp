#include "core/Database.h"
#include "core/Routines.h"
#include "support/TestSupport.h"

#include <QSqlQuery>
#include <QTest>

// The stock views on small fixtures: what each kind of document takes from a stock-in line.
class TestViews : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholePackSalesAndOutboundLowerTheirLine();
    void openedPacksSpreadOverTheBatchLines();
    void splitUnitsOnHand();
    void runningAccountJournal();

private:
    void stockIn(const QString& bill, const QString& code, const QString& batch, double number);
    void sale(const QString& stockBill, const QString& code, const QString& batch, double number, bool split = false);
    double tnum(const QString& bill, const QString& code, const QString& batch);
    TestDatabase* m_t = nullptr;
};

void TestViews::init() { m_t = new TestDatabase; }

void TestViews::cleanup() {
    delete m_t;
    m_t = nullptr;
}

void TestViews::stockIn(const QString& bill, const QString& code, const QString& batch, double number) {
    RunSQL(QStringLiteral("INSERT INTO tStock (billcode, medicinecode, BatchNo, number, stockprice, saleprice, clnumber) "
                          "VALUES (?, ?, ?, ?, 100000, 150000, 12)"),
           {bill, code, batch, number});
}

void TestViews::sale(const QString& stockBill, const QString& code, const QString& batch, double number, bool split) {
    RunSQL(QStringLiteral("INSERT INTO tSale (billcode, medicinecode, batchno, number, flag, Stockbill) VALUES "
                          "('XS1', ?, ?, ?, ?, ?)"),
           {code, batch, number, split ? 1 : 0, split ? QVariant() : QVariant(stockBill)});
}

double TestViews::tnum(const QString& bill, const QString& code, const QString& batch) {
    return m_t->db()
        .scalar(QStringLiteral("SELECT tnum FROM vDepot WHERE billcode = ? AND medicinecode = ? AND batchno = ?"),
                {bill, code, batch})
        .toDouble();
}

void TestViews::wholePackSalesAndOutboundLowerTheirLine() {
    stockIn(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1"), 10);
    stockIn(QStringLiteral("RK2"), QStringLiteral("YP1"), QStringLiteral("B1"), 5); // the same batch again
    stockIn(QStringLiteral("RK2"), QStringLiteral("YP2"), QStringLiteral("B1"), 8);
    sale(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1"), 3);
    sale(QStringLiteral("RK2"), QStringLiteral("yp1"), QStringLiteral("b1"), 1); // codes compare without case
    RunSQL(QStringLiteral("INSERT INTO tOut (billcode, medicinecode, batchno, number, StockBill) VALUES "
                          "('CK1', 'YP1', 'B1', 2, 'RK1'), ('CK1', 'YP2', 'B1', 8, 'RK2')"));
    QCOMPARE(tnum(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1")), 5.0);
    QCOMPARE(tnum(QStringLiteral("RK2"), QStringLiteral("YP1"), QStringLiteral("B1")), 4.0);
    // A sold-out line stays in the view with 0.
    QCOMPARE(tnum(QStringLiteral("RK2"), QStringLiteral("YP2"), QStringLiteral("B1")), 0.0);
    QCOMPARE(m_t->db().scalar(QStringLiteral("SELECT count(*) FROM vDepot")).toInt(), 3);
    // Split-unit sales do not touch whole packs.
    sale(QString(), QStringLiteral("YP1"), QStringLiteral("B1"), 7, true);
    QCOMPARE(m_t->db().scalar(QStringLiteral("SELECT total(tnum) FROM vDepot WHERE medicinecode = 'YP1'")).toDouble(), 9.0);
}

void TestViews::openedPacksSpreadOverTheBatchLines() {
    stockIn(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1"), 2);
    stockIn(QStringLiteral("RK2"), QStringLiteral("YP1"), QStringLiteral("B1"), 5);
    sale(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1"), 1);
    // Three packs opened of this batch: one left on the first line, two from the second.
    RunSQL(QStringLiteral("INSERT INTO tChailing (medicinecode, batchno, clnumber, number) VALUES ('YP1', 'B1', 36, 3)"));
    QCOMPARE(tnum(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1")), 0.0);
    QCOMPARE(tnum(QStringLiteral("RK2"), QStringLiteral("YP1"), QStringLiteral("B1")), 3.0);
    QCOMPARE(m_t->db().scalar(QStringLiteral("SELECT total(tnum) FROM vDepot")).toDouble(), 3.0);
    // Another batch of the same medicine is not touched.
    stockIn(QStringLiteral("RK3"), QStringLiteral("YP1"), QStringLiteral("B2"), 4);
    QCOMPARE(tnum(QStringLiteral("RK3"), QStringLiteral("YP1"), QStringLiteral("B2")), 4.0);
}

void TestViews::splitUnitsOnHand() {
    RunSQL(QStringLiteral("INSERT INTO tChailing (medicinecode, batchno, clnumber, number, saleprice) VALUES "
                          "('YP1', 'B1', 24, 2, 12500)"));
    sale(QString(), QStringLiteral("YP1"), QStringLiteral("B1"), 5, true);
    sale(QString(), QStringLiteral("YP1"), QStringLiteral("B1"), 19, true);
    sale(QStringLiteral("RK1"), QStringLiteral("YP1"), QStringLiteral("B1"), 1); // a whole pack does not count
    QSqlQuery q = m_t->db().exec(QStringLiteral("SELECT clnumber, clproduced, number FROM vDepotChaiLing"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), 0.0); // sold out, but the row stays
    QCOMPARE(q.value(1).toDouble(), 24.0);
    QCOMPARE(q.value(2).toDouble(), 2.0);
}

void TestViews::runningAccountJournal() {
    RunSQL(QStringLiteral("INSERT INTO tCash (cashcode, billcode, totalmoney, money, adddate, maker) VALUES "
                          "('SK1', 'XS1', 335000, 500000, '2026-01-02', 'Admin')"));
    RunSQL(QStringLiteral("INSERT INTO tFK (adddate, billcode, money, maker) VALUES ('2026-01-01 09:30:00', 'RK1', 1000000, 'Admin')"));
    RunSQL(QStringLiteral("INSERT INTO tSK (adddate, billcode, money, maker) VALUES ('2026-01-03 10:00:00', 'CK1', 20000, 'Admin')"));
    QSqlQuery q = m_t->db().exec(QStringLiteral("SELECT billcode, inmoney, outmoney FROM vRunningAccount "
                                                "WHERE adddate >= ? AND adddate < ? ORDER BY adddate"),
                                 {QStringLiteral("2026-01-01"), QStringLiteral("2026-01-04")});
    QStringList rows;
    while (q.next())
        rows << QStringLiteral("%1 %2 %3").arg(q.value(0).toString()).arg(q.value(1).toLongLong()).arg(q.value(2).toLongLong());
    QCOMPARE(rows, QStringList({QStringLiteral("RK1 0 1000000"), QStringLiteral("SK1 335000 0"),
                                QStringLiteral("CK1 20000 0")}));
}

QTEST_GUILESS_MAIN(TestViews)
#include "tst_core_views.moc"
