#include "support/Metrics.h"

#include <algorithm>

void CMetrics::CountAnswer(std::chrono::nanoseconds elapsed)
{
    const std::int64_t us = elapsed.count() / 1000;
    const auto bucket = std::lower_bound(kBucketsUs.cbegin(), kBucketsUs.cend(), us) - kBucketsUs.cbegin();
    Add(m_buckets[size_t(bucket)]);
    Add(m_answerNs, std::uint64_t(std::max<std::int64_t>(elapsed.count(), 0)));
}

void CMetrics::CountWarning(const char* category)
{
    const std::lock_guard lock(m_warningsMutex);
    ++m_warnings[category ? category : "default"];
}

CMetrics::CHistogram CMetrics::Answers() const
{
    CHistogram histogram;
    for (size_t i = 0; i < m_buckets.size(); ++i)
        histogram.counts[i] = Read(m_buckets[i]);
    histogram.sumNs = Read(m_answerNs);
    return histogram;
}

std::map<std::string, std::uint64_t> CMetrics::Warnings() const
{
    const std::lock_guard lock(m_warningsMutex);
    return m_warnings;
}

CMetrics& Metrics()
{
    static CMetrics metrics;
    return metrics;
}
