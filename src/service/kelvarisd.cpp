// kelvarisd: the duty schedule service without a window (what kelvaris --headless runs), also
// the windowless automation server. It links no Qt GUI or Widgets.
#include <QCoreApplication>
#include <QStringList>

#include "service/CommandLine.h"
#include "service/Windowless.h"

int main(int argc, char* argv[])
{
    CTimeCommandLineInfo commandLine;
    commandLine.ParseArguments(argc, argv);
    // Without another request the service runs; a file or /min mean nothing here.
    if (!IsWindowless(commandLine))
        commandLine.m_headless = true;
    QCoreApplication app(argc, argv);
    return RunWindowless(commandLine, QStringLiteral("kelvarisd"));
}
