#include "shell/widgets/MaintenanceCommands.h"

#include "core/UData.h"
#include "core/widgets/Commands.h"
#include "shell/DatabaseMaintenance.h"
#include "shell/uBackup.h"
#include "shell/uClearData.h"

void RegisterMaintenanceCommands() {
    using Commands::setHandler;

    setHandler(QStringLiteral("Backup"), [] {
        TFrmBackup dlg(TFrmBackup::BackupMode, Commands::mainWindow());
        dlg.exec();
    });
    setHandler(QStringLiteral("Restore"), [] {
        TFrmBackup dlg(TFrmBackup::RestoreMode, Commands::mainWindow());
        dlg.exec();
    });
    setHandler(QStringLiteral("ClearData"), [] {
        TFrmClearData dlg(Commands::mainWindow());
        dlg.exec();
    });
    setHandler(QStringLiteral("CompactDatabase"), [] {
        if (!FrmData)
            return;
        // The list windows read the database; they are closed, not reopened afterwards.
        Commands::closeChildWindows();
        DatabaseMaintenance::CompactDatabase(*FrmData);
    });
}
