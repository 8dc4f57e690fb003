#include "core/Currency.h"
#include "core/DataSet.h"
#include "core/DataSetModel.h"
#include "core/GridColumns.h"
#include "core/Routines.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DataGrid.h"
#include "core/widgets/DataGridDelegate.h"
#include "core/widgets/GridExport.h"
#include "core/widgets/uFieldShow.h"
#include "sheet/Workbook.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// One tFieldShow row of a test set.
struct Col {
    QString field;
    QString name;
    int showId = 0;
    int show = 1;
    int sum = 0;
    int dotSize = 0;
    int readOnly = 1;
    int button = 0;
    int showMoney = 0;
    int width = 80;
};

void addColumns(const QString& set, const QVector<Col>& cols) {
    for (const Col& c : cols)
        RunSQL(
            QStringLiteral(
                "INSERT INTO tFieldShow (TableName, Field, Name, Width, ShowID, show, showmoney, SumField, "
                "ShowButton, DotSize, ReadOnly) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            {set, c.field, c.name, c.width, c.showId, c.show, c.showMoney, c.sum, c.button, c.dotSize,
             c.readOnly});
}

void addMedicine(const QString& code, const QString& name, double salePrice, double rate,
                 const QString& remark1 = QString()) {
    RunSQL(QStringLiteral("INSERT INTO tMedicine (MedicineCode, MedicineName, SalePrice, Rate, Remark1) "
                          "VALUES (?,?,?,?,?)"),
           {code, name, Currency::fromDouble(salePrice).raw(), rate, remark1});
}

void setDecimals(int price, int number, int money) {
    RunSQL(QStringLiteral("UPDATE tSoftInfo SET DotPrice = ?, DotNumber = ?, DotMoney = ?"),
           {price, number, money});
}

QStringList columnTexts(const DataGrid& grid, int column) {
    QStringList l;
    for (int r = 0; r < grid.model()->rowCount(); ++r)
        l << grid.model()->index(r, column).data().toString();
    return l;
}

QVector<DataSet::Bookmark> sorted(QVector<DataSet::Bookmark> v) {
    std::sort(v.begin(), v.end());
    return v;
}

QPoint cellCenter(const DataGrid& grid, int row, int column) {
    return grid.view()->visualRect(grid.model()->index(row, column)).center();
}

// A shown grid over tMedicine with the three sample rows and the set "t".
struct GridFixture {
    TestDatabase t;
    DataSet ds;
    DataGrid grid;
    explicit GridFixture(const QVector<Col>& cols, const QString& order = QStringLiteral("id")) {
        addColumns(QStringLiteral("t"), cols);
        addMedicine(QStringLiteral("A1"), QStringLiteral("乙药"), 12.5, 2, QStringLiteral("b"));
        addMedicine(QStringLiteral("A2"), QStringLiteral("甲药"), 3.25, 1, QStringLiteral("a"));
        addMedicine(QStringLiteral("A3"), QStringLiteral("丙药"), 12.5, 3, QStringLiteral("a"));
        OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine ORDER BY ") + order);
        LoadGridColumns(&grid, ds, QStringLiteral("t"));
        grid.resize(700, 300);
        grid.show();
    }
};

const QVector<Col> kSortCols = {{QStringLiteral("MedicineName"), QStringLiteral("药品名称"), 0},
                                {QStringLiteral("SalePrice"), QStringLiteral("销售价"), 1},
                                {QStringLiteral("Remark1"), QStringLiteral("备注一"), 2}};

} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    void formats_data();
    void formats();
    void savedLayoutComesBack();
    void chooserMovesAndStores();
    void sortText_data();
    void sortText();
    void titleClicksSortAndKeepSelection();
    void editsGoThroughTheDataSet();
    void buttonsAndActivation();
    void dataSetMayGoFirst();
    void exportWritesWhatTheGridShows();
    void exportFileName_data();
    void exportFileName();
    void exportRefusesAndReportsFailure();
};

