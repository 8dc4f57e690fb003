#include "shell/uMain.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/Routines.h"
#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "core/widgets/DateTarget.h"
#include "core/widgets/GridExport.h"
#include "core/widgets/GridHost.h"
#include "core/widgets/WidgetRoutines.h"
#include "shell/ActionCatalog.h"
#include "shell/ExternalPrograms.h"
#include "shell/Permissions.h"
#include "shell/uHelp.h"
#include "shell/uNav.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>

#include <exception>

TFrmMain* FrmMain = nullptr;

namespace {

QIcon commandIcon(const ActionCatalog::Action& a) {
    return a.icon.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/icons/%1.svg").arg(a.icon));
}

} // namespace

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent), m_mdi(new QMdiArea(this)) {
    FrmMain = this;
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Pelmora"));
    setWindowIcon(QIcon(QStringLiteral(":/home/IMG/pelmora.svg")));
    m_mdi->setObjectName(QStringLiteral("MDIClient"));
    m_mdi->setViewMode(QMdiArea::SubWindowView);
    m_mdi->setBackground(QColor(0xe9, 0xef, 0xec));
    setCentralWidget(m_mdi);
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const int widths[3] = {220, 300, 0};
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (widths[i] > 0) {
            m_panels[i]->setMinimumWidth(widths[i]);
            bar->addWidget(m_panels[i]);
        } else {
            bar->addWidget(m_panels[i], 1);
        }
    }

    createActions();
    createMenus();
    createToolbar();
    createDateMenu();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);

    QPointer<TFrmMain> self(this);
    Commands::setRunner([self](const QString& name) { return self ? self->runAction(name) : false; });
    Commands::setMdiArea(m_mdi);
    Commands::setMainWindow(this);
    Commands::setStatusSink([self](int panel, const QString& text) {
        if (self)
            self->setPanelText(panel, text);
    });
    DateTarget::setMenuPopup([self](QWidget* over, const QPoint& pos) {
        if (!self)
            return;
        if (!over || over == self.data()) {
            self->pmDate->popup(pos);
            return;
        }
        // A modal window blocks the frame: the same entries open in a menu of its own.
        QMenu menu(over);
        menu.addActions(self->pmDate->actions());
        menu.exec(pos);
    });
    registerFrameCommands();
    resize(1200, 800);
}

TFrmMain::~TFrmMain() {
    if (FrmMain == this) {
        FrmMain = nullptr;
        Commands::setRunner(nullptr);
        Commands::setMdiArea(nullptr);
        Commands::setMainWindow(nullptr);
        Commands::setStatusSink(nullptr);
        DateTarget::setMenuPopup(nullptr);
    }
}

void TFrmMain::createActions() {
    auto make = [this](const ActionCatalog::Action& def, QList<QAction*>& list) {
        auto* a = new QAction(commandIcon(def), ActionCatalog::captionOf(def), this);
        a->setObjectName(def.name);
        a->setProperty("category", def.category);
        if (!def.shortcut.isEmpty())
            a->setShortcut(QKeySequence(def.shortcut, QKeySequence::PortableText));
        const QString name = def.name;
        connect(a, &QAction::triggered, this, [this, name]() { executeAction(name); });
        list << a;
    };
    for (const ActionCatalog::Action& def : ActionCatalog::actions())
        make(def, ActionList1);
    for (const ActionCatalog::Action& def : ActionCatalog::frameCommands())
        make(def, m_frameActions);
    // The shortcuts work wherever the frame has the focus, whether or not a menu shows them.
    addActions(ActionList1);
    addActions(m_frameActions);
}

