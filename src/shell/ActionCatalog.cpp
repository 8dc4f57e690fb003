#include "shell/ActionCatalog.h"

#include <QCoreApplication>

const QString ActionCatalog::ChangePassword = QStringLiteral("ChangePassword");
const QString ActionCatalog::Relogin = QStringLiteral("Relogin");
const QString ActionCatalog::CompactDatabase = QStringLiteral("CompactDatabase");
const QString ActionCatalog::Exit = QStringLiteral("Exit");
const QString ActionCatalog::HelpFile = QStringLiteral("HelpFile");
const QString ActionCatalog::Navigate = QStringLiteral("Navigate");
const QString ActionCatalog::Calculator = QStringLiteral("Calculator");
const QString ActionCatalog::ExportExcel = QStringLiteral("ExportExcel");

namespace {

using Action = ActionCatalog::Action;
using MenuItem = ActionCatalog::MenuItem;
using Kind = ActionCatalog::MenuItem::Kind;

// Captions are source texts, translated where they are shown.
#define TXT(s) QStringLiteral(QT_TRANSLATE_NOOP("ActionCatalog", s))

MenuItem cmd(const QString& name, const QString& caption = QString()) {
    return {Kind::Command, name, caption, {}};
}
MenuItem sep() {
    return {Kind::Separator, QString(), QString(), {}};
}
MenuItem sub(const QString& name, const QString& caption, const QVector<MenuItem>& children) {
    return {Kind::Submenu, name, caption, children};
}

} // namespace

