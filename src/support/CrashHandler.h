#pragma once

#include <QString>

// The crash report: on SIGSEGV, SIGBUS, SIGFPE, SIGILL and SIGABRT a handler writes a short
// report (the signal, the time, the version, the process ID and a backtrace) into
// <data folder>/crash/kelvaris-<pid>-<seconds since 1970>.txt and to standard error, then lets
// the signal take its default course (the process dies by it and a core dump is written where
// the system allows one). A signal that another process sent (a kill, the service manager's
// watchdog) is reported as such, naming the sender, not as a crash. Under the journal (standard
// error is JOURNAL_STREAM) standard error gets one line at priority "crit" naming the report; the
// backtrace is in the file. The folder keeps the newest 20 reports (older ones go at install).
//
// Everything the handler needs is prepared here: the folder is created, the texts and paths are
// computed, the backtrace machinery is loaded and an alternate signal stack is set up for the
// calling thread (so a stack overflow of that thread is reported too). The handler itself only
// uses async-signal-safe calls. Call once, early, from the main thread; a second call replaces
// the folder and version.
void InstallCrashHandler(const QString& dataFolder, const QString& version);

// The folder the reports go to ("<data folder>/crash"), empty before InstallCrashHandler.
QString CrashReportFolder();

// For tests: the report's time line for seconds since 1970 ("1733580000 (2024-12-07 14:00:00
// UTC)"), formatted as the handler does, without locale functions. `out` holds at least 64 bytes;
// returns the length written.
int FormatCrashTime(long long seconds, char* out);
