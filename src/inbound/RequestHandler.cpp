#include "inbound/RequestHandler.h"

#include <algorithm>
#include <iterator>

#include "engine/Dispatch.h"
#include "engine/KelvarisDoc.h"
#include "support/Metrics.h"
#include "support/Trace.h"
#include "support/Warning.h"
#include "support/XmlMessageBag.h"

int CDocRequestServices::CheckDispatching(
    const QString& dispatchingId, const QString& groupId, const QString& timeText)
{
    return m_doc.CheckDispatching(dispatchingId, groupId, timeText);
}

int CDocRequestServices::CheckDispatchingFor(
    qint64 peerUid, const QString& dispatchingId, const QString& groupId, const QString& timeText)
{
    return m_doc.CheckDispatching(dispatchingId, groupId, timeText, peerUid);
}

bool CDocRequestServices::AppendResponse(const QString& text)
{
    return m_doc.AppendResponse(text);
}

namespace {
const QString kRootName = QStringLiteral("TimeCmd");
const QString kNameAttribute = QStringLiteral("Name");
const QString kCheck = QStringLiteral("Check");
const QString kCheckDispatching = QStringLiteral("CheckDispatching");
const QString kDispatchingResult = QStringLiteral("DispatchingResult");

// The whole reply message: the serialised bag (nothing for a bag without a root), CR LF, NUL.
QByteArray ReplyMessage(const CXmlMessageBag& reply)
{
    QByteArray message = reply.Serialize();
    message.reserve(message.size() + 3);
    message.append("\r\n", 2);
    message.append('\0');
    return message;
}

QByteArray CheckReply()
{
    CXmlMessageBag reply(kRootName);
    reply.SetAttribute(QString(), kNameAttribute, kCheck);
    reply.SetInt(QStringLiteral("Active"), 1);
    return ReplyMessage(reply);
}

QByteArray DispatchReply(int result)
{
    CXmlMessageBag reply(kRootName);
    reply.SetAttribute(QString(), kNameAttribute, kCheckDispatching);
    reply.SetInt(kDispatchingResult, result);
    return ReplyMessage(reply);
}

// The replies to "Check" and to a dispatch check with one of the four result codes depend on
// nothing else; they are built once, by the same code, and shared (a dispatch check runs for
// every message the alarm server delivers).
struct CFixedReplies
{
    QByteArray none = ReplyMessage(CXmlMessageBag(kRootName));
    QByteArray check = CheckReply();
    QByteArray dispatch[4] = { DispatchReply(0), DispatchReply(1), DispatchReply(2), DispatchReply(3) };
};

const CFixedReplies& FixedReplies()
{
    static const CFixedReplies replies;
    return replies;
}

QByteArray Handle(const CXmlMessageBag& request, CRequestServices& services, qint64 peerUid)
{
    const CFixedReplies& fixed = FixedReplies();
    if (request.GetName() != kRootName)
        return fixed.none;
    const QString name = request.GetAttribute(QString(), kNameAttribute, QString());
    if (name == kCheck)
        return fixed.check;
    if (name == kCheckDispatching) {
        const int result
            = services.CheckDispatchingFor(peerUid, request.GetText(QStringLiteral("DispatchingID")),
                request.GetText(QStringLiteral("GroupID")), request.GetText(QStringLiteral("Time")));
        Metrics().CountCheck(
            result == kDispatchSend ? CMetrics::ECheck::Send : CMetrics::ECheck::NotDispatched);
        if (result >= 0 && result < int(std::size(fixed.dispatch)))
            return fixed.dispatch[result];
        return DispatchReply(result);
    }
    if (name == QLatin1String("HandleResponse")) {
        // Processed later on the engine's cycle, in the order of arrival.
        services.AppendResponse(QString::fromUtf8(request.Serialize()));
    }
    CXmlMessageBag reply(kRootName);
    reply.SetAttribute(QString(), kNameAttribute, name);
    return ReplyMessage(reply);
}

// A request that is not a well-formed document is answered with the empty reply; a client that
// sends such requests is told nothing more, so the log says so, at most once a minute.
void WarnNotWellFormed(QByteArrayView request)
{
    static CWarningLimiter limiter;
    const long long more = limiter.Allow();
    if (more < 0)
        return;
    const QByteArray start = request.first(std::min<qsizetype>(request.size(), 80)).toByteArray();
    qCWarning(lcPipe).noquote() << "a request that is not well-formed XML got the empty reply:"
                                << (start.isEmpty()
                                           ? QStringLiteral("(an empty message)")
                                           : QString::fromLatin1(start.toPercentEncoding(" <>=\"/:?!-_.#;&")))
            + CWarningLimiter::MoreText(more);
}
} // namespace

QByteArray HandleRequest(QByteArrayView request, CRequestServices& services, qint64 peerUid)
{
    request = request.first(std::min(request.size(), kMaxRequestBytes));
    if (const qsizetype end = request.indexOf('\0'); end >= 0)
        request = request.first(end);

    // The bag copies what it parses, so the request bytes need no copy of their own.
    CXmlMessageBag requestBag;
    if (!requestBag.Parse(QByteArray::fromRawData(request.data(), request.size()))) {
        Metrics().CountCheck(CMetrics::ECheck::Malformed);
        WarnNotWellFormed(request);
        return FixedReplies().none;
    }
    return Handle(requestBag, services, peerUid);
}