const QVector<ActionCatalog::Action>& ActionCatalog::actions() {
    static const QVector<Action> list = {
        {QStringLiteral("OpenMedicine"), QStringLiteral("Medicine"), TXT("药品管理"), QString(),
         QStringLiteral("medicine")},
        {QStringLiteral("AddMedicine"), QStringLiteral("Medicine"), TXT("新增"), QString(), QString()},
        {QStringLiteral("EditMedicine"), QStringLiteral("Medicine"), TXT("编辑"), QString(), QString()},
        {QStringLiteral("DelMedicine"), QStringLiteral("Medicine"), TXT("删除"), QString(), QString()},
        {QStringLiteral("MedicineType"), QStringLiteral("Medicine"), TXT("药品分类"), QString(),
         QStringLiteral("tree")},
        {QStringLiteral("PrintMedicine"), QStringLiteral("Medicine"), TXT("打印"), QString(), QString()},
        {QStringLiteral("OpenCustom"), QStringLiteral("Custom"), TXT("客户资料"), QString(),
         QStringLiteral("customer")},
        {QStringLiteral("AddCustom"), QStringLiteral("Custom"), TXT("新增"), QString(), QString()},
        {QStringLiteral("EditCustom"), QStringLiteral("Custom"), TXT("编辑"), QString(), QString()},
        {QStringLiteral("DelCustom"), QStringLiteral("Custom"), TXT("删除"), QString(), QString()},
        {QStringLiteral("CustType"), QStringLiteral("Custom"), TXT("客户分类"), QString(),
         QStringLiteral("tree")},
        {QStringLiteral("PrintCustom"), QStringLiteral("Custom"), TXT("打印"), QString(), QString()},
        {QStringLiteral("OpenSupply"), QStringLiteral("Supply"), TXT("供应商"), QString(),
         QStringLiteral("supplier")},
        {QStringLiteral("AddSupply"), QStringLiteral("Supply"), TXT("新增"), QString(), QString()},
        {QStringLiteral("EditSupply"), QStringLiteral("Supply"), TXT("编辑"), QString(), QString()},
        {QStringLiteral("DelSupply"), QStringLiteral("Supply"), TXT("删除"), QString(), QString()},
        {QStringLiteral("SupplyType"), QStringLiteral("Supply"), TXT("供应商分类"), QString(),
         QStringLiteral("tree")},
        {QStringLiteral("PrintSupply"), QStringLiteral("Supply"), TXT("打印"), QString(), QString()},
        {QStringLiteral("OpenEmployee"), QStringLiteral("Employee"), TXT("员工管理"), QString(),
         QStringLiteral("employee")},
        {QStringLiteral("AddEmployee"), QStringLiteral("Employee"), TXT("新增"), QString(), QString()},
        {QStringLiteral("EditEmployee"), QStringLiteral("Employee"), TXT("编辑"), QString(), QString()},
        {QStringLiteral("DelEmployee"), QStringLiteral("Employee"), TXT("删除"), QString(), QString()},
        {QStringLiteral("EmployeeType"), QStringLiteral("Employee"), TXT("员工分类"), QString(),
         QStringLiteral("tree")},
        {QStringLiteral("PrintEmployee"), QStringLiteral("Employee"), TXT("打印"), QString(), QString()},
        {QStringLiteral("AddMember"), QStringLiteral("Member"), TXT("新增"), QString(), QString()},
        {QStringLiteral("EditMember"), QStringLiteral("Member"), TXT("编辑"), QString(), QString()},
        {QStringLiteral("DelMember"), QStringLiteral("Member"), TXT("删除"), QString(), QString()},
        {QStringLiteral("SetMember"), QStringLiteral("Member"), TXT("会员"), QString(),
         QStringLiteral("member")},
        {QStringLiteral("RMemberSale"), QStringLiteral("Member"), TXT("会员销售记录"), QString(),
         QStringLiteral("search")},
        {QStringLiteral("RMemberGain"), QStringLiteral("Member"), TXT("会员销售利润"), QString(),
         QStringLiteral("profit")},
        {QStringLiteral("Units"), QStringLiteral("Other"), TXT("计量单位管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("Depart"), QStringLiteral("Other"), TXT("部门管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("JiXing"), QStringLiteral("Other"), TXT("剂型管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("DepotName"), QStringLiteral("Other"), TXT("仓库管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("CashType"), QStringLiteral("Other"), TXT("收付方式管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("SetPosition"), QStringLiteral("Other"), TXT("货位管理"), QString(),
         QStringLiteral("list")},
        {QStringLiteral("Zone"), QStringLiteral("Other"), TXT("地区管理"), QString(), QStringLiteral("tree")},
        {QStringLiteral("Account"), QStringLiteral("Other"), TXT("账户管理"), QString(),
         QStringLiteral("account")},
        {QStringLiteral("Company"), QStringLiteral("Other"), TXT("公司信息"), QString(),
         QStringLiteral("company")},
        {QStringLiteral("SetUser"), QStringLiteral("Sys"), TXT("操作员管理"), QString(),
         QStringLiteral("user")},
        {QStringLiteral("ClearData"), QStringLiteral("Sys"), TXT("数据初始化"), QString(),
         QStringLiteral("cleardata")},
        {QStringLiteral("Backup"), QStringLiteral("Sys"), TXT("数据库备份"), QString(),
         QStringLiteral("backup")},
        {QStringLiteral("Restore"), QStringLiteral("Sys"), TXT("数据库恢复"), QString(),
         QStringLiteral("restore")},
        {QStringLiteral("ExcelToSQLC"), QStringLiteral("Sys"), TXT("客户资料导入"), QString(),
         QStringLiteral("import")},
        {QStringLiteral("ExcelToSQLS"), QStringLiteral("Sys"), TXT("供应商资料导入"), QString(),
         QStringLiteral("import")},
        {QStringLiteral("ExcelToSQLM"), QStringLiteral("Sys"), TXT("药品资料导入"), QString(),
         QStringLiteral("import")},
        {QStringLiteral("SetGSP"), QStringLiteral("GSP"), TXT("GSP文档管理"), QString(),
         QStringLiteral("gsp")},
        {QStringLiteral("DesignMedicine"), QStringLiteral("Design"), TXT("药品打印设置"), QString(),
         QStringLiteral("design")},
        {QStringLiteral("DesignSupply"), QStringLiteral("Design"), TXT("供应商打印设置"), QString(),
         QStringLiteral("design")},
        {QStringLiteral("DesignEmployee"), QStringLiteral("Design"), TXT("员工打印设置"), QString(),
         QStringLiteral("design")},
        {QStringLiteral("DesignBill"), QStringLiteral("Design"), TXT("销售单打印设置"), QString(),
         QStringLiteral("design")},
        {QStringLiteral("SetStock"), QString(), TXT("入库"), QString(), QStringLiteral("stockin")},
        {QStringLiteral("SetSale"), QString(), TXT("销售"), QStringLiteral("Ctrl+S"), QStringLiteral("sale")},
        {QStringLiteral("SetChaiLing"), QString(), TXT("拆零"), QString(), QStringLiteral("split")},
        {QStringLiteral("SetOut"), QString(), TXT("出库"), QStringLiteral("Ctrl+O"),
         QStringLiteral("stockout")},
        {QStringLiteral("SetChangePrice"), QString(), TXT("调价"), QString(), QStringLiteral("price")},
        {QStringLiteral("SetNursing"), QString(), TXT("养护"), QStringLiteral("Ctrl+N"),
         QStringLiteral("nursing")},
        {QStringLiteral("Expired"), QString(), TXT("报警"), QStringLiteral("Ctrl+E"),
         QStringLiteral("expired")},
        {QStringLiteral("SetFK"), QString(), TXT("结账"), QStringLiteral("Ctrl+F"), QStringLiteral("settle")},
        {QStringLiteral("SetSK"), QString(), TXT("结算"), QString(), QStringLiteral("settle")},
        {QStringLiteral("RunningAccount"), QString(), TXT("流水账"), QString(), QStringLiteral("ledger")},
        {QStringLiteral("SearchStock"), QString(), TXT("采购记录查询"), QString(), QStringLiteral("search")},
        {QStringLiteral("SearchSale"), QString(), TXT("销售记录查询"), QString(), QStringLiteral("search")},
    };
    return list;
}

const QVector<ActionCatalog::Action>& ActionCatalog::frameCommands() {
    static const QVector<Action> list = {
        {ChangePassword, QStringLiteral("Frame"), TXT("修改我的登录密码"), QString(),
         QStringLiteral("password")},
        {Relogin, QStringLiteral("Frame"), TXT("重新登录"), QString(), QStringLiteral("relogin")},
        {CompactDatabase, QStringLiteral("Frame"), TXT("压缩与修复数据库"), QString(),
         QStringLiteral("compact")},
        {Exit, QStringLiteral("Frame"), TXT("退出"), QString(), QStringLiteral("exit")},
        {HelpFile, QStringLiteral("Frame"), TXT("帮助文件"), QStringLiteral("F1"), QStringLiteral("help")},
        {Navigate, QStringLiteral("Frame"), TXT("导航"), QString(), QStringLiteral("nav")},
        {Calculator, QStringLiteral("Frame"), TXT("计算器"), QString(), QStringLiteral("calculator")},
        {ExportExcel, QStringLiteral("Frame"), TXT("导出Excel"), QString(), QStringLiteral("excel")},
    };
    return list;
}

const QVector<ActionCatalog::MenuItem>& ActionCatalog::menus() {
    static const QVector<MenuItem> list = {
        sub(QStringLiteral("mnSystem"), TXT("系统设置"),
            {cmd(QStringLiteral("SetUser")), cmd(QStringLiteral("ClearData")), cmd(ChangePassword),
             cmd(Relogin), sep(),
             sub(QStringLiteral("mnDesign"), TXT("报表设计"),
                 {cmd(QStringLiteral("DesignMedicine")), cmd(QStringLiteral("DesignSupply")),
                  cmd(QStringLiteral("DesignEmployee")), sep(), cmd(QStringLiteral("DesignBill"))}),
             sub(QStringLiteral("mnImport"), TXT("导入数据"),
                 {cmd(QStringLiteral("ExcelToSQLC")), cmd(QStringLiteral("ExcelToSQLS")),
                  cmd(QStringLiteral("ExcelToSQLM"))}),
             cmd(QStringLiteral("Backup")), cmd(QStringLiteral("Restore")), cmd(CompactDatabase), sep(),
             cmd(Exit)}),
        sub(QStringLiteral("mnBase"), TXT("基础资料"),
            {cmd(QStringLiteral("OpenMedicine")), cmd(QStringLiteral("MedicineType")),
             cmd(QStringLiteral("OpenCustom")), cmd(QStringLiteral("CustType")),
             cmd(QStringLiteral("OpenSupply")), cmd(QStringLiteral("SupplyType")),
             cmd(QStringLiteral("OpenEmployee")), cmd(QStringLiteral("EmployeeType")), sep(),
             cmd(QStringLiteral("Units")), cmd(QStringLiteral("Depart")), cmd(QStringLiteral("JiXing")),
             cmd(QStringLiteral("Zone")), cmd(QStringLiteral("DepotName")), cmd(QStringLiteral("CashType")),
             cmd(QStringLiteral("SetPosition")), cmd(QStringLiteral("Account")), sep(),
             cmd(QStringLiteral("Company"))}),
        sub(QStringLiteral("mnData"), TXT("数据操作"),
            {cmd(QStringLiteral("SetStock"), TXT("采购入库")),
             cmd(QStringLiteral("SetFK"), TXT("采购入库应付结算")),
             cmd(QStringLiteral("SetOut"), TXT("药品出库")),
             cmd(QStringLiteral("SetSK"), TXT("药品出库应收结算")),
             cmd(QStringLiteral("SetChaiLing"), TXT("拆零管理")),
             cmd(QStringLiteral("SetChangePrice"), TXT("药品调价")),
             cmd(QStringLiteral("SetSale"), TXT("药品销售"))}),
        sub(QStringLiteral("mnReport"), TXT("报表中心"),
            {cmd(QStringLiteral("SetNursing"), TXT("药品库存查询及养护")),
             cmd(QStringLiteral("Expired"), TXT("效期报警")), cmd(QStringLiteral("RMemberSale")),
             cmd(QStringLiteral("RMemberGain")), cmd(QStringLiteral("RunningAccount")),
             cmd(QStringLiteral("SearchStock")), cmd(QStringLiteral("SearchSale"))}),
        sub(QStringLiteral("mnGSP"), TXT("GSP管理"), {cmd(QStringLiteral("SetGSP"))}),
        sub(QStringLiteral("mnHelp"), TXT("帮助文件"), {cmd(HelpFile)}),
    };
    return list;
}

const QVector<ActionCatalog::ToolButton>& ActionCatalog::toolbar() {
    static const QVector<ToolButton> list = {
        {QStringLiteral("OpenMedicine"), TXT("药品")},
        {QStringLiteral("SetSale"), QString()},
        {QStringLiteral("SetStock"), QString()},
        {QStringLiteral("SetNursing"), QString()},
        {QStringLiteral("SetOut"), QString()},
        {QStringLiteral("Expired"), QString()},
        {QStringLiteral("SetChangePrice"), QString()},
        {QStringLiteral("SetChaiLing"), QString()},
        {QStringLiteral("SetMember"), QString()},
        {Exit, QString()},
        {Navigate, QString()},
    };
    return list;
}

const ActionCatalog::Action* ActionCatalog::find(const QString& name) {
    for (const QVector<Action>* list : {&actions(), &frameCommands()})
        for (const Action& a : *list)
            if (a.name.compare(name, Qt::CaseInsensitive) == 0)
                return &a;
    return nullptr;
}

QString ActionCatalog::captionOf(const Action& action) {
    return QCoreApplication::translate("ActionCatalog", action.caption.toUtf8().constData());
}

QString ActionCatalog::captionOf(const MenuItem& item) {
    if (!item.caption.isEmpty())
        return QCoreApplication::translate("ActionCatalog", item.caption.toUtf8().constData());
    const Action* a = find(item.name);
    return a ? captionOf(*a) : QString();
}

QString ActionCatalog::captionOf(const ToolButton& button) {
    if (!button.caption.isEmpty())
        return QCoreApplication::translate("ActionCatalog", button.caption.toUtf8().constData());
    const Action* a = find(button.name);
    return a ? captionOf(*a) : QString();
}