void TestGrid::formats_data() {
    QTest::addColumn<QVector<int>>("decimals"); // DotPrice, DotNumber, DotMoney
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("dotSize");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("footer");
    QTest::newRow("money 2, summed") << QVector<int>{4, 4, 2} << "SalePrice" << 3 << QVariantList{12.5, 25.0}
                                     << QStringList{"12.50", "25.00"} << "37.50";
    QTest::newRow("price 0: whole numbers") << QVector<int>{0, 2, 2} << "SalePrice" << 1
                                            << QVariantList{12.5, 3.49} << QStringList{"13", "3"} << "16";
    QTest::newRow("price 11: unformatted")
        << QVector<int>{11, 2, 2} << "SalePrice" << 1 << QVariantList{12.5, 3.25}
        << QStringList{"12.5", "3.25"} << "15.75";
    QTest::newRow("money: exact halves round up")
        << QVector<int>{2, 2, 2} << "SalePrice" << 3 << QVariantList{12.345, 0.005}
        << QStringList{"12.35", "0.01"} << "12.35";
    QTest::newRow("number 2: decimal halves")
        << QVector<int>{2, 2, 2} << "Rate" << 2 << QVariantList{2.675, 1.005} << QStringList{"2.68", "1.01"}
        << "3.68";
    QTest::newRow("DotSize 0: unformatted")
        << QVector<int>{2, 2, 2} << "Rate" << 0 << QVariantList{2.5, 0.125} << QStringList{"2.5", "0.125"}
        << "2.625";
}

void TestGrid::formats() {
    QFETCH(QVector<int>, decimals);
    QFETCH(QString, field);
    QFETCH(int, dotSize);
    QFETCH(QVariantList, values);
    QFETCH(QStringList, cells);
    QFETCH(QString, footer);
    TestDatabase t;
    setDecimals(decimals[0], decimals[1], decimals[2]);
    addColumns(QStringLiteral("t"), {{QStringLiteral("MedicineCode"), QStringLiteral("编码"), 0},
                                     {field, QStringLiteral("值"), 1, 1, 1, dotSize}});
    for (int i = 0; i < values.size(); ++i)
        RunSQL(QStringLiteral("INSERT INTO tMedicine (MedicineCode, %1) VALUES (?, ?)").arg(field),
               {QStringLiteral("M%1").arg(i), field == QLatin1String("SalePrice")
                                                  ? QVariant(Currency::fromDouble(values[i].toDouble()).raw())
                                                  : values[i]});
    QStringList status;
    Commands::setStatusSink([&](int panel, const QString& text) { status << QString::number(panel) + text; });
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine ORDER BY MedicineCode"));
    DataGrid grid;
    LoadGridColumns(&grid, ds, QStringLiteral("t"));
    Commands::setStatusSink(nullptr);
    QCOMPARE(columnTexts(grid, 1), cells);
    QVERIFY(grid.isFooterVisible());
    QCOMPARE(grid.footerText(0), QString());
    QCOMPARE(grid.footerText(1), footer);
    QCOMPARE(status, QStringList{QStringLiteral("2当前共有%1条记录").arg(values.size())});
}

