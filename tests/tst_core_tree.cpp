#include "core/CategoryCodes.h"
#include "core/DataSet.h"
#include "core/Routines.h"
#include "core/widgets/TypeTree.h"
#include "core/widgets/uChangeType.h"
#include "core/widgets/uOther.h"
#include "core/widgets/uTree.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

// Category codes, the tree window, the category filter, the batch category change and the
// lookup-list window, on the starting rows plus small fixture trees.
class TestTree : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void codeLevel_data();
    void codeLevel();
    void proposal_data();
    void proposal();
    void addingInTheWindow_data();
    void addingInTheWindow();
    void editingChangesTheNameOnly();
    void nodeWithChildrenIsNotDeleted();
    void treeKeepsRowsWithoutParent();
    void categoryFilter_data();
    void categoryFilter();
    void batchChangeMovesTheSelectedRows_data();
    void batchChangeMovesTheSelectedRows();
    void lookupListRoundTrip();

private:
    void addTree(const QString& tree, const QStringList& codes);
    int count(const QString& sql, const QVariantList& values = {});
    TestDatabase* m_t = nullptr;
};

namespace {

QStringList codes(int from, int to) {
    QStringList l;
    for (int i = from; i <= to; ++i)
        l << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return l;
}

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QLatin1String(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

// The tree as text: codes of each level, children in brackets.
QString dump(QTreeWidgetItem* item) {
    QStringList parts;
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* c = item->child(i);
        parts << TypeTreeCode(c) +
                     (c->childCount() ? QLatin1Char('[') + dump(c) + QLatin1Char(']') : QString());
    }
    return parts.join(QLatin1Char(','));
}

} // namespace

// One database for the whole run; every test starts from the starting rows without fixtures.
void TestTree::initTestCase() {
    m_t = new TestDatabase;
}

void TestTree::cleanupTestCase() {
    delete m_t;
    m_t = nullptr;
}

void TestTree::init() {
    RunSQL(QStringLiteral("DELETE FROM tType WHERE tablename = 'Fixture'"));
    for (const char* table : {"tMedicine", "tSupply", "tCustom", "tEmployee"})
        RunSQL(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
}

void TestTree::addTree(const QString& tree, const QStringList& codes) {
    for (const QString& c : codes)
        RunSQL(QStringLiteral("INSERT INTO tType (tablename, code, name) VALUES (?, ?, ?)"),
               {tree, c, QStringLiteral("类") + c});
}

int TestTree::count(const QString& sql, const QVariantList& values) {
    return m_t->db().scalar(sql, values).toInt();
}

void TestTree::codeLevel_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("level");
    QTest::newRow("top") << LevelPattern << QStringLiteral("01") << 1;
    QTest::newRow("third") << LevelPattern << QStringLiteral("010203") << 3;
    QTest::newRow("fifteenth") << LevelPattern << QString(30, QLatin1Char('1')) << 15;
    QTest::newRow("too long") << LevelPattern << QString(32, QLatin1Char('1')) << -1;
    QTest::newRow("odd") << LevelPattern << QStringLiteral("011") << -1;
    QTest::newRow("empty code") << LevelPattern << QString() << -1;
    QTest::newRow("empty pattern") << QString() << QStringLiteral("01") << -1;
    QTest::newRow("uneven pattern") << QStringLiteral("234") << QStringLiteral("00000") << 2;
}

void TestTree::codeLevel() {
    QFETCH(QString, pattern);
    QFETCH(QString, code);
    QFETCH(int, level);
    QCOMPARE(CodeLevel(pattern, code), level);
}

