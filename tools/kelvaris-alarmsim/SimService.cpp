#include "SimService.h"

#include <QDateTime>
#include <QTimer>

#include "support/SeqPacket.h"
#include "support/Trace.h"
#include "support/Warning.h"

CSimService::CSimService(const CAlarmSimReplies& replies, QFile* log, TakeoverMode mode, int answerAfterMs,
    const QByteArray& pipeName, QObject* parent, long long serverUid)
    : QObject(parent)
    , m_replies(replies)
    , m_log(log)
    , m_mode(mode)
    , m_answerAfterMs(answerAfterMs)
    , m_pipeName(pipeName)
    , m_serverUid(serverUid)
{ }

QString CSimService::ExecuteCommand(const QString& command)
{
    WriteLog(command);
    const CSimReply reply = m_replies.Execute(command);

    if (const std::optional<CSend2Request> send2 = CAlarmSimReplies::ParseSend2(command);
        send2 && CAlarmSimReplies::IsTakeoverClientId(send2->clientId)) {
        if (!m_replies.FindByName(send2->receiver)) {
            WriteStandardError(QtWarningMsg,
                QStringLiteral("kelvaris-alarmsim: takeover request to the unknown receiver \"%1\"")
                    .arg(send2->receiver));
        }
        const QByteArray answer = m_replies.TakeoverAnswer(*send2, m_mode);
        if (!answer.isEmpty())
            QTimer::singleShot(m_answerAfterMs, this, [this, answer] { DeliverAnswer(answer); });
    }

    if (reply.error) {
        if (calledFromDBus())
            sendErrorReply(QString::fromLatin1(kErrorName), reply.text);
        return {};
    }
    return reply.text;
}

void CSimService::WriteLog(const QString& command)
{
    if (!m_log)
        return;
    // One line per command: a line break inside the command is written as \r or \n.
    QString text = command;
    text.replace(u'\r', QLatin1String("\\r")).replace(u'\n', QLatin1String("\\n"));
    const QString line
        = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + u'\t' + text + u'\n';
    // The log is unbuffered: each line reaches the file in one write, so readers never see half
    // of it.
    const QByteArray bytes = line.toUtf8();
    if (m_log->write(bytes) != bytes.size()) {
        // A full disk would otherwise lose the log silently; one warning a minute at most.
        static CWarningLimiter limiter;
        if (const auto more = limiter.Allow(); more >= 0) {
            WriteStandardError(QtWarningMsg,
                QStringLiteral("kelvaris-alarmsim: cannot write to the log \"%1\": %2%3")
                    .arg(m_log->fileName(), m_log->errorString(), CWarningLimiter::MoreText(more)));
        }
    }
}

void CSimService::DeliverAnswer(const QByteArray& answer)
{
    const CSeqPacketResult result = SeqPacketExchange(m_pipeName, answer, kAnswerTimeoutMs, m_serverUid);
    if (!result.Ok()) {
        WriteStandardError(QtWarningMsg,
            QStringLiteral("kelvaris-alarmsim: takeover answer not delivered to \"%1\" (%2): %3")
                .arg(QString::fromLocal8Bit(m_pipeName), result.Message(), QString::fromUtf8(answer)));
    }
}