void TestGrid::savedLayoutComesBack() {
    TestDatabase t;
    ScriptedAnswers answers;
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine"));
    const QString set = QStringLiteral("Medicine");
    const QVariant hiddenId = t.db().scalar(
        QStringLiteral("SELECT ShowID FROM tFieldShow WHERE TableName = ? AND Field = 'WholesalePrice'"),
        {set});
    {
        DataGrid grid;
        LoadGridColumns(&grid, ds, set);
        QCOMPARE(grid.model()->column(0).field, QStringLiteral("MedicineCode"));
        QHeaderView* h = grid.view()->horizontalHeader();
        const int agree = grid.model()->columnOfField(QStringLiteral("AgreeNo"));
        h->moveSection(h->visualIndex(agree), 0);
        h->resizeSection(agree, 222);
        grid.findChild<QAction*>(QStringLiteral("actSaveFieldShow"))->trigger();
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("列属性已成功保存!")});
    }
    DataGrid again;
    LoadGridColumns(&again, ds, set);
    // "设置列显示" opens the chooser on the grid's set.
    QString chooserSet;
    QTimer::singleShot(0, [&]() {
        if (auto* dlg = qobject_cast<TFrmFieldShow*>(QApplication::activeModalWidget())) {
            chooserSet = dlg->setName() + QLatin1Char('/') + QString::number(dlg->choice().shown.size());
            dlg->reject();
        }
    });
    again.findChild<QAction*>(QStringLiteral("actFieldShow"))->trigger();
    QCOMPARE(chooserSet, QStringLiteral("Medicine/12"));
    const QVector<GridColumn> cols = again.visibleColumns();
    QCOMPARE(cols[0].field, QStringLiteral("AgreeNo"));
    QCOMPARE(cols[0].width, 222);
    QCOMPARE(cols[1].field, QStringLiteral("MedicineCode"));
    // Hidden columns keep their place.
    QCOMPARE(
        t.db().scalar(
            QStringLiteral("SELECT ShowID FROM tFieldShow WHERE TableName = ? AND Field = 'WholesalePrice'"),
            {set}),
        hiddenId);

    // A grid of one column stores nothing and says nothing.
    addColumns(QStringLiteral("one"), {{QStringLiteral("MedicineName"), QStringLiteral("名称"), 5}});
    answers.clear();
    DataGrid single;
    LoadGridColumns(&single, ds, QStringLiteral("one"));
    single.view()->horizontalHeader()->resizeSection(0, 300);
    SaveGridColumns(&single, QStringLiteral("one"), true);
    QCOMPARE(answers.texts(), QStringList());
    QCOMPARE(t.db().scalar(
                 QStringLiteral("SELECT ShowID || '/' || Width FROM tFieldShow WHERE TableName = 'one'")),
             QVariant(QStringLiteral("5/80")));
}

void TestGrid::chooserMovesAndStores() {
    TestDatabase t;
    ScriptedAnswers answers;
    const QString set = QStringLiteral("c");
    // The showmoney rows appear in neither list and keep their flags, even under a listed caption.
    addColumns(set, {{QStringLiteral("a"), QStringLiteral("甲"), 0, 1},
                     {QStringLiteral("b"), QStringLiteral("乙"), 1, 1},
                     {QStringLiteral("c"), QStringLiteral("丙"), 2, 0},
                     {QStringLiteral("d"), QStringLiteral("丁"), 3, 0},
                     {QStringLiteral("m"), QStringLiteral("金额"), 4, 1, 0, 0, 1, 0, 1},
                     {QStringLiteral("n"), QStringLiteral("丙"), 5, 1, 0, 0, 1, 0, 1}});
    auto listed = [](const QListWidget* l) {
        QStringList s;
        for (int i = 0; i < l->count(); ++i)
            s << l->item(i)->text();
        return s;
    };
    TFrmFieldShow dlg;
    dlg.setSetName(set);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("FrmFieldShow"));
    auto* left = dlg.findChild<QListWidget*>(QStringLiteral("lstHidden"));
    auto* right = dlg.findChild<QListWidget*>(QStringLiteral("lstShown"));
    auto* add = dlg.findChild<QPushButton*>(QStringLiteral("btnAdd"));
    auto* addAll = dlg.findChild<QPushButton*>(QStringLiteral("btnAddAll"));
    auto* remove = dlg.findChild<QPushButton*>(QStringLiteral("btnRemove"));
    auto* removeAll = dlg.findChild<QPushButton*>(QStringLiteral("btnRemoveAll"));
    QCOMPARE(listed(left), (QStringList{"丙", "丁"}));
    QCOMPARE(listed(right), (QStringList{"甲", "乙"}));

    left->setCurrentRow(1);
    add->click();
    QCOMPARE(listed(left), QStringList{"丙"});
    QCOMPARE(listed(right), (QStringList{"甲", "乙", "丁"}));
    QCOMPARE(left->currentRow(), 0);
    add->click(); // the first entry was selected by the move
    QCOMPARE(listed(left), QStringList());
    QVERIFY(!add->isEnabled() && !addAll->isEnabled() && remove->isEnabled() && removeAll->isEnabled());

    removeAll->click();
    QCOMPARE(listed(left), (QStringList{"甲", "乙", "丁", "丙"}));
    QVERIFY(add->isEnabled() && addAll->isEnabled() && !remove->isEnabled() && !removeAll->isEnabled());
    addAll->click();
    QCOMPARE(listed(right), (QStringList{"甲", "乙", "丁", "丙"}));
    // A double click moves an entry back.
    QListWidgetItem* yi = right->item(1);
    QTest::mouseClick(right->viewport(), Qt::LeftButton, {}, right->visualItemRect(yi).center());
    QTest::mouseDClick(right->viewport(), Qt::LeftButton, {}, right->visualItemRect(yi).center());
    QCOMPARE(listed(left), QStringList{"乙"});
    QCOMPARE(listed(right), (QStringList{"甲", "丁", "丙"}));

    dlg.findChild<QPushButton*>(QStringLiteral("btnOk"))->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("修改完成！")});
    QSqlQuery q =
        t.db().exec(QStringLiteral("SELECT group_concat(Field || show, ' ') FROM "
                                   "(SELECT Field, show FROM tFieldShow WHERE TableName = ? ORDER BY id)"),
                    {set});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("a1 b0 c1 d1 m1 n1"));

    // "退出(&E)" stores nothing.
    TFrmFieldShow other;
    other.setSetName(set);
    other.show();
    other.findChild<QPushButton*>(QStringLiteral("btnAddAll"))->click();
    other.findChild<QPushButton*>(QStringLiteral("btnExit"))->click();
    QCOMPARE(t.db().scalar(QStringLiteral("SELECT show FROM tFieldShow WHERE TableName = ? AND Field = 'b'"),
                           {set}),
             QVariant(0));
}

