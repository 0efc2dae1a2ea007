#include "inbound/KelvarisPipe.h"

#include <cerrno>
#include <chrono>
#include <optional>
#include <unistd.h>

#include "inbound/RequestHandler.h"
#include "support/Metrics.h"
#include "support/Trace.h"

CKelvarisPipe::CKelvarisPipe(
    CRequestServices& services, QByteArray name, int clientTimeoutMs, int maxConnections)
    : m_services(services)
    , m_server(*this, std::move(name), { clientTimeoutMs, maxConnections, kMaxRequestBytes })
{ }

CKelvarisPipe::~CKelvarisPipe()
{
    Stop();
}

void CKelvarisPipe::Start()
{
    if (IsListening())
        return;
    if (!m_server.Start()) {
        const int error = errno;
        // An abstract name is shown as "@name", as ss and netstat show it.
        const QString name = QString::fromUtf8(m_server.Name());
        // Who holds the name: another Kelvaris of this user, or another user's program squatting on
        // it (which would answer the alarm server's checks in Kelvaris's place).
        QString holder;
        if (error == EADDRINUSE) {
            const std::optional<CSocketPeer> peer = SocketHolder(m_server.Name());
            if (!peer)
                holder = QStringLiteral(" (held by a program that does not say who it is)");
            else if (peer->uid == ::geteuid())
                holder = QStringLiteral(" (another Kelvaris serves it: %1)").arg(peer->Description());
            else
                holder
                    = QStringLiteral(" (held by another user's program: %1; see \"Security\" in the README)")
                          .arg(peer->Description());
        }
        m_problem = QStringLiteral("cannot serve the socket %1: %2%3")
                        .arg(name.startsWith(u'/') ? name : u'@' + name, qt_error_string(error), holder);
        KTRACE(lcPipe) << m_problem;
        return;
    }
    m_problem.clear();
    KTRACE(lcPipe) << "listening on" << m_server.Name();
}

void CKelvarisPipe::Stop()
{
    if (!IsListening())
        return;
    m_server.Stop();
    KTRACE(lcPipe) << "stopped";
}

void CKelvarisPipe::SetAllowedUsers(const QString& setting)
{
    QStringList unknown;
    std::shared_ptr<const CPipeAccess> access = CPipeAccess::FromSetting(setting, &unknown);
    if (!unknown.isEmpty()) {
        qCWarning(lcPipe).noquote() << QStringLiteral(
            "PipeUsers names no such user or group: %1; they are not served")
                                           .arg(unknown.join(QStringLiteral(", ")));
    }
    m_server.SetAccess(access->ServesEveryone() ? nullptr : std::move(access));
}

QByteArray CKelvarisPipe::Answer(QByteArrayView request, const CPipePeer& peer)
{
    const auto start = std::chrono::steady_clock::now();
    QByteArray reply = HandleRequest(request, m_services, qint64(peer.uid));
    Metrics().CountAnswer(std::chrono::steady_clock::now() - start);
    // A takeover response is the one request that changes what the engine does later: the trace
    // says who sent it. Its reply is the echoed name alone, which no other request gets.
    if (lcPipe().isDebugEnabled()) {
        if (reply.startsWith("<TimeCmd Name=\"HandleResponse\"")) {
            const qsizetype end = request.indexOf('\0');
            KTRACE(lcPipe) << "HandleResponse from uid" << peer.uid << "pid" << peer.pid
                           << "queued:" << QString::fromUtf8(end >= 0 ? request.first(end) : request);
        }
    }
    return reply;
}