void TFrmMain::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("AdvMainMenu1"));
    // Menu entries and toolbar buttons stand for their action: they follow its enabled state
    // and run it through runAction, never its handler directly.
    std::function<void(QMenu*, const QVector<ActionCatalog::MenuItem>&)> fill;
    fill = [this, &fill](QMenu* menu, const QVector<ActionCatalog::MenuItem>& items) {
        for (const ActionCatalog::MenuItem& item : items) {
            switch (item.kind) {
            case ActionCatalog::MenuItem::Kind::Separator:
                menu->addSeparator();
                break;
            case ActionCatalog::MenuItem::Kind::Submenu: {
                QMenu* sub = menu->addMenu(ActionCatalog::captionOf(item));
                sub->setObjectName(item.name);
                fill(sub, item.children);
                break;
            }
            case ActionCatalog::MenuItem::Kind::Command: {
                QAction* target = action(item.name);
                if (!target)
                    break;
                QString text = ActionCatalog::captionOf(item);
                if (!target->shortcut().isEmpty())
                    text += QLatin1Char('\t') + target->shortcut().toString(QKeySequence::NativeText);
                auto* entry = menu->addAction(target->icon(), text);
                entry->setObjectName(QStringLiteral("mi") + target->objectName());
                entry->setEnabled(target->isEnabled());
                connect(target, &QAction::enabledChanged, entry, &QAction::setEnabled);
                const QString name = target->objectName();
                connect(entry, &QAction::triggered, this, [this, name]() { runAction(name); });
                break;
            }
            }
        }
    };
    for (const ActionCatalog::MenuItem& top : ActionCatalog::menus()) {
        QMenu* menu = bar->addMenu(ActionCatalog::captionOf(top));
        menu->setObjectName(top.name);
        fill(menu, top.children);
    }
}

void TFrmMain::createToolbar() {
    RzToolbar1 = addToolBar(tr("工具栏"));
    RzToolbar1->setObjectName(QStringLiteral("RzToolbar1"));
    RzToolbar1->setMovable(false);
    RzToolbar1->setFloatable(false);
    RzToolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    RzToolbar1->setIconSize(QSize(32, 32));
    RzToolbar1->setContextMenuPolicy(Qt::PreventContextMenu);
    for (const ActionCatalog::ToolButton& def : ActionCatalog::toolbar()) {
        QAction* target = action(def.name);
        if (!target)
            continue;
        if (def.name == ActionCatalog::Exit)
            RzToolbar1->addSeparator(); // the frame's own buttons stand apart
        auto* button = RzToolbar1->addAction(target->icon(), ActionCatalog::captionOf(def));
        button->setObjectName(QStringLiteral("TB_") + target->objectName());
        button->setToolTip(target->text());
        button->setEnabled(target->isEnabled());
        connect(target, &QAction::enabledChanged, button, &QAction::setEnabled);
        const QString name = target->objectName();
        connect(button, &QAction::triggered, this, [this, name]() { runAction(name); });
        if (QWidget* w = RzToolbar1->widgetForAction(button))
            w->setMinimumWidth(56);
    }
}

void TFrmMain::createDateMenu() {
    pmDate = new QMenu(this);
    pmDate->setObjectName(QStringLiteral("pmDate"));
    for (QuickDates::Entry e : QuickDates::menu()) {
        if (e == QuickDates::Entry::Separator) {
            pmDate->addSeparator();
            continue;
        }
        QAction* a = pmDate->addAction(QuickDates::displayCaption(e));
        a->setObjectName(QuickDates::objectName(e));
        connect(a, &QAction::triggered, this, [this, e]() { pnDateChangeClick(e); });
    }
}

void TFrmMain::registerFrameCommands() {
    QPointer<TFrmMain> self(this);
    auto on = [self](void (TFrmMain::*method)()) {
        return [self, method]() {
            if (self)
                (self.data()->*method)();
        };
    };
    Commands::setHandler(ActionCatalog::Exit, [self]() {
        if (self)
            self->close();
    });
    Commands::setHandler(ActionCatalog::Relogin, on(&TFrmMain::relogin));
    Commands::setHandler(ActionCatalog::Calculator, on(&TFrmMain::startCalculator));
    Commands::setHandler(ActionCatalog::HelpFile, on(&TFrmMain::showHelp));
    Commands::setHandler(ActionCatalog::Navigate, on(&TFrmMain::showNav));
    Commands::setHandler(ActionCatalog::ExportExcel, on(&TFrmMain::exportActiveGrid));
}

QAction* TFrmMain::action(const QString& name) const {
    if (QAction* a = FindAction(ActionList1, name))
        return a;
    return FindAction(m_frameActions, name);
}

bool TFrmMain::runAction(const QString& name) {
    QAction* a = action(name);
    if (!a || !a->isEnabled())
        return false;
    a->trigger();
    return true;
}

void TFrmMain::executeAction(const QString& name) {
    const Commands::Handler handler = Commands::handler(name);
    if (!handler)
        return; // the window of this command is not part of the program yet
    try {
        handler();
    } catch (const DbError& e) {
        MsgError(e.message());
    } catch (const std::exception& e) {
        MsgError(QString::fromUtf8(e.what()));
    }
}

