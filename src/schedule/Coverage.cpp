#include "schedule/Coverage.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "schedule/PageTarget.h"

QList<CGroupCoverage> GroupCoverage(const CPageTargetArray& targets, const CZoneOffsets& offsets,
    qint64 fromMs, qint64 toMs, int minMembers, const QString& groupId)
{
    QList<CGroupCoverage> result;
    for (const CPageTarget& group : targets) {
        if (!group.IsGroup() || (!groupId.isEmpty() && group.m_id != groupId))
            continue;
        CGroupCoverage coverage;
        coverage.id = group.m_id;
        coverage.name = group.m_name;
        if (group.m_takeover)
            coverage.holderId = group.ReadCurrentTargetId();
        // The count of members on duty changes only where a member's duty begins or ends.
        std::vector<std::pair<qint64, int>> changes;
        for (const QString& listed : group.m_members.split(u';', Qt::SkipEmptyParts)) {
            const QString name = listed.trimmed();
            if (name.isEmpty() || coverage.members.contains(name) || coverage.unknownMembers.contains(name))
                continue;
            const CPageTarget* member = targets.FindByName(name);
            if (!member) {
                coverage.unknownMembers << name;
                continue;
            }
            coverage.members << name;
            for (const CDutySpan& span : DutyTimeline(member->m_ranges, offsets, fromMs, toMs)) {
                changes.emplace_back(span.startMs, +1);
                changes.emplace_back(span.endMs, -1);
            }
        }
        if (coverage.holderId.isEmpty() && fromMs < toMs) {
            std::sort(changes.begin(), changes.end());
            int onDuty = 0;
            qint64 at = fromMs;
            size_t i = 0;
            // Walks the moments where the count changes; a stretch below the wanted count is a gap.
            while (at < toMs) {
                while (i < changes.size() && changes[i].first <= at)
                    onDuty += changes[i++].second;
                const qint64 next = i < changes.size() ? std::min(changes[i].first, toMs) : toMs;
                if (onDuty < minMembers) {
                    if (!coverage.gaps.isEmpty() && coverage.gaps.last().endMs == at)
                        coverage.gaps.last().endMs = next;
                    else
                        coverage.gaps.append({ at, next });
                }
                at = next;
            }
        }
        result.append(std::move(coverage));
    }
    return result;
}
