#pragma once

// Registers the main window's commands on the database file: backup (Backup), restore
// (Restore), data initialisation (ClearData) and compaction (CompactDatabase).
void RegisterMaintenanceCommands();
