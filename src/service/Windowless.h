#pragma once

#include <QString>

struct CTimeCommandLineInfo;

// What runs without a display, in kelvarisd and in kelvaris: --help, --version, a usage error,
// --headless (the engine serving the alarm server, the socket, the DDE values and automation),
// the windowless automation server (-Embedding, -Automation) and -Register/-Unregister.

// Whether the command line asks for one of those.
bool IsWindowless(const CTimeCommandLineInfo& commandLine);

// Runs it under the QCoreApplication the caller made and returns the exit code: 0 done, 1 failed,
// 2 usage error. `program` names the program in messages and in --help and --version.
int RunWindowless(const CTimeCommandLineInfo& commandLine, const QString& program);

// The application's names, for settings, the bus and crash reports.
void SetApplicationNames();
// Crash reports go to crash/ in the data folder.
void InstallCrashReports();
