#include "service/ServiceNotifier.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <systemd/sd-daemon.h>

#include "support/Liveness.h"
#include "support/Trace.h"
#include "support/Warning.h"

CSystemdNotifier::CSystemdNotifier()
{
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0)
        m_watchdogUsec = usec;
    if (m_watchdogUsec > 0)
        m_feeder = std::thread([this] { Feed(); });
}

CSystemdNotifier::~CSystemdNotifier()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_feeder.joinable())
        m_feeder.join();
}

void CSystemdNotifier::Feed()
{
    const qint64 watchdogMs = qint64(m_watchdogUsec / 1000);
    const auto interval = std::chrono::milliseconds(std::max<qint64>(watchdogMs / 8, 1));
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, interval, [this] { return m_stop; })) {
        using namespace Liveness;
        if (AliveForWatchdog(
                SinceBeatMs(EPart::Engine), WaitingForServerMs(), SinceBeatMs(EPart::Socket), watchdogMs))
            Send("WATCHDOG=1");
    }
}

void CSystemdNotifier::Ready(const QString& status)
{
    Send("READY=1\nSTATUS=" + status.toUtf8());
}

void CSystemdNotifier::CycleDone()
{
    Liveness::Beat(Liveness::EPart::Engine);
}

void CSystemdNotifier::Status(const QString& status)
{
    Send("STATUS=" + status.toUtf8());
}

void CSystemdNotifier::Stopping(const QString& status)
{
    Send("STOPPING=1\nSTATUS=" + status.toUtf8());
}

void CSystemdNotifier::Send(const QByteArray& state)
{
    // The environment is kept: every later notification reads NOTIFY_SOCKET again.
    const int result = sd_notify(0, state.constData());
    if (result < 0) {
        static CWarningLimiter limiter;
        if (const auto more = limiter.Allow(); more >= 0)
            qCWarning(lcApp).noquote()
                << QStringLiteral("The service manager could not be notified: %1%2")
                       .arg(QString::fromLocal8Bit(std::strerror(-result)), CWarningLimiter::MoreText(more));
    }
}
