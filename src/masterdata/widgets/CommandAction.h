#pragma once

#include <QString>

class QAction;
class QObject;

// The main window's action of a command, so that a button or menu entry of a list window
// shows its caption and is disabled with it; without a main window (tests), a local action
// that runs the registered handler.
QAction* CommandAction(QObject* owner, const QString& name, const QString& caption);
// Runs a command as its button would.
void RunCommand(QObject* owner, const QString& name);
