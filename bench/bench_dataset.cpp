// Opening 200,000 stock-in lines into a DataSet, as a ratio to stepping through the same query
// with the SQLite C API (reading every column), and the DataSet's memory beside the size of the
// data it holds. Then: creating a new database with its starting rows, beside the bare schema.
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/Schema.h"
#include "core/Transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <cstdio>

#include <sqlite3.h>

namespace {

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const int rows = 200000;
    Database db;
    db.create(QDir(dir.path()).filePath(QStringLiteral("bench.db")));
    QElapsedTimer t;
    t.start();
    Schema::createNew(db);
    const double createMs = t.nsecsElapsed() / 1e6;
    {
        Transaction tr(db);
        for (int i = 0; i < rows; ++i)
            db.run(QStringLiteral("INSERT INTO tStock (rkdate, supply, medicinecode, medicinename, usualname, medicineunit, "
                                  "manufacturer, units, number, position, BatchNo, medicinetype, vipprice, stockprice, "
                                  "saleprice, stockmoney, EffectDate, billcode) VALUES "
                                  "('2026-01-01', '华康医药有限公司', ?, ?, '阿莫西林', '0.25g*24粒', '华北制药厂', '盒', ?, "
                                  "'A区-01', ?, '抗感染药', 120000, 100000, 150000, ?, '2028-01-01', ?)"),
                   {QStringLiteral("YP%1").arg(i % 5000, 5, 10, QLatin1Char('0')), QStringLiteral("阿莫西林胶囊%1").arg(i % 97),
                    double(10 + i % 90), QStringLiteral("B%1").arg(i), qlonglong(100000) * (10 + i % 90),
                    QStringLiteral("RK2026010%1").arg(i / 20, 5, 10, QLatin1Char('0'))});
        tr.commit();
    }
    const QString sql = QStringLiteral("SELECT * FROM tStock");
    // Baseline: step through every row and read every column as the engine gives it.
    sqlite3* h = *static_cast<sqlite3**>(db.handle().driver()->handle().data());
    t.restart();
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(h, "SELECT * FROM tStock", -1, &st, nullptr);
    qint64 bytes = 0;
    const int n = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW)
        for (int c = 0; c < n; ++c) {
            if (sqlite3_column_type(st, c) == SQLITE_TEXT) {
                sqlite3_column_text16(st, c);
                bytes += sqlite3_column_bytes16(st, c);
            } else {
                bytes += 8;
            }
        }
    sqlite3_finalize(st);
    const double stepMs = t.nsecsElapsed() / 1e6;

    const long before = rssKb();
    DataSet ds(&db);
    t.restart();
    ds.open(sql);
    const double openMs = t.nsecsElapsed() / 1e6;
    const long after = rssKb();
    t.restart();
    ds.setSort(QStringLiteral("medicinename, number DESC"));
    const double sortMs = t.nsecsElapsed() / 1e6;

    std::printf("rows                    %d (%d columns, %.1f MB of values)\n", ds.recordCount(), n, bytes / 1e6);
    std::printf("sqlite step-through     %8.1f ms\n", stepMs);
    std::printf("DataSet open            %8.1f ms  ratio %.2fx\n", openMs, openMs / stepMs);
    std::printf("DataSet memory          %8.1f MB  ratio %.2fx of the values\n", (after - before) / 1024.0,
                (after - before) * 1024.0 / double(bytes));
    std::printf("client sort, 2 keys     %8.1f ms\n", sortMs);

    // A new database: schema alone vs. schema with every starting row (and the Admin hash).
    Database bare;
    bare.create(QDir(dir.path()).filePath(QStringLiteral("bare.db")));
    QFile script(QStringLiteral(":/schema/schema_001.sql"));
    script.open(QIODevice::ReadOnly);
    t.restart();
    {
        Transaction tr(bare);
        bare.runScript(QString::fromUtf8(script.readAll()));
        tr.commit();
    }
    const double bareMs = t.nsecsElapsed() / 1e6;
    std::printf("new database: schema    %8.1f ms\n", bareMs);
    std::printf("new database: complete  %8.1f ms  ratio %.2fx (includes the Argon2id hash)\n", createMs,
                createMs / bareMs);
    return 0;
}
