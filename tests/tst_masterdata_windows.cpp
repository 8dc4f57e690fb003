#include "core/DataSet.h"
#include "core/DataSetModel.h"
#include "core/Database.h"
#include "core/Routines.h"
#include "core/Schema.h"
#include "core/UData.h"
#include "core/widgets/CoreCommands.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DataGrid.h"
#include "core/widgets/TypeTree.h"
#include "masterdata/uAddCustom.h"
#include "masterdata/uAddEmployee.h"
#include "masterdata/uAddMedicine.h"
#include "masterdata/uAddSupply.h"
#include "masterdata/uMedicine.h"
#include "masterdata/uMember.h"
#include "masterdata/uSelectCust.h"
#include "masterdata/widgets/MasterDataCommands.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>

// The master list windows, editors and the supplier picker, driven by objectName offscreen.
class TestMasterWindows : public QObject {
    Q_OBJECT
private slots:
    void medicineListSearchCategoryReload();
    void sortMarkersReorderEveryList_data();
    void sortMarkersReorderEveryList();
    void deleteFromEmptyListAsksNothing();
    void batchCategoryChangeMovesSelectedRows();
    void medicineEditorChecksSavesAndStaysOpen();
    void partnerEditorAfterAdding_data();
    void partnerEditorAfterAdding();
    void employeeKeepsDepartmentAfterSaving();
    void pickerAddsSearchesAndFillsCaller();
    void memberListAndEditor();
};

namespace {

// A program folder with a new database, the data module on it, a frame for the list windows
// and the commands registered.
struct App {
    QTemporaryDir home;
    std::unique_ptr<TFrmData> data;
    QMdiArea area;
    ScriptedAnswers answers;

    explicit App(bool demo) {
        QDir(home.path()).mkpath(QStringLiteral("DataBase"));
        {
            Database db;
            db.create(QDir(home.path()).filePath(QStringLiteral("DataBase/Pelmora.db")));
            Schema::createNew(db, demo);
            db.close();
        }
        data = std::make_unique<TFrmData>(home.path());
        data->FormCreate();
        Commands::setMdiArea(&area);
        RegisterCoreCommands();
        RegisterMasterDataCommands();
        area.resize(1000, 700);
        area.show();
    }
    ~App() {
        area.closeAllSubWindows();
        QApplication::processEvents();
        Commands::setMdiArea(nullptr);
    }
    Database& db() { return data->db(); }
    int count(const QString& sql) { return db().scalar(sql).toInt(); }
    // Opens a list by its command; the window now in front.
    MasterListWindow* open(const QString& command) {
        Commands::handler(command)();
        QMdiSubWindow* sub = area.activeSubWindow();
        return sub ? qobject_cast<MasterListWindow*>(sub->widget()) : nullptr;
    }
};

DataGrid* gridOf(QWidget* w) {
    return w->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
}

void click(QWidget* w, const QString& name) {
    auto* b = w->findChild<QAbstractButton*>(name);
    QVERIFY2(b, qPrintable(name));
    QTest::mouseClick(b, Qt::LeftButton);
}

// Types text key by key (also Chinese characters, which QTest::keyClicks cannot send).
void keys(QWidget* target, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void type(QWidget* w, const QString& name, const QString& text) {
    auto* e = w->findChild<QLineEdit*>(name);
    QVERIFY2(e, qPrintable(name));
    e->clear();
    keys(e, text);
}

QString textOf(QWidget* w, const QString& name) {
    if (auto* e = w->findChild<QLineEdit*>(name))
        return e->text();
    if (auto* c = w->findChild<QComboBox*>(name))
        return c->currentText();
    return QStringLiteral("<no %1>").arg(name);
}

// Runs work on the next modal dialog once it is shown (from inside its exec()).
void onNextModal(std::function<void(QWidget*)> work) {
    QTimer::singleShot(0, [work]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal)
            work(modal);
    });
}

} // namespace

