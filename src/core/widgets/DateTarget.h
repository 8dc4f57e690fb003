#pragma once

#include <QCursor>
#include <QDate>
#include <QPoint>

#include <functional>

class QDateEdit;
class QWidget;

// The pair of date pickers that the main window's quick date-range menu fills. A window with a
// date-range button calls popup() with its start and end pickers; the menu's choice is written
// into them and nothing else happens (the window's search waits for its own button). The
// pickers are watched: a window closed meanwhile is simply no longer a target.
namespace DateTarget {
// Shows the quick date-range menu at a global position, above the given window (a modal
// window may open it). Installed by the main window.
using MenuPopup = std::function<void(QWidget* over, const QPoint& globalPos)>;
void setMenuPopup(MenuPopup popup);

// Makes the two pickers the target of the next choice.
void set(QDateEdit* from, QDateEdit* to);
// Makes them the target and pops the menu up (at the mouse position by default).
void popup(QDateEdit* from, QDateEdit* to, const QPoint& globalPos = QCursor::pos());
void clear();
QDateEdit* from();
QDateEdit* to();
// Writes a range into the target; false when no target is set or it was closed.
bool apply(const QDate& start, const QDate& end);
} // namespace DateTarget
