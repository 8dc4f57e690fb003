// The main window's command tables, permission matching, quick date ranges and start-page
// routing, all without a window.
#include "shell/ActionCatalog.h"
#include "shell/ExternalPrograms.h"
#include "shell/NavRouting.h"
#include "shell/Permissions.h"
#include "shell/QuickDates.h"
#include "support/TestSupport.h"

#include <QSet>
#include <QtTest>

namespace {

// A menu as one line: entries by command name, "-" for a separator, "[name: caption ...]" for
// a submenu, "name=caption" where the entry has a caption of its own.
QString describe(const QVector<ActionCatalog::MenuItem>& items) {
    QStringList parts;
    for (const ActionCatalog::MenuItem& item : items) {
        switch (item.kind) {
        case ActionCatalog::MenuItem::Kind::Separator:
            parts << QStringLiteral("-");
            break;
        case ActionCatalog::MenuItem::Kind::Submenu:
            parts << QStringLiteral("[%1:%2 %3]").arg(item.name, item.caption, describe(item.children));
            break;
        case ActionCatalog::MenuItem::Kind::Command:
            parts << (item.caption.isEmpty() ? item.name : item.name + QLatin1Char('=') + item.caption);
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestShellCommands : public QObject {
    Q_OBJECT
private slots:
    void actionTable_data();
    void actionTable();
    void actionListIsComplete();
    void menus_data();
    void menus();
    void toolbar();
    void catalogueNamesActions();

    void grants_data();
    void grants();
    void operatorPermissions();

    void quickDates_data();
    void quickDates();
    void quickDateMenu();

    void navRouting_data();
    void navRouting();
    void navTargetText_data();
    void navTargetText();

    void calculatorOnPath();
};

void TestShellCommands::actionTable_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    const char* rows[][4] = {
        {"OpenMedicine", "Medicine", "药品管理", ""},
        {"AddMedicine", "Medicine", "新增", ""},
        {"EditMedicine", "Medicine", "编辑", ""},
        {"DelMedicine", "Medicine", "删除", ""},
        {"MedicineType", "Medicine", "药品分类", ""},
        {"PrintMedicine", "Medicine", "打印", ""},
        {"OpenCustom", "Custom", "客户资料", ""},
        {"AddCustom", "Custom", "新增", ""},
        {"EditCustom", "Custom", "编辑", ""},
        {"DelCustom", "Custom", "删除", ""},
        {"CustType", "Custom", "客户分类", ""},
        {"PrintCustom", "Custom", "打印", ""},
        {"OpenSupply", "Supply", "供应商", ""},
        {"AddSupply", "Supply", "新增", ""},
        {"EditSupply", "Supply", "编辑", ""},
        {"DelSupply", "Supply", "删除", ""},
        {"SupplyType", "Supply", "供应商分类", ""},
        {"PrintSupply", "Supply", "打印", ""},
        {"OpenEmployee", "Employee", "员工管理", ""},
        {"AddEmployee", "Employee", "新增", ""},
        {"EditEmployee", "Employee", "编辑", ""},
        {"DelEmployee", "Employee", "删除", ""},
        {"EmployeeType", "Employee", "员工分类", ""},
        {"PrintEmployee", "Employee", "打印", ""},
        {"AddMember", "Member", "新增", ""},
        {"EditMember", "Member", "编辑", ""},
        {"DelMember", "Member", "删除", ""},
        {"SetMember", "Member", "会员", ""},
        {"RMemberSale", "Member", "会员销售记录", ""},
        {"RMemberGain", "Member", "会员销售利润", ""},
        {"Units", "Other", "计量单位管理", ""},
        {"Depart", "Other", "部门管理", ""},
        {"JiXing", "Other", "剂型管理", ""},
        {"DepotName", "Other", "仓库管理", ""},
        {"CashType", "Other", "收付方式管理", ""},
        {"SetPosition", "Other", "货位管理", ""},
        {"Zone", "Other", "地区管理", ""},
        {"Account", "Other", "账户管理", ""},
        {"Company", "Other", "公司信息", ""},
        {"SetUser", "Sys", "操作员管理", ""},
        {"ClearData", "Sys", "数据初始化", ""},
        {"Backup", "Sys", "数据库备份", ""},
        {"Restore", "Sys", "数据库恢复", ""},
        {"ExcelToSQLC", "Sys", "客户资料导入", ""},
        {"ExcelToSQLS", "Sys", "供应商资料导入", ""},
        {"ExcelToSQLM", "Sys", "药品资料导入", ""},
        {"SetGSP", "GSP", "GSP文档管理", ""},
        {"DesignMedicine", "Design", "药品打印设置", ""},
        {"DesignSupply", "Design", "供应商打印设置", ""},
        {"DesignEmployee", "Design", "员工打印设置", ""},
        {"DesignBill", "Design", "销售单打印设置", ""},
        {"SetStock", "", "入库", ""},
        {"SetSale", "", "销售", "Ctrl+S"},
        {"SetChaiLing", "", "拆零", ""},
        {"SetOut", "", "出库", "Ctrl+O"},
        {"SetChangePrice", "", "调价", ""},
        {"SetNursing", "", "养护", "Ctrl+N"},
        {"Expired", "", "报警", "Ctrl+E"},
        {"SetFK", "", "结账", "Ctrl+F"},
        {"SetSK", "", "结算", ""},
        {"RunningAccount", "", "流水账", ""},
        {"SearchStock", "", "采购记录查询", ""},
        {"SearchSale", "", "销售记录查询", ""},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << QString::fromUtf8(r[1]) << QString::fromUtf8(r[2]) << QString::fromUtf8(r[3]);
}

void TestShellCommands::actionTable() {
    const ActionCatalog::Action* a = ActionCatalog::find(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(a);
    QCOMPARE(a->name, QString::fromLatin1(QTest::currentDataTag()));
    QFETCH(QString, category);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QCOMPARE(a->category, category);
    QCOMPARE(a->caption, caption);
    QCOMPARE(a->shortcut, shortcut);
}

void TestShellCommands::actionListIsComplete() {
    const QVector<ActionCatalog::Action>& list = ActionCatalog::actions();
    QCOMPARE(list.size(), 63);
    QSet<QString> names;
    for (const ActionCatalog::Action& a : list)
        names.insert(a.name.toLower());
    for (const ActionCatalog::Action& a : ActionCatalog::frameCommands())
        names.insert(a.name.toLower());
    QCOMPARE(names.size(), 63 + ActionCatalog::frameCommands().size()); // no name twice, whatever the case
    // Only the five documented shortcuts exist among the actions.
    QStringList shortcuts;
    for (const ActionCatalog::Action& a : list)
        if (!a.shortcut.isEmpty())
            shortcuts << a.shortcut;
    QCOMPARE(shortcuts.size(), 5);
}

void TestShellCommands::menus_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("系统设置")
        << 0
        << QStringLiteral("SetUser ClearData ChangePassword Relogin - "
                          "[mnDesign:报表设计 DesignMedicine DesignSupply DesignEmployee - DesignBill] "
                          "[mnImport:导入数据 ExcelToSQLC ExcelToSQLS ExcelToSQLM] "
                          "Backup Restore CompactDatabase - Exit");
    QTest::newRow("基础资料")
        << 1
        << QStringLiteral("OpenMedicine MedicineType OpenCustom CustType OpenSupply SupplyType "
                          "OpenEmployee EmployeeType - Units Depart JiXing Zone DepotName CashType "
                          "SetPosition Account - Company");
    QTest::newRow("数据操作") << 2
                              << QStringLiteral(
                                     "SetStock=采购入库 SetFK=采购入库应付结算 SetOut=药品出库 "
                                     "SetSK=药品出库应收结算 SetChaiLing=拆零管理 SetChangePrice=药品调价 "
                                     "SetSale=药品销售");
    QTest::newRow("报表中心") << 3
                              << QStringLiteral(
                                     "SetNursing=药品库存查询及养护 Expired=效期报警 RMemberSale RMemberGain "
                                     "RunningAccount SearchStock SearchSale");
    QTest::newRow("GSP管理") << 4 << QStringLiteral("SetGSP");
    QTest::newRow("帮助文件") << 5 << QStringLiteral("HelpFile");
}

void TestShellCommands::menus() {
    QFETCH(int, index);
    QFETCH(QString, expected);
    const QVector<ActionCatalog::MenuItem>& menus = ActionCatalog::menus();
    QCOMPARE(menus.size(), 6);
    QCOMPARE(menus[index].caption, QString::fromUtf8(QTest::currentDataTag()));
    QCOMPARE(describe(menus[index].children), expected);
    // Every entry names a known command, and the frame's entries carry their own captions.
    std::function<void(const QVector<ActionCatalog::MenuItem>&)> check = [&](const auto& items) {
        for (const ActionCatalog::MenuItem& item : items) {
            if (item.kind == ActionCatalog::MenuItem::Kind::Command)
                QVERIFY2(ActionCatalog::find(item.name), qPrintable(item.name));
            check(item.children);
        }
    };
    check(menus[index].children);
}

void TestShellCommands::toolbar() {
    QStringList buttons;
    for (const ActionCatalog::ToolButton& b : ActionCatalog::toolbar())
        buttons << ActionCatalog::captionOf(b);
    QCOMPARE(buttons, QStringList({QStringLiteral("药品"), QStringLiteral("销售"), QStringLiteral("入库"),
                                   QStringLiteral("养护"), QStringLiteral("出库"), QStringLiteral("报警"),
                                   QStringLiteral("调价"), QStringLiteral("拆零"), QStringLiteral("会员"),
                                   QStringLiteral("退出"), QStringLiteral("导航")}));
    QCOMPARE(ActionCatalog::find(QStringLiteral("Exit"))->caption, QStringLiteral("退出"));
    QCOMPARE(ActionCatalog::find(QStringLiteral("Relogin"))->caption, QStringLiteral("重新登录"));
    QCOMPARE(ActionCatalog::find(QStringLiteral("ChangePassword"))->caption,
             QStringLiteral("修改我的登录密码"));
    QCOMPARE(ActionCatalog::find(QStringLiteral("CompactDatabase"))->caption,
             QStringLiteral("压缩与修复数据库"));
    // Every toolbar button has its picture in the program's resources.
    for (const ActionCatalog::ToolButton& b : ActionCatalog::toolbar()) {
        const ActionCatalog::Action* a = ActionCatalog::find(b.name);
        QVERIFY(a && !a->icon.isEmpty());
        QVERIFY2(QFile::exists(QStringLiteral(":/icons/%1.svg").arg(a->icon)), qPrintable(a->icon));
    }
}

void TestShellCommands::catalogueNamesActions() {
    // The permission catalogue of a new database gates every action, each by its exact name.
    TestDatabase t;
    const QStringList catalogue = Permissions::catalogue(t.db());
    QCOMPARE(catalogue.size(), 63);
    QCOMPARE(catalogue.first(), QStringLiteral("SetUser"));
    QCOMPARE(catalogue.last(), QStringLiteral("SetGSP"));
    QSet<QString> names;
    for (const ActionCatalog::Action& a : ActionCatalog::actions())
        names.insert(a.name);
    for (const QString& name : catalogue)
        QVERIFY2(names.contains(name), qPrintable(name));
}

void TestShellCommands::grants_data() {
    QTest::addColumn<QString>("permissions");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("granted");
    QTest::newRow("exact entry") << "|SetSale|SetOut"
                                 << "SetOut" << true;
    QTest::newRow("inside a longer name") << "|RunningAccount"
                                          << "Account" << false;
    QTest::newRow("longer name listed too") << "|RunningAccount|Account"
                                            << "Account" << true;
    QTest::newRow("prefix of an entry") << "|SetSaleX"
                                        << "SetSale" << false;
    QTest::newRow("entry is a prefix") << "|Set"
                                       << "SetSale" << false;
    QTest::newRow("no leading bar") << "SetSale"
                                    << "SetSale" << true;
    QTest::newRow("empty pieces") << "||SetSale|"
                                  << "SetSale" << true;
    QTest::newRow("letter case") << "|setsale"
                                 << "SetSale" << true;
    QTest::newRow("empty string") << ""
                                  << "SetSale" << false;
    QTest::newRow("empty name") << "|SetSale"
                                << "" << false;
}

void TestShellCommands::grants() {
    QFETCH(QString, permissions);
    QFETCH(QString, name);
    QFETCH(bool, granted);
    QCOMPARE(Permissions::grants(permissions, name), granted);
    if (!name.isEmpty())
        QCOMPARE(Permissions::states({name}, permissions).value(name.toLower()), granted);
}

void TestShellCommands::operatorPermissions() {
    TestDatabase t;
    t.db().run(
        QStringLiteral("INSERT INTO tAdmin (tablename, username, authority) VALUES ('user', 'Clerk', ?)"),
        {QStringLiteral("|RunningAccount|SetSale")});
    // A permission group of the same name as an operator is not that operator.
    t.db().run(QStringLiteral(
        "INSERT INTO tAdmin (tablename, username, authority) VALUES ('team', 'Ghost', '|SetUser')"));

    const QStringList catalogue = Permissions::catalogue(t.db());
    QCOMPARE(Permissions::permissionString(t.db(), QStringLiteral("clerk")),
             QStringLiteral("|RunningAccount|SetSale"));
    QHash<QString, bool> clerk =
        Permissions::states(catalogue, Permissions::permissionString(t.db(), QStringLiteral("Clerk")));
    QCOMPARE(clerk.size(), 63);
    QVERIFY(clerk.value(QStringLiteral("runningaccount")));
    QVERIFY(clerk.value(QStringLiteral("setsale")));
    QVERIFY(!clerk.value(QStringLiteral("account")));
    QCOMPARE(std::count(clerk.begin(), clerk.end(), true), 2);

    for (const char* nobody : {"Ghost", "Nobody"}) {
        const QString s = Permissions::permissionString(t.db(), QString::fromLatin1(nobody));
        QVERIFY(s.isEmpty());
        const QHash<QString, bool> none = Permissions::states(catalogue, s);
        QCOMPARE(std::count(none.begin(), none.end(), true), 0);
    }
    // The first operator of a new database may do everything.
    const QHash<QString, bool> admin =
        Permissions::states(catalogue, Permissions::permissionString(t.db(), QStringLiteral("Admin")));
    QCOMPARE(std::count(admin.begin(), admin.end(), true), 63);
}

void TestShellCommands::quickDates_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    const QDate d(2024, 3, 15);
    QTest::newRow("today") << "今天" << d << d << d;
    QTest::newRow("yesterday") << "昨天" << d << QDate(2024, 3, 14) << QDate(2024, 3, 14);
    QTest::newRow("day before") << "前天" << d << QDate(2024, 3, 13) << QDate(2024, 3, 13);
    QTest::newRow("yesterday on the 1st")
        << "昨天" << QDate(2024, 3, 1) << QDate(2024, 2, 29) << QDate(2024, 2, 29);
    QTest::newRow("last 7 days is eight days") << "最近7天" << d << QDate(2024, 3, 8) << d;
    QTest::newRow("last 30 days is 31 days") << "最近30天" << d << QDate(2024, 2, 14) << d;
    QTest::newRow("this month ends at month end") << "本月" << d << QDate(2024, 3, 1) << QDate(2024, 3, 31);
    QTest::newRow("this month, leap February")
        << "本月" << QDate(2024, 2, 10) << QDate(2024, 2, 1) << QDate(2024, 2, 29);
    QTest::newRow("this month on its last day")
        << "本月" << QDate(2023, 4, 30) << QDate(2023, 4, 1) << QDate(2023, 4, 30);
    QTest::newRow("last month") << "上月" << d << QDate(2024, 2, 1) << QDate(2024, 2, 29);
    QTest::newRow("last month from 31st")
        << "上月" << QDate(2024, 5, 31) << QDate(2024, 4, 1) << QDate(2024, 4, 30);
    QTest::newRow("last month in January")
        << "上月" << QDate(2025, 1, 20) << QDate(2024, 12, 1) << QDate(2024, 12, 31);
}

void TestShellCommands::quickDates() {
    QFETCH(QString, caption);
    QFETCH(QDate, today);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QuickDates::Entry entry;
    QVERIFY(QuickDates::fromCaption(caption, entry));
    const QuickDates::Range r = QuickDates::range(entry, today);
    QCOMPARE(r.start, start);
    QCOMPARE(r.end, end);
}

void TestShellCommands::quickDateMenu() {
    QStringList captions;
    for (QuickDates::Entry e : QuickDates::menu())
        captions << (e == QuickDates::Entry::Separator ? QStringLiteral("-") : QuickDates::caption(e));
    QCOMPARE(captions.join(QLatin1Char(' ')),
             QStringLiteral("今天 昨天 前天 - 最近7天 最近30天 - 本月 上月"));
    QuickDates::Entry e;
    QVERIFY(!QuickDates::fromCaption(QStringLiteral("明天"), e));
}

void TestShellCommands::navRouting_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("commands");
    QTest::newRow("sale") << "cmd:SetSale" << QStringList{"SetSale"};
    QTest::newRow("backup then restore") << "cmd:RestoreBackup" << QStringList{"Backup", "Restore"};
    QTest::newRow("compaction") << "cmd:CompactDatabase" << QStringList{"CompactDatabase"};
    QTest::newRow("list order, not link order") << "SetFK+SetSK" << QStringList{"SetSK", "SetFK"};
    QTest::newRow("plain page") << "about.html" << QStringList{};
    QTest::newRow("case matters") << "cmd:setsale" << QStringList{};
    QTest::newRow("not on the start page") << "cmd:OpenCustom" << QStringList{};
}

void TestShellCommands::navRouting() {
    QFETCH(QString, target);
    QFETCH(QStringList, commands);
    QCOMPARE(NavRouting::commandsFor(target), commands);
}

void TestShellCommands::navTargetText_data() {
    QTest::addColumn<QUrl>("link");
    QTest::addColumn<QString>("text");
    const QUrl page = QUrl::fromLocalFile(QStringLiteral("/srv/Backup/shop/nav/index.html"));
    QTest::newRow("command link") << QUrl(QStringLiteral("cmd:SetSale")) << "cmd:SetSale";
    QTest::newRow("resolved relative link") << page.resolved(QUrl(QStringLiteral("Restore"))) << "Restore";
    QTest::newRow("fragment") << page.resolved(QUrl(QStringLiteral("#SetOut"))) << "index.html#SetOut";
    QTest::newRow("file elsewhere") << QUrl::fromLocalFile(QStringLiteral("/srv/Backup/x.html")) << "x.html";
    QTest::newRow("web page") << QUrl(QStringLiteral("https://example.org/Backup"))
                              << "https://example.org/Backup";
}

void TestShellCommands::navTargetText() {
    QFETCH(QUrl, link);
    QFETCH(QString, text);
    const QUrl page = QUrl::fromLocalFile(QStringLiteral("/srv/Backup/shop/nav/index.html"));
    QCOMPARE(NavRouting::targetText(link, page), text);
}

void TestShellCommands::calculatorOnPath() {
    // The first of the known calculators found on PATH wins, whatever order PATH lists them in.
    QTemporaryDir first, second;
    auto install = [](const QTemporaryDir& dir, const QString& name) {
        QFile f(QDir(dir.path()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    install(first, QStringLiteral("xcalc"));
    install(second, QStringLiteral("galculator"));
    const QByteArray saved = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(first.path() + QLatin1Char(':') + second.path()));
    const QString found = ExternalPrograms::findCalculator();
    qputenv("PATH", QFile::encodeName(first.path()));
    const QString onlyX = ExternalPrograms::findCalculator();
    QTemporaryDir empty;
    qputenv("PATH", QFile::encodeName(empty.path()));
    const QString none = ExternalPrograms::findCalculator();
    const bool started = ExternalPrograms::startCalculator();
    qputenv("PATH", saved);
    QCOMPARE(found, QDir(second.path()).filePath(QStringLiteral("galculator")));
    QCOMPARE(onlyX, QDir(first.path()).filePath(QStringLiteral("xcalc")));
    QVERIFY(none.isEmpty());
    QVERIFY(!started);
    QCOMPARE(ExternalPrograms::againArguments(QStringLiteral("/srv/shop")),
             QStringList({"--home", "/srv/shop"}));
}

QTEST_GUILESS_MAIN(TestShellCommands)
#include "tst_shell_commands.moc"
