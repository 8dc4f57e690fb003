// The real main window, offscreen: menus and toolbar built from the command tables, permission
// gating through every control, the start-up timer, the quick date-range menu, the start page.
#include "core/IniFile.h"
#include "core/ProgramFolder.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DateTarget.h"
#include "shell/uHelp.h"
#include "shell/uMain.h"
#include "shell/uNav.h"
#include "support/TestSupport.h"

#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// A program folder with its database, one operator and the main window logged in as that
// operator. folder is a path below the temporary directory (to put a command name into it).
struct Shop {
    explicit Shop(const QString& authority, const QString& folder = QStringLiteral("shop")) {
        home = QDir(dir.path()).filePath(folder);
        QVERIFY(ProgramFolder::prepare(home, false).isEmpty());
        main = std::make_unique<TFrmMain>();
        data = new TFrmData(home, main.get());
        data->FormCreate();
        QVERIFY(data->connected());
        data->db().run(QStringLiteral("INSERT INTO tAdmin (tablename, username, password, authority) "
                                      "VALUES ('user', 'Clerk', '', ?)"),
                       {authority});
    }
    void login(const QString& name = QStringLiteral("Clerk")) {
        main->OperatorName = name;
        main->FormShow();
    }
    QTemporaryDir dir;
    QString home;
    std::unique_ptr<TFrmMain> main;
    TFrmData* data = nullptr;
};

// Handlers that only record that they ran.
struct Recorder {
    explicit Recorder(const QStringList& names) : m_names(names) {
        for (const QString& name : names)
            Commands::setHandler(name, [this, name]() { calls << name; });
    }
    ~Recorder() {
        for (const QString& name : m_names)
            Commands::setHandler(name, {});
    }
    QStringList calls;

private:
    QStringList m_names;
};

QStringList entryNames(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        names << (a->isSeparator() ? QStringLiteral("-")
                  : a->menu()      ? a->menu()->objectName()
                                   : a->objectName());
    return names;
}

// Opens the menu of the menu bar and clicks the entry, as a user does.
void clickMenuEntry(QMenu* menu, const QString& entryName) {
    QAction* entry = menu->findChild<QAction*>(entryName);
    if (!entry)
        for (QAction* a : menu->actions())
            if (a->objectName() == entryName)
                entry = a;
    QVERIFY2(entry, qPrintable(entryName));
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    menu->close();
    QCoreApplication::processEvents();
}

// The middle of a link's text in the browser's viewport.
QPoint anchorPoint(QTextBrowser* browser, const QString& href) {
    QTextDocument* doc = browser->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().isAnchor() && f.charFormat().anchorHref() == href) {
                QTextCursor c(doc);
                c.setPosition(f.position());
                const QRect left = browser->cursorRect(c);
                c.setPosition(f.position() + f.length());
                const QRect right = browser->cursorRect(c);
                return QPoint((left.center().x() + right.center().x()) / 2, left.center().y());
            }
        }
    return QPoint(-1, -1);
}

} // namespace

class TestShellMain : public QObject {
    Q_OBJECT
private slots:
    void showStep();
    void menusAndToolbar();
    void gatingThroughEveryControl();
    void operatorWithoutRow();
    void expiryAlarmAtStart_data();
    void expiryAlarmAtStart();
    void quickDateMenu();
    void quickDatesFromModalWindow();
    void startPage();
    void frameCommands();
};

void TestShellMain::showStep() {
    Shop shop(QStringLiteral("|SetSale"));
    shop.data->db().run(
        QStringLiteral("UPDATE tSoftInfo SET fGoodsCode = 1, SoftName = '康宁药房', Version = '2.1'"));
    shop.login();
    QCOMPARE(shop.main->windowTitle(), QStringLiteral("康宁药房2.1"));
    QVERIFY(shop.main->UseGoodsCode);
    QCOMPARE(shop.main->panelText(0), QStringLiteral(" 当前操作员: Clerk"));
    QCOMPARE(Commands::operatorName(), QStringLiteral("Clerk"));
    QVERIFY(FrmData->QryCompany.isOpen());
    auto* timer = shop.main->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer && timer->isActive() && timer->isSingleShot());
    QCOMPARE(timer->interval(), 1000);
    // Subsystems write the record count through the status sink.
    Commands::showStatus(2, QStringLiteral("当前共有5条记录"));
    QCOMPARE(shop.main->panelText(2), QStringLiteral("当前共有5条记录"));
}

