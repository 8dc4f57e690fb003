#pragma once

#include "shell/QuickDates.h"

#include <QAction>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QString>
#include <QTimer>
#include <QToolBar>

// The main window: a multiple-document frame with the menu bar, the toolbar of large buttons
// and the status bar. It owns the program's commands (ActionList1 and the frame's own
// commands); menus, toolbar buttons, the start page and the windows of the subsystems all run
// them through runAction, so an action the operator may not use is unavailable everywhere.
class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    // Set by the login: the operator's name as typed.
    QString OperatorName;
    // Copy of tSoftInfo.fGoodsCode, read when the window is shown.
    bool UseGoodsCode = false;

    QMdiArea* mdiArea() const { return m_mdi; }
    // The three panels of StatusBar1.
    void setPanelText(int panel, const QString& text);
    QString panelText(int panel) const;

    // The 63 gated actions, and the frame's own commands (exit, re-login, ...).
    const QList<QAction*>& actionList() const { return ActionList1; }
    const QList<QAction*>& frameActions() const { return m_frameActions; }
    // The action or frame command of that name (letter case ignored), or null.
    QAction* action(const QString& name) const;
    // Runs a command through its action: false when it is unknown or disabled.
    bool runAction(const QString& name);

    // Once, after the login: permissions, caption, company record, start-up timer.
    void FormShow();
    // Enables each action the permission catalogue names exactly when the operator's
    // permission string grants it; actions the catalogue does not name keep their state.
    void ApplyPermissions();
    // The start page as a maximised single-instance child.
    void showNav();
    // Fills the registered date target with the range of a quick date-range entry.
    void pnDateChangeClick(QuickDates::Entry entry);
    QMenu* dateMenu() const { return pmDate; }

private:
    void createActions();
    void createMenus();
    void createToolbar();
    void createDateMenu();
    void registerFrameCommands();
    // The handler registered for the action, run with the program's error display.
    void executeAction(const QString& name);
    void Timer1Timer();

    void relogin();
    void startCalculator();
    void showHelp();
    void exportActiveGrid();

    QMdiArea* m_mdi;
    QLabel* m_panels[3];
    QList<QAction*> ActionList1;
    QList<QAction*> m_frameActions;
    QToolBar* RzToolbar1 = nullptr;
    QMenu* pmDate = nullptr;
    QTimer* Timer1 = nullptr;
};

extern TFrmMain* FrmMain;
