#pragma once

#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include "engine/CoverageWatch.h"
#include "schedule/DispatchRange.h"
#include "schedule/DutyTimeline.h"
#include "schedule/Moment.h"

class CKelvarisDoc;

// What the status board shows at a moment: each group with the members on duty now, its holder
// and its next change; the receivers on duty; the shift, the barrier/pause, the alarm server's
// reachability and the gaps in cover within 24 hours.
struct CBoardGroup
{
    QString id;
    QString name;
    bool onDuty = false; // the group's own plan
    bool takeover = false;
    QString holderId; // a takeover group's holder, empty without
    QString holderName;
    QStringList onDutyNow; // the members on duty now, in member-list order
    qint64 nextChangeMs = -1; // the next moment a member comes on or goes off duty; -1: none ahead
    QStringList comingOn;
    QStringList goingOff;
};

struct CBoardReceiver
{
    QString id;
    QString name;
    qint64 untilMs = -1; // the end of the present duty; -1 while it lasts beyond the look-ahead
};

struct CBoard
{
    CMoment at;
    QTimeZone zone; // the site's
    bool active = false;
    bool targetsKnown = false;
    bool serverReached = false;
    qint64 lastPushMs = 0;
    qint64 lastGoodCallMs = 0;
    QString shiftName; // empty: no shift
    QString shiftFrom, shiftTo; // "HH:MM"
    QString barrierName; // empty: no barrier/pause
    int barrierType = 0;
    QString barrierFrom, barrierTo;
    QList<CBoardGroup> groups;
    QList<CBoardReceiver> receivers;
    QList<CCoverageWatch::CGap> gaps;
};

// Builds boards, keeping each target's duty timeline for a week ahead between requests: a timeline
// is worked out again only when its plan changed or the hour moved on, so a board costs a walk over
// the targets and a lookup per member. Runs on the engine's (user-interface) thread, which alone
// changes the plans; the holders are read under the targets lock.
class CBoardBuilder
{
public:
    static constexpr qint64 kLookAheadMs = 7 * 86'400'000LL;

    CBoard Build(CKelvarisDoc& doc, qint64 nowMs);

    // The timelines worked out at the last build (for the benchmarks and tests).
    int Recomputed() const { return m_recomputed; }

private:
    struct CTimeline
    {
        CDispatchRangeArray ranges; // as the timeline was worked out for
        QList<CDutySpan> spans;
    };
    const CTimeline& TimelineOf(const QString& id, const CDispatchRangeArray& ranges);

    qint64 m_anchorMs = -1; // the timelines cover [anchor, anchor + a day + kLookAheadMs)
    QByteArray m_zoneId;
    std::optional<CZoneOffsets> m_offsets;
    QHash<QString, CTimeline> m_timelines;
    int m_recomputed = 0;
};

// The span of `spans` holding `ms`, or null.
const CDutySpan* SpanAt(const QList<CDutySpan>& spans, qint64 ms);
