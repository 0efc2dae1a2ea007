// Feeds arbitrary bytes to the socket's request handler, as the alarm server's requests arrive:
// every reply must be one well-formed message ending in CR LF NUL, and a parsed reply must carry
// only what the request types allow. A strict parser (expat) must read every reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <expat.h>

#include <QString>

#include "inbound/RequestHandler.h"
#include "support/XmlMessageBag.h"

namespace {
class CFuzzServices : public CRequestServices
{
public:
    int CheckDispatching(const QString& id, const QString&, const QString&) override
    {
        return id.size() % 2 ? 3 : 0;
    }
    bool AppendResponse(const QString& text) override { return text.size() < 20000; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CFuzzServices services;
    const QByteArrayView request(
        reinterpret_cast<const char*>(data), qsizetype(std::min<size_t>(size, 10240)));
    const QByteArray reply = HandleRequest(request, services);
    if (!reply.endsWith(QByteArray("\r\n\0", 3)))
        std::abort();
    const QByteArray body = reply.left(reply.size() - 3);
    // A strict parser reads every reply.
    if (!body.isEmpty()) {
        static XML_Parser parser = XML_ParserCreate("UTF-8");
        XML_ParserReset(parser, "UTF-8");
        if (XML_Parse(parser, body.constData(), static_cast<int>(body.size()), XML_TRUE) != XML_STATUS_OK)
            std::abort();
    }
    if (!body.isEmpty()) {
        CXmlMessageBag bag;
        if (!bag.Parse(body) || bag.GetName() != QStringLiteral("TimeCmd"))
            std::abort();
    }
    return 0;
}