void TestTree::proposal_data() {
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("node"); // the node selected ("" the root)
    QTest::addColumn<bool>("asChild");
    QTest::addColumn<QString>("proposal");
    const QStringList two = {QStringLiteral("01"), QStringLiteral("02")};
    const QStringList withChildren = two + QStringList{QStringLiteral("0201"), QStringLiteral("0202")};
    QTest::newRow("empty tree") << QStringList() << QString() << true << QStringLiteral("01");
    QTest::newRow("empty tree, sibling") << QStringList() << QString() << false << QStringLiteral("01");
    QTest::newRow("new top category") << two << QString() << true << QStringLiteral("03");
    QTest::newRow("sibling of a top category")
        << two << QStringLiteral("01") << false << QStringLiteral("03");
    QTest::newRow("first child") << two << QStringLiteral("02") << true << QStringLiteral("0201");
    QTest::newRow("sibling of a child")
        << withChildren << QStringLiteral("0201") << false << QStringLiteral("0203");
    QTest::newRow("child beside others")
        << withChildren << QStringLiteral("02") << true << QStringLiteral("0203");
    QTest::newRow("other parent's children ignored")
        << withChildren << QStringLiteral("01") << true << QStringLiteral("0101");
    QTest::newRow("01 to 09 give 10") << codes(1, 9) << QString() << true << QStringLiteral("10");
    QTest::newRow("grandchild only") << QStringList{QStringLiteral("01"), QStringLiteral("010101")}
                                     << QStringLiteral("01") << true << QStringLiteral("0101");
    // After 99 the number would spill into the next level (0100, a child of 01): take a gap.
    QTest::newRow("99 stored") << QStringList{QStringLiteral("99")} << QString() << true
                               << QStringLiteral("01");
    QStringList gap = codes(1, 99);
    gap.removeAll(QStringLiteral("42"));
    QTest::newRow("99 reached, gap left") << gap << QString() << true << QStringLiteral("42");
    QStringList full = {QStringLiteral("05")};
    for (const QString& c : codes(1, 99))
        full << QStringLiteral("05") + c;
    QTest::newRow("child level full") << full << QStringLiteral("05") << true << QString();
}

void TestTree::proposal() {
    QFETCH(QStringList, stored);
    QFETCH(QString, node);
    QFETCH(bool, asChild);
    QFETCH(QString, proposal);
    QCOMPARE(asChild ? ProposeChildCode(stored, node) : ProposeSiblingCode(stored, node), proposal);
}

void TestTree::addingInTheWindow_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<bool>("asChild");
    QTest::addColumn<QString>("proposal");
    QTest::addColumn<QString>("typed"); // empty: the proposal is kept
    QTest::addColumn<QString>("message");
    // Fixture tree: 01, 0101, 02.
    QTest::newRow("top category") << QString() << true << QStringLiteral("03") << QString() << QString();
    QTest::newRow("first child of 02")
        << QStringLiteral("02") << true << QStringLiteral("0201") << QString() << QString();
    QTest::newRow("sibling of 0101") << QStringLiteral("0101") << false << QStringLiteral("0102") << QString()
                                     << QString();
    QTest::newRow("0103 under 01") << QStringLiteral("01") << true << QStringLiteral("0102")
                                   << QStringLiteral("0103") << QString();
    QTest::newRow("0301 without 03") << QStringLiteral("01") << true << QStringLiteral("0102")
                                     << QStringLiteral("0301") << QStringLiteral("编码错误,父节点不存在!");
    QTest::newRow("011") << QStringLiteral("01") << true << QStringLiteral("0102") << QStringLiteral("011")
                         << QStringLiteral("编码规则出错!");
    QTest::newRow("01a") << QStringLiteral("01") << true << QStringLiteral("0102") << QStringLiteral("01a")
                         << QStringLiteral("编码必须是数字!");
    QTest::newRow("number test first") << QStringLiteral("01") << true << QStringLiteral("0102")
                                       << QStringLiteral("1a1") << QStringLiteral("编码必须是数字!");
    QTest::newRow("duplicate") << QStringLiteral("01") << true << QStringLiteral("0102")
                               << QStringLiteral("0101") << QStringLiteral("编码重复!,不能保存!");
    QTest::newRow("blank") << QStringLiteral("01") << true << QStringLiteral("0102") << QStringLiteral(" ")
                           << QStringLiteral("编码规则出错!");
}

