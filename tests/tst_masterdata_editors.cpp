#include "core/DataSet.h"
#include "core/Database.h"
#include "core/IniFile.h"
#include "core/Routines.h"
#include "masterdata/MasterRecords.h"
#include "masterdata/MedicineEditor.h"
#include "masterdata/MemberEditor.h"
#include "masterdata/PartnerEditor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSqlQuery>
#include <QTest>

// The editors' rules without their windows: automatic codes, the input checks in their order,
// what a save stores, and that a failed save stores nothing.
class TestMasterEditors : public QObject {
    Q_OBJECT
private slots:
    void nextCode_data();
    void nextCode();
    void medicineCheckOrder_data();
    void medicineCheckOrder();
    void medicineSaveStoresTrimmedWithInitials();
    void medicineCodeStaysUniqueWhenEditing();
    void badNumberFailsAndLeavesNoRow_data();
    void badNumberFailsAndLeavesNoRow();
    void automaticCodes();
    void partnerAfterAdding_data();
    void partnerAfterAdding();
    void employeeCheckOrder();
    void memberDuplicateCardEmptiesItsBox();
    void memberDatesAndInitials();
    void deleteAsksOnlyWhenThereIsARow();
};

namespace {

// A medicine that passes the input check.
void fillValid(MedicineEditor& e, const QString& code) {
    e.setText(QStringLiteral("MedicineCode"), code);
    e.setText(QStringLiteral("MedicineName"), QStringLiteral("阿莫西林胶囊"));
    e.setText(QStringLiteral("Manufacturer"), QStringLiteral("华北制药"));
    e.setText(QStringLiteral("JiXing"), QStringLiteral("胶囊剂"));
    e.setText(QStringLiteral("FirstUnits"), QStringLiteral("盒"));
}

int count(Database& db, const QString& table) {
    return db.scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt();
}

struct Fixture {
    TestDatabase t;
    DataSet list{&t.db()};
    IniFile ini{QDir(t.dir()).filePath(QStringLiteral("Config.ini"))};
    ScriptedAnswers answers;
    Database& db() { return t.db(); }
};

} // namespace

void TestMasterEditors::nextCode_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("next");
    QTest::newRow("YP0009") << "YP0009" << true << "YP0010";
    QTest::newRow("YP0099") << "YP0099" << true << "YP0100";
    QTest::newRow("shorter than four") << "12" << true << "0013";
    QTest::newRow("wraps after 9999") << "A9999" << true << "A0000";
    QTest::newRow("X9999") << "X9999" << true << "X0000";
    QTest::newRow("long prefix") << "ZY-2024-0417" << true << "ZY-2024-0418";
    QTest::newRow("letters among the last four") << "YP00A1" << false << "";
    QTest::newRow("short code with a letter") << "A12" << false << "";
    QTest::newRow("sign is no digit") << "A-001" << false << "";
    QTest::newRow("empty") << "" << false << "";
}

void TestMasterEditors::nextCode() {
    QFETCH(QString, last);
    QFETCH(bool, ok);
    QFETCH(QString, next);
    QString code = QStringLiteral("stale");
    QCOMPARE(MedicineEditor::NextCode(last, &code), ok);
    QCOMPARE(code, next);
}