void TFrmMain::setPanelText(int panel, const QString& text) {
    if (panel >= 0 && panel < 3)
        m_panels[panel]->setText(text);
}

QString TFrmMain::panelText(int panel) const {
    return panel >= 0 && panel < 3 ? m_panels[panel]->text() : QString();
}

void TFrmMain::FormShow() {
    Commands::setOperatorName(OperatorName);
    setPanelText(0, tr(" 当前操作员: ") + OperatorName);
    if (FrmData && FrmData->connected()) {
        ApplyPermissions();
        try {
            OpenSQL(FrmData->QrySys, QStringLiteral("SELECT * FROM tSoftInfo ORDER BY id LIMIT 1"));
            UseGoodsCode = FrmData->QrySys.toBool(QStringLiteral("fGoodsCode"));
            const QString title = FrmData->QrySys.text(QStringLiteral("SoftName")) +
                                  FrmData->QrySys.text(QStringLiteral("Version"));
            if (!title.isEmpty()) {
                setWindowTitle(title);
                QApplication::setApplicationDisplayName(title);
            }
            OpenSQL(FrmData->QryCompany, QStringLiteral("SELECT * FROM tCompany ORDER BY id LIMIT 1"));
        } catch (const DbError& e) {
            MsgError(e.message());
        }
    }
    Timer1->start();
}

void TFrmMain::ApplyPermissions() {
    try {
        Database& db = FrmData->db();
        const QStringList catalogue = Permissions::catalogue(db);
        const QHash<QString, bool> states =
            Permissions::states(catalogue, Permissions::permissionString(db, OperatorName));
        for (const QString& name : catalogue)
            if (QAction* a = FindAction(ActionList1, name))
                a->setEnabled(states.value(name.toLower()));
    } catch (const DbError& e) {
        // Without a readable catalogue nobody gets a gated command.
        for (QAction* a : ActionList1)
            a->setEnabled(false);
        MsgError(e.message());
    }
}

void TFrmMain::Timer1Timer() {
    Timer1->stop();
    if (!FrmData || !FrmData->connected())
        return;
    if (FrmData->ini().readInteger(QStringLiteral("config"), QStringLiteral("showexpiry"), 0) == 1)
        runAction(QStringLiteral("Expired"));
}

void TFrmMain::pnDateChangeClick(QuickDates::Entry entry) {
    const QuickDates::Range r = QuickDates::range(entry, QDate::currentDate());
    if (r.start.isValid())
        DateTarget::apply(r.start, r.end);
}

void TFrmMain::showNav() {
    const QString home = FrmData ? FrmData->home() : QString();
    ShowChildForm(m_mdi, FrmNav, [home]() { return new TFrmNav(home); });
    if (FrmNav && FrmNav->parentWidget())
        FrmNav->parentWidget()->showMaximized();
}

void TFrmMain::relogin() {
    const QString home = FrmData ? FrmData->home() : QString();
    if (!ExternalPrograms::startAgain(home)) {
        MsgError(tr("无法重新启动程序：%1").arg(QCoreApplication::applicationFilePath()));
        return;
    }
    close();
}

void TFrmMain::startCalculator() {
    if (!ExternalPrograms::startCalculator())
        MsgInfo(tr("没有找到计算器程序。请安装 gnome-calculator、kcalc、galculator 或 xcalc 中的一个。"));
}

void TFrmMain::showHelp() {
    const QString home = FrmData ? FrmData->home() : QString();
    ShowChildForm(m_mdi, FrmHelp, [home]() { return new TFrmHelp(home); });
    if (FrmHelp && FrmHelp->parentWidget())
        FrmHelp->parentWidget()->showMaximized();
}

void TFrmMain::exportActiveGrid() {
    // The grid of the list or query window in front, under that window's caption.
    QMdiSubWindow* sub = m_mdi->activeSubWindow();
    GridHost* host = sub ? dynamic_cast<GridHost*>(sub->widget()) : nullptr;
    DataGrid* grid = host ? host->hostGrid() : nullptr;
    if (!grid) {
        MsgInfo(tr("当前窗口没有可以导出的表格。"));
        return;
    }
    ExportGridToExcel(grid, host->hostGridName());
}
