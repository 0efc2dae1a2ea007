#include "inbound/RequestHandler.h"

#include <algorithm>

#include "engine/KelvarisDoc.h"
#include "support/XmlMessageBag.h"

int CDocRequestServices::CheckDispatching(
    const QString& dispatchingId, const QString& groupId, const QString& timeText)
{
    return m_doc.CheckDispatching(dispatchingId, groupId, timeText);
}

bool CDocRequestServices::AppendResponse(const QString& text)
{
    return m_doc.AppendResponse(text);
}

namespace {
const QString kRootName = QStringLiteral("TimeCmd");
const QString kNameAttribute = QStringLiteral("Name");

void Handle(const CXmlMessageBag& request, CXmlMessageBag& reply, CRequestServices& services)
{
    if (request.GetName() != kRootName)
        return;
    const QString name = request.GetAttribute(QString(), kNameAttribute, QString());
    reply.SetAttribute(QString(), kNameAttribute, name);
    if (name == QLatin1String("Check")) {
        reply.SetInt(QStringLiteral("Active"), 1);
    } else if (name == QLatin1String("CheckDispatching")) {
        const int result = services.CheckDispatching(request.GetText(QStringLiteral("DispatchingID")),
            request.GetText(QStringLiteral("GroupID")), request.GetText(QStringLiteral("Time")));
        reply.SetInt(QStringLiteral("DispatchingResult"), result);
    } else if (name == QLatin1String("HandleResponse")) {
        // Processed later on the engine's cycle, in the order of arrival.
        services.AppendResponse(QString::fromUtf8(request.Serialize()));
    }
}
} // namespace

QByteArray HandleRequest(QByteArrayView request, CRequestServices& services)
{
    request = request.first(std::min(request.size(), kMaxRequestBytes));
    if (const qsizetype end = request.indexOf('\0'); end >= 0)
        request = request.first(end);

    CXmlMessageBag requestBag;
    CXmlMessageBag replyBag(kRootName);
    if (requestBag.Parse(request.toByteArray()))
        Handle(requestBag, replyBag, services);

    QByteArray reply = replyBag.Serialize();
    reply.append("\r\n", 2);
    reply.append('\0');
    return reply;
}
