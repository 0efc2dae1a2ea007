#pragma once

#include <QByteArray>
#include <QDBusContext>
#include <QFile>
#include <QObject>
#include <QString>

#include "AlarmSim.h"

// The alarm server's command object on D-Bus: answers ExecuteCommand from the targets, writes the
// log and sends the delayed takeover answers to Kelvaris's socket.
class CSimService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ondrevi.AlarmServer.ServerCommand")
    Q_CLASSINFO("D-Bus Introspection",
        "  <interface name=\"com.ondrevi.AlarmServer.ServerCommand\">\n"
        "    <method name=\"ExecuteCommand\">\n"
        "      <arg direction=\"in\" type=\"s\" name=\"command\"/>\n"
        "      <arg direction=\"out\" type=\"s\" name=\"result\"/>\n"
        "    </method>\n"
        "  </interface>\n")

public:
    static constexpr char kErrorName[] = "com.ondrevi.AlarmServer.Error.CommandFailed";
    // How long one takeover answer may take to be delivered (the event loop waits meanwhile).
    static constexpr int kAnswerTimeoutMs = 3000;

    // `log` (optional, open for appending) gets one line per command. Takeover answers go to the
    // socket named `pipeName` `answerAfterMs` after the request.
    // With `serverUid` (not -1) an answer goes only to a socket that user serves.
    CSimService(const CAlarmSimReplies& replies, QFile* log, TakeoverMode mode, int answerAfterMs,
        const QByteArray& pipeName, QObject* parent = nullptr, long long serverUid = -1);

public Q_SLOTS:
    QString ExecuteCommand(const QString& command);

private:
    void WriteLog(const QString& command);
    void DeliverAnswer(const QByteArray& answer);

    const CAlarmSimReplies& m_replies;
    QFile* m_log;
    TakeoverMode m_mode;
    int m_answerAfterMs;
    QByteArray m_pipeName;
    long long m_serverUid;
};
