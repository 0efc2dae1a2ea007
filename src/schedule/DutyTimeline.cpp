#include "schedule/DutyTimeline.h"

#include <algorithm>
#include <limits>
#include <vector>

#include <QDateTime>

#include "schedule/PageTarget.h"

namespace {
constexpr qint64 kMsPerMinute = 60'000;
constexpr qint64 kMsPerDay = 86'400'000;
// Julian day of 1970-01-01.
constexpr qint64 kEpochJulianDay = 2440588;

// A wall-clock moment as milliseconds since 1970 as if the wall clock were UTC.
qint64 WallMs(qint64 dayNumber, int minute)
{
    return (dayNumber + kBaseJulianDay - kEpochJulianDay) * kMsPerDay + qint64(minute) * kMsPerMinute;
}

void Merge(std::vector<CDutySpan>& spans)
{
    std::sort(spans.begin(), spans.end(), [](const CDutySpan& a, const CDutySpan& b) {
        return a.startMs < b.startMs || (a.startMs == b.startMs && a.endMs < b.endMs);
    });
    size_t kept = 0;
    for (const CDutySpan& span : spans) {
        if (kept > 0 && span.startMs <= spans[kept - 1].endMs)
            spans[kept - 1].endMs = std::max(spans[kept - 1].endMs, span.endMs);
        else
            spans[kept++] = span;
    }
    spans.resize(kept);
}
} // namespace

CZoneOffsets::CZoneOffsets(const QTimeZone& zone, qint64 fromMs, qint64 toMs)
{
    const qint64 start = fromMs - kMsPerDay;
    const qint64 end = toMs + kMsPerDay;
    const QDateTime first = QDateTime::fromMSecsSinceEpoch(start, Qt::UTC);
    m_periods.append({ std::numeric_limits<qint64>::min(), zone.isValid() ? zone.offsetFromUtc(first) : 0 });
    if (!zone.isValid() || !zone.hasTransitions())
        return;
    for (const QTimeZone::OffsetData& change :
        zone.transitions(first, QDateTime::fromMSecsSinceEpoch(end, Qt::UTC))) {
        const qint64 at = change.atUtc.toMSecsSinceEpoch();
        if (at <= start || change.offsetFromUtc == m_periods.last().offsetSeconds)
            continue;
        m_periods.append({ at, change.offsetFromUtc });
    }
}

int CZoneOffsets::OffsetAt(qint64 utcMs) const
{
    const auto after = std::upper_bound(m_periods.cbegin(), m_periods.cend(), utcMs,
        [](qint64 ms, const CPeriod& period) { return ms < period.startMs; });
    return std::prev(after)->offsetSeconds;
}

CDateTime WallClockOfOffset(qint64 utcMs, int offsetSeconds)
{
    // Whole seconds, rounded down also before 1970; the base date's day counted from 1970.
    const qint64 seconds = (utcMs >= 0 ? utcMs / 1000 : (utcMs - 999) / 1000) + offsetSeconds;
    return CDateTime::FromSecondsSinceBase(seconds + (kEpochJulianDay - kBaseJulianDay) * (kMsPerDay / 1000));
}

CDateTime WallClockAt(const CZoneOffsets& offsets, qint64 utcMs)
{
    return WallClockOfOffset(utcMs, offsets.OffsetAt(utcMs));
}

qint64 WallClockMs(const CDateTime& wall)
{
    return WallMs(wall.DayNumber(), 0) + qint64(wall.SecondOfDay()) * 1000;
}

qint64 FirstMomentOfWallClock(const CZoneOffsets& offsets, const CDateTime& wall)
{
    const QList<qint64> moments = MomentsOfWallClock(offsets, wall);
    const qint64 wallMs = WallClockMs(wall);
    return moments.isEmpty() ? wallMs - qint64(offsets.OffsetAt(wallMs)) * 1000 : moments.first();
}

QList<qint64> MomentsOfWallClock(const CZoneOffsets& offsets, const CDateTime& wall)
{
    if (!wall.IsValid())
        return {};
    const qint64 wallMs = WallClockMs(wall);
    QList<qint64> moments;
    const QList<CZoneOffsets::CPeriod>& periods = offsets.Periods();
    for (qsizetype i = 0; i < periods.size(); ++i) {
        // The moment the wall clock shows it with this period's offset, if it lies in the period.
        const qint64 at = wallMs - qint64(periods[i].offsetSeconds) * 1000;
        const qint64 periodEnd
            = i + 1 < periods.size() ? periods[i + 1].startMs : std::numeric_limits<qint64>::max();
        if (at >= periods[i].startMs && at < periodEnd)
            moments.append(at);
    }
    std::sort(moments.begin(), moments.end());
    return moments;
}

QTimeZone SiteTimeZone(const QString& setting, bool* named)
{
    const QByteArray id = setting.trimmed().toUtf8();
    const bool known = !id.isEmpty() && QTimeZone::isTimeZoneIdAvailable(id);
    if (named)
        *named = known;
    return known ? QTimeZone(id) : QTimeZone::systemTimeZone();
}

QList<CDutySpan> DutyTimeline(
    const CDispatchRangeArray& ranges, const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs)
{
    if (fromMs >= toMs)
        return {};
    if (ranges.isEmpty())
        return { { fromMs, toMs } };

    // The wall-clock days that can meet the span: a day either side covers every offset.
    const qint64 firstDay = fromMs / kMsPerDay + (kEpochJulianDay - kBaseJulianDay) - 2;
    const qint64 lastDay = toMs / kMsPerDay + (kEpochJulianDay - kBaseJulianDay) + 2;
    std::vector<CDutySpan> wall;
    for (const CDispatchRange& range : ranges) {
        if (range.m_from >= range.m_to || range.m_to <= 0 || range.m_from >= 24 * 60)
            continue;
        const qint64 day = range.DayNumber();
        if (day == CDispatchRange::kNoDay || day < firstDay || day > lastDay)
            continue;
        wall.push_back(
            { WallMs(day, std::max(range.m_from, 0)), WallMs(day, std::min(range.m_to, 24 * 60)) });
    }
    Merge(wall);

    // Each wall-clock span in real time: in every period of one offset, the moments whose wall
    // clock lies in the span. The hour the clocks skip belongs to no period; the hour they repeat
    // belongs to the periods on both sides of the change.
    const QList<CZoneOffsets::CPeriod>& periods = offsets.Periods();
    std::vector<CDutySpan> real;
    for (const CDutySpan& span : wall) {
        for (qsizetype i = 0; i < periods.size(); ++i) {
            const qint64 offsetMs = qint64(periods[i].offsetSeconds) * 1000;
            const qint64 periodEnd
                = i + 1 < periods.size() ? periods[i + 1].startMs : std::numeric_limits<qint64>::max();
            const qint64 start = std::max({ span.startMs - offsetMs, periods[i].startMs, fromMs });
            const qint64 end = std::min({ span.endMs - offsetMs, periodEnd, toMs });
            if (start < end)
                real.push_back({ start, end });
        }
    }
    Merge(real);
    return QList<CDutySpan>(real.cbegin(), real.cend());
}

QList<CDutySpan> DutyTimeline(const CPageTarget& target, const QTimeZone& zone, qint64 fromMs, qint64 toMs)
{
    return DutyTimeline(target.m_ranges, CZoneOffsets(zone, fromMs, toMs), fromMs, toMs);
}
