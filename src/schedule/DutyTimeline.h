#pragma once

#include <QList>
#include <QTimeZone>
#include <QtGlobal>

#include "schedule/DispatchRange.h"

class CPageTarget;

// One span of duty in real time: UTC milliseconds since 1970, the end exclusive.
struct CDutySpan
{
    qint64 startMs = 0;
    qint64 endMs = 0;
    bool operator==(const CDutySpan&) const = default;
};

// The offsets from UTC a zone has over a span of real time, read once for many timelines.
class CZoneOffsets
{
public:
    // The zone's offsets from a day before `fromMs` to a day after `toMs`.
    CZoneOffsets(const QTimeZone& zone, qint64 fromMs, qint64 toMs);

    // The offset in seconds in force at a UTC moment.
    int OffsetAt(qint64 utcMs) const;

    struct CPeriod
    {
        qint64 startMs; // the first period starts before the span
        int offsetSeconds;
    };
    const QList<CPeriod>& Periods() const { return m_periods; }

private:
    QList<CPeriod> m_periods;
};

// The real-time spans in [fromMs, toMs) in which the dispatch decision says "on duty" for a
// dispatch plan, by the decision's own rule: a moment is on duty when a range has the date of
// the moment's wall clock in the zone and from <= its minute of the day < to. So a range that
// lies in the hour the clocks skip has no duty at all, and one in the hour they repeat is on
// duty in both passes of it. A plan without ranges is on duty at every moment. Touching and
// overlapping ranges, across midnight too, make one span; the spans are sorted and disjoint.
QList<CDutySpan> DutyTimeline(
    const CDispatchRangeArray& ranges, const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs);
QList<CDutySpan> DutyTimeline(const CPageTarget& target, const QTimeZone& zone, qint64 fromMs, qint64 toMs);

// The wall-clock moment of a UTC moment in the zone the offsets were read for (seconds kept), as
// the alarm server would write it in a request.
CDateTime WallClockAt(const CZoneOffsets& offsets, qint64 utcMs);
// The wall-clock moment of a UTC moment at an offset from UTC (seconds kept).
CDateTime WallClockOfOffset(qint64 utcMs, int offsetSeconds);

// A wall-clock moment as milliseconds since 1970, as if the wall clock were UTC.
qint64 WallClockMs(const CDateTime& wall);
// The real moment (UTC milliseconds) the zone's wall clock shows `wall` at: the first pass in the
// hour the clocks repeat, and for a time they skip the moment as far after the change as the time
// lies after the gap's start.
qint64 FirstMomentOfWallClock(const CZoneOffsets& offsets, const CDateTime& wall);

// The real moments (UTC milliseconds) at which the zone's wall clock shows `wall`, earlier first:
// none in the hour the clocks skip, two in the hour they repeat, one otherwise (none for an
// invalid moment).
QList<qint64> MomentsOfWallClock(const CZoneOffsets& offsets, const CDateTime& wall);

// The zone the site's wall clock keeps: the zone the setting names (an IANA name such as
// "Europe/Berlin"), the system's when it is empty or names no zone Qt knows; `named` says whether
// the setting named a zone that is known.
QTimeZone SiteTimeZone(const QString& setting, bool* named = nullptr);