void TestTree::addingInTheWindow() {
    QFETCH(QString, node);
    QFETCH(bool, asChild);
    QFETCH(QString, proposal);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QString tree = QStringLiteral("Fixture");
    addTree(tree, {QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("02")});
    ScriptedAnswers answers;
    TFrmTree w(tree, QStringLiteral("测试分类"));
    auto* view = child<QTreeWidget>(&w, "TreeView1");
    auto* code = child<QLineEdit>(&w, "EditCode");
    auto* name = child<QLineEdit>(&w, "EditName");
    QVERIFY(!code->isEnabled() && !name->isEnabled());
    QVERIFY(!child<QToolButton>(&w, "TB_Save")->isEnabled());
    view->setCurrentItem(node.isEmpty() ? TypeTreeRoot(view) : FindTypeTreeItem(view, node));
    QCOMPARE(code->text(), node);
    if (asChild)
        child<QToolButton>(&w, "TB_Add")->click();
    else
        child<QAction>(&w, "N_AddSibling")->trigger();
    QCOMPARE(code->text(), proposal);
    QVERIFY(code->isEnabled() && name->isEnabled() && !child<QToolButton>(&w, "TB_Add")->isEnabled());
    if (!typed.isEmpty())
        code->setText(typed);
    name->setText(QStringLiteral(" 新类别 "));
    const QString stored = typed.isEmpty() ? proposal : typed.trimmed();
    child<QToolButton>(&w, "TB_Save")->click();

    if (message.isEmpty()) {
        QVERIFY(answers.shown.isEmpty());
        QCOMPARE(w.state(), TFrmTree::State::Browse);
        QCOMPARE(m_t->db()
                     .scalar(QStringLiteral("SELECT name FROM tType WHERE tablename = ? AND code = ?"),
                             {tree, stored})
                     .toString(),
                 QStringLiteral("新类别"));
        QTreeWidgetItem* item = FindTypeTreeItem(view, stored);
        QVERIFY(item);
        QCOMPARE(item->text(0), stored + QStringLiteral("-新类别"));
        QCOMPARE(TypeTreeCode(item->parent()), ParentCode(stored));
        QCOMPARE(view->currentItem(), item);
    } else {
        QCOMPARE(answers.texts(), QStringList{message});
        QCOMPARE(w.state(), asChild ? TFrmTree::State::AddChild : TFrmTree::State::AddSibling);
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM tType WHERE tablename = ?"), {tree}), 3);
    }
}

void TestTree::editingChangesTheNameOnly() {
    ScriptedAnswers answers;
    TFrmTree w(QStringLiteral("Zone"), QStringLiteral("地区分类"));
    auto* view = child<QTreeWidget>(&w, "TreeView1");
    auto* code = child<QLineEdit>(&w, "EditCode");
    auto* name = child<QLineEdit>(&w, "EditName");
    auto* edit = child<QToolButton>(&w, "TB_Edit");
    auto* save = child<QToolButton>(&w, "TB_Save");

    // The root is no node to rename.
    view->setCurrentItem(TypeTreeRoot(view));
    edit->click();
    save->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("请点击取消按钮再重新选择一个节点进行编辑!")});
    child<QToolButton>(&w, "TB_Cancel")->click();
    QCOMPARE(w.state(), TFrmTree::State::Browse);

    view->setCurrentItem(FindTypeTreeItem(view, QStringLiteral("0102")));
    edit->click();
    QVERIFY(!code->isEnabled() && name->isEnabled());
    name->setText(QStringLiteral("江苏省"));
    save->click();
    QCOMPARE(w.state(), TFrmTree::State::Browse);
    QCOMPARE(view->currentItem()->text(0), QStringLiteral("0102-江苏省"));
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM tType WHERE tablename = 'Zone' AND code = '0102' "
                                  "AND name = '江苏省'")),
             1);
    QCOMPARE(answers.shown.size(), 1);
}

