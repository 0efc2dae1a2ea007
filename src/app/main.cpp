// kelvaris: the desktop program. The window arrives with the application shell; until then the
// program runs its engine with --headless and otherwise reports the configuration location.
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include "app/HeadlessHost.h"
#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"
#include "support/Trace.h"

namespace {
void PrintHelp(QTextStream& out)
{
    out << "Usage: kelvaris [options] [file]\n"
           "Keeps the duty schedule of an alarm and paging installation.\n\n"
           "  --headless   run the engine without a window: activate it, serve the alarm server,\n"
           "               print every logbook line; SIGINT/SIGTERM deactivate and quit\n"
           "  -Embedding, -Automation\n"
           "               run as a windowless automation server (no document, no window)\n"
           "  -Register    write the D-Bus activation file for the automation server and exit\n"
           "  -Unregister  remove that file and exit  (each switch also with / instead of -)\n"
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n";
}
// The framework's switches, introduced by "/" or "-", in any case.
enum class EShellSwitch { None, Register, Unregister, Embedding };

EShellSwitch ShellSwitch(const QStringList& args)
{
    EShellSwitch found = EShellSwitch::None;
    for (const QString& arg : args) {
        if (arg.size() < 2 || (arg[0] != QLatin1Char('/') && arg[0] != QLatin1Char('-')))
            continue;
        const QString name = arg.mid(1).toLower();
        if (name == QLatin1String("register") || name == QLatin1String("regserver"))
            found = EShellSwitch::Register;
        else if (name == QLatin1String("unregister") || name == QLatin1String("unregserver"))
            found = EShellSwitch::Unregister;
        else if (name == QLatin1String("embedding") || name == QLatin1String("automation"))
            return EShellSwitch::Embedding;
    }
    return found;
}

// Without a call for this long the windowless server ends, as a COM server does when its last
// client lets go; the bus starts it again for the next call.
constexpr int kAutomationIdleMs = 60'000;

// The windowless automation server: only the automation object, no document, no window.
int RunAutomationServer()
{
    CKelvarisObj object; // no launcher: setup commands answer "1" and open nothing
    CKelvarisBus bus;
    if (!bus.ExportAutomation(object) || !bus.OwnName())
        return 1;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(kAutomationIdleMs);
    QObject::connect(&idle, &QTimer::timeout, qApp, &QCoreApplication::quit);
    QObject::connect(bus.Automation(), &CKelvarisObjAdaptor::Called, &idle, qOverload<>(&QTimer::start));
    idle.start();
    OnTerminationSignal(qApp, [] { QCoreApplication::quit(); });
    return QCoreApplication::exec();
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Kelvaris"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));
    InitTrace();

    QTextStream out(stdout);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QStringLiteral("--help"))) {
        PrintHelp(out);
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        out << "kelvaris " << KELVARIS_VERSION << "\n";
        return 0;
    }

    switch (ShellSwitch(args)) {
    case EShellSwitch::Embedding:
        return RunAutomationServer();
    case EShellSwitch::Register:
    case EShellSwitch::Unregister: {
        QString error;
        const bool ok = ShellSwitch(args) == EShellSwitch::Register
            ? RegisterAutomationServer(QCoreApplication::applicationFilePath(), &error)
            : UnregisterAutomationServer(&error);
        if (!ok)
            QTextStream(stderr) << "kelvaris: " << error << "\n";
        return ok ? 0 : 1;
    }
    case EShellSwitch::None:
        break;
    }

    const CConfigPaths paths = DetermineConfigPaths(LocationInputFromEnvironment());
    ConfigLocation().SetPaths(paths.configPath, paths.masterPath);

    if (args.contains(QStringLiteral("--headless"))) {
        CDBusServerCommandFactory server(AlarmServerAddressFrom(CProfile(paths.configPath)));
        CHeadlessHost host(server);
        OnTerminationSignal(&host, [&host] { host.Stop(); });
        if (!host.Start())
            return 1;
        return app.exec();
    }

    out << "Kelvaris " << KELVARIS_VERSION << "\n"
        << "Configuration file: " << paths.configPath << "\n";
    if (!paths.masterPath.isEmpty())
        out << "Master configuration file: " << paths.masterPath << "\n";
    return 0;
}
