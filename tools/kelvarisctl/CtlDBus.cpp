// kelvarisctl dde get | watch | exec and kelvarisctl do: Kelvaris's DDE values and its automation
// object on the session bus (KELVARIS_BUS_NAME names the service).
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSocketNotifier>

#include "inbound/DDEServer.h"
#include "inbound/KelvarisBus.h"
#include "support/Trace.h"

#include "Ctl.h"

namespace {

constexpr int kCallTimeoutMs = 5000;

// One method call to Kelvaris; the reply, or an error message when it did not answer in time.
QDBusMessage Call(
    const char* path, const char* interface, const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        KelvarisBusName(), QString::fromLatin1(path), QString::fromLatin1(interface), method);
    call.setArguments(arguments);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
}

QDBusMessage CallDde(const QString& method, const QVariantList& arguments)
{
    return Call(kKelvarisDDEPath, kKelvarisDDEInterface, method, arguments);
}

int NoAnswer(const QDBusError& error)
{
    return CtlFail(CTL_FAILED,
        QStringLiteral("Kelvaris did not answer as %1 on the session bus: %2")
            .arg(KelvarisBusName(), error.message()));
}

// Prints the text of an item's data (its terminating NUL is not printed).
void PrintData(EDDEFormat format, const QByteArray& data)
{
    CtlOut() << DDETextFromData(format, data) << Qt::endl;
}

const char kBusNote[]
    = "Kelvaris is reached on the session bus under KELVARIS_BUS_NAME (default com.ondrevi.Kelvaris).\n";

int DdeGet(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("dde get"), QStringLiteral("TOPIC ITEM [--unicode]"),
        QStringLiteral("Prints the value Kelvaris publishes under TOPIC and ITEM.\n"));
    command.AddArgument(QStringLiteral("TOPIC"), QStringLiteral("The topic, e.g. System."));
    command.AddArgument(QStringLiteral("ITEM"), QStringLiteral("The item."));
    command.AddOption(
        QStringLiteral("unicode"), QStringLiteral("Ask for the UTF-16 text format instead of plain text."));
    command.AddNotes(QString::fromLatin1(kBusNote));
    if (const int code = command.Parse(args); code >= 0)
        return code;
    const QStringList words = command.Arguments();
    if (words.size() != 2)
        return command.Usage(QStringLiteral("needs TOPIC and ITEM"));
    const EDDEFormat format
        = command.IsSet(QStringLiteral("unicode")) ? EDDEFormat::UnicodeText : EDDEFormat::Text;
    const QDBusMessage reply
        = CallDde(QStringLiteral("Request"), { words[0], words[1], DDEFormatName(format) });
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return NoAnswer(QDBusError(reply));
    if (!reply.arguments()[0].toBool())
        return CtlFail(CTL_FAILED,
            QStringLiteral("Kelvaris does not serve the item \"%2\" of the topic \"%1\"")
                .arg(words[0], words[1]));
    PrintData(format, reply.arguments()[1].toByteArray());
    return CTL_OK;
}

// Receives the Advise signals of the watched item and prints their values.
class CAdviseSink : public QObject
{
    Q_OBJECT

public:
    CAdviseSink(QString topic, QString item, long count)
        : m_topic(std::move(topic))
        , m_item(std::move(item))
        , m_count(count)
    { }

    void Print(const QByteArray& data)
    {
        PrintData(EDDEFormat::Text, data);
        if (m_count > 0 && ++m_printed >= m_count)
            QCoreApplication::exit(CTL_OK);
    }

    bool Done() const { return m_count > 0 && m_printed >= m_count; }

public Q_SLOTS:
    void Advise(const QString& topic, const QString& item, const QString& format, const QByteArray& data)
    {
        if (topic.compare(m_topic, Qt::CaseInsensitive) == 0 && item.compare(m_item, Qt::CaseInsensitive) == 0
            && DDEFormatFromName(format) == EDDEFormat::Text)
            Print(data);
    }

private:
    QString m_topic;
    QString m_item;
    long m_count = 0;
    long m_printed = 0;
};

int g_stopPipe[2] = { -1, -1 };
void StopHandler(int)
{
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(g_stopPipe[1], &byte, 1);
}

