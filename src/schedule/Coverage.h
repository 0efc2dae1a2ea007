#pragma once

#include <optional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include "schedule/DutyTimeline.h"

class CPageTarget;
class CPageTargetArray;

// The gaps in a group's cover. A gap is a time in which the group is on duty by its own plan
// (always, when it has no ranges) and fewer than the wanted number of its members are on duty by
// the duty timeline; touching pieces are one gap. The wanted number is the group's
// CoverageRequired when its dispatch file says, else the caller's; 0 leaves the group out. A
// takeover group is covered while a holder is set (the dispatch decision then goes by the holder
// alone), and without one while any member is on duty.
struct CGroupCoverage
{
    QString id;
    QString name;
    // The members counted (those the target list knows), and those it does not know.
    QStringList members;
    QStringList unknownMembers;
    QString holderId; // a takeover group's holder, empty without
    int required = 1; // the members wanted on duty; 0: the group is not watched
    QList<CDutySpan> gaps;
};

// The members a group wants on duty for its cover: its CoverageRequired, else `minMembers`; at
// most one for a takeover group; 0 when it is not watched.
int RequiredMembers(const CPageTarget& group, int minMembers);
// The cover of one group over [fromMs, toMs); `minMembers` is wanted where the group does not say.
CGroupCoverage CoverageOf(const CPageTarget& group, const CPageTargetArray& targets,
    const CZoneOffsets& offsets, qint64 fromMs, qint64 toMs, int minMembers);
// Every group of `targets` (or only the one with `groupId`), over [fromMs, toMs).
QList<CGroupCoverage> GroupCoverage(const CPageTargetArray& targets, const CZoneOffsets& offsets,
    qint64 fromMs, qint64 toMs, int minMembers, const QString& groupId = QString());

// The cover of every group over one span, kept between looks: a look recomputes only the groups
// whose member list, holder or members' plans changed since the last look (a plan compares in
// constant time while nobody touched it), and every group when the span, the zone or the wanted
// count changed.
class CCoverageCache
{
public:
    // Returns the number of groups recomputed.
    int Update(const CPageTargetArray& targets, const QTimeZone& zone, qint64 fromMs, qint64 toMs,
        int minMembers = 1);
    // In the order of the target list at the last look.
    const QList<CGroupCoverage>& Groups() const { return m_groups; }
    const CZoneOffsets* Offsets() const { return m_offsets ? &*m_offsets : nullptr; }

private:
    // What a group's cover depends on, besides the span.
    struct CInputs
    {
        QString members;
        QString holder;
        bool takeover = false;
        int required = -1;
        QList<CDispatchRange> plan; // the group's own
        // Per listed member: its plan, or nothing when the target list does not know it.
        QList<std::optional<QList<CDispatchRange>>> plans;
        bool operator==(const CInputs&) const = default;
    };
    static CInputs InputsOf(const CPageTarget& group, const CPageTargetArray& targets);

    std::optional<CZoneOffsets> m_offsets;
    QByteArray m_zoneId;
    qint64 m_fromMs = 0;
    qint64 m_toMs = 0;
    int m_minMembers = 0;
    QList<CGroupCoverage> m_groups;
    QHash<QString, CInputs> m_inputs; // by group ID
};
