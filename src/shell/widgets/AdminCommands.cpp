#include "shell/widgets/AdminCommands.h"

#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "shell/uChangePassword.h"
#include "shell/uSetUser.h"

namespace {

// A window created for one use, shown modally over the main window and freed afterwards.
template <typename T> void openModal() {
    if (!FrmData || !FrmData->connected())
        return;
    T dlg(Commands::mainWindow());
    dlg.exec();
}

} // namespace

void RegisterAdminCommands() {
    Commands::setHandler(QStringLiteral("SetUser"), [] { openModal<TFrmSetUser>(); });
    Commands::setHandler(QStringLiteral("ChangePassword"), [] { openModal<TFrmChangePassword>(); });
}
