#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

// The counters monitoring reads (the status board's /metrics): counted where things happen, on any
// thread, with relaxed atomics only, so that the socket's answers pay a few nanoseconds for them.
// One instance per process (Metrics()).
class CMetrics
{
public:
    // How a dispatch check was answered.
    enum class ECheck { Send, NotDispatched, Malformed, Count };
    // The upper bounds of the answer-time buckets, in microseconds (the last bucket is +Inf).
    static constexpr std::array<std::int64_t, 10> kBucketsUs { 25, 50, 100, 250, 500, 1000, 2500, 5000, 25000,
        100000 };

    void CountCheck(ECheck result) { Add(m_checks[size_t(result)]); }
    // One request answered on the socket, taking `elapsed`.
    void CountAnswer(std::chrono::nanoseconds elapsed);
    void CountRefused() { Add(m_refused); }
    void CountExpired() { Add(m_expired); }
    // Status board connections closed for too many at once or too many bytes; ended by time.
    void CountWebRefused() { Add(m_webRefused); }
    void CountWebExpired() { Add(m_webExpired); }
    // A warning of a logging category (categories are few and named by static texts).
    void CountWarning(const char* category);

    std::uint64_t Checks(ECheck result) const { return Read(m_checks[size_t(result)]); }
    std::uint64_t Refused() const { return Read(m_refused); }
    std::uint64_t Expired() const { return Read(m_expired); }
    std::uint64_t WebRefused() const { return Read(m_webRefused); }
    std::uint64_t WebExpired() const { return Read(m_webExpired); }
    struct CHistogram
    {
        std::array<std::uint64_t, kBucketsUs.size() + 1> counts {}; // per bucket, not cumulative
        std::uint64_t sumNs = 0;
    };
    CHistogram Answers() const;
    std::map<std::string, std::uint64_t> Warnings() const;

private:
    using Counter = std::atomic<std::uint64_t>;
    static void Add(Counter& counter, std::uint64_t by = 1)
    {
        counter.fetch_add(by, std::memory_order_relaxed);
    }
    static std::uint64_t Read(const Counter& counter) { return counter.load(std::memory_order_relaxed); }

    std::array<Counter, size_t(ECheck::Count)> m_checks {};
    std::array<Counter, kBucketsUs.size() + 1> m_buckets {};
    Counter m_answerNs { 0 };
    Counter m_refused { 0 };
    Counter m_expired { 0 };
    Counter m_webRefused { 0 };
    Counter m_webExpired { 0 };
    mutable std::mutex m_warningsMutex; // guards m_warnings only
    std::map<std::string, std::uint64_t> m_warnings;
};

CMetrics& Metrics();
