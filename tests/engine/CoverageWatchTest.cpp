// The engine's watch over the groups' cover: warnings as gaps appear and close, one page per gap
// to the targets CoverageNotify names, and none again after a restart.
#include "engine/CoverageWatch.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"
#include "support/Trace.h"

#include "fakes/FakeServerCommand.h"
#include "fakes/WarningCapture.h"

namespace {

CPageTarget Receiver(const char* id, const char* name, QStringList lines)
{
    CPageTarget target;
    target.m_id = QString::fromLatin1(id);
    target.m_name = QString::fromLatin1(name);
    target.m_number = 1;
    for (const QString& line : lines)
        target.m_ranges.AddFromText(line);
    return target;
}

// A group of `members` with its own plan (one dispatch line, none when empty) and CoverageRequired.
CPageTarget Group(
    const char* id, const char* name, const char* members, const char* plan = "", int required = -1)
{
    CPageTarget group = Receiver(id, name, *plan ? QStringList { QString::fromLatin1(plan) } : QStringList());
    group.m_number = -1;
    group.m_members = QString::fromLatin1(members);
    group.m_coverageRequired = required;
    return group;
}

// A configuration in Berlin's zone that pages the target with ID 9.
QString WriteConfig(const QTemporaryDir& dir)
{
    const QString config = dir.filePath(QStringLiteral("kelvaris.cfg"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        ADD_FAILURE() << "cannot write " << config.toStdString();
    file.write("[Settings]\r\nTimeZone=Europe/Berlin\r\nCoverageNotify=9\r\n");
    return config;
}

} // namespace

TEST(CoverageWatchTest, GapsAreWarnedAndPagedOnceAlsoAcrossARestart)
{
    QTemporaryDir dir;
    const QString config = WriteConfig(dir);

    CPageTargetArray targets;
    // Anna covers the desk but for 02:00-04:00 tonight; Bert is never on duty.
    targets.append(Receiver("1", "Anna",
        { QStringLiteral("20261208=00:00-24:00"), QStringLiteral("20261209=00:00-02:00;04:00-24:00"),
            QStringLiteral("20261210=00:00-24:00") }));
    targets.append(Receiver("2", "Bert", { QStringLiteral("20200101=08:00-09:00") }));
    targets.append(Receiver("9", "Supervisor", {}));
    targets.append(Group("40", "Desk", "Anna;Bert"));

    const CDateTime now(2026, 12, 8, 12, 0, 0);
    CFakeServerCommandFactory server;
    {
        CWarningCapture warnings(lcEngine());
        CCoverageWatch watch;
        EXPECT_TRUE(watch.Update(targets, now, config, server));
        EXPECT_TRUE(watch.Text().startsWith(QStringLiteral("Desk "))) << watch.Text().toStdString();
        ASSERT_EQ(server.Commands().size(), 1) << server.Commands().join(u'\n').toStdString();
        EXPECT_TRUE(server.Commands()[0].startsWith(
            QStringLiteral("[send2(\"Supervisor\",\"Nobody in Desk is on duty ")))
            << server.Commands()[0].toStdString();
        ASSERT_EQ(warnings.Lines().size(), 1);
        EXPECT_TRUE(warnings.Lines()[0].startsWith(QStringLiteral("coverage: nobody in Desk is on duty ")));

        // Looked at again: nothing new, nothing sent again.
        EXPECT_FALSE(watch.Update(targets, CDateTime(2026, 12, 8, 12, 0, 30), config, server));
        EXPECT_EQ(server.Commands().size(), 1);

        // A restarted program sees the same gap: it was paged already, and the data folder
        // remembers it.
        CCoverageWatch restarted;
        restarted.Update(targets, CDateTime(2026, 12, 8, 12, 0, 45), config, server);
        EXPECT_EQ(server.Commands().size(), 1);

        // An edit closes the gap before it begins: said, and the text is empty.
        targets[0].m_ranges.AddFromText(QStringLiteral("20261209=02:00-04:00"));
        EXPECT_TRUE(watch.Update(targets, CDateTime(2026, 12, 8, 12, 1, 0), config, server));
        EXPECT_TRUE(watch.Text().isEmpty());
        // (The restarted watch said the gap once more: a program warns of what it finds at start.)
        EXPECT_EQ(warnings.Count("coverage: nobody in Desk is on duty "), 2);
        EXPECT_TRUE(warnings.Lines().last().contains(QStringLiteral("is closed")))
            << warnings.Text().toStdString();
    }
}

TEST(CoverageWatchTest, AGapStaysOneGapAsTimeMovesOnAndEditsMoveItsEnds)
{
    QTemporaryDir dir;
    const QString config = WriteConfig(dir);

    // Nobody covers the desk from the 8th at 06:00 to the 11th; the ward is covered.
    CPageTargetArray targets;
    targets.append(Receiver("1", "Anna",
        { QStringLiteral("20261207=00:00-24:00"), QStringLiteral("20261208=00:00-06:00"),
            QStringLiteral("20261211=00:00-24:00"), QStringLiteral("20261212=00:00-24:00") }));
    targets.append(Receiver("2", "Carl", { QStringLiteral("20261201=00:00-00:01") }));
    targets.append(Receiver("9", "Supervisor", {}));
    targets.append(Group("40", "Desk", "Anna"));
    targets.append(Group("41", "Ward", "Supervisor"));

    CFakeServerCommandFactory server;
    CWarningCapture warnings(lcEngine());
    CCoverageWatch watch;
    watch.Update(targets, CDateTime(2026, 12, 8, 5, 0, 0), config, server);
    EXPECT_EQ(watch.Recomputed(), 2);
    ASSERT_EQ(watch.Gaps().size(), 1);
    EXPECT_EQ(server.Commands().size(), 1);

    // Hours and days on, an edit that ends the gap earlier, a restart: always the same gap, told of
    // once; the same day recomputes only the group the edit touched.
    watch.Update(targets, CDateTime(2026, 12, 8, 23, 0, 0), config, server);
    EXPECT_EQ(watch.Recomputed(), 0);
    targets[0].m_ranges.AddFromText(QStringLiteral("20261210=18:00-24:00"));
    watch.Update(targets, CDateTime(2026, 12, 8, 23, 30, 0), config, server);
    EXPECT_EQ(watch.Recomputed(), 1);
    watch.Update(targets, CDateTime(2026, 12, 10, 7, 0, 0), config, server);
    CCoverageWatch restarted;
    restarted.Update(targets, CDateTime(2026, 12, 10, 8, 0, 0), config, server);
    ASSERT_EQ(restarted.Gaps().size(), 1);
    EXPECT_TRUE(restarted.SpanText(restarted.Gaps()[0].span).endsWith(QStringLiteral(" 08:00-18:00")));
    EXPECT_EQ(server.Commands().size(), 1) << server.Commands().join(u'\n').toStdString();
    EXPECT_FALSE(warnings.Text().contains(QStringLiteral("is closed"))) << warnings.Text().toStdString();
}

// A gap is warned and paged once it begins within a day, not before; and a group that is off duty
// by its own plan has no gap then, nor one that says CoverageRequired=0.
TEST(CoverageWatchTest, AGapIsToldOfADayAheadAndOnlyInTheGroupsOwnHours)
{
    QTemporaryDir dir;
    const QString config = WriteConfig(dir);
    CPageTargetArray targets;
    // Anna is on duty all week but for the 10th 04:00-06:00 (Berlin).
    targets.append(Receiver("1", "Anna",
        { QStringLiteral("20261207=00:00-24:00"), QStringLiteral("20261208=00:00-24:00"),
            QStringLiteral("20261209=00:00-24:00"), QStringLiteral("20261210=00:00-04:00;06:00-24:00") }));
    targets.append(Receiver("9", "Supervisor", {}));
    targets.append(Group("40", "Desk", "Anna"));
    targets.append(Group("41", "Day desk", "Anna", "20261210=07:00-20:00"));
    targets.append(Group("42", "Quiet", "Anna", "", 0));

    CFakeServerCommandFactory server;
    CWarningCapture warnings(lcEngine());
    CCoverageWatch watch;
    // The 8th at 22:00 Berlin: the gap is 30 hours ahead.
    watch.Update(targets, CDateTime(2026, 12, 8, 22, 0, 0), config, server);
    EXPECT_TRUE(watch.Gaps().isEmpty());
    EXPECT_TRUE(server.Commands().isEmpty());
    EXPECT_EQ(warnings.Count("coverage:"), 0);
    // Seven hours on it is 23 hours ahead: warned and paged, once, for the desk alone.
    watch.Update(targets, CDateTime(2026, 12, 9, 5, 0, 0), config, server);
    watch.Update(targets, CDateTime(2026, 12, 9, 5, 1, 0), config, server);
    ASSERT_EQ(watch.Gaps().size(), 1);
    EXPECT_EQ(watch.Gaps()[0].groupName, QStringLiteral("Desk"));
    EXPECT_EQ(server.Commands().size(), 1) << server.Commands().join(u'\n').toStdString();
    EXPECT_EQ(warnings.Count("coverage: nobody in Desk is on duty "), 1) << warnings.Text().toStdString();
    EXPECT_TRUE(watch.SpanText(watch.Gaps()[0].span).endsWith(QStringLiteral(" 04:00-06:00")));

    // A gap across the night the clocks go forward names the offsets of its ends.
    targets[0].m_ranges.clear();
    targets[0].m_ranges.AddFromText(QStringLiteral("20270327=00:00-24:00"));
    targets[0].m_ranges.AddFromText(QStringLiteral("20270328=04:00-24:00"));
    CCoverageWatch spring;
    spring.Update(targets, CDateTime(2027, 3, 27, 22, 0, 0), config, server);
    ASSERT_EQ(spring.Gaps().size(), 1);
    EXPECT_TRUE(
        spring.SpanText(spring.Gaps()[0].span).endsWith(QStringLiteral(" 00:00 (+01:00)-04:00 (+02:00)")))
        << spring.SpanText(spring.Gaps()[0].span).toStdString();
}