void TestGrid::sortText_data() {
    QTest::addColumn<QStringList>("markers"); // field, "-" in front for descending
    QTest::addColumn<QString>("text");
    QTest::newRow("two columns") << QStringList{"MedicineName", "-SalePrice"}
                                 << QStringLiteral("  MedicineName, SalePrice DESC ");
    QTest::newRow("a field name with a 1")
        << QStringList{"-Remark1", "Rate"} << QStringLiteral("  Remark1 DESC , Rate");
    QTest::newRow("unknown and unsafe names left out")
        << QStringList{"Nope", "-x; drop table tMedicine", "salePRICE"} << QStringLiteral("  SalePrice");
    QTest::newRow("no marker") << QStringList() << QString();
}

void TestGrid::sortText() {
    QFETCH(QStringList, markers);
    QFETCH(QString, text);
    TestDatabase t;
    DataSet ds;
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine"));
    QVector<SortMarker> m;
    for (const QString& s : markers)
        m.push_back({s.startsWith(QLatin1Char('-')) ? s.mid(1) : s, s.startsWith(QLatin1Char('-'))});
    QCOMPARE(SortTextFromMarkers(m, ds), text);
}

void TestGrid::titleClicksSortAndKeepSelection() {
    GridFixture f(kSortCols);
    QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
    QHeaderView* h = f.grid.view()->horizontalHeader();
    auto codes = [&]() {
        QStringList l;
        for (int r = 0; r < f.ds.recordCount(); ++r)
            l << f.ds.text(r, f.ds.fieldIndex(QStringLiteral("MedicineCode")));
        return l;
    };
    // Rows 0 and 2 (A1, A3) chosen with the mouse: a click and a Ctrl+click.
    QTest::mouseClick(f.grid.view()->viewport(), Qt::LeftButton, {}, cellCenter(f.grid, 0, 0));
    QTest::mouseClick(f.grid.view()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      cellCenter(f.grid, 2, 0));
    const QVector<DataSet::Bookmark> chosen{f.ds.bookmarkAt(0), f.ds.bookmarkAt(2)};
    QCOMPARE(sorted(f.grid.selectedBookmarks()), sorted(chosen));

    auto clickTitle = [&](int column) {
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2));
    };
    clickTitle(2); // Remark1 ascending
    clickTitle(1); // SalePrice ascending,
    clickTitle(1); // then descending
    QCOMPARE(f.ds.sort(), QStringLiteral("  Remark1, SalePrice DESC "));
    QCOMPARE(codes(), (QStringList{"A3", "A2", "A1"}));
    QCOMPARE(f.grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("备注一 ▲1"));
    QCOMPARE(f.grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("销售价 ▼2"));
    // The same records stay selected, now on other rows.
    QCOMPARE(sorted(f.ds.selectedBookmarks()), sorted(chosen));
    QCOMPARE(f.grid.view()->selectionModel()->selectedRows().size(), 2);
    for (const QModelIndex& i : f.grid.view()->selectionModel()->selectedRows())
        QVERIFY(chosen.contains(f.ds.bookmarkAt(i.row())));

    clickTitle(1); // SalePrice off
    QCOMPARE(f.ds.sort(), QStringLiteral("  Remark1"));
    QCOMPARE(f.grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("备注一 ▲"));
    QCOMPARE(f.grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("销售价"));
    // Reloading after a new search shows the markers of the sort the dataset still applies.
    f.ds.refresh();
    LoadGridColumns(&f.grid, f.ds, QStringLiteral("t"));
    QCOMPARE(f.grid.sortMarkers().size(), 1);
    QCOMPARE(f.grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("备注一 ▲"));
}