void TestMasterWindows::medicineListSearchCategoryReload() {
    App app(true);
    MasterListWindow* w = app.open(QStringLiteral("OpenMedicine"));
    QVERIFY(w && w == FrmMedicine);
    QCOMPARE(w->windowTitle(), QStringLiteral("药品管理"));
    QVERIFY(w->parentWidget()->isMaximized());
    DataSet& list = app.data->QryMedicine;
    const int all = app.count(QStringLiteral("select count(*) from tMedicine"));
    QCOMPARE(gridOf(w)->model()->rowCount(), all);
    QCOMPARE(list.text(0, list.fieldIndex(QStringLiteral("MedicineCode"))),
             QStringLiteral("YP0001")); // id order
    QVERIFY(gridOf(w)->view()->alternatingRowColors());
    QCOMPARE(static_cast<GridHost*>(w)->hostGrid(), gridOf(w));
    QCOMPARE(static_cast<GridHost*>(w)->hostGridName(), QStringLiteral("药品管理"));
    // The same command brings the window forward instead of opening a second one.
    QCOMPARE(app.open(QStringLiteral("OpenMedicine")), w);
    QCOMPARE(app.area.subWindowList().size(), 1);

    type(w, QStringLiteral("EditKey"), QStringLiteral("yp0001"));
    QCOMPARE(gridOf(w)->model()->rowCount(), 1);
    type(w, QStringLiteral("EditKey"), QString());
    auto* tree = w->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    QTreeWidgetItem* western = FindTypeTreeItem(tree, QStringLiteral("01"));
    QVERIFY(western);
    emit tree->itemDoubleClicked(western, 0);
    const int inWestern =
        app.count(QStringLiteral("select count(*) from tMedicine where TypeCode like '01%'"));
    QVERIFY(inWestern > app.count(QStringLiteral("select count(*) from tMedicine where TypeCode = '01'")));
    QCOMPARE(gridOf(w)->model()->rowCount(), inWestern);
    // Reloading keeps the category and the search text, and shows rows added meanwhile.
    type(w, QStringLiteral("EditKey"), QStringLiteral("胶囊"));
    const int capsules = gridOf(w)->model()->rowCount();
    QVERIFY(capsules > 0 && capsules < inWestern);
    app.db().run(QStringLiteral("insert into tMedicine (MedicineCode, MedicineName, TypeCode) values "
                                "('YP9000', '新胶囊', '0101'), ('YP9001', '别类胶囊', '02')"));
    click(w, QStringLiteral("ToolButton3"));
    QCOMPARE(gridOf(w)->model()->rowCount(), capsules + 1);
    emit tree->itemDoubleClicked(TypeTreeRoot(tree), 0);
    type(w, QStringLiteral("EditKey"), QString());
    QCOMPARE(gridOf(w)->model()->rowCount(), all + 2);
}

void TestMasterWindows::sortMarkersReorderEveryList_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("field");
    QTest::newRow("medicines") << "OpenMedicine"
                               << "MedicineName";
    QTest::newRow("suppliers") << "OpenSupply"
                               << "SupplyName";
    QTest::newRow("customers") << "OpenCustom"
                               << "CustName";
    QTest::newRow("employees") << "OpenEmployee"
                               << "EmployeeName";
    QTest::newRow("members") << "SetMember"
                             << "MemberName";
}

void TestMasterWindows::sortMarkersReorderEveryList() {
    QFETCH(QString, command);
    QFETCH(QString, field);
    App app(true);
    MasterListWindow* w = app.open(command);
    QVERIFY(w);
    DataGrid* grid = gridOf(w);
    const int column = grid->model()->columnOfField(field);
    QVERIFY(column >= 0);
    grid->clickTitle(column);
    grid->clickTitle(column); // descending
    DataSet& list = *w->setup().list;
    auto descending = [&list, &field]() {
        const int f = list.fieldIndex(field);
        for (int row = 1; row < list.recordCount(); ++row)
            if (list.text(row - 1, f).compare(list.text(row, f), Qt::CaseInsensitive) < 0)
                return false;
        return list.recordCount() > 3;
    };
    QVERIFY(descending());
    // A search keeps the markers in force.
    type(w, QStringLiteral("EditKey"), QStringLiteral("1"));
    QVERIFY(descending());
}

void TestMasterWindows::deleteFromEmptyListAsksNothing() {
    App app(false);
    MasterListWindow* w = app.open(QStringLiteral("OpenSupply"));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("供应商管理"));
    click(w, QStringLiteral("TB_Del"));
    click(w, QStringLiteral("TB_Edit")); // nothing to edit: no editor opens
    QVERIFY(app.answers.shown.isEmpty());
    app.db().run(QStringLiteral("insert into tSupply (SupplyName) values ('甲'), ('乙')"));
    click(w, QStringLiteral("ToolButton3"));
    gridOf(w)->view()->setCurrentIndex(gridOf(w)->model()->index(1, 0));
    app.answers.queue(Msg::IdNo);
    click(w, QStringLiteral("TB_Del"));
    click(w, QStringLiteral("TB_Del"));
    QCOMPARE(app.answers.texts(), (QStringList{"确认删除此条记录?", "确认删除此条记录?"}));
    QCOMPARE(app.db().scalar(QStringLiteral("select group_concat(SupplyName) from tSupply")).toString(),
             QStringLiteral("甲"));
}

