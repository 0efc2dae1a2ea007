#include "support/Warning.h"

#include <limits>

long long CWarningLimiter::Allow(Clock::time_point now)
{
    const Clock::rep ticks = now.time_since_epoch().count();
    const Clock::rep interval = std::chrono::duration_cast<Clock::duration>(m_interval).count();
    Clock::rep last = m_last.load(std::memory_order_relaxed);
    for (;;) {
        if (last != kNever && ticks - last < interval) {
            m_leftOut.fetch_add(1, std::memory_order_relaxed);
            return -1;
        }
        // One of several threads racing for the same interval wins; the others count as left out.
        if (m_last.compare_exchange_weak(last, ticks, std::memory_order_relaxed))
            return m_leftOut.exchange(0, std::memory_order_relaxed);
    }
}

void CWarningLimiter::Reset()
{
    m_last.store(kNever, std::memory_order_relaxed);
}

QString CWarningLimiter::MoreText(long long more)
{
    if (more <= 0)
        return QString();
    return QStringLiteral(" (%1 more since the last warning)").arg(more);
}
