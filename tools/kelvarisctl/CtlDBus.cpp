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
    return CtlFail(CTL_FAILED, QStringLiteral("Kelvaris did not answer: %1").arg(error.message()));
}

// Prints the text of an item's data (its terminating NUL is not printed).
void PrintData(EDDEFormat format, const QByteArray& data)
{
    CtlOut() << DDETextFromData(format, data) << Qt::endl;
}

int DdeGet(const QStringList& args)
{
    const CCtlArgs parsed(args, {}, { QStringLiteral("unicode") });
    if (!parsed.Ok() || parsed.Positional().size() != 2)
        return CtlFail(
            CTL_USAGE, parsed.Ok() ? QStringLiteral("dde get needs TOPIC ITEM [--unicode]") : parsed.Error());
    const EDDEFormat format
        = parsed.Has(QStringLiteral("unicode")) ? EDDEFormat::UnicodeText : EDDEFormat::Text;
    const QDBusMessage reply = CallDde(
        QStringLiteral("Request"), { parsed.Positional()[0], parsed.Positional()[1], DDEFormatName(format) });
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
        return NoAnswer(QDBusError(reply));
    if (!reply.arguments()[0].toBool())
        return CtlFail(CTL_FAILED,
            QStringLiteral("%1 %2 is not served").arg(parsed.Positional()[0], parsed.Positional()[1]));
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
    const CCtlArgs parsed(args, { QStringLiteral("count") });
    bool countOk = true;
    const long count
        = parsed.Has(QStringLiteral("count")) ? parsed.Value(QStringLiteral("count")).toLong(&countOk) : 0;
    if (!parsed.Ok() || parsed.Positional().size() != 2 || !countOk || count < 0)
        return CtlFail(CTL_USAGE,
            parsed.Ok() ? QStringLiteral("dde watch needs TOPIC ITEM [--count N]") : parsed.Error());
    const QString topic = parsed.Positional()[0];
    const QString item = parsed.Positional()[1];
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
        return CtlFail(CTL_FAILED, QStringLiteral("%1 %2 is not served").arg(topic, item));
    const QDBusMessage current
        = CallDde(QStringLiteral("Request"), { topic, item, DDEFormatName(EDDEFormat::Text) });
    if (current.type() != QDBusMessage::ReplyMessage || current.arguments().size() != 2)
        return NoAnswer(QDBusError(current));
    sink.Print(current.arguments()[1].toByteArray());

    // Kelvaris leaving the bus ends the watch.
    QDBusServiceWatcher watcher(KelvarisBusName(), bus, QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &sink, [] {
        CtlErr() << "kelvarisctl: Kelvaris left the bus" << Qt::endl;
        QCoreApplication::exit(CTL_FAILED);
    });
    QuitOnTerminationSignal(&sink);
    if (sink.Done())
        return CTL_OK;
    return QCoreApplication::exec();
}

int DdeExec(const QStringList& args)
{
    const CCtlArgs parsed(args, {});
    if (!parsed.Ok() || parsed.Positional().size() != 1)
        return CtlFail(CTL_USAGE, parsed.Ok() ? QStringLiteral("dde exec needs TEXT") : parsed.Error());
    const QDBusReply<bool> reply = CallDde(QStringLiteral("Execute"),
        { QStringLiteral("System"), DDEDataFromText(EDDEFormat::Text, parsed.Positional()[0]) });
    if (!reply.isValid())
        return NoAnswer(reply.error());
    if (!reply.value())
        return CtlFail(CTL_FAILED, QStringLiteral("the command was not processed"));
    return CTL_OK;
}

} // namespace

int CtlDde(const QStringList& args)
{
    if (args.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("dde needs get, watch or exec"));
    const QString what = args.first();
    if (what == QLatin1String("get"))
        return DdeGet(args.mid(1));
    if (what == QLatin1String("watch"))
        return DdeWatch(args.mid(1));
    if (what == QLatin1String("exec"))
        return DdeExec(args.mid(1));
    return CtlFail(CTL_USAGE, QStringLiteral("dde needs get, watch or exec, not \"%1\"").arg(what));
}

int CtlDo(const QStringList& args)
{
    const CCtlArgs parsed(args, {});
    if (!parsed.Ok() || parsed.Positional().size() != 1)
        return CtlFail(CTL_USAGE, parsed.Ok() ? QStringLiteral("do needs COMMAND") : parsed.Error());
    const QDBusReply<QString> reply = Call(
        kKelvarisObjPath, kKelvarisObjInterface, QStringLiteral("DoCommand"), { parsed.Positional()[0] });
    if (!reply.isValid())
        return NoAnswer(reply.error());
    CtlOut() << reply.value() << Qt::endl;
    return CTL_OK;
}

#include "CtlDBus.moc"
