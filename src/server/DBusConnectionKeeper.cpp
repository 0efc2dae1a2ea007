#include "server/DBusConnectionKeeper.h"

#include <algorithm>
#include <atomic>
#include <utility>

#include <QDBusError>

#include "support/Trace.h"

namespace {
// Connection names are unique in the process, so two keepers of the same bus never share one.
std::atomic<int> g_connectionSerial { 0 };
} // namespace

CDBusConnectionKeeper::CDBusConnectionKeeper(
    QDBusConnection::BusType bus, QString what, Category category, QObject* parent)
    : QObject(parent)
    , m_byAddress(false)
    , m_bus(bus)
    , m_what(std::move(what))
    , m_category(category)
    , m_connection(QString())
{
    connect(&m_poll, &QTimer::timeout, this, &CDBusConnectionKeeper::Poll);
    Connect();
}

CDBusConnectionKeeper::CDBusConnectionKeeper(
    QString address, QString what, Category category, QObject* parent)
    : QObject(parent)
    , m_byAddress(true)
    , m_bus(QDBusConnection::SessionBus)
    , m_address(std::move(address))
    , m_what(std::move(what))
    , m_category(category)
    , m_connection(QString())
{
    connect(&m_poll, &QTimer::timeout, this, &CDBusConnectionKeeper::Poll);
    Connect();
}

CDBusConnectionKeeper::~CDBusConnectionKeeper()
{
    if (!m_name.isEmpty())
        QDBusConnection::disconnectFromBus(m_name);
}

QString CDBusConnectionKeeper::BusText() const
{
    if (m_byAddress)
        return m_address;
    return m_bus == QDBusConnection::SystemBus ? QStringLiteral("system bus") : QStringLiteral("session bus");
}

bool CDBusConnectionKeeper::Connect()
{
    // The old connection stays registered under its name and would be handed out again; a fresh
    // name makes Qt open a new socket.
    if (!m_name.isEmpty())
        QDBusConnection::disconnectFromBus(m_name);
    m_name = QStringLiteral("kelvaris-keeper-%1").arg(++g_connectionSerial);
    m_connection = m_byAddress ? QDBusConnection::connectToBus(m_address, m_name)
                               : QDBusConnection::connectToBus(m_bus, m_name);
    if (m_connection.isConnected()) {
        ++m_generation;
        return true;
    }
    KTRACE(m_category) << "no connection to" << m_what << "(" << BusText()
                       << "):" << m_connection.lastError().name() << m_connection.lastError().message();
    if (!m_down) {
        m_down = true;
        m_downSince.start();
    }
    return false;
}

bool CDBusConnectionKeeper::Check()
{
    if (m_connection.isConnected())
        return true;
    if (!m_down) {
        m_down = true;
        m_downSince.start();
        if (const auto more = m_lostLimiter.Allow(); more >= 0)
            qCWarning(m_category).noquote()
                << QStringLiteral("The connection to %1 (%2) was lost; reconnecting%3")
                       .arg(m_what, BusText(), CWarningLimiter::MoreText(more));
    }
    m_lastAttempt.start();
    if (!Connect()) {
        ++m_failures;
        return false;
    }
    m_failures = 0;
    const qint64 goneMs = m_downSince.elapsed();
    m_down = false;
    if (m_generation > 1) {
        if (const auto more = m_restoredLimiter.Allow(); more >= 0)
            qCWarning(m_category).noquote()
                << QStringLiteral("The connection to %1 (%2) was restored after %3 s%4")
                       .arg(m_what, BusText())
                       .arg((goneMs + 500) / 1000)
                       .arg(CWarningLimiter::MoreText(more));
    } else {
        KTRACE(m_category) << "connected to" << m_what << "(" << BusText() << ")";
    }
    Q_EMIT Reconnected();
    return true;
}

void CDBusConnectionKeeper::Poll()
{
    // While the bus stays away, the attempts of the timer are spaced out; a user's Check() always
    // tries.
    if (m_down && m_failures > 0 && m_lastAttempt.isValid()
        && m_lastAttempt.elapsed() < std::min(500LL << std::min(m_failures - 1, 6), qint64(kMaxRetryMs)))
        return;
    Check();
}

void CDBusConnectionKeeper::StartPolling(int ms)
{
    if (ms <= 0) {
        m_poll.stop();
        return;
    }
    m_poll.start(ms);
}
