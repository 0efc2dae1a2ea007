// What a gap in a group's cover is: a time the group is on duty by its own plan and fewer of its
// members than it wants are on duty.
#include "schedule/Coverage.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include "schedule/PageTarget.h"

namespace {

qint64 At(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

QString SpansText(const QList<CDutySpan>& spans)
{
    QStringList texts;
    for (const CDutySpan& span : spans)
        texts << QDateTime::fromMSecsSinceEpoch(span.startMs, QTimeZone::utc())
                     .toString(QStringLiteral("dd HH:mm"))
                + u'-'
                + QDateTime::fromMSecsSinceEpoch(span.endMs, QTimeZone::utc())
                      .toString(QStringLiteral("dd HH:mm"));
    return texts.join(u' ');
}

CPageTarget Target(const char* id, const char* ranges, int number = 1)
{
    CPageTarget target;
    target.m_id = QString::fromLatin1(id);
    target.m_name = QString::fromLatin1(id);
    target.m_number = number;
    for (const QString& line : QString::fromLatin1(ranges).split(u' ', Qt::SkipEmptyParts))
        target.m_ranges.AddFromText(line);
    return target;
}

} // namespace

TEST(CoverageTest, AGapIsTheGroupsOwnDutyWithTooFewMembers)
{
    struct CCase
    {
        const char* what;
        const char* members;
        const char* group; // the group's own plan
        int required; // CoverageRequired, -1: not said
        bool takeover;
        const char* holder;
        const char* gaps; // over the 8th and 9th of December 2026, UTC
    };
    // A works 07:00-12:00 and 13:00-20:00 both days; B 06:00-10:00 and C 10:00-14:00 on the 8th.
    const CCase cases[] = {
        { "a day-only desk has no gap at night", "A;B;C", "20261208=07:00-20:00 20261209=07:00-20:00", -1,
            false, "", "09 12:00-09 13:00" },
        { "a group without a plan is on duty all the time", "A;B;C", "", -1, false, "",
            "08 00:00-08 06:00 08 20:00-09 07:00 09 12:00-09 13:00 09 20:00-10 00:00" },
        { "two wanted", "A;B;C", "20261208=06:00-14:00", 2, false, "",
            "08 06:00-08 07:00 08 12:00-08 13:00" },
        { "two wanted: the pieces B and C leave touch, one gap", "B;C", "20261208=06:00-14:00", 2, false, "",
            "08 06:00-08 14:00" },
        { "left out", "A;B;C", "", 0, false, "", "" },
        { "a takeover group without a holder: one member is enough", "A;B;C", "20261209=06:00-14:00", 3, true,
            "", "09 06:00-09 07:00 09 12:00-09 13:00" },
        { "a takeover group with a holder is covered", "A;B;C", "", -1, true, "A", "" },
    };
    CPageTargetArray targets;
    targets.append(Target("A", "20261208=07:00-12:00;13:00-20:00 20261209=07:00-12:00;13:00-20:00"));
    targets.append(Target("B", "20261208=06:00-10:00"));
    targets.append(Target("C", "20261208=10:00-14:00"));
    const CZoneOffsets offsets(QTimeZone::utc(), At("2026-12-08T00:00:00Z"), At("2026-12-10T00:00:00Z"));
    for (const CCase& test : cases) {
        SCOPED_TRACE(test.what);
        CPageTarget group = Target("G", test.group, -1);
        group.m_members = QString::fromLatin1(test.members);
        group.m_coverageRequired = test.required;
        group.m_takeover = test.takeover;
        if (*test.holder)
            group.m_unsavedCurrentTargetId = QString::fromLatin1(test.holder);
        CPageTargetArray all = targets;
        all.append(group);
        const CGroupCoverage coverage
            = CoverageOf(all.at(3), all, offsets, At("2026-12-08T00:00:00Z"), At("2026-12-10T00:00:00Z"), 1);
        EXPECT_EQ(SpansText(coverage.gaps), QString::fromLatin1(test.gaps));
    }
}
