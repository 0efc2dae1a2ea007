// kelvarisctl check | dispatch | response | send: one request each on Kelvaris's socket; the reply
// text is printed without its CR LF and NUL.
#include "schedule/DateTime.h"
#include "support/SeqPacket.h"
#include "support/XmlMessageBag.h"

#include "Ctl.h"

namespace {

const char kSocketNote[]
    = "The request goes to Kelvaris's socket (KELVARIS_PIPE_NAME, default the abstract name\n"
      "OndreviKelvaris; a name starting with \"/\" is a socket file). The reply text is printed\n"
      "without its CR LF and NUL.\n";

// Sends the request and prints the reply text. With --server-user (or KELVARIS_SERVER_USER) the
// socket must be served by that user, or nothing is sent.
int Exchange(const CCtlCommand& command, const QByteArray& request)
{
    const QByteArray name = PipeNameFromEnvironment();
    QString user = qEnvironmentVariable(kServerUserVariable);
    if (command.IsSet(QStringLiteral("server-user")))
        user = command.Value(QStringLiteral("server-user"));
    long long uid = -1;
    if (!user.isEmpty() && (uid = UidOfUser(user)) < 0)
        return command.Usage(QStringLiteral("no such user \"%1\" for --server-user").arg(user));
    const CSeqPacketResult result = SeqPacketExchange(name, request, kDefaultExchangeTimeoutMs, uid);
    if (result.status == SeqPacketStatus::BadName || result.status == SeqPacketStatus::TooLong)
        return CtlFail(
            CTL_USAGE, QStringLiteral("socket \"%1\": %2").arg(QString::fromUtf8(name), result.Message()));
    if (result.status == SeqPacketStatus::WrongServer)
        return CtlFail(CTL_FAILED,
            QStringLiteral("the socket \"%1\" is not served by %2: %3")
                .arg(QString::fromUtf8(name), user, result.Message()));
    if (!result.Ok())
        return CtlFail(CTL_FAILED,
            QStringLiteral("Kelvaris did not answer on the socket \"%1\": %2")
                .arg(QString::fromUtf8(name), result.Message()));
    QByteArray reply = result.reply;
    if (reply.endsWith('\0'))
        reply.chop(1);
    if (reply.endsWith("\r\n"))
        reply.chop(2);
    CtlOut() << QString::fromUtf8(reply) << Qt::endl;
    return CTL_OK;
}

// The options and notes every socket verb has.
void AddSocketOptions(CCtlCommand& command, const QString& notes = QString())
{
    command.AddOption(QStringLiteral("server-user"),
        QStringLiteral("Send nothing unless the socket is served by this user (a name or a uid; default "
                       "KELVARIS_SERVER_USER)."),
        QStringLiteral("NAME"));
    command.AddNotes(notes + QString::fromLatin1(kSocketNote));
}

CXmlMessageBag Request(const QString& name)
{
    CXmlMessageBag bag(QStringLiteral("TimeCmd"));
    bag.SetAttribute(QString(), QStringLiteral("Name"), name);
    return bag;
}

// A decimal integer option, or the default when it is not given.
bool IntOption(const CCtlCommand& command, const QString& name, long& value)
{
    if (!command.IsSet(name))
        return true;
    bool ok = false;
    value = command.Value(name).toLong(&ok);
    return ok;
}

int NoArguments(const CCtlCommand& command)
{
    return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));
}

} // namespace

int CtlCheck(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("check"), QString(),
        QStringLiteral("Asks Kelvaris whether it is running (a Check request).\n"));
    AddSocketOptions(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return NoArguments(command);
    return Exchange(command, Request(QStringLiteral("Check")).Serialize());
}

