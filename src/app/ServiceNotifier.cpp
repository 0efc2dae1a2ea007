#include "app/ServiceNotifier.h"

#include <cstring>
#include <systemd/sd-daemon.h>

#include "support/Trace.h"
#include "support/Warning.h"

CSystemdNotifier::CSystemdNotifier()
{
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0)
        m_watchdogUsec = usec;
}

void CSystemdNotifier::Ready(const QString& status)
{
    Send("READY=1\nSTATUS=" + status.toUtf8());
}

void CSystemdNotifier::CycleDone()
{
    if (m_watchdogUsec == 0)
        return;
    const qint64 quarterMs = static_cast<qint64>(m_watchdogUsec / 4000);
    if (m_sinceFed.isValid() && !m_sinceFed.hasExpired(quarterMs))
        return;
    m_sinceFed.start();
    Send("WATCHDOG=1");
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
