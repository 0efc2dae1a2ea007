// kelvaris: the desktop program; without a display its headless mode and its windowless
// automation server (shared with kelvarisd).
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>

#include "app/KelvarisApp.h"
#include "service/CommandLine.h"
#include "service/HeadlessHost.h"
#include "service/Windowless.h"
#include "support/Trace.h"

int main(int argc, char* argv[])
{
    CTimeCommandLineInfo commandLine;
    commandLine.ParseArguments(argc, argv);

    // Everything but the window runs without a display.
    if (IsWindowless(commandLine)) {
        QCoreApplication app(argc, argv);
        return RunWindowless(commandLine, QStringLiteral("kelvaris"));
    }

    QApplication app(argc, argv);
    Q_INIT_RESOURCE(icons); // the icons live in the static library
    SetApplicationNames();
    // The name the desktop file is installed under: desktops find the icon and the entry by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.ondrevi.Kelvaris"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kelvaris.svg")));
    InitTrace();
    InstallCrashReports();
    int code = 0;
    {
        CKelvarisApp kelvaris;
        // Another instance showing itself ends this one successfully; a document that cannot start
        // is a failure.
        if (!kelvaris.InitInstance(commandLine))
            return kelvaris.OtherInstanceShown() ? 0 : 1;
        // SIGINT and SIGTERM end the program as closing it does: the engine is deactivated first.
        // exit(), not quit(): quit() first asks every window to close, and a main window that only
        // hides or minimises when closed would refuse, so the program would go on running.
        OnTerminationSignal(&kelvaris, [] { QCoreApplication::exit(0); });
        code = QApplication::exec();
        kelvaris.ExitInstance();
    }
    return code;
}
