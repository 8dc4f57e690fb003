#pragma once

#include <QString>
#include <QStringList>

// Programs the frame starts beside itself: a new instance of Pelmora (re-login) and the
// desktop's calculator.
class ExternalPrograms {
public:
    // The calculators tried, in order.
    static const QStringList& calculators();
    // Full path of the first calculator on PATH, empty when none is installed.
    static QString findCalculator();
    // Starts it detached; false when none was found or it would not start.
    static bool startCalculator();
    // The arguments of a new instance on the same program folder.
    static QStringList againArguments(const QString& home);
    // Starts this executable again, detached, on the same program folder.
    static bool startAgain(const QString& home);
};
