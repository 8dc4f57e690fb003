#pragma once

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>

class QAction;
class QComboBox;
class QWidget;

// Shows message boxes for MsgBox (installed once by the start-up, unless an answerer is
// already in place).
void InstallMessageBoxAnswerer();

// Replaces the items of a drop-down list (see ComboItems).
void FillCombo(QComboBox* box, const QString& table, const QString& column, const QString& listName = QString());

// The first action whose objectName equals name without regard to letter case, or null.
QAction* FindAction(const QList<QAction*>& actions, const QString& name);

// Tab order by reading order: children by top edge, then left edge (equal positions keep their
// order); with recurse, the same inside each child.
void SetTabOrderByPosition(QWidget* container, bool recurse = true);

// Single-instance MDI children: brings the open window of class T forward (restoring it when
// minimised), or creates one with the factory and shows it. ref names the window afterwards.
template <typename T, typename Factory>
void ShowChildForm(QMdiArea* area, T*& ref, Factory make) {
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (T* w = qobject_cast<T*>(sub->widget())) {
            ref = w;
            if (sub->isMinimized())
                sub->showNormal();
            sub->show();
            area->setActiveSubWindow(sub);
            w->setFocus();
            return;
        }
    }
    ref = make();
    QMdiSubWindow* sub = area->addSubWindow(ref);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(ref, &QObject::destroyed, area, [&ref]() { ref = nullptr; });
    sub->show();
    area->setActiveSubWindow(sub);
}
