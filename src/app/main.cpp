// kelvaris: the desktop program. The window arrives with the application shell; until then the
// program runs its engine with --headless and otherwise reports the configuration location.
#include <QCoreApplication>
#include <QTextStream>

#include "app/HeadlessHost.h"
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
           "  --help       show this help and exit\n"
           "  --version    show the version and exit\n";
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
