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

int RequiredMembers(const CPageTarget& group, int minMembers)
{
    const int required = group.m_coverageRequired >= 0 ? group.m_coverageRequired : minMembers;
    // One member at a time holds a takeover group's duty.
    return group.m_takeover ? std::min(required, 1) : required;
}

CGroupCoverage CoverageOf(const CPageTarget& group, const CPageTargetArray& targets,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs, int minMembers)
{
    CGroupCoverage coverage;
    coverage.id = group.m_id;
    coverage.name = group.m_name;
    coverage.required = RequiredMembers(group, minMembers);
    if (group.m_takeover)
        coverage.holderId = group.ReadCurrentTargetId();
    // The count of members on duty changes only where a member's duty begins or ends; whether the
    // group itself is on duty, where its own plan's duty does.
    struct CChange
    {
        qint64 at;
        int members;
        int group;
    };
    std::vector<CChange> changes;
    for (const QString& name : MemberNames(group)) {
        const CPageTarget* member = targets.FindByName(name);
        if (!member) {
            coverage.unknownMembers << name;
            continue;
        }
        coverage.members << name;
        for (const CDutySpan& span : DutyTimeline(member->m_ranges, offsets, fromMs, toMs)) {
            changes.push_back({ span.startMs, +1, 0 });
            changes.push_back({ span.endMs, -1, 0 });
        }
    }
    if (!coverage.holderId.isEmpty() || coverage.required <= 0 || fromMs >= toMs)
        return coverage;
    for (const CDutySpan& span : DutyTimeline(group.m_ranges, offsets, fromMs, toMs)) {
        changes.push_back({ span.startMs, 0, +1 });
        changes.push_back({ span.endMs, 0, -1 });
    }
    std::sort(changes.begin(), changes.end(), [](const CChange& a, const CChange& b) { return a.at < b.at; });
    int onDuty = 0;
    int groupOnDuty = 0;
    qint64 at = fromMs;
    size_t i = 0;
    // Walks the moments where a count changes; a stretch of the group's duty below the wanted
    // count is a gap, and one that touches the gap before it lengthens that gap.
    while (at < toMs) {
        while (i < changes.size() && changes[i].at <= at) {
            onDuty += changes[i].members;
            groupOnDuty += changes[i++].group;
        }
        const qint64 next = i < changes.size() ? std::min(changes[i].at, toMs) : toMs;
        if (groupOnDuty > 0 && onDuty < coverage.required) {
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
    inputs.required = group.m_coverageRequired;
    inputs.plan = group.m_ranges;
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
