#pragma once

#include <QString>

#include <functional>

class QMdiArea;
class QWidget;

// What the main window's commands do, registered by the subsystems that own the windows (the
// main window knows the actions, the subsystems know their windows). The main window runs a
// handler only through its action, so permissions apply to every way of starting a command.
namespace Commands {
using Handler = std::function<void()>;

void setHandler(const QString& actionName, Handler handler);
Handler handler(const QString& actionName); // empty when nothing is registered
bool has(const QString& actionName);
// Runs the action of that name through the main window (enabled state respected); false when
// the action is missing or disabled. Set by the main window.
void setRunner(std::function<bool(const QString&)> runner);
bool run(const QString& actionName);

// The frame list windows open in, and the main window itself (parent of modal windows).
void setMdiArea(QMdiArea* area);
QMdiArea* mdiArea();
void setMainWindow(QWidget* window);
QWidget* mainWindow();

// Closes the windows open in the frame, the newest first (before the database file is replaced).
void closeChildWindows();

// The logged-in operator (written into every maker column).
void setOperatorName(const QString& name);
QString operatorName();

// Text of one of the main window's three status panels (0..2).
void setStatusSink(std::function<void(int, const QString&)> sink);
void showStatus(int panel, const QString& text);
} // namespace Commands
