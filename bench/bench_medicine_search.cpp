// The medicine list's live search over 100,000 generated medicines, keystroke by keystroke:
// each input is the text the search box holds after one more key. Two times per keystroke,
// both as ratios to an in-memory substring scan of the same search texts in the same run:
//   find  the search itself: the matching rows, in the list's order (their ids);
//   list  what the list window does on the key, from the list as the text before the key left
//         it: the same, with the rows loaded into its dataset. This grows with the number of
//         rows shown, whatever finds them; the whole catalogue opened without a search is given
//         for comparison.
// Also: what keeping the search texts costs when medicines are written, beside the same rows
// written into a table without them.
//
//   bench_medicine_search [medicines=100000]
#include "core/DataSet.h"
#include "core/Database.h"
#include "core/Routines.h"
#include "core/Schema.h"
#include "core/Transaction.h"
#include "masterdata/MasterSearch.h"
#include "masterdata/SearchIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

const QStringList Stems = {
    QStringLiteral("阿莫西林"),     QStringLiteral("头孢克肟"),   QStringLiteral("布洛芬"),
    QStringLiteral("对乙酰氨基酚"), QStringLiteral("阿奇霉素"),   QStringLiteral("左氧氟沙星"),
    QStringLiteral("氯雷他定"),     QStringLiteral("奥美拉唑"),   QStringLiteral("二甲双胍"),
    QStringLiteral("硝苯地平"),     QStringLiteral("维生素C"),    QStringLiteral("板蓝根"),
    QStringLiteral("复方甘草"),     QStringLiteral("蒙脱石"),     QStringLiteral("藿香正气"),
    QStringLiteral("六味地黄"),     QStringLiteral("银翘解毒"),   QStringLiteral("连花清瘟"),
    QStringLiteral("感冒灵"),       QStringLiteral("健胃消食"),   QStringLiteral("氨溴索"),
    QStringLiteral("孟鲁司特"),     QStringLiteral("瑞舒伐他汀"), QStringLiteral("缬沙坦"),
};
const QStringList Forms = {QStringLiteral("胶囊"),   QStringLiteral("片"),     QStringLiteral("颗粒"),
                           QStringLiteral("口服液"), QStringLiteral("分散片"), QStringLiteral("缓释片"),
                           QStringLiteral("软膏"),   QStringLiteral("滴丸")};
const QStringList Places = {QStringLiteral("华北"), QStringLiteral("江苏"), QStringLiteral("浙江"),
                            QStringLiteral("广州"), QStringLiteral("四川"), QStringLiteral("山东"),
                            QStringLiteral("湖北"), QStringLiteral("吉林"), QStringLiteral("云南"),
                            QStringLiteral("河南"), QStringLiteral("北京"), QStringLiteral("上海")};
const QStringList Makers = {QStringLiteral("制药有限公司"), QStringLiteral("药业股份有限公司"),
                            QStringLiteral("医药集团"), QStringLiteral("生物制药有限公司"),
                            QStringLiteral("中药厂")};
const QStringList Units = {QStringLiteral("盒"), QStringLiteral("瓶"), QStringLiteral("袋"),
                           QStringLiteral("支")};
const QStringList Types = {QStringLiteral("抗感染药"),       QStringLiteral("解热镇痛药"),
                           QStringLiteral("呼吸系统用药"),   QStringLiteral("消化系统用药"),
                           QStringLiteral("心血管系统用药"), QStringLiteral("中成药")};

const char* const Insert =
    "INSERT INTO %1 (MedicineCode, MedicineName, UsualName, JiXing, AgreeNo, MedicineUnit, Manufacturer, "
    "FirstUnits, Rate, StockPrice, SalePrice, WholesalePrice, MedicineType, TypeCode, ShortName, Expiry) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?, ?, ?, 730)";

QVariantList medicine(int i, QRandomGenerator& rnd) {
    const QString stem = Stems[int(rnd.bounded(Stems.size()))];
    const QString form = Forms[int(rnd.bounded(Forms.size()))];
    const QString name = stem + form;
    const QString maker =
        Places[int(rnd.bounded(Places.size()))] + QString(QChar(0x4E00 + int(rnd.bounded(3000)))) +
        QString(QChar(0x4E00 + int(rnd.bounded(3000)))) + Makers[int(rnd.bounded(Makers.size()))];
    const int type = int(rnd.bounded(Types.size()));
    const qint64 stock = 5000 + qint64(rnd.bounded(2000000));
    return {QStringLiteral("YP%1").arg(i, 6, 10, QLatin1Char('0')),
            name,
            stem,
            form,
            QStringLiteral("国药准字%1%2")
                .arg(QChar(rnd.bounded(2) ? 'H' : 'Z'))
                .arg(rnd.bounded(20000000, 29999999)),
            QStringLiteral("%1mg*%2粒").arg(5 * (1 + rnd.bounded(100))).arg(6 * (1 + rnd.bounded(8))),
            maker,
            Units[int(rnd.bounded(Units.size()))],
            stock,
            stock * 13 / 10,
            stock * 12 / 10,
            Types[type],
            QStringLiteral("01%1").arg(type + 1, 2, 10, QLatin1Char('0')),
            TextInitials(name)};
}

double medianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    if (qEnvironmentVariableIsSet("BENCH_KEEP")) {
        dir.setAutoRemove(false);
        std::printf("database in %s\n", qPrintable(dir.path()));
    }
    Database db;
    db.create(QDir(dir.path()).filePath(QStringLiteral("bench.db")));
    Schema::createNew(db);
    Database::setCurrent(&db);
    db.run(QStringLiteral("CREATE TABLE tPlainMedicine AS SELECT * FROM tMedicine WHERE 0"));

    // Writing: the same rows into the catalogue (search texts kept) and into a plain copy.
    QElapsedTimer t;
    double writeMs[2] = {0, 0};
    for (int pass = 0; pass < 2; ++pass) {
        QRandomGenerator rnd(20240601);
        const QString sql = QString::fromLatin1(Insert).arg(pass == 0 ? QStringLiteral("tPlainMedicine")
                                                                      : QStringLiteral("tMedicine"));
        t.start();
        Transaction tr(db);
        for (int i = 1; i <= count; ++i)
            db.run(sql, medicine(i, rnd));
        tr.commit();
        writeMs[pass] = t.nsecsElapsed() / 1e6;
    }

    // The baseline's texts: the search texts themselves, held as strings.
    QStringList texts;
    texts.reserve(count);
    {
        QSqlQuery q = db.exec(QStringLiteral("SELECT body FROM tMedicineSearch"));
        while (q.next())
            texts << q.value(0).toString();
    }
    auto scan = [&texts](const QString& needle) {
        int n = 0;
        for (const QString& s : texts)
            if (s.contains(needle))
                ++n;
        return n;
    };

    // What a user types: a name, pinyin initials, a code, a maker, an approval number.
    const QStringList words = {QStringLiteral("阿莫西林胶囊"), QStringLiteral("amxl"),
                               QStringLiteral("yp012345"),     QStringLiteral("江苏"),
                               QStringLiteral("h2501"),        QStringLiteral("板蓝根颗粒")};
    DataSet list(&db);
    MasterSearch search(MasterTable::medicine());
    search.openAll(list);
    t.restart();
    search.openAll(list);
    const double openAllMs = t.nsecsElapsed() / 1e6;
    // The first short input reads the texts into memory once; shown on its own.
    t.restart();
    search.setText(QStringLiteral("阿"));
    search.run(list);
    const double firstShortMs = t.nsecsElapsed() / 1e6;

    const int repeats = 5;
    double worstLong = 0, worstShort = 0, worstListLong = 0, worstListShort = 0;
    std::printf("medicines %d; search texts %.1f MB\n", count,
                std::accumulate(texts.begin(), texts.end(), 0.0, [](double a, const QString& s) {
                    return a + s.size() * 2;
                }) / 1e6);
    std::printf("%-14s %7s %9s %9s %8s %9s %8s\n", "input", "rows", "scan ms", "find ms", "ratio", "list ms",
                "ratio");
    for (const QString& word : words) {
        for (int len = 1; len <= word.size(); ++len) {
            const QString input = word.left(len);
            std::vector<double> findTimes, listTimes, scanTimes;
            int rows = 0, found = 0, scanned = 0;
            for (int r = 0; r < repeats; ++r) {
                // The list as it was before the key: the search of the text without it.
                search.setText(word.left(len - 1));
                search.run(list);
                search.setText(input);
                t.restart();
                found = search.matchingIds(db).size();
                findTimes.push_back(t.nsecsElapsed() / 1e6);
                t.restart();
                search.run(list);
                listTimes.push_back(t.nsecsElapsed() / 1e6);
                rows = list.recordCount();
                t.restart();
                scanned = scan(SearchIndex::fold(input));
                scanTimes.push_back(t.nsecsElapsed() / 1e6);
            }
            const double b = medianMs(scanTimes), f = medianMs(findTimes) / b, l = medianMs(listTimes) / b;
            const bool longInput = SearchIndex::usesIndex(SearchIndex::fold(input));
            double& worst = longInput ? worstLong : worstShort;
            double& worstList = longInput ? worstListLong : worstListShort;
            worst = std::max(worst, f);
            worstList = std::max(worstList, l);
            std::printf("%-14s %7d %9.2f %9.2f %7.2fx %9.2f %7.2fx%s\n", input.toUtf8().constData(), rows, b,
                        medianMs(findTimes), f, medianMs(listTimes), l,
                        rows == scanned && found == scanned ? "" : "  (rows differ!)");
        }
    }
    std::printf("find, worst ratio, 3 characters and more  %8.2fx  (goal 1x)\n", worstLong);
    std::printf("find, worst ratio, 1 or 2 characters      %8.2fx  (goal 12x)\n", worstShort);
    std::printf("list, worst ratio, 3 characters and more  %8.2fx\n", worstListLong);
    std::printf("list, worst ratio, 1 or 2 characters      %8.2fx\n", worstListShort);
    std::printf("whole catalogue opened without a search   %8.1f ms\n", openAllMs);
    std::printf("first short input (reads the texts)       %8.1f ms\n", firstShortMs);
    std::printf("writing %d medicines                %8.0f ms, plain table %.0f ms, ratio %.2fx\n", count,
                writeMs[1], writeMs[0], writeMs[1] / writeMs[0]);
    return 0;
}
