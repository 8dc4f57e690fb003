#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// Every command of the main window as data: the actions of ActionList1 (gated by the
// permission catalogue), the frame's own commands, the menu bar and the toolbar. The main
// window builds its QActions, menus and buttons from these tables and nothing else.
class ActionCatalog {
public:
    struct Action {
        QString name;     // objectName of the QAction, the name handlers are registered under
        QString category; // empty for the document and query commands
        QString caption;  // source text on menus unless the menu entry gives its own
        QString shortcut; // portable key text ("Ctrl+S"), empty for none
        QString icon;     // picture under :/icons/ without ".svg", empty for none
    };

    struct MenuItem {
        enum class Kind { Command, Separator, Submenu };
        Kind kind = Kind::Command;
        QString name;    // command name, or the objectName of a submenu
        QString caption; // own caption of the entry; empty takes the command's caption
        QVector<MenuItem> children;
    };

    struct ToolButton {
        QString name;
        QString caption; // empty takes the command's caption
    };

    // The 63 actions of ActionList1 in their established order.
    static const QVector<Action>& actions();
    // Commands of the frame itself (exit, re-login, compaction, the manual, the start page, the
    // calculator, the grid export): not in the permission catalogue, so always available.
    static const QVector<Action>& frameCommands();
    // The top-level menus (Kind::Submenu) from left to right.
    static const QVector<MenuItem>& menus();
    static const QVector<ToolButton>& toolbar();

    // Actions first, then frame commands; null when the name is unknown (letter case ignored).
    static const Action* find(const QString& name);
    // The caption an entry shows (translated): its own, else its command's.
    static QString captionOf(const Action& action);
    static QString captionOf(const MenuItem& item);
    static QString captionOf(const ToolButton& button);

    // Names of the frame commands, for the subsystems that register their handlers.
    static const QString ChangePassword;
    static const QString Relogin;
    static const QString CompactDatabase;
    static const QString Exit;
    static const QString HelpFile;
    static const QString Navigate;
    static const QString Calculator;
    static const QString ExportExcel;
};