void TestGrid::editsGoThroughTheDataSet() {
    QVector<Col> cols = kSortCols;
    cols[1].readOnly = 0;
    cols << Col{QStringLiteral("WholesalePrice"), QStringLiteral("批发价"), 3};
    GridFixture f(cols);
    ScriptedAnswers answers;
    f.ds.setBatchMode(true);
    // A field event: the wholesale price follows the sale price.
    f.ds.setFieldHook([](DataSet& ds, int field) {
        if (ds.fieldName(field).compare(QStringLiteral("SalePrice"), Qt::CaseInsensitive) == 0)
            ds.setValue(QStringLiteral("WholesalePrice"),
                        ds.currency(QStringLiteral("SalePrice")).times(0.8).toDouble());
    });
    DataSetModel* m = f.grid.model();
    QVERIFY(!(m->flags(m->index(1, 0)) & Qt::ItemIsEditable));
    QVERIFY(m->flags(m->index(1, 1)) & Qt::ItemIsEditable);
    QSignalSpy changed(m, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(m, &QAbstractItemModel::modelReset);
    QVERIFY(m->setData(m->index(1, 1), QStringLiteral("10")));
    QCOMPARE(m->index(1, 3).data().toString(), QStringLiteral("8"));
    QCOMPARE(m->index(1, 1).data(Qt::EditRole), QVariant(10.0));
    QVERIFY(!changed.isEmpty());
    for (const QList<QVariant>& args : changed) {
        QCOMPARE(args[0].toModelIndex().row(), 1);
        QCOMPARE(args[1].toModelIndex().row(), 1);
    }
    QCOMPARE(reset.size(), 0);
    // Bad input is refused; the old value stays and the message is shown.
    QVERIFY(!m->setData(m->index(1, 1), QStringLiteral("abc")));
    QCOMPARE(m->index(1, 1).data(Qt::EditRole), QVariant(10.0));
    QTRY_COMPARE(answers.shown.size(), 1);
    QVERIFY(answers.shown[0].text.contains(QStringLiteral("abc")));
    // A read-only grid refuses every edit.
    f.grid.setReadOnly(true);
    QVERIFY(!m->setData(m->index(1, 1), QStringLiteral("11")));
    QCOMPARE(f.ds.value(1, f.ds.fieldIndex(QStringLiteral("SalePrice"))), QVariant(10.0));
}

void TestGrid::buttonsAndActivation() {
    QVector<Col> cols = kSortCols;
    cols[2].button = 1;
    cols[2].width = 120;
    GridFixture f(cols);
    QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
    QSignalSpy button(&f.grid, &DataGrid::editButtonClicked);
    QSignalSpy activated(&f.grid, &DataGrid::rowActivated);
    QWidget* vp = f.grid.view()->viewport();
    const QRect cell = f.grid.view()->visualRect(f.grid.model()->index(1, 2));
    QTest::mouseClick(vp, Qt::LeftButton, {}, DataGridDelegate::buttonRect(cell).center());
    QCOMPARE(button.size(), 1);
    QCOMPARE(button[0][0].toInt(), 1);
    QCOMPARE(button[0][1].toString(), QStringLiteral("Remark1"));
    QCOMPARE(f.grid.currentRow(), 1);
    QCOMPARE(f.grid.fieldValue(QStringLiteral("MedicineCode")).toString(), QStringLiteral("A2"));
    QCOMPARE(f.ds.recNo(), 1);
    // Double click and Enter give the row; the rest of the button column's cell does not press it.
    QTest::mouseClick(vp, Qt::LeftButton, {}, cellCenter(f.grid, 2, 0));
    QTest::mouseDClick(vp, Qt::LeftButton, {}, cellCenter(f.grid, 2, 0));
    QTest::keyClick(f.grid.view(), Qt::Key_Return);
    QCOMPARE(activated.size(), 2);
    QCOMPARE(activated[0][0].toInt(), 2);
    QCOMPARE(activated[1][0].toInt(), 2);
    QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(cell.left() + 5, cell.center().y()));
    QCOMPARE(button.size(), 1);
    // The grid follows the dataset's cursor moved by code.
    f.ds.setRecNo(0);
    QCOMPARE(f.grid.currentRow(), 0);
}