void TestMasterEditors::medicineCheckOrder_data() {
    QTest::addColumn<QStringList>("changes"); // column=text pairs applied to a valid medicine
    QTest::addColumn<QString>("message");     // empty: the check passes
    QTest::addColumn<QString>("focus");
    QTest::newRow("duplicate before everything")
        << QStringList{"MedicineCode=YP0001", "MedicineName="} << "药品编码不能重复！"
        << "EditMedicineCode";
    QTest::newRow("padded duplicate") << QStringList{"MedicineCode= yp0001 "} << "药品编码不能重复！"
                                      << "EditMedicineCode";
    QTest::newRow("code") << QStringList{"MedicineCode=", "MedicineName="} << "药品编码不能为空！"
                          << "EditMedicineCode";
    QTest::newRow("name") << QStringList{"MedicineName=", "Manufacturer="} << "药品名称不能为空!"
                          << "EditMedicineName";
    QTest::newRow("manufacturer") << QStringList{"Manufacturer=", "JiXing="} << "生产厂家不能为空！"
                                  << "EditManufacturer";
    QTest::newRow("dosage form") << QStringList{"JiXing=", "FirstUnits="} << "剂型不能为空！"
                                 << "ComboJiXing";
    QTest::newRow("unit") << QStringList{"FirstUnits="} << "计量单位不能为空！"
                          << "ComboFirstUnits";
    QTest::newRow("blanks are not empty") << QStringList{"MedicineName=  ", "Manufacturer= "} << ""
                                          << "";
    QTest::newRow("quote and wildcards: duplicate")
        << QStringList{"MedicineCode=a'b%_1"} << "药品编码不能重复！"
        << "EditMedicineCode";
    QTest::newRow("quote and wildcards: taken literally") << QStringList{"MedicineCode=A'B%%1"} << ""
                                                          << "";
}