void TestMasterWindows::batchCategoryChangeMovesSelectedRows() {
    App app(true);
    MasterListWindow* w = app.open(QStringLiteral("OpenMedicine"));
    DataSet& list = app.data->QryMedicine;
    gridOf(w)->selectRows({0, 2});
    const QString first = list.text(0, list.fieldIndex(QStringLiteral("MedicineCode")));
    const QString third = list.text(2, list.fieldIndex(QStringLiteral("MedicineCode")));
    QString title;
    onNextModal([&title](QWidget* dlg) {
        title = dlg->windowTitle();
        dlg->findChild<QLineEdit*>(QStringLiteral("EditTypeName"))->setText(QStringLiteral("中成药"));
        dlg->findChild<QLineEdit*>(QStringLiteral("EditTypeCode"))->setText(QStringLiteral("02"));
        QTest::mouseClick(dlg->findChild<QPushButton*>(QStringLiteral("Btn_ok")), Qt::LeftButton);
    });
    gridOf(w)->contextMenu()->findChild<QAction*>(QStringLiteral("N3"))->trigger();
    QCOMPARE(title, QStringLiteral("批量修改分类"));
    QCOMPARE(app.count(QStringLiteral(
                           "select count(*) from tMedicine where TypeCode = '02' and MedicineType = '中成药' "
                           "and MedicineCode in ('%1', '%2')")
                           .arg(first, third)),
             2);
    QCOMPARE(app.db().scalar(QStringLiteral("select TypeCode from tMedicine where id = 2")).toString(),
             QStringLiteral("0101"));
    // The moved rows are found under their new category.
    emit w->findChild<QTreeWidget*>(QStringLiteral("TreeView1"))
        ->itemDoubleClicked(
            FindTypeTreeItem(w->findChild<QTreeWidget*>(QStringLiteral("TreeView1")), QStringLiteral("02")),
            0);
    type(w, QStringLiteral("EditKey"), first);
    QCOMPARE(gridOf(w)->model()->rowCount(), 1);
}

void TestMasterWindows::medicineEditorChecksSavesAndStaysOpen() {
    App app(false);
    TFrmAddMedicine dlg;
    dlg.AddMode = true;
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("新增药品资料"));
    QCOMPARE(dlg.findChild<QPushButton*>(QStringLiteral("BtnOK"))->text(), QStringLiteral("新增&A"));
    QCOMPARE(textOf(&dlg, QStringLiteral("EditRate")), QStringLiteral("1"));
    QCOMPARE(textOf(&dlg, QStringLiteral("EditSalePrice")), QStringLiteral("0"));
    QVERIFY(dlg.findChild<QComboBox*>(QStringLiteral("ComboFirstUnits"))->count() > 0);
    QCOMPARE(textOf(&dlg, QStringLiteral("ComboFirstUnits")), QString());
    type(&dlg, QStringLiteral("EditMedicineCode"), QStringLiteral("ZY0001"));
    type(&dlg, QStringLiteral("EditMedicineName"), QStringLiteral("板蓝根颗粒"));
    dlg.findChild<QComboBox*>(QStringLiteral("ComboJiXing"))->setEditText(QStringLiteral("颗粒剂"));
    dlg.findChild<QComboBox*>(QStringLiteral("ComboFirstUnits"))->setEditText(QStringLiteral("袋"));
    click(&dlg, QStringLiteral("BtnOK"));
    QCOMPARE(app.answers.texts(), QStringList{"生产厂家不能为空！"});
    QCOMPARE(dlg.focusWidget(), dlg.findChild<QWidget*>(QStringLiteral("EditManufacturer")));
    type(&dlg, QStringLiteral("EditManufacturer"), QStringLiteral("白云山"));
    dlg.findChild<QCheckBox*>(QStringLiteral("CBAuto"))->setChecked(true);
    click(&dlg, QStringLiteral("BtnOK"));
    QCOMPARE(app.answers.texts().size(), 1);
    QCOMPARE(app.count(QStringLiteral("select count(*) from tMedicine where MedicineCode = 'ZY0001'")), 1);
    QCOMPARE(app.data->QryMedicine.recordCount(), 1);
    // Still open for the next medicine, offered the next code.
    QVERIFY(dlg.isVisible());
    QCOMPARE(textOf(&dlg, QStringLiteral("EditMedicineCode")), QStringLiteral("ZY0002"));
    QCOMPARE(textOf(&dlg, QStringLiteral("EditMedicineName")), QString());
    QVERIFY(dlg.findChild<QCheckBox*>(QStringLiteral("CBAuto"))->isChecked());
}

