#pragma once

#include <QByteArray>
#include <QFile>
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
