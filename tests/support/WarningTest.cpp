#include "support/Warning.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

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
