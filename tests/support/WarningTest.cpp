#include "support/Warning.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

#include "support/Liveness.h"

namespace {

using namespace std::chrono_literals;
using Clock = CWarningLimiter::Clock;

// The first warning goes out, the repeats within the interval are counted, and the next one
// after it tells how many were left out.
TEST(WarningLimiterTest, OnceAnIntervalWithTheCountLeftOut)
{
    CWarningLimiter limiter(60s);
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(limiter.Allow(start), 0);
    EXPECT_EQ(limiter.Allow(start + 1s), -1);
    EXPECT_EQ(limiter.Allow(start + 59s), -1);
    EXPECT_EQ(limiter.Allow(start + 60s), 2);
    EXPECT_EQ(limiter.Allow(start + 61s), -1);
    limiter.Reset();
    EXPECT_EQ(limiter.Allow(start + 62s), 1);

    EXPECT_TRUE(CWarningLimiter::MoreText(0).isEmpty());
    EXPECT_EQ(CWarningLimiter::MoreText(3), QStringLiteral(" (3 more since the last warning)"));
}

// Threads racing on one limiter: exactly one warning goes out and none is lost from the count.
TEST(WarningLimiterTest, ThreadsShareOneInterval)
{
    CWarningLimiter limiter(60s);
    const Clock::time_point now = Clock::now();
    std::atomic<int> allowed { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                if (limiter.Allow(now) >= 0)
                    ++allowed;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(allowed.load(), 1);
    EXPECT_EQ(limiter.Allow(now + 60s), 3999);
}

} // namespace

// The watchdog is fed while the engine cycles, or waits within one call's bound for a frozen alarm
// server, and the socket thread runs (when it serves); a hung part stops the feed.
TEST(Liveness, TheWatchdogRuleAsksForBothParts)
{
    using Liveness::AliveForWatchdog;
    constexpr qint64 watchdog = 30000;
    struct
    {
        qint64 engineSince, engineWaiting, socketSince;
        bool alive;
    } cases[] = {
        { 900, -1, 500, true }, // both beat just now
        { 14000, -1, -1, true }, // the socket is not served: only the engine counts
        { 16000, -1, 500, false }, // the engine hangs outside a call
        { 16000, 4000, 500, true }, // ... or waits for a frozen alarm server within a call's bound
        { 16000, 8000, 500, false }, // a call past any time-out is a hang
        { -1, -1, 500, false }, // the engine never cycled
        { 900, -1, 7400, true },
        { 900, -1, 7600, false }, // the socket thread stopped beating for a quarter of the interval
    };
    for (const auto& c : cases)
        EXPECT_EQ(AliveForWatchdog(c.engineSince, c.engineWaiting, c.socketSince, watchdog), c.alive)
            << c.engineSince << " " << c.engineWaiting << " " << c.socketSince;

    // The beats themselves: a part not watched has no age.
    Liveness::SetWatched(Liveness::EPart::Socket, false);
    EXPECT_EQ(Liveness::SinceBeatMs(Liveness::EPart::Socket), -1);
    Liveness::SetWatched(Liveness::EPart::Socket, true);
    EXPECT_GE(Liveness::SinceBeatMs(Liveness::EPart::Socket), 0);
    Liveness::SetWatched(Liveness::EPart::Socket, false);
    EXPECT_EQ(Liveness::WaitingForServerMs(), -1);
    {
        const Liveness::CWaitingForServer waiting;
        EXPECT_GE(Liveness::WaitingForServerMs(), 0);
    }
    EXPECT_EQ(Liveness::WaitingForServerMs(), -1);
}