void TestMasterEditors::medicineCheckOrder() {
    QFETCH(QStringList, changes);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Fixture f;
    f.db().run(QStringLiteral("insert into tMedicine (MedicineCode) values ('YP0001'), (?)"),
               {QStringLiteral("A'B%_1")});
    MedicineEditor e(true);
    fillValid(e, QStringLiteral("YP0002"));
    for (const QString& c : changes)
        e.setText(c.section(QLatin1Char('='), 0, 0), c.section(QLatin1Char('='), 1));
    QCOMPARE(e.CheckInput(f.db()), message.isEmpty());
    QCOMPARE(e.InputRejected, !message.isEmpty());
    QCOMPARE(f.answers.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(f.answers.shown.first().icon(), int(Msg::IconWarning));
    QCOMPARE(e.focusControl(), focus);
}

void TestMasterEditors::medicineSaveStoresTrimmedWithInitials() {
    Fixture f;
    MasterRecords::EnsureOpen(f.list, MasterTable::medicine());
    MedicineEditor e(true);
    // Refused first, then corrected: the same button saves.
    fillValid(e, QString());
    QVERIFY(!e.Submit(f.list, f.ini));
    e.setText(QStringLiteral("MedicineCode"), QStringLiteral("  YP0100 "));
    e.setText(QStringLiteral("MedicineName"), QStringLiteral(" 维C银翘片 "));
    e.setText(QStringLiteral("SalePrice"), QStringLiteral("12.35"));
    QVERIFY(e.Submit(f.list, f.ini));
    QCOMPARE(f.list.recordCount(), 1); // the list shows the new row at once
    QSqlQuery q = f.db().exec(QStringLiteral(
        "select MedicineCode, MedicineName, ShortName, SalePrice, Rate, Expiry from tMedicine"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("YP0100"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("维C银翘片"));
    QCOMPARE(q.value(2).toString(), TextInitials(QStringLiteral("维C银翘片")));
    QCOMPARE(q.value(3).toLongLong(), 123500LL);
    QCOMPARE(q.value(4).toDouble(), 1.0);
    QCOMPARE(q.value(5).toDouble(), 0.0);
    // Cleared for the next medicine.
    QCOMPARE(e.text(QStringLiteral("MedicineName")), QString());
    QCOMPARE(e.text(QStringLiteral("Rate")), QStringLiteral("1"));
}

void TestMasterEditors::medicineCodeStaysUniqueWhenEditing() {
    Fixture f;
    f.db().run(QStringLiteral(
        "insert into tMedicine (MedicineCode, MedicineName) values ('YP0001', 'a'), ('YP0002', 'b')"));
    OpenSQL(f.list, MasterTable::medicine().openStatement());
    f.list.setRecNo(1);
    MedicineEditor e(false);
    e.loadCurrent(f.list);
    e.setText(QStringLiteral("Manufacturer"), QStringLiteral("厂"));
    e.setText(QStringLiteral("JiXing"), QStringLiteral("片剂"));
    e.setText(QStringLiteral("FirstUnits"), QStringLiteral("盒"));
    QVERIFY(e.Submit(f.list, f.ini)); // its own code is no duplicate
    e.setText(QStringLiteral("MedicineCode"), QStringLiteral("YP0001"));
    QVERIFY(!e.Submit(f.list, f.ini));
    QCOMPARE(f.answers.texts().last(), QStringLiteral("药品编码不能重复！"));
    QCOMPARE(f.db()
                 .scalar(QStringLiteral("select MedicineCode from tMedicine where MedicineName = 'b'"))
                 .toString(),
             QStringLiteral("YP0002"));
}

void TestMasterEditors::badNumberFailsAndLeavesNoRow_data() {
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("days") << true << "Expiry"
                          << "十天";
    QTest::newRow("rate") << true << "Rate"
                          << "1/2";
    QTest::newRow("price") << true << "StockPrice"
                           << "1.2.3";
    QTest::newRow("stock limit") << true << "DepotDown"
                                 << "abc";
    QTest::newRow("edit: commission") << false << "Percentage"
                                      << "5%";
}

void TestMasterEditors::badNumberFailsAndLeavesNoRow() {
    QFETCH(bool, adding);
    QFETCH(QString, column);
    QFETCH(QString, text);
    Fixture f;
    f.db().run(QStringLiteral(
        "insert into tMedicine (MedicineCode, MedicineName, Percentage) values ('YP0001', 'a', 3)"));
    OpenSQL(f.list, MasterTable::medicine().openStatement());
    MedicineEditor e(adding);
    if (!adding)
        e.loadCurrent(f.list);
    fillValid(e, adding ? QStringLiteral("YP0002") : QStringLiteral("YP0001"));
    e.setText(column, text);
    QVERIFY(!e.Submit(f.list, f.ini));
    const QString shown = f.answers.texts().value(0);
    QVERIFY2(shown.startsWith(QStringLiteral("保存失败,可能是您输入的数据有误!")), qPrintable(shown));
    QVERIFY2(shown.contains(text), qPrintable(shown));
    QCOMPARE(count(f.db(), QStringLiteral("tMedicine")), 1);
    QCOMPARE(f.list.recordCount(), 1);
    QCOMPARE(f.list.state(), DataSet::State::Browse);
    QCOMPARE(f.db().scalar(QStringLiteral("select Percentage from tMedicine")).toDouble(), 3.0);
    QCOMPARE(f.db().scalar(QStringLiteral("select MedicineName from tMedicine")).toString(),
             QStringLiteral("a"));
    // The typed entry stays for correcting.
    QCOMPARE(e.text(column), text);
}

void TestMasterEditors::automaticCodes() {
    Fixture f;
    MasterRecords::EnsureOpen(f.list, MasterTable::medicine());
    MedicineEditor e(true);
    e.ClearForNew(f.db(), f.ini);
    QVERIFY(!e.AutoCode);
    QCOMPARE(e.text(QStringLiteral("MedicineCode")), QString());
    // The user starts numbering: types a first code, ticks 自动, saves.
    fillValid(e, QStringLiteral("YP0099"));
    e.AutoCode = true;
    QVERIFY(e.Submit(f.list, f.ini));
    QVERIFY(MedicineEditor::GoodsCodeOn(f.db()));
    QCOMPARE(f.ini.readString(QStringLiteral("other"), QStringLiteral("medicinecode")),
             QStringLiteral("YP0099"));
    QVERIFY(e.AutoCode);
    QCOMPARE(e.text(QStringLiteral("MedicineCode")), QStringLiteral("YP0100"));
    // Unticked and saved: automatic codes are off, the next entry starts without a code.
    fillValid(e, QStringLiteral("YP0100"));
    e.AutoCode = false;
    QVERIFY(e.Submit(f.list, f.ini));
    QVERIFY(!MedicineEditor::GoodsCodeOn(f.db()));
    QCOMPARE(e.text(QStringLiteral("MedicineCode")), QString());
    // A remembered code that ends in no digits offers nothing.
    MedicineEditor::SetGoodsCode(f.db(), true);
    f.ini.writeString(QStringLiteral("Other"), QStringLiteral("MedicineCode"), QStringLiteral("YPABCD"));
    f.answers.clear();
    e.ClearForNew(f.db(), f.ini);
    QCOMPARE(f.answers.texts(), QStringList{"自动编码新增失败!"});
    QCOMPARE(e.text(QStringLiteral("MedicineCode")), QString());
}

void TestMasterEditors::partnerAfterAdding_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("empties");
    QTest::newRow("customer empties") << "Custom" << true;
    QTest::newRow("supplier keeps") << "Supply" << false;
    QTest::newRow("employee keeps") << "Employee" << false;
}

void TestMasterEditors::partnerAfterAdding() {
    QFETCH(QString, kind);
    QFETCH(bool, empties);
    const PartnerKind& k = kind == QLatin1String("Custom")   ? PartnerKind::custom()
                           : kind == QLatin1String("Supply") ? PartnerKind::supply()
                                                             : PartnerKind::employee();
    Fixture f;
    MasterRecords::EnsureOpen(f.list, *k.table);
    PartnerEditor e(k, true);
    for (const EditorField& field : k.fields)
        e.setText(field.column, QStringLiteral(" %1值 ").arg(field.column));
    QVERIFY(e.Submit(f.list));
    QCOMPARE(count(f.db(), k.table->table), 1);
    QCOMPARE(f.db().scalar(QStringLiteral("select Tel from %1").arg(k.table->table)).toString(),
             QStringLiteral("Tel值"));
    for (const EditorField& field : k.fields)
        QCOMPARE(e.text(field.column), empties ? QString() : QStringLiteral(" %1值 ").arg(field.column));
    // The same entry again is a duplicate (the kept boxes are refused, the emptied ones are empty).
    QVERIFY(!e.Submit(f.list));
    QCOMPARE(f.answers.texts().last(), empties ? k.required.first().second : k.duplicateMessage);
    QCOMPARE(count(f.db(), k.table->table), 1);
}

void TestMasterEditors::employeeCheckOrder() {
    Fixture f;
    MasterRecords::EnsureOpen(f.list, MasterTable::employee());
    f.db().run(QStringLiteral("insert into tEmployee (EmployeeCode, EmployeeName) values ('E01', '张三')"));
    PartnerEditor e(PartnerKind::employee(), true);
    e.setText(QStringLiteral("EmployeeCode"), QStringLiteral("e01"));
    QVERIFY(!e.CheckInput(f.db()));
    e.setText(QStringLiteral("EmployeeCode"), QString());
    QVERIFY(!e.CheckInput(f.db()));
    QCOMPARE(e.focusControl(), QStringLiteral("EditEmployeeCode"));
    e.setText(QStringLiteral("EmployeeCode"), QStringLiteral("E02"));
    QVERIFY(!e.CheckInput(f.db()));
    QCOMPARE(e.focusControl(), QStringLiteral("EditEmployeeName"));
    QCOMPARE(f.answers.texts(),
             (QStringList{"员工编码不能重复！", "员工编码不能为空！", "员工姓名不能为空!"}));
    // Editing never tests for duplicates.
    PartnerEditor edit(PartnerKind::employee(), false);
    edit.setText(QStringLiteral("EmployeeCode"), QStringLiteral("E01"));
    edit.setText(QStringLiteral("EmployeeName"), QStringLiteral("李四"));
    QVERIFY(edit.CheckInput(f.db()));
}

void TestMasterEditors::memberDuplicateCardEmptiesItsBox() {
    Fixture f;
    f.db().run(QStringLiteral("insert into tMember (MemberCode, MemberName) values ('VIP001', '王五')"));
    MasterRecords::EnsureOpen(f.list, MasterTable::member());
    MemberEditor e(true);
    e.setText(QStringLiteral("MemberCode"), QStringLiteral(" VIP001 "));
    e.NameChanged(QStringLiteral("赵六"));
    e.setText(QStringLiteral("Tel"), QStringLiteral("13800000000"));
    QVERIFY(!e.Submit(f.list));
    QCOMPARE(f.answers.texts(), QStringList{"会员卡号重复，请确认后重新输入"});
    QCOMPARE(f.answers.shown.first().flags, int(Msg::Ok));
    QCOMPARE(e.text(QStringLiteral("MemberCode")), QString());
    QCOMPARE(e.focusControl(), QStringLiteral("EditMemberCode"));
    QCOMPARE(e.text(QStringLiteral("MemberName")), QStringLiteral("赵六"));
    QCOMPARE(e.text(QStringLiteral("Tel")), QStringLiteral("13800000000"));
    // The emptied box is refused as empty; a blank card passes that test.
    QVERIFY(!e.Submit(f.list));
    QCOMPARE(f.answers.texts().last(), QStringLiteral("会员编号不能为空！"));
    e.setText(QStringLiteral("MemberCode"), QStringLiteral("VIP002"));
    QVERIFY(e.Submit(f.list));
    QCOMPARE(f.answers.texts().last(), QStringLiteral("保存成功！"));
    QCOMPARE(count(f.db(), QStringLiteral("tMember")), 2);
}

void TestMasterEditors::memberDatesAndInitials() {
    Fixture f;
    MasterRecords::EnsureOpen(f.list, MasterTable::member());
    MemberEditor add(true);
    add.Now = QStringLiteral("2024-03-05 09:10:11");
    add.setText(QStringLiteral("MemberCode"), QStringLiteral(" VIP010 "));
    add.NameChanged(QStringLiteral("刘备"));
    QCOMPARE(add.text(QStringLiteral("ShortName")), TextInitials(QStringLiteral("刘备")));
    add.setText(QStringLiteral("ShortName"), QStringLiteral("LB1")); // edited by hand, saved as shown
    add.setText(QStringLiteral("Point"), QStringLiteral("12.5"));
    QVERIFY(add.Submit(f.list));

    MemberEditor edit(false);
    edit.loadCurrent(f.list);
    QCOMPARE(edit.text(QStringLiteral("MemberCode")), QStringLiteral("VIP010"));
    edit.Now = QStringLiteral("2024-03-06 10:00:00");
    edit.setText(QStringLiteral("Point"), QStringLiteral("很多"));
    QVERIFY(!edit.Submit(f.list));
    QVERIFY(f.answers.texts().last().startsWith(QStringLiteral("保存出现问题，请联系管理员！")));
    edit.setText(QStringLiteral("Point"), QStringLiteral("20"));
    QVERIFY(edit.Submit(f.list));

    QSqlQuery q =
        f.db().exec(QStringLiteral("select MemberCode, ShortName, Point, CreateDate, EditDate from tMember"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("VIP010"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("LB1"));
    QCOMPARE(q.value(2).toDouble(), 20.0);
    QCOMPARE(q.value(3).toString(), QStringLiteral("2024-03-05 09:10:11"));
    QCOMPARE(q.value(4).toString(), QStringLiteral("2024-03-06 10:00:00"));
    QVERIFY(!q.next());
}

void TestMasterEditors::deleteAsksOnlyWhenThereIsARow() {
    Fixture f;
    OpenSQL(f.list, MasterTable::supply().openStatement());
    QVERIFY(!MasterRecords::DeleteCurrent(f.list));
    QVERIFY(f.answers.shown.isEmpty());
    f.db().run(QStringLiteral("insert into tSupply (SupplyName) values ('甲'), ('乙')"));
    f.list.refresh();
    f.list.setRecNo(1);
    f.answers.queue(Msg::IdNo);
    QVERIFY(!MasterRecords::DeleteCurrent(f.list));
    QVERIFY(MasterRecords::DeleteCurrent(f.list));
    QCOMPARE(f.answers.texts(), (QStringList{"确认删除此条记录?", "确认删除此条记录?"}));
    QCOMPARE(f.db().scalar(QStringLiteral("select group_concat(SupplyName) from tSupply")).toString(),
             QStringLiteral("甲"));
}

QTEST_GUILESS_MAIN(TestMasterEditors)
#include "tst_masterdata_editors.moc"
