#pragma once

// Helpers for the tests that run the real programs (kelvaris, kelvaris-alarmsim) as processes.

#include <initializer_list>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// The commands kelvaris-alarmsim logged in the file (one "time TAB command" line each), without
// their times; empty while the file does not exist.
inline QStringList AlarmSimCommands(const QString& logPath)
{
    QFile log(logPath);
    QStringList commands;
    if (log.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : log.readAll().split('\n')) {
            const qsizetype tab = line.indexOf('\t');
            if (tab >= 0)
                commands << QString::fromUtf8(line.mid(tab + 1));
        }
    }
    return commands;
}

// Ends the programs a test started: asked to terminate first (so they deactivate as they would
// under systemd), killed when they do not end within five seconds.
inline void EndProcesses(std::initializer_list<QProcess*> processes)
{
    for (QProcess* process : processes) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
        }
    }
}