void TestMasterWindows::partnerEditorAfterAdding_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("nameBox");
    QTest::addColumn<bool>("empties");
    QTest::newRow("customer") << "Custom"
                              << "EditCustName" << true;
    QTest::newRow("supplier") << "Supply"
                              << "EditSupplyName" << false;
    QTest::newRow("employee") << "Employee"
                              << "EditEmployeeName" << false;
}

void TestMasterWindows::partnerEditorAfterAdding() {
    QFETCH(QString, kind);
    QFETCH(QString, nameBox);
    QFETCH(bool, empties);
    App app(false);
    std::unique_ptr<PartnerEditorDialog> dlg;
    if (kind == QLatin1String("Custom"))
        dlg = std::make_unique<TFrmAddCustom>();
    else if (kind == QLatin1String("Supply"))
        dlg = std::make_unique<TFrmAddSupply>();
    else
        dlg = std::make_unique<TFrmAddEmployee>();
    dlg->AddMode = true;
    dlg->show();
    if (kind == QLatin1String("Employee"))
        type(dlg.get(), QStringLiteral("EditEmployeeCode"), QStringLiteral("E01"));
    type(dlg.get(), nameBox, QStringLiteral("华东"));
    type(dlg.get(), QStringLiteral("EditTel"), QStringLiteral("0571-1234"));
    click(dlg.get(), QStringLiteral("BtnOk"));
    QVERIFY2(app.answers.shown.isEmpty(), qPrintable(app.answers.texts().join(QLatin1Char('|'))));
    QCOMPARE(textOf(dlg.get(), nameBox), empties ? QString() : QStringLiteral("华东"));
    QCOMPARE(textOf(dlg.get(), QStringLiteral("EditTel")), empties ? QString() : QStringLiteral("0571-1234"));
}

void TestMasterWindows::employeeKeepsDepartmentAfterSaving() {
    App app(false);
    app.db().run(QStringLiteral(
        "insert into tEmployee (EmployeeCode, EmployeeName, Depart) values ('E07', '钱七', '采购部')"));
    OpenSQL(app.data->QryEmployee, QStringLiteral("select 1,* from tEmployee order by id"));
    TFrmAddEmployee dlg;
    dlg.AddMode = false;
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("编辑员工资料"));
    auto* depart = dlg.findChild<QComboBox*>(QStringLiteral("ComboDepart"));
    QCOMPARE(depart->currentText(), QStringLiteral("采购部"));
    app.db().run(QStringLiteral("insert into tOther (tablename, name) values ('Depart', '新药部')"));
    type(&dlg, QStringLiteral("EditMobile"), QStringLiteral("139"));
    click(&dlg, QStringLiteral("BtnOk"));
    // The choices were read again; the box still shows the department, so saving again keeps it.
    QVERIFY(depart->findText(QStringLiteral("新药部")) >= 0);
    QCOMPARE(depart->currentText(), QStringLiteral("采购部"));
    click(&dlg, QStringLiteral("BtnOk"));
    QCOMPARE(app.db().scalar(QStringLiteral("select Depart || '/' || Mobile from tEmployee")).toString(),
             QStringLiteral("采购部/139"));
    QVERIFY(app.answers.shown.isEmpty());
}

