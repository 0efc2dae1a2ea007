#include "server/DBusServerCommand.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QList>
#include <QMetaType>
#include <QThread>
#include <QVariant>

#include "schedule/Profile.h"
#include "server/DBusConnectionKeeper.h"
#include "support/Liveness.h"
#include "support/Trace.h"

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kAlarmServerBusKey = QStringLiteral("AlarmServerBus");
constexpr qsizetype kMaxBusNameLength = 255;
// Command and result texts in trace lines are cut to this many characters.
constexpr qsizetype kTraceTextLength = 160;

// A text for one trace line: control characters escaped, long texts cut.
QString TraceText(const QString& text)
{
    QString out;
    const qsizetype shown = std::min(text.size(), kTraceTextLength);
    out.reserve(shown + 16);
    for (qsizetype i = 0; i < shown; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\t')
            out += QLatin1String("\\t");
        else if (c < 0x20 || c == 0x7F)
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
        else
            out += QChar(c);
    }
    if (shown < text.size())
        out += QStringLiteral("... (%1 characters)").arg(text.size());
    return out;
}

bool IsNameStart(char16_t c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' || c == u'-';
}

bool IsNameChar(char16_t c)
{
    return IsNameStart(c) || (c >= u'0' && c <= u'9');
}

} // namespace

EAlarmServerBus AlarmServerBusFromSetting(const QString& value)
{
    return value.trimmed().compare(QLatin1String("system"), Qt::CaseInsensitive) == 0
        ? EAlarmServerBus::System
        : EAlarmServerBus::Session;
}

bool IsValidBusServiceName(const QString& name)
{
    if (name.isEmpty() || name.size() > kMaxBusNameLength)
        return false;
    int elements = 0;
    bool atElementStart = true;
    for (const QChar qc : name) {
        const char16_t c = qc.unicode();
        if (c == u'.') {
            if (atElementStart)
                return false; // empty element
            atElementStart = true;
            continue;
        }
        if (atElementStart) {
            if (!IsNameStart(c))
                return false;
            ++elements;
            atElementStart = false;
        } else if (!IsNameChar(c)) {
            return false;
        }
    }
    return !atElementStart && elements >= 2;
}

QString AlarmServerServiceFromEnvironment()
{
    const QString fallback = QString::fromLatin1(kAlarmServerDefaultService);
    const QString value = qEnvironmentVariable(kAlarmServerServiceVariable);
    if (value.isEmpty())
        return fallback;
    if (!IsValidBusServiceName(value)) {
        KTRACE(lcServer) << kAlarmServerServiceVariable
                         << "is not a valid bus name, ignored:" << TraceText(value);
        return fallback;
    }
    return value;
}

CAlarmServerAddress AlarmServerAddressFrom(const CProfile& config)
{
    CAlarmServerAddress address;
    address.bus = AlarmServerBusFromSetting(config.ReadString(kSettings, kAlarmServerBusKey, QString()));
    address.service = AlarmServerServiceFromEnvironment();
    return address;
}

CDBusServerCommand::CDBusServerCommand(
    const QDBusConnection& connection, const QString& service, int timeoutMs)
    : m_connection(connection)
    , m_service(service)
    , m_timeoutMs(timeoutMs > 0 ? timeoutMs : kDefaultTimeoutMs)
{ }