void TestGrid::dataSetMayGoFirst() {
    // A window's own query is destroyed before the window's child grid.
    TestDatabase t;
    addColumns(QStringLiteral("t"), kSortCols);
    auto grid = std::make_unique<DataGrid>();
    DataSet shared;
    {
        DataSet own;
        addMedicine(QStringLiteral("A1"), QStringLiteral("药"), 1, 1);
        OpenSQL(own, QStringLiteral("SELECT * FROM tMedicine"));
        LoadGridColumns(grid.get(), own, QStringLiteral("t"));
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
    }
    grid.reset();
    // A grid gone before its dataset leaves nothing behind that the dataset would call.
    {
        DataGrid g;
        OpenSQL(shared, QStringLiteral("SELECT * FROM tMedicine"));
        LoadGridColumns(&g, shared, QStringLiteral("t"));
    }
    shared.refresh();
    shared.setSort(QStringLiteral("MedicineName"));
    QCOMPARE(shared.recordCount(), 1);
}

void TestGrid::exportWritesWhatTheGridShows() {
    QVector<Col> cols = kSortCols;
    cols[1].dotSize = 1;
    cols << Col{QStringLiteral("Rate"), QStringLiteral("换算率"), 3};
    GridFixture f(cols);
    setDecimals(2, 3, 4);
    RunSQL(QStringLiteral("UPDATE tMedicine SET MedicineName = '=1+1' WHERE MedicineCode = 'A2'"));
    f.ds.refresh();
    LoadGridColumns(&f.grid, f.ds, QStringLiteral("t"));
    ScriptedAnswers answers;
    answers.queue(Msg::IdNo);
    QHeaderView* h = f.grid.view()->horizontalHeader();
    h->moveSection(h->visualIndex(3), 0); // Rate first
    const QString path = QDir(f.t.dir()).filePath(QStringLiteral("stock"));
    QString offered;
    SetExportFileNameProvider([&](QWidget*, const QString& name, const QString& filter) {
        offered = name + QLatin1Char('|') + filter;
        return path;
    });
    QVERIFY(ExportGridToExcel(&f.grid, QStringLiteral("药品信息")));
    SetExportFileNameProvider(nullptr);
    QCOMPARE(offered, QStringLiteral("药品信息|EXCEL文件(*.xlsx)"));
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].text,
             QStringLiteral("文件\"") + path + QStringLiteral(".xlsx已建立，是否打开文件？\"吗?"));
    QCOMPARE(answers.shown[0].caption, QStringLiteral("提示"));
    QCOMPARE(answers.shown[0].buttons(), int(Msg::YesNo));

    QString error;
    auto wb = Workbook::open(path + QStringLiteral(".xlsx"), &error);
    QVERIFY2(wb, qPrintable(error));
    QCOMPARE(wb->rowCount(), 4);
    QCOMPARE(wb->columnCount(), 4);
    QStringList captions;
    for (int c = 1; c <= 4; ++c)
        captions << wb->valueText(1, c);
    QCOMPARE(captions, (QStringList{"换算率", "药品名称", "销售价", "备注一"}));
    QCOMPARE(wb->cell(2, 3).type, SheetCell::Type::Number);
    QCOMPARE(wb->value(2, 3), QVariant(12.5));
    QCOMPARE(wb->text(2, 3), QStringLiteral("12.50"));
    QCOMPARE(wb->cell(3, 1).type, SheetCell::Type::Number);
    QCOMPARE(wb->value(3, 1), QVariant(1.0));
    QCOMPARE(wb->cell(3, 2).type, SheetCell::Type::Text);
    QCOMPARE(wb->value(3, 2), QVariant(QStringLiteral("=1+1")));
    QCOMPARE(wb->value(4, 4), QVariant(QStringLiteral("a")));
}

