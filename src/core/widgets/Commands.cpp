#include "core/widgets/Commands.h"

#include <QHash>
#include <QPointer>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

struct State {
    QHash<QString, Commands::Handler> handlers;
    std::function<bool(const QString&)> runner;
    QPointer<QMdiArea> mdi;
    QPointer<QWidget> main;
    QString operatorName;
    std::function<void(int, const QString&)> status;
};

State& state() {
    static State s;
    return s;
}

} // namespace

namespace Commands {

void setHandler(const QString& actionName, Handler h) { state().handlers.insert(actionName.toLower(), std::move(h)); }

Handler handler(const QString& actionName) { return state().handlers.value(actionName.toLower()); }

bool has(const QString& actionName) { return state().handlers.contains(actionName.toLower()); }

void setRunner(std::function<bool(const QString&)> runner) { state().runner = std::move(runner); }

bool run(const QString& actionName) { return state().runner ? state().runner(actionName) : false; }

void setMdiArea(QMdiArea* area) { state().mdi = area; }

QMdiArea* mdiArea() { return state().mdi; }

void setMainWindow(QWidget* window) { state().main = window; }

QWidget* mainWindow() { return state().main; }

void closeChildWindows() {
    if (QMdiArea* area = state().mdi) {
        const QList<QMdiSubWindow*> subs = area->subWindowList();
        for (auto it = subs.rbegin(); it != subs.rend(); ++it)
            (*it)->close();
    }
}

void setOperatorName(const QString& name) { state().operatorName = name; }

QString operatorName() { return state().operatorName; }

void setStatusSink(std::function<void(int, const QString&)> sink) { state().status = std::move(sink); }

void showStatus(int panel, const QString& text) {
    if (state().status)
        state().status(panel, text);
}

} // namespace Commands
