#include "webui/Board.h"

#include <algorithm>
#include <limits>
#include <mutex>

#include <QSet>

#include "engine/KelvarisDoc.h"
#include "schedule/DateTime.h"

namespace {
QString ClockText(const CDateTime& time)
{
    return MinuteOfDayText(time.SecondOfDay() / 60);
}
} // namespace

const CDutySpan* SpanAt(const QList<CDutySpan>& spans, qint64 ms)
{
    // The first span ending after the moment holds it when it has begun.
    const auto it = std::upper_bound(spans.cbegin(), spans.cend(), ms,
        [](qint64 value, const CDutySpan& span) { return value < span.endMs; });
    return it != spans.cend() && it->startMs <= ms ? &*it : nullptr;
}

const CBoardBuilder::CTimeline& CBoardBuilder::TimelineOf(
    const QString& id, const CDispatchRangeArray& ranges)
{
    auto it = m_timelines.find(id);
    // Comparing a plan nobody touched costs nothing: both share one list.
    if (it != m_timelines.end() && it->ranges == ranges)
        return *it;
    ++m_recomputed;
    CTimeline timeline { ranges,
        DutyTimeline(ranges, *m_offsets, m_anchorMs, m_anchorMs + 3'600'000 + kLookAheadMs) };
    if (it == m_timelines.end())
        it = m_timelines.insert(id, std::move(timeline));
    else
        *it = std::move(timeline);
    return *it;
}

CBoard CBoardBuilder::Build(CKelvarisDoc& doc, qint64 nowMs)
{
    CBoard board;
    const QTimeZone& zone = doc.SiteZone();
    board.at = MomentAt(zone, nowMs);
    board.zone = zone;
    board.active = doc.IsActive();
    board.targetsKnown = doc.TargetListKnown();
    board.serverReached = doc.ServerReached();
    board.lastPushMs = doc.LastPushMs();
    board.lastGoodCallMs = doc.LastGoodCallMs();
    if (doc.IsActive() && !doc.CurrentShift().m_name.isEmpty()) {
        board.shiftName = doc.CurrentShift().m_name;
        board.shiftFrom = ClockText(doc.CurrentShift().m_startTime);
        board.shiftTo = ClockText(doc.CurrentShift().m_endTime);
    }
    if (doc.IsActive() && !doc.CurrentBarrier().m_name.isEmpty()) {
        board.barrierName = doc.CurrentBarrier().m_name;
        board.barrierType = doc.CurrentBarrier().m_barrierType;
        board.barrierFrom = ClockText(doc.CurrentBarrier().m_startTime);
        board.barrierTo = ClockText(doc.CurrentBarrier().m_endTime);
    }
    for (const CCoverageWatch::CGap& gap : doc.Coverage().Gaps()) {
        if (gap.span.endMs > nowMs && gap.span.startMs < nowMs + CCoverageWatch::kWindowMs)
            board.gaps.append(gap);
    }

    const qint64 anchor = nowMs - nowMs % 3'600'000;
    if (anchor != m_anchorMs || zone.id() != m_zoneId || !m_offsets) {
        m_timelines.clear();
        m_anchorMs = anchor;
        m_zoneId = zone.id();
        m_offsets.emplace(zone, anchor, anchor + 3'600'000 + kLookAheadMs);
    }
    const qint64 endMs = anchor + 3'600'000 + kLookAheadMs;
    m_recomputed = 0;

    // The plans change on this thread only; a holder may be set by the socket's thread meanwhile.
    const CPageTargetArray& targets = doc.PageTargets();
    QHash<QString, QString> holders;
    {
        const std::lock_guard lock(doc.TargetsMutex());
        for (const CPageTarget& target : targets) {
            if (target.IsGroup() && target.m_takeover)
                holders.insert(target.m_id, target.ReadCurrentTargetId());
        }
    }

    for (const CPageTarget& target : targets) {
        const CTimeline& timeline = TimelineOf(target.m_id, target.m_ranges);
        if (!target.IsGroup()) {
            if (const CDutySpan* span = SpanAt(timeline.spans, nowMs))
                board.receivers.append(
                    { target.m_id, target.m_name, span->endMs >= endMs ? -1 : span->endMs });
            continue;
        }
        CBoardGroup group;
        group.id = target.m_id;
        group.name = target.m_name;
        group.onDuty = SpanAt(timeline.spans, nowMs) != nullptr;
        group.takeover = target.m_takeover;
        group.holderId = holders.value(target.m_id);
        if (!group.holderId.isEmpty()) {
            const CPageTarget* holder = targets.FindById(group.holderId);
            group.holderName = holder ? holder->m_name : group.holderId;
        }
        // Each member's duty now, and the next moment one comes on or goes off.
        struct CMember
        {
            QString name;
            const QList<CDutySpan>* spans;
            bool on;
        };
        QList<CMember> members;
        qint64 next = std::numeric_limits<qint64>::max();
        for (const QString& memberName : target.m_members.split(u';', Qt::SkipEmptyParts)) {
            const CPageTarget* member = targets.FindByName(memberName);
            if (!member || member->IsGroup())
                continue;
            const QList<CDutySpan>& spans = TimelineOf(member->m_id, member->m_ranges).spans;
            const CDutySpan* now = SpanAt(spans, nowMs);
            members.append({ member->m_name, &spans, now != nullptr });
            if (now) {
                group.onDutyNow.append(member->m_name);
                if (now->endMs < endMs)
                    next = std::min(next, now->endMs);
            } else {
                const auto later = std::upper_bound(spans.cbegin(), spans.cend(), nowMs,
                    [](qint64 value, const CDutySpan& span) { return value < span.startMs; });
                if (later != spans.cend())
                    next = std::min(next, later->startMs);
            }
        }
        if (next != std::numeric_limits<qint64>::max()) {
            group.nextChangeMs = next;
            for (const CMember& member : std::as_const(members)) {
                const bool then = SpanAt(*member.spans, next) != nullptr;
                if (then && !member.on)
                    group.comingOn.append(member.name);
                else if (!then && member.on)
                    group.goingOff.append(member.name);
            }
        }
        board.groups.append(std::move(group));
    }
    // Targets that left the list take their timelines with them.
    if (m_timelines.size() > targets.size()) {
        for (auto it = m_timelines.begin(); it != m_timelines.end();)
            it = targets.FindById(it.key()) ? std::next(it) : m_timelines.erase(it);
    }
    return board;
}
