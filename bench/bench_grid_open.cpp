// Opening a DataGrid on 100,000 stock-in lines laid out from the column set "stockbilldetail":
// time to the first painted grid and memory, beside stepping through the same query with the
// SQLite C API in the same run. The grid's own share (columns, footer sums, first paint) is
// also shown beside the same grid over an empty result.
//
//   bench_grid_open [rows=100000]
#include "core/DataSet.h"
#include "core/DataSetModel.h"
#include "core/Database.h"
#include "core/Routines.h"
#include "core/Schema.h"
#include "core/Transaction.h"
#include "core/widgets/DataGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDriver>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

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

// Notes when the grid's cells were painted for the first time.
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Lays the grid out, shows it and waits until its cells and footer are painted; milliseconds.
double openGrid(DataGrid& grid, DataSet& ds) {
    PaintWatch watch;
    grid.view()->viewport()->installEventFilter(&watch);
    QElapsedTimer t;
    t.start();
    LoadGridColumns(&grid, ds, QStringLiteral("stockbilldetail"));
    grid.resize(1200, 700);
    grid.show();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents(); // the footer's paint follows in the same flush
    const double ms = t.nsecsElapsed() / 1e6;
    grid.view()->viewport()->removeEventFilter(&watch);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    Database db;
    db.create(QDir(dir.path()).filePath(QStringLiteral("bench.db")));
    Schema::createNew(db);
    Database::setCurrent(&db);
    {
        Transaction tr(db);
        for (int i = 0; i < rows; ++i)
            db.run(
                QStringLiteral(
                    "INSERT INTO tStock (rkdate, supply, medicinecode, medicinename, usualname, "
                    "medicineunit, "
                    "manufacturer, units, number, position, BatchNo, medicinetype, vipprice, stockprice, "
                    "saleprice, stockmoney, EffectDate, billcode, Buyer, Inspector) VALUES "
                    "('2026-01-01', '华康医药有限公司', ?, ?, '阿莫西林', '0.25g*24粒', '华北制药厂', '盒', "
                    "?, "
                    "'A区-01', ?, '抗感染药', 120000, 100000, 150000, ?, '2028-01-01', ?, '张三', '李四')"),
                {QStringLiteral("YP%1").arg(i % 5000, 5, 10, QLatin1Char('0')),
                 QStringLiteral("阿莫西林胶囊%1").arg(i % 97), double(10 + i % 90),
                 QStringLiteral("B%1").arg(i), qlonglong(100000) * (10 + i % 90),
                 QStringLiteral("RK2026010%1").arg(i / 20, 5, 10, QLatin1Char('0'))});
        tr.commit();
    }
    const QString sql = QStringLiteral("SELECT * FROM tStock");

    // Baseline: step through every row and read every column as the engine gives it.
    sqlite3* h = *static_cast<sqlite3**>(db.handle().driver()->handle().data());
    QElapsedTimer t;
    t.start();
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

    // The same grid over an empty result: what laying out and painting cost without rows.
    DataSet empty(&db);
    empty.open(QStringLiteral("SELECT * FROM tStock WHERE id < 0"));
    double emptyMs = 1e9;
    for (int i = 0; i < 5; ++i) {
        DataGrid grid;
        emptyMs = std::min(emptyMs, openGrid(grid, empty));
    }

    const long before = rssKb();
    DataSet ds(&db);
    t.restart();
    ds.open(sql);
    const double openMs = t.nsecsElapsed() / 1e6;
    const long afterOpen = rssKb();
    auto grid = std::make_unique<DataGrid>();
    const double gridMs = openGrid(*grid, ds);
    const long afterPaint = rssKb();
    const double totalMs = openMs + gridMs;
    const int shown = grid->columnCount();

    // A sort by two title clicks, repainted.
    t.restart();
    grid->clickTitle(grid->model()->columnOfField(QStringLiteral("medicinename")));
    grid->clickTitle(grid->model()->columnOfField(QStringLiteral("number")));
    grid->view()->viewport()->repaint();
    const double sortMs = t.nsecsElapsed() / 1e6;
    grid.reset();

    // Further grids on the same rows, as a window opened again (best of five).
    double warmMs = 1e9;
    for (int i = 0; i < 5; ++i) {
        DataGrid again;
        warmMs = std::min(warmMs, openGrid(again, ds));
    }

    std::printf("rows                         %d (%d columns, %d shown, %.1f MB of values)\n",
                ds.recordCount(), n, shown, bytes / (1024.0 * 1024.0));
    std::printf("sqlite step-through          %8.1f ms\n", stepMs);
    std::printf("DataSet open                 %8.1f ms  ratio %.2fx of the step-through\n", openMs,
                openMs / stepMs);
    std::printf("grid layout to first paint   %8.1f ms  (goal <= 50 ms)\n", gridMs);
    std::printf("  opened again, best of 5    %8.1f ms  (same grid over an empty result: %.1f ms)\n", warmMs,
                emptyMs);
    std::printf("open + first paint           %8.1f ms  ratio %.2fx of the step-through\n", totalMs,
                totalMs / stepMs);
    std::printf("memory: DataSet              %8.1f MB  ratio %.2fx of the values\n",
                (afterOpen - before) / 1024.0, (afterOpen - before) * 1024.0 / double(bytes));
    std::printf("memory: grid on top          %8.1f MB\n", (afterPaint - afterOpen) / 1024.0);
    std::printf("memory: DataSet + grid       %8.1f MB  ratio %.2fx of the values (goal <= 3x)\n",
                (afterPaint - before) / 1024.0, (afterPaint - before) * 1024.0 / double(bytes));
    std::printf("sort by two titles + repaint %8.1f ms\n", sortMs);
    Database::setCurrent(nullptr);
    return 0;
}
