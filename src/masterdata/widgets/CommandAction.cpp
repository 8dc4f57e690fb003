#include "masterdata/widgets/CommandAction.h"

#include "core/DbError.h"
#include "core/MsgBox.h"
#include "core/widgets/Commands.h"

#include <QAction>
#include <QWidget>

QAction* CommandAction(QObject* owner, const QString& name, const QString& caption) {
    if (QWidget* main = Commands::mainWindow())
        if (auto* a = main->findChild<QAction*>(name, Qt::FindDirectChildrenOnly))
            return a;
    const QString objectName = QStringLiteral("local") + name;
    if (auto* a = owner->findChild<QAction*>(objectName, Qt::FindDirectChildrenOnly))
        return a;
    auto* a = new QAction(caption, owner);
    a->setObjectName(objectName);
    QObject::connect(a, &QAction::triggered, owner, [name]() {
        const Commands::Handler handler = Commands::handler(name);
        if (!handler)
            return;
        try {
            handler();
        } catch (const DbError& e) {
            MsgError(e.message());
        }
    });
    return a;
}

void RunCommand(QObject* owner, const QString& name) {
    CommandAction(owner, name, QString())->trigger();
}
