#include "core/widgets/WidgetRoutines.h"

#include "core/MsgBox.h"
#include "core/Routines.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

void InstallMessageBoxAnswerer() {
    if (HasMsgAnswerer())
        return; // a test's scripted answers stay in charge
    SetMsgAnswerer([](const MsgRequest& r) {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(r.caption);
        box.setText(r.text);
        switch (r.icon()) {
        case Msg::IconError:
            box.setIcon(QMessageBox::Critical);
            break;
        case Msg::IconQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case Msg::IconWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case Msg::IconInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        QPushButton* yes = nullptr;
        QPushButton* no = nullptr;
        QPushButton* cancel = nullptr;
        QPushButton* ok = nullptr;
        switch (r.buttons()) {
        case Msg::YesNo:
            yes = box.addButton(QObject::tr("是(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QObject::tr("否(&N)"), QMessageBox::NoRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(no);
            break;
        case Msg::YesNoCancel:
            yes = box.addButton(QObject::tr("是(&Y)"), QMessageBox::YesRole);
            no = box.addButton(QObject::tr("否(&N)"), QMessageBox::NoRole);
            cancel = box.addButton(QObject::tr("取消"), QMessageBox::RejectRole);
            box.setDefaultButton(yes);
            box.setEscapeButton(cancel);
            break;
        case Msg::OkCancel:
            ok = box.addButton(QObject::tr("确定"), QMessageBox::AcceptRole);
            cancel = box.addButton(QObject::tr("取消"), QMessageBox::RejectRole);
            box.setDefaultButton(ok);
            box.setEscapeButton(cancel);
            break;
        default:
            ok = box.addButton(QObject::tr("确定"), QMessageBox::AcceptRole);
            box.setDefaultButton(ok);
            box.setEscapeButton(ok);
            break;
        }
        box.exec();
        QAbstractButton* b = box.clickedButton();
        if (b && b == yes)
            return int(Msg::IdYes);
        if (b && b == no)
            return int(Msg::IdNo);
        if (b && b == ok)
            return int(Msg::IdOk);
        return int(cancel ? Msg::IdCancel : (no ? Msg::IdNo : Msg::IdOk));
    });
}

void FillCombo(QComboBox* box, const QString& table, const QString& column, const QString& listName) {
    const QStringList items = ComboItems(table, column, listName);
    box->clear();
    box->addItems(items);
}

QAction* FindAction(const QList<QAction*>& actions, const QString& name) {
    for (QAction* a : actions)
        if (a->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return a;
    return nullptr;
}

namespace {

QList<QWidget*> byPosition(QWidget* container) {
    QList<QWidget*> children;
    for (QObject* o : container->children()) {
        QWidget* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow())
            children << w;
    }
    std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
        if (a->y() != b->y())
            return a->y() < b->y();
        return a->x() < b->x();
    });
    return children;
}

// A widget that takes the focus itself is one stop; a container contributes its children.
void collectStops(QWidget* container, bool recurse, QList<QWidget*>& stops) {
    for (QWidget* w : byPosition(container)) {
        if (w->focusPolicy() & Qt::TabFocus)
            stops << w;
        else if (recurse)
            collectStops(w, true, stops);
    }
}

} // namespace

void SetTabOrderByPosition(QWidget* container, bool recurse) {
    QList<QWidget*> stops;
    collectStops(container, recurse, stops);
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}
