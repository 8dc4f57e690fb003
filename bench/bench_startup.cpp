// Cold start to the login window shown, as a ratio to an empty Qt dialog program started the
// same way. Pelmora quits at its login window when PELMORA_EXIT_AT_LOGIN is set. The program
// folder is made once (with the sample shop, so its size is not zero) before timing starts.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double runMs(const QString& program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PELMORA_EXIT_AT_LOGIN"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(60000);
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QStringList pelmoraArgs = {QStringLiteral("--home"), home.path()};
    runMs(QStringLiteral(PELMORA_EXE), pelmoraArgs + QStringList{QStringLiteral("--demo")}); // creates the folder
    std::vector<double> base, pelmora;
    for (int i = 0; i < 9; ++i) {
        base.push_back(runMs(QStringLiteral(EMPTY_DIALOG_EXE), {}));
        pelmora.push_back(runMs(QStringLiteral(PELMORA_EXE), pelmoraArgs));
    }
    const double b = median(base), p = median(pelmora);
    std::printf("empty dialog   %8.1f ms (median of 9)\n", b);
    std::printf("Pelmora login  %8.1f ms (median of 9)\n", p);
    std::printf("ratio          %8.2fx (goal <= 1.5x)\n", p / b);
    return 0;
}