void TestTree::nodeWithChildrenIsNotDeleted() {
    // 03 holds 030101 although 0301 is missing: still a node with children.
    const QString tree = QStringLiteral("Fixture");
    addTree(tree,
            {QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("03"), QStringLiteral("030101")});
    ScriptedAnswers answers;
    TFrmTree w(tree, QStringLiteral("测试分类"));
    auto* view = child<QTreeWidget>(&w, "TreeView1");
    auto* del = child<QToolButton>(&w, "TB_Del");
    auto stored = [&](const QString& code) {
        return count(QStringLiteral("SELECT count(*) FROM tType WHERE tablename = ? AND code = ?"),
                     {tree, code});
    };

    for (const QString& parent : {QStringLiteral("01"), QStringLiteral("03")}) {
        answers.clear();
        view->setCurrentItem(FindTypeTreeItem(view, parent));
        del->click();
        QCOMPARE(answers.texts(), QStringList{QStringLiteral("不能删除有子目录的目录，请先删除子目录！")});
        QCOMPARE(stored(parent), 1);
    }

    // A leaf: asked first, Cancel keeps it, OK deletes it from the table and the view.
    answers.clear();
    view->setCurrentItem(FindTypeTreeItem(view, QStringLiteral("0101")));
    answers.queue(Msg::IdCancel);
    del->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("你真的要删除所选择的目录吗？")});
    QCOMPARE(answers.shown[0].buttons(), int(Msg::OkCancel));
    QCOMPARE(stored(QStringLiteral("0101")), 1);
    del->click();
    QCOMPARE(stored(QStringLiteral("0101")), 0);
    QVERIFY(!FindTypeTreeItem(view, QStringLiteral("0101")));
    QCOMPARE(view->currentItem(), FindTypeTreeItem(view, QStringLiteral("01")));
}

void TestTree::treeKeepsRowsWithoutParent() {
    const QString tree = QStringLiteral("Fixture");
    // 0301 has no 03, 040101 no 0401, 011 is no whole number of levels, " 05 " carries blanks.
    addTree(tree, {QStringLiteral("01"), QStringLiteral("0101"), QStringLiteral("0301"), QStringLiteral("04"),
                   QStringLiteral("040101"), QStringLiteral("011"), QStringLiteral(" 05 ")});
    QTreeWidget view;
    FillTypeTree(&view, tree, QStringLiteral("测试分类"));
    QTreeWidgetItem* root = TypeTreeRoot(&view);
    QCOMPARE(view.topLevelItemCount(), 1);
    QCOMPARE(root->text(0), QStringLiteral("测试分类"));
    QVERIFY(root->isExpanded());
    QCOMPARE(dump(root), QStringLiteral("01[0101,011],0301,04[040101],05"));
    QCOMPARE(FindTypeTreeItem(&view, QStringLiteral("05"))->text(0), QStringLiteral("05-类 05"));

    // Adding the missing parent gathers the rows waiting for it.
    AddTypeTreeItem(&view, QStringLiteral("03"), QStringLiteral("新"));
    QCOMPARE(dump(root), QStringLiteral("01[0101,011],03[0301],04[040101],05"));

    // The same walk over any code/name table, captions the names only.
    FillNameTree(&view, QStringLiteral("tAuthority"), QStringLiteral("操作权限"), QStringLiteral("全部"));
    root = TypeTreeRoot(&view);
    QCOMPARE(view.currentItem(), root);
    QCOMPARE(root->child(0)->text(0), QStringLiteral("全部"));
    QCOMPARE(root->child(1)->text(0), QStringLiteral("系统设置"));
    QCOMPARE(root->child(1)->child(0)->text(0), QStringLiteral("操作员管理"));
}

void TestTree::categoryFilter_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("withDescendants");
    QTest::addColumn<QStringList>("names");
    const QStringList all = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                             QStringLiteral("D"), QStringLiteral("E"), QStringLiteral("F"),
                             QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("I")};
    QTest::newRow("list: 01 and below")
        << QStringLiteral("01") << true
        << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    QTest::newRow("list: a sub-category")
        << QStringLiteral("0101") << true << QStringList{QStringLiteral("B")};
    QTest::newRow("picker: 01 only") << QStringLiteral("01") << false << QStringList{QStringLiteral("A")};
    QTest::newRow("% literal") << QStringLiteral("1%") << true
                               << QStringList{QStringLiteral("E"), QStringLiteral("F")};
    QTest::newRow("_ literal") << QStringLiteral("1_") << true << QStringList{QStringLiteral("H")};
    QTest::newRow("picker: % literal") << QStringLiteral("1%") << false << QStringList{QStringLiteral("E")};
    QTest::newRow("no category") << QString() << true << all;
}