void TestMasterWindows::pickerAddsSearchesAndFillsCaller() {
    App app(false);
    app.db().run(
        QStringLiteral("insert into tType (tablename, code, name) values ('Supply', '0101', '省内')"));
    app.db().run(QStringLiteral(
        "insert into tSupply (SupplyCode, SupplyName, TypeCode) values "
        "('A01', '北方药业', '01'), ('A0101', '南方药业', '0101'), ('BA01', '东方药业', '01')"));
    QVERIFY(!app.data->QrySupply.isOpen()); // the supplier list was never opened
    QWidget opener;
    opener.setObjectName(QStringLiteral("FrmIn"));
    auto* supplyBox = new QLineEdit(&opener);
    supplyBox->setObjectName(QStringLiteral("EditSupply"));
    TFrmSelectCust dlg(&opener);
    dlg.Caller = QStringLiteral("FrmIn");
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("选择供应商"));
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 3);

    // 新增供应商 saves through the supplier editor and the grid shows the new supplier at once.
    onNextModal([](QWidget* editor) {
        keys(editor->findChild<QLineEdit*>(QStringLiteral("EditSupplyName")), QStringLiteral("西部药业"));
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BtnOk")), Qt::LeftButton);
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("BtnCancel")), Qt::LeftButton);
    });
    click(&dlg, QStringLiteral("BtnNew"));
    QCOMPARE(app.count(QStringLiteral("select count(*) from tSupply where SupplyName = '西部药业'")), 1);
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 4);

    type(&dlg, QStringLiteral("EditCode"), QStringLiteral("A01"));
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 2); // prefix: BA01 is not among them
    type(&dlg, QStringLiteral("EditCode"), QString());
    type(&dlg, QStringLiteral("EditName"), QStringLiteral("方药"));
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 3);
    auto* tree = dlg.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
    emit tree->itemDoubleClicked(FindTypeTreeItem(tree, QStringLiteral("01")), 0);
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 2); // exactly 01: 南方药业 (0101) is not shown
    emit tree->itemDoubleClicked(TypeTreeRoot(tree), 0);
    QCOMPARE(gridOf(&dlg)->model()->rowCount(), 2);
    type(&dlg, QStringLiteral("EditName"), QStringLiteral("东"));
    QString chosen;
    connect(&dlg, &TFrmSelectCust::chosen, this, [&chosen](const QString& name) { chosen = name; });
    emit gridOf(&dlg)->rowActivated(0);
    QCOMPARE(supplyBox->text(), QStringLiteral("东方药业"));
    QCOMPARE(chosen, QStringLiteral("东方药业"));
    QCOMPARE(dlg.chosenRow().value(QStringLiteral("SupplyCode")).toString(), QStringLiteral("BA01"));
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
}

void TestMasterWindows::memberListAndEditor() {
    App app(false);
    MasterListWindow* w = app.open(QStringLiteral("SetMember"));
    QVERIFY(w && w == FrmMember);
    QCOMPARE(w->windowTitle(), QStringLiteral("会员管理"));
    QVERIFY(!w->findChild<QTreeWidget*>());
    Commands::handler(QStringLiteral("EditMember"))();
    QCOMPARE(app.answers.texts(), QStringList{"没有可进行编辑的会员记录！"});
    app.db().run(QStringLiteral(
        "insert into tMember (MemberCode, MemberName) values ('VIP001', '王五'), ('VIP002', '周八')"));
    click(w, QStringLiteral("ToolButton3"));
    type(w, QStringLiteral("EditKey"), QStringLiteral("周"));
    QCOMPARE(gridOf(w)->model()->rowCount(), 1);
    type(w, QStringLiteral("EditKey"), QString());

    app.answers.clear();
    QString initials;
    QString cardAfterDuplicate;
    onNextModal([&](QWidget* editor) {
        keys(editor->findChild<QLineEdit*>(QStringLiteral("EditMemberCode")), QStringLiteral("VIP001"));
        keys(editor->findChild<QLineEdit*>(QStringLiteral("EditMemberName")), QStringLiteral("孙九"));
        initials = editor->findChild<QLineEdit*>(QStringLiteral("EditShortName"))->text();
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
        cardAfterDuplicate = editor->findChild<QLineEdit*>(QStringLiteral("EditMemberCode"))->text();
        keys(editor->findChild<QLineEdit*>(QStringLiteral("EditMemberCode")), QStringLiteral("VIP003"));
        QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    Commands::handler(QStringLiteral("AddMember"))();
    QCOMPARE(initials, TextInitials(QStringLiteral("孙九")));
    QCOMPARE(cardAfterDuplicate, QString());
    QCOMPARE(app.answers.texts(), (QStringList{"会员卡号重复，请确认后重新输入", "保存成功！"}));
    QCOMPARE(app.count(QStringLiteral(
                 "select count(*) from tMember where MemberCode = 'VIP003' and MemberName = '孙九' "
                 "and CreateDate like '____-__-__ __:__:__'")),
             1);
    QCOMPARE(gridOf(w)->model()->rowCount(), 3); // the list was read again
}

QTEST_MAIN(TestMasterWindows)
#include "tst_masterdata_windows.moc"