void TestShellMain::menusAndToolbar() {
    Shop shop{QString()};
    shop.login(QStringLiteral("Admin"));
    QMenuBar* bar = shop.main->findChild<QMenuBar*>(QStringLiteral("AdvMainMenu1"));
    QVERIFY(bar);
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    QCOMPARE(titles, QStringList({"系统设置", "基础资料", "数据操作", "报表中心", "GSP管理", "帮助文件"}));

    auto* sys = bar->findChild<QMenu*>(QStringLiteral("mnSystem"));
    QVERIFY(sys);
    QCOMPARE(entryNames(sys),
             QStringList({"miSetUser", "miClearData", "miChangePassword", "miRelogin", "-", "mnDesign",
                          "mnImport", "miBackup", "miRestore", "miCompactDatabase", "-", "miExit"}));
    QCOMPARE(entryNames(bar->findChild<QMenu*>(QStringLiteral("mnDesign"))),
             QStringList({"miDesignMedicine", "miDesignSupply", "miDesignEmployee", "-", "miDesignBill"}));
    auto* data = bar->findChild<QMenu*>(QStringLiteral("mnData"));
    QVERIFY(data);
    QStringList texts;
    for (QAction* a : data->actions())
        texts << a->text();
    QCOMPARE(texts, QStringList({"采购入库", "采购入库应付结算\tCtrl+F", "药品出库\tCtrl+O",
                                 "药品出库应收结算", "拆零管理", "药品调价", "药品销售\tCtrl+S"}));
    // Every action and frame command carries its name and the documented shortcut.
    QCOMPARE(shop.main->actionList().size(), 63);
    QCOMPARE(shop.main->action(QStringLiteral("setsale"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(shop.main->action(QStringLiteral("Expired"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+E")));

    auto* toolbar = shop.main->findChild<QToolBar*>(QStringLiteral("RzToolbar1"));
    QVERIFY(toolbar);
    QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QStringList buttons;
    for (QAction* a : toolbar->actions()) {
        if (a->isSeparator())
            continue;
        buttons << a->objectName() + QLatin1Char('=') + a->text();
        QVERIFY2(!a->icon().isNull(), qPrintable(a->objectName()));
    }
    QCOMPARE(buttons,
             QStringList({"TB_OpenMedicine=药品", "TB_SetSale=销售", "TB_SetStock=入库", "TB_SetNursing=养护",
                          "TB_SetOut=出库", "TB_Expired=报警", "TB_SetChangePrice=调价",
                          "TB_SetChaiLing=拆零", "TB_SetMember=会员", "TB_Exit=退出", "TB_Navigate=导航"}));
}

void TestShellMain::gatingThroughEveryControl() {
    Shop shop(QStringLiteral("|RunningAccount|SetSale"));
    shop.login();
    shop.main->show();
    QVERIFY(QTest::qWaitForWindowExposed(shop.main.get()));
    Recorder rec({"Account", "RunningAccount", "SetSale", "SetOut"});

    QVERIFY(!shop.main->action(QStringLiteral("Account"))->isEnabled()); // not granted by RunningAccount
    QVERIFY(shop.main->action(QStringLiteral("RunningAccount"))->isEnabled());
    QVERIFY(!shop.main->findChild<QAction*>(QStringLiteral("miAccount"))->isEnabled());

    // Menus.
    clickMenuEntry(shop.main->findChild<QMenu*>(QStringLiteral("mnBase")), QStringLiteral("miAccount"));
    clickMenuEntry(shop.main->findChild<QMenu*>(QStringLiteral("mnReport")),
                   QStringLiteral("miRunningAccount"));
    QCOMPARE(rec.calls, QStringList{"RunningAccount"});
    // Toolbar buttons.
    auto* toolbar = shop.main->findChild<QToolBar*>(QStringLiteral("RzToolbar1"));
    for (const char* name : {"TB_SetOut", "TB_SetSale"}) {
        auto* button = qobject_cast<QToolButton*>(
            toolbar->widgetForAction(toolbar->findChild<QAction*>(QString::fromLatin1(name))));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(rec.calls, QStringList({"RunningAccount", "SetSale"}));
    // Other windows' buttons and the start page run commands through the registry.
    QVERIFY(!Commands::run(QStringLiteral("Account")));
    QVERIFY(!Commands::run(QStringLiteral("NoSuchCommand")));
    QVERIFY(Commands::run(QStringLiteral("setsale")));
    // Even an explicit trigger of the disabled action runs nothing.
    shop.main->action(QStringLiteral("Account"))->trigger();
    QCOMPARE(rec.calls, QStringList({"RunningAccount", "SetSale", "SetSale"}));
}

void TestShellMain::operatorWithoutRow() {
    Shop shop(QStringLiteral("|SetSale"));
    shop.login(QStringLiteral("Stranger"));
    for (QAction* a : shop.main->actionList())
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    // The frame's own commands are named by no catalogue row and stay available.
    for (QAction* a : shop.main->frameActions())
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
}

void TestShellMain::expiryAlarmAtStart_data() {
    QTest::addColumn<QString>("authority");
    QTest::addColumn<int>("showexpiry");
    QTest::addColumn<bool>("opened");
    QTest::newRow("granted, on") << "|Expired" << 1 << true;
    QTest::newRow("granted, off") << "|Expired" << 0 << false;
    QTest::newRow("not granted, on") << "|SetSale" << 1 << false;
}

void TestShellMain::expiryAlarmAtStart() {
    QFETCH(QString, authority);
    QFETCH(int, showexpiry);
    QFETCH(bool, opened);
    Shop shop(authority);
    shop.data->ini().writeInteger(QStringLiteral("Config"), QStringLiteral("ShowExpiry"), showexpiry);
    Recorder rec({"Expired"});
    shop.login();
    QTest::qWait(600);
    QVERIFY(rec.calls.isEmpty()); // not before the second is up
    QTest::qWait(900);
    QCOMPARE(rec.calls, opened ? QStringList{"Expired"} : QStringList());
    QVERIFY(!shop.main->findChild<QTimer*>(QStringLiteral("Timer1"))->isActive());
}

void TestShellMain::quickDateMenu() {
    Shop shop{QString()};
    QMenu* pm = shop.main->dateMenu();
    QCOMPARE(pm->objectName(), QStringLiteral("pmDate"));
    QStringList texts;
    for (QAction* a : pm->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, QStringList({"今天", "昨天", "前天", "-", "最近7天", "最近30天", "-", "本月", "上月"}));

    auto from = std::make_unique<QDateEdit>(QDate(2000, 1, 1));
    auto to = std::make_unique<QDateEdit>(QDate(2000, 1, 1));
    DateTarget::set(from.get(), to.get());
    const QDate today = QDate::currentDate();
    pm->findChild<QAction*>(QStringLiteral("pmDateThisMonth"))->trigger();
    QCOMPARE(from->date(), QDate(today.year(), today.month(), 1));
    QCOMPARE(to->date(), QDate(today.year(), today.month(), today.daysInMonth()));
    pm->findChild<QAction*>(QStringLiteral("pmDateLast7"))->trigger();
    QCOMPARE(from->date(), today.addDays(-7));
    QCOMPARE(to->date(), today);
    // A window closed since it opened the menu is no target any more.
    from.reset();
    pm->findChild<QAction*>(QStringLiteral("pmDateToday"))->trigger();
    QCOMPARE(to->date(), today);
    QVERIFY(!DateTarget::apply(today, today));
}

void TestShellMain::quickDatesFromModalWindow() {
    // A settlement window is modal: the menu opens over it and fills its pickers.
    Shop shop{QString()};
    shop.main->show();
    QDialog dlg(shop.main.get());
    auto* from = new QDateEdit(QDate(2000, 1, 1), &dlg);
    auto* to = new QDateEdit(QDate(2000, 1, 1), &dlg);
    QString chosen;
    QTimer::singleShot(0, &dlg, [&]() {
        QTimer::singleShot(100, &dlg, [&]() {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* a : menu->actions())
                if (a->objectName() == QLatin1String("pmDateLastMonth")) {
                    chosen = a->text();
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                }
            menu->close();
        });
        DateTarget::popup(from, to, dlg.mapToGlobal(QPoint(20, 20)));
        dlg.accept();
    });
    dlg.exec();
    const QDate first(QDate::currentDate().year(), QDate::currentDate().month(), 1);
    QCOMPARE(chosen, QStringLiteral("上月"));
    QCOMPARE(from->date(), first.addMonths(-1));
    QCOMPARE(to->date(), first.addDays(-1));
}

void TestShellMain::startPage() {
    // The program folder's path contains a command name; the page's links name commands.
    Shop shop(QStringLiteral("|SetSale|Backup|Restore"), QStringLiteral("Backup/shop"));
    QFile page(QDir(shop.home).filePath(QStringLiteral("nav/index.html")));
    QVERIFY(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
    page.write(
        "<html><body><p><a href=\"cmd:SetSale\">sale</a></p><p><a href=\"cmd:Backup+Restore\">both</a></p>"
        "<p><a href=\"Restore\">relative</a></p><p><a href=\"cmd:Company\">company</a></p>"
        "<p><a href=\"cmd:CompactDatabase\">compact</a></p></body></html>");
    page.close();
    Recorder rec({"SetSale", "Backup", "Restore", "Company", "CompactDatabase"});
    shop.login();
    shop.main->show();
    shop.main->showNav();
    QVERIFY(FrmNav);
    QVERIFY(QTest::qWaitForWindowExposed(shop.main.get()));
    QTextBrowser* browser = FrmNav->browser();
    QTRY_VERIFY(!browser->toPlainText().isEmpty());
    QVERIFY(rec.calls.isEmpty()); // loading the page ran nothing
    const QUrl source = browser->source();

    struct Click {
        const char* href;
        QStringList calls;
    };
    const Click clicks[] = {
        {"cmd:SetSale", {"SetSale"}},
        {"cmd:Backup+Restore", {"Backup", "Restore"}},
        {"Restore", {"Restore"}}, // resolved against a folder containing "Backup": still only Restore
        {"cmd:Company", {}},      // not granted
        {"cmd:CompactDatabase", {"CompactDatabase"}},
    };
    for (const Click& c : clicks) {
        rec.calls.clear();
        const QPoint p = anchorPoint(browser, QString::fromLatin1(c.href));
        QVERIFY2(p.x() >= 0, c.href);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(rec.calls, c.calls);
        QCOMPARE(browser->source(), source); // the page stays
    }
    // The toolbar's 导航 brings the one start page forward.
    FrmNav->parentWidget()->close();
    QTRY_VERIFY(!FrmNav);
    QVERIFY(Commands::run(QStringLiteral("Navigate")));
    QVERIFY(Commands::run(QStringLiteral("Navigate")));
    QCOMPARE(shop.main->mdiArea()->subWindowList().size(), 1);
}

void TestShellMain::frameCommands() {
    Shop shop{QString()};
    shop.login();
    shop.main->show();
    ScriptedAnswers answers;
    // The manual opens inside the frame.
    QVERIFY(Commands::run(QStringLiteral("HelpFile")));
    QVERIFY(FrmHelp);
    QVERIFY(FrmHelp->browser()->toPlainText().contains(QStringLiteral("数据备份")));
    // The export needs a window with a grid in front.
    QVERIFY(Commands::run(QStringLiteral("ExportExcel")));
    QCOMPARE(answers.texts(), QStringList{QStringLiteral("当前窗口没有可以导出的表格。")});
    // Exit closes the frame.
    QVERIFY(Commands::run(QStringLiteral("Exit")));
    QVERIFY(!shop.main->isVisible());
}

QTEST_MAIN(TestShellMain)
#include "tst_shell_main.moc"