void TestTree::categoryFilter() {
    QFETCH(QString, code);
    QFETCH(bool, withDescendants);
    QFETCH(QStringList, names);
    const QList<QPair<const char*, const char*>> rows = {{"A", "01"},   {"B", "0101"}, {"C", "010203"},
                                                         {"D", "02"},   {"E", "1%"},   {"F", "1%01"},
                                                         {"G", "1x01"}, {"H", "1_"},   {"I", "1a"}};
    for (const auto& r : rows)
        RunSQL(
            QStringLiteral("INSERT INTO tMedicine (MedicineCode, MedicineName, TypeCode) VALUES (?, ?, ?)"),
            {QLatin1String(r.first), QLatin1String(r.first), QLatin1String(r.second)});
    const SqlCondition c = CategoryFilter(code, withDescendants);
    DataSet ds(&m_t->db());
    ds.open(QStringLiteral("SELECT MedicineName FROM tMedicine WHERE 1=1") + c.sql +
                QStringLiteral(" ORDER BY 1"),
            c.values);
    QStringList got;
    for (int i = 0; i < ds.recordCount(); ++i)
        got << ds.text(i, 0);
    QCOMPARE(got, names);
}

void TestTree::batchChangeMovesTheSelectedRows_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("nameColumn");
    QTest::addColumn<QString>("keyColumn");
    QTest::addColumn<QString>("pickCode");
    QTest::addColumn<QString>("pickName");
    // The three rows share their key text, so only their ids tell them apart.
    QTest::newRow("medicines") << "Medicine"
                               << "tMedicine"
                               << "MedicineType"
                               << "MedicineCode"
                               << "0101"
                               << "抗感染药";
    QTest::newRow("suppliers") << "Supply"
                               << "tSupply"
                               << "SupplyType"
                               << "SupplyName"
                               << "02"
                               << "药品批发企业";
    QTest::newRow("customers") << "Custom"
                               << "tCustom"
                               << "CustType"
                               << "CustName"
                               << "0102"
                               << "社区卫生服务站";
    QTest::newRow("employees") << "Employee"
                               << "tEmployee"
                               << "EmployeeType"
                               << "EmployeeCode"
                               << "03"
                               << "仓管员";
}

void TestTree::batchChangeMovesTheSelectedRows() {
    QFETCH(QString, list);
    QFETCH(QString, table);
    QFETCH(QString, nameColumn);
    QFETCH(QString, keyColumn);
    QFETCH(QString, pickCode);
    QFETCH(QString, pickName);
    for (int i = 0; i < 3; ++i) {
        RunSQL(QStringLiteral("INSERT INTO %1 (%2, %3, TypeCode) VALUES ('O''Brien 50%_', '旧', '01')")
                   .arg(table, keyColumn, nameColumn));
        if (table == QLatin1String("tMedicine")) // medicine codes are unique
            RunSQL(QStringLiteral("UPDATE tMedicine SET MedicineCode = 'YP' || id"));
    }
    DataSet rows(&m_t->db());
    rows.open(QStringLiteral("SELECT 1, * FROM %1 ORDER BY id").arg(table));
    rows.setSelectedBookmarks({rows.bookmarkAt(0), rows.bookmarkAt(2)});

    ScriptedAnswers answers;
    TFrmChangeType w(list, &rows);
    QCOMPARE(child<QLabel>(&w, "lblTitle")->text(), QStringLiteral("您选择了2条记录"));
    // Without a category nothing is written.
    auto* ok = child<QPushButton>(&w, "Btn_ok");
    ok->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("请选择要修改的分类")});
    QCOMPARE(count(QStringLiteral("SELECT count(*) FROM %1 WHERE TypeCode = '01'").arg(table)), 3);

    // The pick of the list's tree lands in the window's boxes.
    TFrmTree picker(list, TreeRootCaption(list), QStringLiteral("ChangeType"), &w);
    auto* view = child<QTreeWidget>(&picker, "TreeView1");
    view->setCurrentItem(FindTypeTreeItem(view, pickCode));
    child<QToolButton>(&picker, "TB_Select")->click();
    QCOMPARE(picker.result(), int(QDialog::Accepted));
    QCOMPARE(child<QLineEdit>(&w, "EditTypeName")->text(), pickName);
    QCOMPARE(child<QLineEdit>(&w, "EditTypeCode")->text(), pickCode);

    answers.clear();
    ok->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("批量修改成功")});
    QCOMPARE(answers.shown[0].caption, QStringLiteral("成功"));
    QCOMPARE(w.result(), int(QDialog::Accepted));
    DataSet stored(&m_t->db());
    stored.open(QStringLiteral("SELECT %1, TypeCode FROM %2 ORDER BY id").arg(nameColumn, table));
    const QStringList expected = {pickName + QLatin1Char('/') + pickCode, QStringLiteral("旧/01"),
                                  pickName + QLatin1Char('/') + pickCode};
    QStringList got;
    for (int i = 0; i < stored.recordCount(); ++i)
        got << stored.text(i, 0) + QLatin1Char('/') + stored.text(i, 1);
    QCOMPARE(got, expected);
    // The list shows the new category at once.
    QCOMPARE(rows.text(0, rows.fieldIndex(nameColumn)), pickName);
}

