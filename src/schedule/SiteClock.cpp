#include "schedule/SiteClock.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>
#include <mutex>

#include <QDateTime>

#include "schedule/DutyTimeline.h"

namespace {

constexpr qint64 kHourMs = 3'600'000;

std::atomic<RealTimeSource> g_realTime { nullptr };

// The zone set; generation 0 is the system's zone, read through the C library (which follows TZ).
std::mutex g_zoneMutex;
std::shared_ptr<const QTimeZone> g_zone;
std::atomic<quint64> g_generation { 0 };
std::atomic<quint64> g_lastGeneration { 0 };

// Each thread keeps the offset it read last and the span of real time it holds for, so a clock
// read costs a comparison, not a zone look-up.
struct COffsetCache
{
    quint64 generation = 0;
    qint64 fromMs = 0;
    qint64 toMs = 0;
    int offsetSeconds = 0;
};
thread_local COffsetCache t_cache;

CDateTime SystemZoneWallClock(qint64 utcMs)
{
    const time_t seconds = time_t(utcMs >= 0 ? utcMs / 1000 : (utcMs - 999) / 1000);
    tm parts {};
    if (!localtime_r(&seconds, &parts))
        return CDateTime::Invalid();
    return CDateTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min,
        std::min(parts.tm_sec, 59));
}

} // namespace

void SetSiteClockZone(const QTimeZone& zone)
{
    const std::lock_guard<std::mutex> lock(g_zoneMutex);
    if (!zone.isValid()) {
        g_zone.reset();
        g_generation.store(0, std::memory_order_release);
        return;
    }
    if (g_zone && g_zone->id() == zone.id() && g_generation.load(std::memory_order_relaxed) != 0)
        return;
    g_zone = std::make_shared<const QTimeZone>(zone);
    g_generation.store(g_lastGeneration.fetch_add(1) + 1, std::memory_order_release);
}

QTimeZone SetSiteClockZoneFrom(const QString& setting, bool* unknown)
{
    bool named = false;
    const QTimeZone zone = SiteTimeZone(setting, &named);
    if (unknown)
        *unknown = !named && !setting.trimmed().isEmpty();
    SetSiteClockZone(named ? zone : QTimeZone());
    return zone;
}

QTimeZone SiteClockZone()
{
    const std::lock_guard<std::mutex> lock(g_zoneMutex);
    return g_zone ? *g_zone : QTimeZone::systemTimeZone();
}

void SetRealTimeSource(RealTimeSource source)
{
    g_realTime.store(source, std::memory_order_release);
}

qint64 CurrentUtcMs()
{
    if (const RealTimeSource source = g_realTime.load(std::memory_order_acquire))
        return source();
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

CDateTime SiteWallClockAt(qint64 utcMs)
{
    const quint64 generation = g_generation.load(std::memory_order_acquire);
    if (generation == 0)
        return SystemZoneWallClock(utcMs);
    COffsetCache& cache = t_cache;
    if (cache.generation != generation || utcMs < cache.fromMs || utcMs >= cache.toMs) {
        std::shared_ptr<const QTimeZone> zone;
        {
            const std::lock_guard<std::mutex> lock(g_zoneMutex);
            zone = g_zone;
        }
        if (!zone)
            return SystemZoneWallClock(utcMs);
        const QDateTime at = QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc());
        cache.offsetSeconds = zone->offsetFromUtc(at);
        cache.fromMs = utcMs;
        cache.toMs = utcMs + kHourMs;
        if (zone->hasTransitions()) {
            const QTimeZone::OffsetData next = zone->nextTransition(at);
            if (next.atUtc.isValid())
                cache.toMs = std::min(cache.toMs, next.atUtc.toMSecsSinceEpoch());
        }
        cache.generation = generation;
    }
    return WallClockOfOffset(utcMs, cache.offsetSeconds);
}
