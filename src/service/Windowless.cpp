#include "service/Windowless.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"
#include "service/CommandLine.h"
#include "service/HeadlessHost.h"
#include "service/ServiceNotifier.h"
#include "support/CrashHandler.h"
#include "support/Trace.h"

namespace {

void PrintHelp(QTextStream& out, const QString& program)
{
    const bool service = program == QLatin1String("kelvarisd");
    out << "Usage: " << program << (service ? " [options]\n" : " [options] [file]\n")
        << (service ? "The duty schedule service of an alarm and paging installation, without a window.\n\n"
                    : "Keeps the duty schedule of an alarm and paging installation.\n\n");
    if (!service)
        out << "  file         a dispatch plan or configuration file to open\n"
               "  /min         start minimised (any parameter beginning with MIN)\n";
    out << (service
            ? "  --headless   (the default) run the engine: activate it, serve the alarm server,\n"
            : "  --headless   run the engine without a window: activate it, serve the alarm server,\n")
        << "               the DDE values and automation, print every logbook line;\n"
           "               SIGINT/SIGTERM deactivate and quit\n"
           "  --calendar-folder DIR\n"
           "               with --headless: keep one iCalendar file per target and all-receivers.ics,\n"
           "               all-groups.ics in DIR (instead of the setting CalendarFolder)\n"
           "  --web-listen ADDRESS\n"
           "               serve the status board and its API at ADDRESS (host:port, default the\n"
           "               setting WebListen, else 127.0.0.1:8470; empty: no board)\n"
           "  -Embedding, -Automation\n"
           "               run as a windowless automation server (no document, no window)\n"
           "  -Register    write the D-Bus activation file for the automation server and exit\n"
           "  -Unregister  remove that file and exit  (each switch also with / instead of -)\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n";
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

int RunHeadless(const QString& calendarFolder, const QString& webListen, const QString& program)
{
    const CConfigPaths paths = DetermineConfigPaths(LocationInputFromEnvironment());
    ConfigLocation().SetPaths(paths.configPath, paths.masterPath);
    CDBusServerCommandFactory server(AlarmServerAddressFrom(CProfile(paths.configPath)));
    // Under systemd: ready once the socket is served, the watchdog fed by the engine cycle.
    CSystemdNotifier notifier;
    CHeadlessHost host(server, &notifier);
    if (!calendarFolder.isEmpty())
        host.Document().SetCalendarFolderOverride(QFileInfo(calendarFolder).absoluteFilePath());
    host.SetWebListen(webListen);
    OnTerminationSignal(&host, [&host] { host.Stop(); });
    if (!host.Start()) {
        WriteStandardError(QtCriticalMsg, program + QStringLiteral(": ") + host.StartProblem());
        return 1;
    }
    return QCoreApplication::exec();
}

} // namespace

void SetApplicationNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvaris"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvaris"));
}

void InstallCrashReports()
{
    InstallCrashHandler(
        DetermineConfigPaths(LocationInputFromEnvironment()).dataFolder, QStringLiteral(KELVARIS_VERSION));
}

bool IsWindowless(const CTimeCommandLineInfo& commandLine)
{
    return commandLine.m_help || commandLine.m_version || commandLine.m_headless
        || !commandLine.m_usageError.isEmpty() || commandLine.IsAutomationServer()
        || commandLine.m_shellCommand == CTimeCommandLineInfo::AppRegister
        || commandLine.m_shellCommand == CTimeCommandLineInfo::AppUnregister;
}

int RunWindowless(const CTimeCommandLineInfo& commandLine, const QString& program)
{
    SetApplicationNames();
    InitTrace();
    QTextStream out(stdout);
    if (commandLine.m_help) {
        PrintHelp(out, program);
        return 0;
    }
    if (commandLine.m_version) {
        out << program << ' ' << KELVARIS_VERSION << "\n";
        return 0;
    }
    InstallCrashReports();
    if (!commandLine.m_usageError.isEmpty()) {
        WriteStandardError(QtCriticalMsg, program + QStringLiteral(": ") + commandLine.m_usageError);
        return 2;
    }
    if (commandLine.m_headless)
        return RunHeadless(commandLine.m_calendarFolder, commandLine.m_webListen, program);
    if (commandLine.IsAutomationServer())
        return RunAutomationServer();
    QString error;
    const bool ok = commandLine.m_shellCommand == CTimeCommandLineInfo::AppRegister
        ? RegisterAutomationServer(QCoreApplication::applicationFilePath(), &error)
        : UnregisterAutomationServer(&error);
    if (!ok)
        WriteStandardError(QtCriticalMsg, program + QStringLiteral(": ") + error);
    return ok ? 0 : 1;
}
