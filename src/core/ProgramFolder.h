#pragma once

#include <QString>

// The program folder: Config.ini, DataBase/, Reports/, Doc/, nav/, IMG/.
namespace ProgramFolder {
// --home DIR, else PELMORA_HOME, else the executable's folder when writable, else the user's
// data folder.
QString resolve(const QString& homeOption, const QString& executableDir);
// Makes the folder ready: missing shipped files (start page, pictures, templates, manual) are
// copied from the program's resources; a folder without DataBase/ is a new installation and
// gets a new database with its starting rows (and the sample shop with demo set). A DataBase
// folder is never touched: a missing or damaged file there is for the connection to report.
// Returns an error text, empty on success.
QString prepare(const QString& home, bool demo);
} // namespace ProgramFolder
