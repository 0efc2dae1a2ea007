// Feeds arbitrary bytes to the socket's request handler over the real document: the message bag
// parser, the request handler and the dispatch decision over a few page targets (receivers with
// ranges, two takeover groups whose dispatch files live in a temporary folder) run together.
// Every reply must be one well-formed message ending in CR LF NUL; a parsed reply must be a
// "TimeCmd", and a dispatch reply must carry one of the decision's two result codes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <expat.h>
#include <memory>
#include <mutex>

#include <QString>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/RequestHandler.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "server/ServerCommand.h"
#include "support/XmlMessageBag.h"

namespace {

class CNoServer : public CServerCommandFactory
{
public:
    std::unique_ptr<CServerCommand> Create() override { return nullptr; }
};

CPageTarget Receiver(const QString& id, int number, const QStringList& ranges)
{
    CPageTarget target;
    target.m_id = id;
    target.m_name = QStringLiteral("Receiver ") + id;
    target.m_number = number;
    for (const QString& line : ranges)
        target.m_ranges.AddFromText(line);
    return target;
}

// A takeover group with its dispatch file; `current` becomes its current target. Both groups have
// one, so no check writes a dispatch file and every run sees the same targets.
bool AddGroup(
    CPageTargetArray& targets, const QString& id, int number, const QString& members, const QString& current)
{
    CPageTarget group;
    group.m_id = id;
    group.m_name = QStringLiteral("Group ") + id;
    group.m_number = number;
    group.m_takeover = true;
    group.m_members = members;
    const bool ok = group.SaveDispatchFile() && group.WriteCurrentTargetId(current);
    targets.append(std::move(group));
    return ok;
}

struct CFuzzDocument
{
    QTemporaryDir dir;
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc { server, rights };
    CDocRequestServices services { doc };
};

CFuzzDocument& Document()
{
    static const std::unique_ptr<CFuzzDocument> made = [] {
        auto document = std::make_unique<CFuzzDocument>();
        if (!document->dir.isValid())
            std::abort();
        ConfigLocation().SetPaths(document->dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
        CPageTargetArray targets;
        targets.append(Receiver(QStringLiteral("17"), 1,
            { QStringLiteral("20240701=07:00-15:30;22:00-23:59"), QStringLiteral("20240702=00:00-06:00") }));
        targets.append(Receiver(QStringLiteral("18"), 2, { QStringLiteral("20240701=15:30-22:00") }));
        targets.append(Receiver(QStringLiteral("19"), 3, {}));
        targets.append(Receiver(QStringLiteral("20"), 4, { QStringLiteral("20241231=23:00-23:59") }));
        const bool ok = AddGroup(targets, QStringLiteral("40"), -1, QStringLiteral("Receiver 17;Receiver 18"),
                            QStringLiteral("17"))
            && AddGroup(targets, QStringLiteral("41"), -2, QStringLiteral("Receiver 19;Receiver 20"),
                QStringLiteral("20"));
        if (!ok)
            std::abort();
        const std::lock_guard<std::mutex> lock(document->doc.TargetsMutex());
        document->doc.PageTargets() = std::move(targets);
        return document;
    }();
    return *made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzDocument& document = Document();
    const QByteArrayView request(
        reinterpret_cast<const char*>(data), qsizetype(std::min<size_t>(size, 10240)));
    const QByteArray reply = HandleRequest(request, document.services);
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
    if (body.isEmpty())
        return 0;
    CXmlMessageBag bag;
    if (!bag.Parse(body) || bag.GetName() != QStringLiteral("TimeCmd"))
        std::abort();
    if (bag.GetAttribute(QString(), QStringLiteral("Name"), QString()) == QLatin1String("CheckDispatching")) {
        const long result = bag.GetInt(QStringLiteral("DispatchingResult"), -1);
        if (result != kDispatchSend && result != kDispatchNotDispatched)
            std::abort();
    }
    return 0;
}