void TestGrid::exportFileName_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension, trimmed") << "stock "
                                           << "stock.xlsx";
    QTest::newRow("xlsx kept") << "stock.xlsx"
                               << "stock.xlsx";
    QTest::newRow("contains .xls: kept") << "stock.xls.bak"
                                         << "stock.xls.bak";
}

void TestGrid::exportFileName() {
    QFETCH(QString, answer);
    QFETCH(QString, written);
    GridFixture f(kSortCols);
    ScriptedAnswers answers;
    answers.queue(Msg::IdNo);
    const QString dir = f.t.dir() + QLatin1Char('/');
    SetExportFileNameProvider([&](QWidget*, const QString&, const QString&) { return dir + answer; });
    QVERIFY(ExportGridToExcel(&f.grid));
    SetExportFileNameProvider(nullptr);
    QVERIFY(QFileInfo::exists(dir + written));
    QVERIFY(answers.texts().value(0).contains(dir + written + QStringLiteral("已建立")));
}

void TestGrid::exportRefusesAndReportsFailure() {
    TestDatabase t;
    ScriptedAnswers answers;
    int asked = 0;
    QString answer;
    SetExportFileNameProvider([&](QWidget*, const QString&, const QString&) {
        ++asked;
        return answer;
    });
    addColumns(QStringLiteral("t"), kSortCols);
    DataSet ds;
    DataGrid grid;
    grid.setColumns(&ds, ReadGridColumns(QStringLiteral("t")));
    QVERIFY(!ExportGridToExcel(&grid, QStringLiteral("x")));
    OpenSQL(ds, QStringLiteral("SELECT * FROM tMedicine"));
    QVERIFY(!ExportGridToExcel(&grid, QStringLiteral("x")));
    QCOMPARE(answers.texts(), (QStringList{QStringLiteral("数据没有显示不能导出成Excel文件!"),
                                           QStringLiteral("没有数据,不能导出成Excel文件!")}));
    QCOMPARE(asked, 0);

    addMedicine(QStringLiteral("A1"), QStringLiteral("药"), 1, 1);
    ds.refresh();
    answers.clear();
    answer = QString(); // cancelled
    QVERIFY(!ExportGridToExcel(&grid));
    QCOMPARE(answers.texts(), QStringList());
    // A folder that does not exist: the error is shown, no success is claimed.
    answer = QDir(t.dir()).filePath(QStringLiteral("missing/out.xlsx"));
    QVERIFY(!ExportGridToExcel(&grid));
    SetExportFileNameProvider(nullptr);
    QCOMPARE(answers.shown.size(), 1);
    QCOMPARE(answers.shown[0].caption, QStringLiteral("错误"));
    QVERIFY(!answers.shown[0].text.contains(QStringLiteral("已建立")));
    QVERIFY(!QFileInfo::exists(answer));
}

QTEST_MAIN(TestGrid)
#include "tst_core_grid.moc"
