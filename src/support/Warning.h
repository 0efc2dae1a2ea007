#pragma once

#include <atomic>
#include <chrono>
#include <limits>

#include <QString>

// Warnings are for what changes what the alarm server is told or how its checks are answered:
// they go to standard error (the journal under systemd) through qCWarning with the part's
// category, whether or not tracing is on; the window program also shows them in its logbook
// and status bar. A warning that can repeat is passed through a limiter, so that a lasting
// fault or a hostile client fills no log:
//
//     static CWarningLimiter limiter;
//     if (const auto more = limiter.Allow(); more >= 0)
//         qCWarning(lcPipe).noquote() << "..." << CWarningLimiter::MoreText(more);
class CWarningLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    explicit CWarningLimiter(std::chrono::seconds interval = std::chrono::minutes(1))
        : m_interval(interval)
    { }

    // -1 when the warning is to be left out (one went out less than an interval ago; it is
    // counted); otherwise the number left out since the last one that went out. Thread-safe.
    long long Allow(Clock::time_point now = Clock::now());
    // Forgets the last warning, so the next one goes out at once (e.g. when a fault ended).
    void Reset();

    // " (N more since the last warning)" for N > 0, otherwise empty.
    static QString MoreText(long long more);

private:
    const std::chrono::seconds m_interval;
    std::atomic<Clock::rep> m_last { kNever };
    std::atomic<long long> m_leftOut { 0 };
    static constexpr Clock::rep kNever = std::numeric_limits<Clock::rep>::min();
};
