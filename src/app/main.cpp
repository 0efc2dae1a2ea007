// kelvaris: the desktop program. The engine, the window and the inbound interfaces join this
// entry point as they are built; for now it determines and reports the configuration location.
#include <cstdio>

#include <QCoreApplication>
#include <QTextStream>

#include "schedule/ConfigLocation.h"
#include "support/Trace.h"

namespace {
void PrintHelp(QTextStream& out)
{
    out << "Usage: kelvaris [options] [file]\n"
           "Keeps the duty schedule of an alarm and paging installation.\n\n"
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
    out << "Kelvaris " << KELVARIS_VERSION << "\n"
        << "Configuration file: " << paths.configPath << "\n";
    if (!paths.masterPath.isEmpty())
        out << "Master configuration file: " << paths.masterPath << "\n";
    return 0;
}
