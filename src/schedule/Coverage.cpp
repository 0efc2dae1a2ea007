#include "schedule/Coverage.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "schedule/PageTarget.h"

namespace {

// The member names of a group, trimmed, each once, in list order.
QStringList MemberNames(const CPageTarget& group)
{
    QStringList names;
    for (const QString& listed : group.m_members.split(u';', Qt::SkipEmptyParts)) {
        const QString name = listed.trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    return names;
}

} // namespace

CGroupCoverage CoverageOf(const CPageTarget& group, const CPageTargetArray& targets,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs, int minMembers)
{
    CGroupCoverage coverage;
    coverage.id = group.m_id;
    coverage.name = group.m_name;
    if (group.m_takeover)
        coverage.holderId = group.ReadCurrentTargetId();
    // The count of members on duty changes only where a member's duty begins or ends.
    std::vector<std::pair<qint64, int>> changes;
    for (const QString& name : MemberNames(group)) {
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
    if (!coverage.holderId.isEmpty() || fromMs >= toMs)
        return coverage;
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
    return coverage;
}

QList<CGroupCoverage> GroupCoverage(const CPageTargetArray& targets, const CZoneOffsets& offsets,
    qint64 fromMs, qint64 toMs, int minMembers, const QString& groupId)
{
    QList<CGroupCoverage> result;
    for (const CPageTarget& group : targets) {
        if (group.IsGroup() && (groupId.isEmpty() || group.m_id == groupId))
            result.append(CoverageOf(group, targets, offsets, fromMs, toMs, minMembers));
    }
    return result;
}

CCoverageCache::CInputs CCoverageCache::InputsOf(const CPageTarget& group, const CPageTargetArray& targets)
{
    CInputs inputs;
    inputs.members = group.m_members;
    inputs.takeover = group.m_takeover;
    if (group.m_takeover)
        inputs.holder = group.ReadCurrentTargetId();
    for (const QString& name : MemberNames(group)) {
        const CPageTarget* member = targets.FindByName(name);
        if (member)
            inputs.plans.append(member->m_ranges); // shared, not copied: compared by address first
        else
            inputs.plans.append(std::nullopt);
    }
    return inputs;
}

int CCoverageCache::Update(
    const CPageTargetArray& targets, const QTimeZone& zone, qint64 fromMs, qint64 toMs, int minMembers)
{
    if (!m_offsets || zone.id() != m_zoneId || fromMs != m_fromMs || toMs != m_toMs
        || minMembers != m_minMembers) {
        m_offsets.emplace(zone, fromMs, toMs);
        m_zoneId = zone.id();
        m_fromMs = fromMs;
        m_toMs = toMs;
        m_minMembers = minMembers;
        m_inputs.clear();
    }
    QHash<QString, CGroupCoverage> before;
    for (CGroupCoverage& group : m_groups)
        before.insert(group.id, std::move(group));
    m_groups.clear();
    QHash<QString, CInputs> inputs;
    int recomputed = 0;
    for (const CPageTarget& group : targets) {
        if (!group.IsGroup())
            continue;
        CInputs now = InputsOf(group, targets);
        const auto known = m_inputs.constFind(group.m_id);
        auto kept = before.find(group.m_id);
        if (known != m_inputs.cend() && kept != before.end() && *known == now && kept->name == group.m_name) {
            m_groups.append(std::move(*kept));
        } else {
            m_groups.append(CoverageOf(group, targets, *m_offsets, fromMs, toMs, minMembers));
            ++recomputed;
        }
        inputs.insert(group.m_id, std::move(now));
    }
    m_inputs = std::move(inputs);
    return recomputed;
}
