#include "core/widgets/CoreCommands.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/Commands.h"
#include "core/widgets/uOther.h"
#include "core/widgets/uTree.h"

#include <QObject>

namespace {

void openTree(const QString& tree, const QString& caption) {
    try {
        TFrmTree dlg(tree, caption, QString(), Commands::mainWindow());
        dlg.exec();
    } catch (const DbError& e) {
        MsgError(e.message());
    }
}

void openList(const QString& caption, const QString& listName) {
    TFrmOther dlg(caption, listName, nullptr, Commands::mainWindow());
    dlg.exec();
}

} // namespace

void RegisterCoreCommands() {
    struct Tree {
        const char* action;
        const char* tree;
        const char* caption;
    };
    static const Tree trees[] = {
        {"MedicineType", "Medicine", QT_TRANSLATE_NOOP("QObject", "药品分类")},
        {"CustType", "Custom", QT_TRANSLATE_NOOP("QObject", "客户分类")},
        {"SupplyType", "Supply", QT_TRANSLATE_NOOP("QObject", "供应商分类")},
        {"EmployeeType", "Employee", QT_TRANSLATE_NOOP("QObject", "员工分类")},
        {"Zone", "Zone", QT_TRANSLATE_NOOP("QObject", "地区分类")},
    };
    for (const Tree& t : trees) {
        const QString tree = QLatin1String(t.tree);
        const char* caption = t.caption;
        Commands::setHandler(QLatin1String(t.action),
                             [tree, caption] { openTree(tree, QObject::tr(caption)); });
    }

    struct List {
        const char* action;
        const char* list;
        const char* caption;
    };
    static const List lists[] = {
        {"Units", "Units", QT_TRANSLATE_NOOP("QObject", "计量单位管理")},
        {"Depart", "Depart", QT_TRANSLATE_NOOP("QObject", "部门管理")},
        {"JiXing", "JiXing", QT_TRANSLATE_NOOP("QObject", "剂型管理")},
        {"DepotName", "DepotName", QT_TRANSLATE_NOOP("QObject", "仓库管理")},
        {"CashType", "CashType", QT_TRANSLATE_NOOP("QObject", "收付方式管理")},
        {"SetPosition", "Position", QT_TRANSLATE_NOOP("QObject", "货位管理")},
    };
    for (const List& l : lists) {
        const QString list = QLatin1String(l.list);
        const char* caption = l.caption;
        Commands::setHandler(QLatin1String(l.action),
                             [list, caption] { openList(QObject::tr(caption), list); });
    }
}