int CtlDispatch(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("dispatch"), QStringLiteral("--id ID [--group GID] [--time TEXT]"),
        QStringLiteral("Asks Kelvaris whether a message to a receiver is to be sent (a CheckDispatching "
                       "request);\nthe reply carries the result code.\n"));
    command.AddOption(
        QStringLiteral("id"), QStringLiteral("The receiver's ID (required)."), QStringLiteral("ID"));
    command.AddOption(QStringLiteral("group"),
        QStringLiteral("The ID of the alarm group the message goes through."), QStringLiteral("GID"));
    command.AddOption(QStringLiteral("time"),
        QStringLiteral("The moment of the message (default now), in one of the forms below; Kelvaris reads "
                       "it."),
        QStringLiteral("TEXT"));
    AddSocketOptions(
        command, QStringLiteral("Forms --time takes, for example:\n") + CtlTimeExamplesHelp() + u'\n');
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return NoArguments(command);
    if (!command.IsSet(QStringLiteral("id")))
        return command.Usage(QStringLiteral("--id ID is required"));
    CXmlMessageBag bag = Request(QStringLiteral("CheckDispatching"));
    bag.SetText(QStringLiteral("DispatchingID"), command.Value(QStringLiteral("id")));
    if (command.IsSet(QStringLiteral("group")))
        bag.SetText(QStringLiteral("GroupID"), command.Value(QStringLiteral("group")));
    if (command.IsSet(QStringLiteral("time"))) {
        // Kelvaris answers a time it cannot read as if none had been given: refused here instead.
        const QString text = command.Value(QStringLiteral("time"));
        CDateTime at;
        if (!DateTimeFromText(text, at) || !at.IsValid())
            return command.Usage(QStringLiteral("cannot read the time \"%1\"").arg(text));
        bag.SetText(QStringLiteral("Time"), text);
    }
    return Exchange(command, bag.Serialize());
}

int CtlResponse(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("response"),
        QStringLiteral("--client TEXT --target ID [--result N] [--timeout N]"),
        QStringLiteral("Hands Kelvaris the answer to a takeover request (a HandleResponse request).\n"));
    command.AddOption(QStringLiteral("client"),
        QStringLiteral("The client ID of the request, e.g. Time:40 (required)."), QStringLiteral("TEXT"));
    command.AddOption(QStringLiteral("target"),
        QStringLiteral("The ID of the receiver that answered (required)."), QStringLiteral("ID"));
    command.AddOption(QStringLiteral("result"),
        QStringLiteral("The result, a decimal integer (1: confirmed)."), QStringLiteral("N"));
    command.AddOption(QStringLiteral("timeout"),
        QStringLiteral("The timeout flag, a decimal integer (1: not answered in time)."),
        QStringLiteral("N"));
    AddSocketOptions(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return NoArguments(command);
    if (!command.IsSet(QStringLiteral("client")) || !command.IsSet(QStringLiteral("target")))
        return command.Usage(QStringLiteral("--client TEXT and --target ID are required"));
    long result = 0;
    long timeout = 0;
    if (!IntOption(command, QStringLiteral("result"), result))
        return command.Usage(QStringLiteral("--result takes an integer, not \"%1\"")
                                 .arg(command.Value(QStringLiteral("result"))));
    if (!IntOption(command, QStringLiteral("timeout"), timeout))
        return command.Usage(QStringLiteral("--timeout takes an integer, not \"%1\"")
                                 .arg(command.Value(QStringLiteral("timeout"))));
    CXmlMessageBag bag = Request(QStringLiteral("HandleResponse"));
    bag.SetText(QStringLiteral("ClientID"), command.Value(QStringLiteral("client")));
    bag.SetText(QStringLiteral("TargetID"), command.Value(QStringLiteral("target")));
    if (command.IsSet(QStringLiteral("result")))
        bag.SetInt(QStringLiteral("Result"), result);
    if (command.IsSet(QStringLiteral("timeout")))
        bag.SetInt(QStringLiteral("Timeout"), timeout);
    return Exchange(command, bag.Serialize());
}

int CtlSend(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("send"), QStringLiteral("[--] XML"),
        QStringLiteral("Sends one request text as it stands and prints the reply.\n"));
    command.AddArgument(QStringLiteral("XML"),
        QStringLiteral("The request, e.g. '<TimeCmd Name=\"Check\"/>' (after -- it may begin with -)."));
    AddSocketOptions(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (command.Arguments().size() != 1)
        return command.Usage(QStringLiteral("takes one argument: the request text"));
    return Exchange(command, command.Arguments().first().toUtf8());
}
