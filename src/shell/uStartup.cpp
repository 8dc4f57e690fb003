#include "shell/uStartup.h"

#include "core/MsgBox.h"
#include "core/ProgramFolder.h"
#include "core/UData.h"
#include "core/widgets/CoreCommands.h"
#include "masterdata/widgets/MasterDataCommands.h"
#include "reports/ReportCenter.h"
#include "reports/widgets/ReportCommands.h"
#include "core/widgets/WidgetRoutines.h"
#include "shell/uLogin.h"
#include "shell/uMain.h"
#include "shell/uSplash.h"
#include "shell/widgets/MaintenanceCommands.h"
#include "shell/widgets/AdminCommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QFont>

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions o;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--home") && i + 1 < arguments.size())
            o.home = arguments[++i];
        else if (a.startsWith(QLatin1String("--home=")))
            o.home = a.mid(7);
        else if (a == QLatin1String("--demo"))
            o.demo = true;
    }
    return o;
}

void InstallFontSubstitutes() {
    const QStringList song = {QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                              QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList kai = {QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("SimSun"), song);
    QFont::insertSubstitutions(QStringLiteral("楷体"), kai);
    QFont::insertSubstitutions(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Noto Sans CJK SC")});
}

Q_LOGGING_CATEGORY(lcStartup, "pelmora.startup", QtWarningMsg)

int RunStartup(const StartOptions& options) {
    // QT_LOGGING_RULES="pelmora.startup.debug=true" prints how long each step took.
    QElapsedTimer clock;
    clock.start();
    auto step = [&clock](const char* what) { qCDebug(lcStartup) << what << clock.restart() << "ms"; };
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    InstallFontSubstitutes();
    QFont ui(QStringLiteral("Noto Sans CJK SC"));
    ui.setPointSize(10);
    QApplication::setFont(ui);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/home/IMG/pelmora.svg")));
    InstallMessageBoxAnswerer();
    RegisterCoreCommands();
    RegisterReportCommands();
    RegisterMasterDataCommands();
    RegisterMaintenanceCommands();
    RegisterAdminCommands();
    step("fonts and commands");

    const QString home = ProgramFolder::resolve(options.home, QCoreApplication::applicationDirPath());
    const QString problem = ProgramFolder::prepare(home, options.demo);
    if (!problem.isEmpty()) {
        MsgError(problem);
        return 1;
    }
    step("program folder");

    auto* splash = new TFrmSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    step("splash");

    auto* main = new TFrmMain;
    step("main window");
    auto* data = new TFrmData(home, main);
    ReportCenter::instance().attach(data); // templates load as the data module is created
    data->FormCreate();
    step("data module and templates");
    delete splash;

    int rc = 1;
    {
        TFrmLogin login(main, home);
        step("login window");
        if (data->connected()) {
            login.exec();
            step("login");
            if (login.LoginOK) {
                main->FormShow();
                main->showMaximized();
                main->showNav();
                rc = QApplication::exec();
            } else {
                rc = 0;
            }
        }
    }
    delete main;
    step("shut down");
    return rc;
}
