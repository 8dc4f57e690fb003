#include "shell/uStartup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return RunStartup(ParseStartOptions(QCoreApplication::arguments()));
}