bool CDBusServerCommand::ExecuteCommand(const QString& command, QString& result)
{
    result.clear();
    if (command.size() > kMaxTextLength) {
        KTRACE(lcServer) << "ExecuteCommand: command too long, not sent:" << command.size() << "characters";
        return false;
    }
    // A D-Bus string ends at a NUL; the server would otherwise execute a cut command.
    if (command.contains(QChar(u'\0'))) {
        KTRACE(lcServer) << "ExecuteCommand: command with a NUL character, not sent:" << TraceText(command);
        return false;
    }
    if (!m_connection.isConnected()) {
        KTRACE(lcServer) << "ExecuteCommand: bus not connected:" << TraceText(command);
        return false;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(m_service, QString::fromLatin1(kAlarmServerObjectPath),
        QString::fromLatin1(kAlarmServerInterface), QString::fromLatin1(kAlarmServerMethod));
    call << command;
    QDBusMessage reply;
    {
        // A frozen alarm server holds this thread up to the time-out; the watchdog counts that as alive.
        const Liveness::CWaitingForServer waiting;
        reply = m_connection.call(call, QDBus::Block, m_timeoutMs);
    }

    if (reply.type() == QDBusMessage::ErrorMessage) {
        KTRACE(lcServer) << "ExecuteCommand failed:" << TraceText(command) << "->" << reply.errorName()
                         << TraceText(reply.errorMessage());
        return false;
    }
    const QList<QVariant> arguments = reply.arguments();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("s")
        || arguments.size() != 1 || arguments.front().metaType() != QMetaType::fromType<QString>()) {
        KTRACE(lcServer) << "ExecuteCommand: unexpected reply to" << TraceText(command) << "type"
                         << static_cast<int>(reply.type()) << "signature" << reply.signature();
        return false;
    }
    QString text = arguments.front().toString();
    if (text.size() > kMaxTextLength) {
        KTRACE(lcServer) << "ExecuteCommand: result too long:" << TraceText(command) << "->" << text.size()
                         << "characters";
        return false;
    }
    KTRACE(lcServer) << "ExecuteCommand" << TraceText(command) << "->" << TraceText(text);
    result = std::move(text);
    return true;
}

CDBusServerCommandFactory::CDBusServerCommandFactory(
    EAlarmServerBus bus, const QString& service, int timeoutMs)
    : m_bus(bus)
    , m_service(service)
    , m_timeoutMs(timeoutMs > 0 ? timeoutMs : CDBusServerCommand::kDefaultTimeoutMs)
{ }

std::unique_ptr<CDBusServerCommandFactory> CDBusServerCommandFactory::ForBusAddress(
    const QString& busAddress, const QString& service, int timeoutMs)
{
    std::unique_ptr<CDBusServerCommandFactory> factory(new CDBusServerCommandFactory());
    factory->m_busAddress = busAddress;
    factory->m_service = service;
    factory->m_timeoutMs = timeoutMs > 0 ? timeoutMs : CDBusServerCommand::kDefaultTimeoutMs;
    return factory;
}

CDBusServerCommandFactory::~CDBusServerCommandFactory()
{
    // The watcher lives on the keeper's connection: it goes first.
    m_watcher.reset();
}

void CDBusServerCommandFactory::WatchService()
{
    m_watcher = std::make_unique<QDBusServiceWatcher>(
        m_service, m_keeper->Connection(), QDBusServiceWatcher::WatchForOwnerChange);
    // A new owner is an alarm server that came or came back, however quickly it was restarted.
    QObject::connect(m_watcher.get(), &QDBusServiceWatcher::serviceOwnerChanged, m_watcher.get(),
        [this](const QString&, const QString&, const QString& newOwner) {
            if (!newOwner.isEmpty()) {
                ++m_arrivals;
                KTRACE(lcServer) << "the alarm server's name has a new owner:" << newOwner;
            }
        });
}

std::unique_ptr<CServerCommand> CDBusServerCommandFactory::Create()
{
    if (!m_keeper) {
        const QString what = QStringLiteral("the alarm server's bus");
        m_keeper = !m_busAddress.isEmpty()
            ? std::make_unique<CDBusConnectionKeeper>(m_busAddress, what, lcServer)
            : std::make_unique<CDBusConnectionKeeper>(
                m_bus == EAlarmServerBus::System ? QDBusConnection::SystemBus : QDBusConnection::SessionBus,
                what, lcServer);
        // Between commands too, so that a lost bus is reported and taken up again at once.
        if (QCoreApplication::instance() && QCoreApplication::instance()->thread() == m_keeper->thread())
            m_keeper->StartPolling();
        // A bus made again has a new connection: the name is watched on it, and whoever owns it
        // there is news to this side.
        QObject::connect(m_keeper.get(), &CDBusConnectionKeeper::Reconnected, m_keeper.get(), [this] {
            const bool watchedBefore = m_watcher != nullptr;
            WatchService();
            if (watchedBefore)
                ++m_arrivals;
        });
        if (m_keeper->Connection().isConnected())
            WatchService();
    }
    if (!m_keeper->Check())
        return nullptr;
    return std::make_unique<CDBusServerCommand>(m_keeper->Connection(), m_service, m_timeoutMs);
}
