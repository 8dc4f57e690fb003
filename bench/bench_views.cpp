// The stock view on a large shop: 100,000 stock-in lines, 1,000,000 sale lines, 50,000 outbound
// lines and 5,000 opened batches. Reading the whole of vDepot is compared with reading tStock
// itself, and one medicine's batches through the view with the same through the table.
#include "core/Database.h"
#include "core/Schema.h"
#include "core/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double timeQuery(Database& db, const QString& sql, const QVariantList& values, int repeat, double* sum) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < repeat; ++i) {
        QSqlQuery q = db.exec(sql, values);
        while (q.next())
            *sum += q.value(0).toDouble();
    }
    return t.nsecsElapsed() / 1e6 / repeat;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Database db;
    db.create(QDir(dir.path()).filePath(QStringLiteral("views.db")));
    Schema::createNew(db);
    const int stockLines = 100000, sales = 1000000, outs = 50000, opened = 5000;
    {
        Transaction tr(db);
        for (int i = 0; i < stockLines; ++i)
            db.run(QStringLiteral("INSERT INTO tStock (billcode, medicinecode, BatchNo, number) VALUES (?, ?, ?, 100)"),
                   {QStringLiteral("RK%1").arg(i / 10), QStringLiteral("YP%1").arg(i % 20000), QStringLiteral("B%1").arg(i % 7)});
        for (int i = 0; i < sales; ++i) {
            const int line = i % stockLines;
            db.run(QStringLiteral("INSERT INTO tSale (billcode, medicinecode, batchno, number, flag, Stockbill) "
                                  "VALUES ('XS', ?, ?, 1, ?, ?)"),
                   {QStringLiteral("YP%1").arg(line % 20000), QStringLiteral("B%1").arg(line % 7), i % 10 == 0 ? 1 : 0,
                    QStringLiteral("RK%1").arg(line / 10)});
        }
        for (int i = 0; i < outs; ++i) {
            const int line = (i * 7) % stockLines;
            db.run(QStringLiteral("INSERT INTO tOut (billcode, medicinecode, batchno, number, StockBill) VALUES ('CK', ?, ?, 1, ?)"),
                   {QStringLiteral("YP%1").arg(line % 20000), QStringLiteral("B%1").arg(line % 7), QStringLiteral("RK%1").arg(line / 10)});
        }
        for (int i = 0; i < opened; ++i)
            db.run(QStringLiteral("INSERT OR IGNORE INTO tChailing (medicinecode, batchno, clnumber, number) VALUES (?, ?, 24, 2)"),
                   {QStringLiteral("YP%1").arg(i * 3 % 20000), QStringLiteral("B%1").arg(i * 3 % 7)});
        tr.commit();
    }
    db.run(QStringLiteral("ANALYZE"));
    double sink = 0;
    const double table = timeQuery(db, QStringLiteral("SELECT number FROM tStock"), {}, 3, &sink);
    const double view = timeQuery(db, QStringLiteral("SELECT tnum FROM vDepot"), {}, 3, &sink);
    const QVariantList one = {QStringLiteral("YP123")};
    const double tableOne = timeQuery(db, QStringLiteral("SELECT number FROM tStock WHERE medicinecode = ?"), one, 200, &sink);
    const double viewOne = timeQuery(db, QStringLiteral("SELECT tnum FROM vDepot WHERE medicinecode = ?"), one, 200, &sink);
    std::printf("%d stock lines, %d sale lines, %d outbound lines, %d opened batches\n", stockLines, sales, outs, opened);
    std::printf("whole list   tStock %8.2f ms   vDepot %8.2f ms   ratio %.2fx\n", table, view, view / table);
    std::printf("one medicine tStock %8.3f ms   vDepot %8.3f ms   ratio %.2fx\n", tableOne, viewOne, viewOne / tableOne);
    return sink < 0;
}
