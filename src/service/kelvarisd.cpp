// kelvarisd: the duty schedule service without a window (what kelvaris --headless runs), also
// the windowless automation server. It links no Qt GUI or Widgets.
#include <QCoreApplication>
#include <QStringList>

#include "service/CommandLine.h"
#include "service/Windowless.h"

int main(int argc, char* argv[])
{
    QStringList params;
    for (int i = 1; i < argc; ++i)
        params << QString::fromLocal8Bit(argv[i]);
    CTimeCommandLineInfo commandLine;
    commandLine.ParseParams(params);
    // Without another request the service runs; a file or /min mean nothing here.
    if (!IsWindowless(commandLine))
        commandLine.m_headless = true;
    QCoreApplication app(argc, argv);
    return RunWindowless(commandLine, QStringLiteral("kelvarisd"));
}
