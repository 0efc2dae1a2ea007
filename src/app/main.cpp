// kelvaris: the desktop program, its headless mode and its windowless automation server.
#include <memory>

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>
#include <QTimer>

#include "app/CommandLine.h"
#include "app/HeadlessHost.h"
#include "app/KelvarisApp.h"
#include "app/ServiceNotifier.h"
#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"
#include "support/CrashHandler.h"
#include "support/Trace.h"

namespace {

void PrintHelp(QTextStream& out)
{
    out << "Usage: kelvaris [options] [file]\n"
           "Keeps the duty schedule of an alarm and paging installation.\n\n"
           "  file         a dispatch plan or configuration file to open\n"
           "  /min         start minimised (any parameter beginning with MIN)\n"
           "  --headless   run the engine without a window: activate it, serve the alarm server,\n"
           "               the DDE values and automation, print every logbook line;\n"
           "               SIGINT/SIGTERM deactivate and quit\n"
           "  --calendar-folder DIR\n"
           "               with --headless: keep one iCalendar file per target and all-receivers.ics,\n"
           "               all-groups.ics in DIR (instead of the setting CalendarFolder)\n"
           "  -Embedding, -Automation\n"
           "               run as a windowless automation server (no document, no window)\n"
           "  -Register    write the D-Bus activation file for the automation server and exit\n"
           "  -Unregister  remove that file and exit  (each switch also with / instead of -)\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n";
}

// Crash reports go to crash/ in the data folder.
void InstallCrashReports()
{
    InstallCrashHandler(
        DetermineConfigPaths(LocationInputFromEnvironment()).dataFolder, QStringLiteral(KELVARIS_VERSION));
}

void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvaris"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvaris"));
}

// Without a call for this long the windowless server ends, as a COM server does when its last
// client lets go; the bus starts it again for the next call.
constexpr int kAutomationIdleMs = 60'000;

// The windowless automation server: only the automation object, no document, no window.
int RunAutomationServer()
{
    CKelvarisObj object; // no launcher: setup commands answer "1" and open nothing
    CKelvarisBus bus;
    if (!bus.ExportAutomation(object) || !bus.OwnName(CKelvarisBus::EOwnership::Windowless))
        return 1;
    // The service showed up and took the name: it answers from here on.
    bus.SetNameLost([] { QCoreApplication::quit(); });
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(kAutomationIdleMs);
    QObject::connect(&idle, &QTimer::timeout, QCoreApplication::instance(), &QCoreApplication::quit);
    QObject::connect(bus.Automation(), &CKelvarisObjAdaptor::Called, &idle, qOverload<>(&QTimer::start));
    idle.start();
    OnTerminationSignal(QCoreApplication::instance(), [] { QCoreApplication::quit(); });
    return QCoreApplication::exec();
}

int RunHeadless(const QString& calendarFolder)
{
    const CConfigPaths paths = DetermineConfigPaths(LocationInputFromEnvironment());
    ConfigLocation().SetPaths(paths.configPath, paths.masterPath);
    CDBusServerCommandFactory server(AlarmServerAddressFrom(CProfile(paths.configPath)));
    // Under systemd: ready once the socket is served, the watchdog fed by the engine cycle.
    CSystemdNotifier notifier;
    CHeadlessHost host(server, &notifier);
    if (!calendarFolder.isEmpty())
        host.Document().SetCalendarFolderOverride(QFileInfo(calendarFolder).absoluteFilePath());
    OnTerminationSignal(&host, [&host] { host.Stop(); });
    if (!host.Start()) {
        WriteStandardError(QtCriticalMsg, QStringLiteral("kelvaris: ") + host.StartProblem());
        return 1;
    }
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params << QString::fromLocal8Bit(argv[i]);
    CTimeCommandLineInfo commandLine;
    commandLine.ParseParams(params);

    // Everything but the window runs without a display.
    const bool windowless = commandLine.m_help || commandLine.m_version || commandLine.m_headless
        || !commandLine.m_usageError.isEmpty() || commandLine.IsAutomationServer()
        || commandLine.m_shellCommand == CTimeCommandLineInfo::AppRegister
        || commandLine.m_shellCommand == CTimeCommandLineInfo::AppUnregister;
    if (windowless) {
        QCoreApplication app(argc, argv);
        SetApplicationNames();
        InitTrace();
        QTextStream out(stdout);
        if (commandLine.m_help) {
            PrintHelp(out);
            return 0;
        }
        if (commandLine.m_version) {
            out << "kelvaris " << KELVARIS_VERSION << "\n";
            return 0;
        }
        InstallCrashReports();
        if (!commandLine.m_usageError.isEmpty()) {
            WriteStandardError(QtCriticalMsg, QStringLiteral("kelvaris: ") + commandLine.m_usageError);
            return 2;
        }
        if (commandLine.m_headless)
            return RunHeadless(commandLine.m_calendarFolder);
        if (commandLine.IsAutomationServer())
            return RunAutomationServer();
        QString error;
        const bool ok = commandLine.m_shellCommand == CTimeCommandLineInfo::AppRegister
            ? RegisterAutomationServer(QCoreApplication::applicationFilePath(), &error)
            : UnregisterAutomationServer(&error);
        if (!ok)
            WriteStandardError(QtCriticalMsg, QStringLiteral("kelvaris: ") + error);
        return ok ? 0 : 1;
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
