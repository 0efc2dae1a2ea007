#include "inbound/DBusDDE.h"

#include <QDBusMessage>
#include <QDBusMetaType>

#include "inbound/KelvarisBus.h"
#include "support/Trace.h"

QDBusArgument& operator<<(QDBusArgument& argument, const CDDEServiceTopic& pair)
{
    argument.beginStructure();
    argument << pair.m_service << pair.m_topic;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, CDDEServiceTopic& pair)
{
    argument.beginStructure();
    argument >> pair.m_service >> pair.m_topic;
    argument.endStructure();
    return argument;
}

CDBusDDETransport::CDBusDDETransport(QDBusConnection connection, QObject* parent)
    : QObject(parent)
    , m_connection(std::move(connection))
{
    qDBusRegisterMetaType<CDDEServiceTopic>();
    qDBusRegisterMetaType<QList<CDDEServiceTopic>>();
    m_watcher.setConnection(m_connection);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &CDBusDDETransport::CallerLeft);
}

CDBusDDETransport::~CDBusDDETransport()
{
    if (m_server)
        UnregisterService(*m_server);
}

bool CDBusDDETransport::RegisterService(CDDEServer& server)
{
    if (m_server)
        return false;
    m_wanted = &server;
    if (!m_connection.registerObject(QString::fromLatin1(kKelvarisDDEPath), this,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)) {
        KTRACE(lcDde) << "DDE object not registered:" << m_connection.lastError().message();
        return false;
    }
    m_server = &server;
    return true;
}

void CDBusDDETransport::UnregisterService(CDDEServer& server)
{
    if (m_wanted == &server)
        m_wanted = nullptr;
    if (m_server != &server)
        return;
    m_connection.unregisterObject(QString::fromLatin1(kKelvarisDDEPath));
    m_server = nullptr;
    m_byKey.clear();
    m_convs.clear();
    m_watcher.setWatchedServices({});
}

bool CDBusDDETransport::Reconnect(QDBusConnection connection)
{
    if (m_server)
        m_connection.unregisterObject(QString::fromLatin1(kKelvarisDDEPath));
    for (auto it = m_convs.cbegin(); it != m_convs.cend(); ++it) {
        if (m_server)
            m_server->OnDisconnect(it.key());
    }
    m_byKey.clear();
    m_convs.clear();
    m_watcher.setWatchedServices({});
    m_server = nullptr;
    m_connection = std::move(connection);
    m_watcher.setConnection(m_connection);
    return m_wanted && RegisterService(*m_wanted);
}

void CDBusDDETransport::PostAdvise(CDDEServer& server, const QString& topic, const QString& item)
{
    if (&server != m_server)
        return;
    for (const CDDEAdviseLink& link : server.AdviseLinks(topic, item)) {
        const auto conv = m_convs.constFind(link.m_conv);
        if (conv == m_convs.cend())
            continue;
        const std::optional<QByteArray> data = server.OnRequest(topic, item, link.m_format);
        if (!data)
            continue;
        QDBusMessage signal
            = QDBusMessage::createTargetedSignal(conv->m_caller, QString::fromLatin1(kKelvarisDDEPath),
                QString::fromLatin1(kKelvarisDDEInterface), QStringLiteral("Advise"));
        signal << topic << item << DDEFormatName(link.m_format) << *data;
        m_connection.send(signal);
    }
}

QString CDBusDDETransport::Caller() const
{
    return calledFromDBus() ? message().service() : QString();
}

HDDECONV CDBusDDETransport::Conversation(const QString& topic)
{
    if (!m_server || !m_server->OnConnect(topic))
        return 0;
    const QString caller = Caller();
    const QString key = caller + QLatin1Char('\n') + topic.toLower();
    if (const auto found = m_byKey.constFind(key); found != m_byKey.cend())
        return *found;
    const HDDECONV conv = m_nextConv++;
    m_byKey.insert(key, conv);
    m_convs.insert(conv, CConv { caller, topic });
    if (!caller.isEmpty() && !m_watcher.watchedServices().contains(caller))
        m_watcher.addWatchedService(caller);
    m_server->OnConnectConfirm(conv, topic);
    return conv;
}

void CDBusDDETransport::CallerLeft(const QString& caller)
{
    m_watcher.removeWatchedService(caller);
    for (auto it = m_convs.begin(); it != m_convs.end();) {
        if (it->m_caller != caller) {
            ++it;
            continue;
        }
        if (m_server)
            m_server->OnDisconnect(it.key());
        m_byKey.remove(caller + QLatin1Char('\n') + it->m_topic.toLower());
        it = m_convs.erase(it);
    }
}

bool CDBusDDETransport::Connect(const QString& topic)
{
    return Conversation(topic) != 0;
}

QList<CDDEServiceTopic> CDBusDDETransport::WildConnect(const QString& service, const QString& topic)
{
    QList<CDDEServiceTopic> pairs;
    if (!m_server)
        return pairs;
    for (const auto& [pairService, pairTopic] : m_server->OnWildConnect(service, topic))
        pairs.append(CDDEServiceTopic { pairService, pairTopic });
    return pairs;
}

void CDBusDDETransport::Disconnect(const QString& topic)
{
    const QString key = Caller() + QLatin1Char('\n') + topic.toLower();
    const auto found = m_byKey.constFind(key);
    if (found == m_byKey.cend())
        return;
    const HDDECONV conv = *found;
    m_byKey.erase(found);
    m_convs.remove(conv);
    if (m_server)
        m_server->OnDisconnect(conv);
}

bool CDBusDDETransport::Request(
    const QString& topic, const QString& item, const QString& format, QByteArray& data)
{
    data.clear();
    if (Conversation(topic) == 0)
        return false;
    const std::optional<QByteArray> value = m_server->OnRequest(topic, item, DDEFormatFromName(format));
    if (!value)
        return false;
    data = *value;
    return true;
}

bool CDBusDDETransport::Poke(
    const QString& topic, const QString& item, const QString& format, const QByteArray& data)
{
    const HDDECONV conv = Conversation(topic);
    if (conv == 0)
        return false;
    const bool ownInstance = Caller() == m_connection.baseService();
    return m_server->OnPoke(conv, topic, item, DDEFormatFromName(format), data, ownInstance);
}

bool CDBusDDETransport::Execute(const QString& topic, const QByteArray& data)
{
    return Conversation(topic) != 0 && m_server->OnExecute(topic, data);
}

bool CDBusDDETransport::AdviseStart(const QString& topic, const QString& item, const QString& format)
{
    const HDDECONV conv = Conversation(topic);
    return conv != 0 && m_server->OnAdviseStart(conv, topic, item, DDEFormatFromName(format));
}

bool CDBusDDETransport::AdviseStop(const QString& topic, const QString& item)
{
    const HDDECONV conv = Conversation(topic);
    return conv != 0 && m_server->OnAdviseStop(conv, topic, item);
}