// Ends the event loop with exit code 0 on SIGINT or SIGTERM.
void QuitOnTerminationSignal(QObject* context)
{
    if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_stopPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [] { QCoreApplication::exit(CTL_OK); });
    struct sigaction action
    {
    };
    action.sa_handler = StopHandler;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int DdeWatch(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("dde watch"), QStringLiteral("TOPIC ITEM [--count N]"),
        QStringLiteral(
            "Prints the value Kelvaris publishes under TOPIC and ITEM, then every change, until N "
            "values\nwere printed, SIGINT or SIGTERM (exit 0), or Kelvaris leaves the bus (exit 1).\n"));
    command.AddArgument(QStringLiteral("TOPIC"), QStringLiteral("The topic, e.g. System."));
    command.AddArgument(QStringLiteral("ITEM"), QStringLiteral("The item."));
    command.AddOption(QStringLiteral("count"),
        QStringLiteral("Stop after N values, the current one included (default: no limit)."),
        QStringLiteral("N"));
    command.AddNotes(QString::fromLatin1(kBusNote));
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (command.Arguments().size() != 2)
        return command.Usage(QStringLiteral("needs TOPIC and ITEM"));
    bool countOk = true;
    const long count = command.IsSet(QStringLiteral("count"))
        ? command.Value(QStringLiteral("count")).toLong(&countOk)
        : 0;
    if (!countOk || count < 0)
        return command.Usage(QStringLiteral("--count takes a number from 0 up, not \"%1\"")
                                 .arg(command.Value(QStringLiteral("count"))));
    const QString topic = command.Arguments()[0];
    const QString item = command.Arguments()[1];
    QDBusConnection bus = QDBusConnection::sessionBus();

    // Subscribe before the link starts, so that no change between the two is missed.
    CAdviseSink sink(topic, item, count);
    if (!bus.connect(KelvarisBusName(), QString::fromLatin1(kKelvarisDDEPath),
            QString::fromLatin1(kKelvarisDDEInterface), QStringLiteral("Advise"), &sink,
            SLOT(Advise(QString, QString, QString, QByteArray))))
        return NoAnswer(bus.lastError());
    const QDBusReply<bool> started
        = CallDde(QStringLiteral("AdviseStart"), { topic, item, DDEFormatName(EDDEFormat::Text) });
    if (!started.isValid())
        return NoAnswer(started.error());
    if (!started.value())
        return CtlFail(CTL_FAILED,
            QStringLiteral("Kelvaris does not serve the item \"%2\" of the topic \"%1\"").arg(topic, item));
    const QDBusMessage current
        = CallDde(QStringLiteral("Request"), { topic, item, DDEFormatName(EDDEFormat::Text) });
    if (current.type() != QDBusMessage::ReplyMessage || current.arguments().size() != 2)
        return NoAnswer(QDBusError(current));
    sink.Print(current.arguments()[1].toByteArray());

    // Kelvaris leaving the bus ends the watch.
    QDBusServiceWatcher watcher(KelvarisBusName(), bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &sink, [] {
        WriteStandardError(QtCriticalMsg,
            QStringLiteral("kelvarisctl: Kelvaris (%1) left the session bus").arg(KelvarisBusName()));
        QCoreApplication::exit(CTL_FAILED);
    });
    QuitOnTerminationSignal(&sink);
    if (sink.Done())
        return CTL_OK;
    return QCoreApplication::exec();
}

int DdeExec(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("dde exec"), QStringLiteral("[--] TEXT"),
        QStringLiteral("Runs a command on the System topic, e.g. \"[activate()]\".\n"));
    command.AddArgument(QStringLiteral("TEXT"), QStringLiteral("The command text."));
    command.AddNotes(QString::fromLatin1(kBusNote));
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (command.Arguments().size() != 1)
        return command.Usage(QStringLiteral("needs TEXT, one argument"));
    const QDBusReply<bool> reply = CallDde(QStringLiteral("Execute"),
        { QStringLiteral("System"), DDEDataFromText(EDDEFormat::Text, command.Arguments()[0]) });
    if (!reply.isValid())
        return NoAnswer(reply.error());
    if (!reply.value())
        return CtlFail(CTL_FAILED,
            QStringLiteral("Kelvaris did not carry out the System command \"%1\"")
                .arg(command.Arguments()[0]));
    return CTL_OK;
}

} // namespace

int CtlDde(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("dde"),
        QStringLiteral("get TOPIC ITEM [--unicode] | watch TOPIC ITEM [--count N] | exec TEXT"),
        QStringLiteral("Kelvaris's published values and System commands.\n"));
    command.AddArgument(QStringLiteral("ACTION"),
        QStringLiteral("get, watch or exec (kelvarisctl dde ACTION --help describes each)."));
    command.AddNotes(QString::fromLatin1(kBusNote));
    command.StopAtFirstArgument();
    if (const int code = command.Parse(args); code >= 0)
        return code;
    QStringList words = command.Arguments();
    if (words.isEmpty())
        return command.Usage(QStringLiteral("needs get, watch or exec"));
    const QString what = words.takeFirst();
    if (what == QLatin1String("get"))
        return DdeGet(words);
    if (what == QLatin1String("watch"))
        return DdeWatch(words);
    if (what == QLatin1String("exec"))
        return DdeExec(words);
    return command.Usage(QStringLiteral("needs get, watch or exec, not \"%1\"").arg(what));
}

int CtlDo(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("do"), QStringLiteral("[--] COMMAND"),
        QStringLiteral(
            "Runs a command of the automation object (DoCommand), e.g. \"[setup(TB)]\", and prints "
            "its result.\n"));
    command.AddArgument(QStringLiteral("COMMAND"), QStringLiteral("The command text."));
    command.AddNotes(QString::fromLatin1(kBusNote));
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (command.Arguments().size() != 1)
        return command.Usage(QStringLiteral("needs COMMAND, one argument"));
    const QDBusReply<QString> reply = Call(
        kKelvarisObjPath, kKelvarisObjInterface, QStringLiteral("DoCommand"), { command.Arguments()[0] });
    if (!reply.isValid())
        return NoAnswer(reply.error());
    // The automation object answers a command it does not know with an empty text.
    if (reply.value().isEmpty())
        return CtlFail(CTL_FAILED,
            QStringLiteral("Kelvaris does not know the command \"%1\"").arg(command.Arguments()[0]));
    CtlOut() << reply.value() << Qt::endl;
    return CTL_OK;
}

#include "CtlDBus.moc"
