// kelvarisctl check | dispatch | response | send: one request each on Kelvaris's socket; the reply
// text is printed without its CR LF and NUL.
#include "support/SeqPacket.h"
#include "support/XmlMessageBag.h"

#include "Ctl.h"

namespace {

// Sends the request and prints the reply text.
int Exchange(const QByteArray& request)
{
    const CSeqPacketResult result = SeqPacketExchange(PipeNameFromEnvironment(), request);
    if (result.status == SeqPacketStatus::BadName || result.status == SeqPacketStatus::TooLong)
        return CtlFail(CTL_USAGE, result.Message());
    if (!result.Ok())
        return CtlFail(CTL_FAILED, QStringLiteral("Kelvaris did not answer: %1").arg(result.Message()));
    QByteArray reply = result.reply;
    if (reply.endsWith('\0'))
        reply.chop(1);
    if (reply.endsWith("\r\n"))
        reply.chop(2);
    CtlOut() << QString::fromUtf8(reply) << Qt::endl;
    return CTL_OK;
}

CXmlMessageBag Request(const QString& name)
{
    CXmlMessageBag bag(QStringLiteral("TimeCmd"));
    bag.SetAttribute(QString(), QStringLiteral("Name"), name);
    return bag;
}

// A decimal integer option, or the default when it is not given.
bool IntOption(const CCtlArgs& args, const QString& name, long& value)
{
    if (!args.Has(name))
        return true;
    bool ok = false;
    value = args.Value(name).toLong(&ok);
    return ok;
}

} // namespace

int CtlCheck(const QStringList& args)
{
    const CCtlArgs parsed(args, {});
    if (!parsed.Ok() || !parsed.Positional().isEmpty())
        return CtlFail(CTL_USAGE, parsed.Ok() ? QStringLiteral("check takes no arguments") : parsed.Error());
    return Exchange(Request(QStringLiteral("Check")).Serialize());
}

int CtlDispatch(const QStringList& args)
{
    const CCtlArgs parsed(args, { QStringLiteral("id"), QStringLiteral("group"), QStringLiteral("time") });
    if (!parsed.Ok())
        return CtlFail(CTL_USAGE, parsed.Error());
    if (!parsed.Positional().isEmpty() || !parsed.Has(QStringLiteral("id")))
        return CtlFail(CTL_USAGE, QStringLiteral("dispatch needs --id ID [--group GID] [--time TEXT]"));
    CXmlMessageBag bag = Request(QStringLiteral("CheckDispatching"));
    bag.SetText(QStringLiteral("DispatchingID"), parsed.Value(QStringLiteral("id")));
    if (parsed.Has(QStringLiteral("group")))
        bag.SetText(QStringLiteral("GroupID"), parsed.Value(QStringLiteral("group")));
    if (parsed.Has(QStringLiteral("time")))
        bag.SetText(QStringLiteral("Time"), parsed.Value(QStringLiteral("time")));
    return Exchange(bag.Serialize());
}

int CtlResponse(const QStringList& args)
{
    const CCtlArgs parsed(args,
        { QStringLiteral("client"), QStringLiteral("target"), QStringLiteral("result"),
            QStringLiteral("timeout") });
    if (!parsed.Ok())
        return CtlFail(CTL_USAGE, parsed.Error());
    long result = 0;
    long timeout = 0;
    if (!parsed.Positional().isEmpty() || !parsed.Has(QStringLiteral("client"))
        || !parsed.Has(QStringLiteral("target")) || !IntOption(parsed, QStringLiteral("result"), result)
        || !IntOption(parsed, QStringLiteral("timeout"), timeout))
        return CtlFail(
            CTL_USAGE, QStringLiteral("response needs --client TEXT --target ID [--result N] [--timeout N]"));
    CXmlMessageBag bag = Request(QStringLiteral("HandleResponse"));
    bag.SetText(QStringLiteral("ClientID"), parsed.Value(QStringLiteral("client")));
    bag.SetText(QStringLiteral("TargetID"), parsed.Value(QStringLiteral("target")));
    if (parsed.Has(QStringLiteral("result")))
        bag.SetInt(QStringLiteral("Result"), result);
    if (parsed.Has(QStringLiteral("timeout")))
        bag.SetInt(QStringLiteral("Timeout"), timeout);
    return Exchange(bag.Serialize());
}

int CtlSend(const QStringList& args)
{
    if (args.size() != 1)
        return CtlFail(CTL_USAGE, QStringLiteral("send takes one argument: the request text"));
    return Exchange(args.first().toUtf8());
}
