#include "shell/ExternalPrograms.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

const QStringList& ExternalPrograms::calculators() {
    static const QStringList names = {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                                      QStringLiteral("galculator"), QStringLiteral("xcalc")};
    return names;
}

QString ExternalPrograms::findCalculator() {
    for (const QString& name : calculators()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool ExternalPrograms::startCalculator() {
    const QString path = findCalculator();
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

QStringList ExternalPrograms::againArguments(const QString& home) {
    if (home.isEmpty())
        return {};
    return {QStringLiteral("--home"), home};
}

bool ExternalPrograms::startAgain(const QString& home) {
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), againArguments(home));
}
