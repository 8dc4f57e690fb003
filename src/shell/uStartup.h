#pragma once

#include <QString>
#include <QStringList>

// Options of the command line.
struct StartOptions {
    QString home; // --home DIR
    bool demo = false; // --demo: a new database gets the sample shop
};

StartOptions ParseStartOptions(const QStringList& arguments);
// Maps the font names the program's layouts use onto installed fonts.
void InstallFontSubstitutes();
// The start-up sequence: splash, main window, data module, start page, login, message loop.
// Returns the process exit code. The QApplication must exist.
int RunStartup(const StartOptions& options);