void TestTree::lookupListRoundTrip() {
    ScriptedAnswers answers;
    DataSet qry(&m_t->db());
    TFrmOther w(QStringLiteral("货位管理"), QStringLiteral("Position"), &qry);
    auto* name = child<QLineEdit>(&w, "EditName");
    auto* note = child<QLineEdit>(&w, "EditNote");
    auto* add = child<QToolButton>(&w, "TB_Add");
    auto* save = child<QToolButton>(&w, "TB_Save");
    auto* cancel = child<QToolButton>(&w, "TB_Cancel");
    auto* del = child<QToolButton>(&w, "TB_Del");
    auto* panel = child<QWidget>(&w, "PanelEdit");
    const int starting = qry.recordCount();
    QVERIFY(starting > 0);
    QVERIFY(!save->isEnabled() && !cancel->isEnabled() && !panel->isEnabled());
    auto stored = [&](const QString& n) {
        return count(QStringLiteral("SELECT count(*) FROM tOther WHERE tablename = 'Position' AND name = ?"),
                     {n});
    };

    // The same entry twice gives two entries; the stock-in window reads the list as "position".
    const QString entry = QStringLiteral("E区-01 O'Neil 5%_");
    for (int i = 0; i < 2; ++i) {
        add->click();
        QVERIFY(panel->isEnabled() && save->isEnabled() && !add->isEnabled());
        name->setText(entry);
        note->setText(QStringLiteral("冷柜"));
        save->click();
        QVERIFY(name->text().isEmpty() && note->text().isEmpty());
        QVERIFY(!panel->isEnabled() && add->isEnabled());
    }
    QCOMPARE(stored(entry), 2);
    QCOMPARE(qry.recordCount(), starting + 2);
    QCOMPARE(
        ComboItems(QStringLiteral("tOther"), QStringLiteral("name"), QStringLiteral("position")).count(entry),
        2);

    // Cancel keeps the typed text and stores nothing.
    add->click();
    name->setText(QStringLiteral("未保存"));
    cancel->click();
    QCOMPARE(name->text(), QStringLiteral("未保存"));
    QCOMPARE(stored(QStringLiteral("未保存")), 0);

    // Editing changes the current row.
    qry.last();
    child<QToolButton>(&w, "TB_Edit")->click();
    QCOMPARE(name->text(), entry);
    QCOMPARE(note->text(), QStringLiteral("冷柜"));
    name->setText(QStringLiteral("E区-02"));
    save->click();
    QCOMPARE(stored(QStringLiteral("E区-02")), 1);
    QCOMPARE(stored(entry), 1);
    QCOMPARE(answers.shown.size(), 0);

    // Deleting asks; No keeps the row.
    qry.last();
    answers.queue(Msg::IdNo);
    del->click();
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("确认删除此条记录？")});
    QCOMPARE(answers.shown[0].buttons(), int(Msg::YesNo));
    QCOMPARE(stored(QStringLiteral("E区-02")), 1);
    del->click();
    QCOMPARE(stored(QStringLiteral("E区-02")), 0);
    QCOMPARE(qry.recordCount(), starting + 1);
}

QTEST_MAIN(TestTree)
#include "tst_core_tree.moc"
