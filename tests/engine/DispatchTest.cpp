#include "engine/Dispatch.h"

#include <gtest/gtest.h>
#include <optional>

#include <QFile>
#include <QLoggingCategory>
#include <QStringList>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"

#include "ConfigLocationScope.h"

namespace {

// Receivers Anna (A1, on duty 2024-03-04 08:00-16:00), Bert (B2, the same) and Carl (C3, no
// ranges, so always on duty); the takeover group Service North (G40, members Anna and Bert), the
// plain group Service South (P50) and Carl flagged for takeover although he is a receiver.
class DispatchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_location.emplace(m_dir.filePath(QStringLiteral("kelvaris.cfg")));

        Add(QStringLiteral("A1"), QStringLiteral("Anna"), 1, QStringLiteral("20240304=08:00-16:00"));
        Add(QStringLiteral("B2"), QStringLiteral("Bert"), 2, QStringLiteral("20240304=08:00-16:00"));
        Add(QStringLiteral("C3"), QStringLiteral("Carl"), 3, QString(), true);
        Add(QStringLiteral("G40"), QStringLiteral("Service North"), -3, QString(), true);
        Add(QStringLiteral("P50"), QStringLiteral("Service South"), -4, QString(), false);
        m_targets.FindById(QStringLiteral("G40"))->m_members = QStringLiteral("Anna;Bert");
    }
    void TearDown() override { SetCurrentTimeSource(nullptr); }

    void Add(const QString& id, const QString& name, int number, const QString& ranges, bool takeover = false)
    {
        CPageTarget target;
        target.m_id = id;
        target.m_name = name;
        target.m_number = number;
        target.m_takeover = takeover;
        if (!ranges.isEmpty())
            target.m_ranges.AddFromText(ranges);
        m_targets.append(std::move(target));
    }
    int Check(const QString& id, const QString& group, const QString& time)
    {
        return CheckDispatching(m_targets, id, group, time);
    }
    QString Current(const QString& group) const { return m_targets.FindById(group)->ReadCurrentTargetId(); }

    QTemporaryDir m_dir;
    std::optional<CConfigLocationScope> m_location;
    CPageTargetArray m_targets;
};

const QString kOnDuty = QStringLiteral("2024-03-04 10:00:00");
const QString kOffDuty = QStringLiteral("2024-03-04 17:00:00");

TEST(DispatchResultWordTest, CodesAndWords)
{
    EXPECT_EQ(DispatchResultWord(kDispatchSend), QStringLiteral("Send"));
    EXPECT_EQ(DispatchResultWord(kDispatchDiscard), QStringLiteral("Discard"));
    EXPECT_EQ(DispatchResultWord(kDispatchDelay), QStringLiteral("Delay"));
    EXPECT_EQ(DispatchResultWord(kDispatchNotDispatched), QStringLiteral("NotDispatched"));
    EXPECT_EQ(kDispatchNotDispatched, 3);
    EXPECT_TRUE(DispatchResultWord(4).isEmpty());
    EXPECT_TRUE(DispatchResultWord(-1).isEmpty());
}

// No group, an unknown group, a group without takeover and a receiver as group: only the
// receiver's plan decides, and nobody becomes a current target.
TEST_F(DispatchTest, WithoutTakeoverGroupTheReceiversPlanDecides)
{
    for (const QString& group :
        { QString(), QStringLiteral("nope"), QStringLiteral("P50"), QStringLiteral("C3") }) {
        SCOPED_TRACE(group.toStdString());
        EXPECT_EQ(Check(QStringLiteral("X99"), group, kOffDuty), kDispatchSend);
        EXPECT_EQ(Check(QString(), group, kOffDuty), kDispatchSend);
        EXPECT_EQ(Check(QStringLiteral("C3"), group, kOffDuty), kDispatchSend);
        EXPECT_EQ(Check(QStringLiteral("A1"), group, QStringLiteral("2024-03-04 15:59:59")), kDispatchSend);
        EXPECT_EQ(Check(QStringLiteral("A1"), group, QStringLiteral("2024-03-04 16:00:00")),
            kDispatchNotDispatched);
        EXPECT_EQ(Check(QStringLiteral("A1"), group, QStringLiteral("2024-03-05 10:00:00")),
            kDispatchNotDispatched);
    }
    EXPECT_TRUE(Current(QStringLiteral("P50")).isEmpty());
    EXPECT_TRUE(Current(QStringLiteral("C3")).isEmpty());
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("P50.tim"))));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("C3.tim"))));
}

// A takeover group without a current target lets the receiver's plan decide; the first receiver
// let through becomes its current target, and from then on the group decides alone.
TEST_F(DispatchTest, FirstReceiverOnDutyBecomesCurrentTarget)
{
    const QString group = QStringLiteral("G40");
    EXPECT_EQ(Check(QStringLiteral("X99"), group, kOnDuty), kDispatchSend);
    EXPECT_EQ(Check(QStringLiteral("B2"), group, kOffDuty), kDispatchNotDispatched);
    EXPECT_TRUE(Current(group).isEmpty());

    m_targets.FindById(group)->m_pendingTakeover = QStringLiteral("B2");
    EXPECT_EQ(Check(QStringLiteral("A1"), group, kOnDuty), kDispatchSend);
    EXPECT_EQ(Current(group), QStringLiteral("A1"));
    EXPECT_TRUE(m_targets.FindById(group)->m_pendingTakeover.isEmpty());

    EXPECT_EQ(Check(QStringLiteral("B2"), group, kOnDuty), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("C3"), group, kOnDuty), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("X99"), group, kOnDuty), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("A1"), group, kOffDuty), kDispatchSend);
    EXPECT_EQ(Current(group), QStringLiteral("A1"));

    // Without the group the receivers' own plans decide.
    EXPECT_EQ(Check(QStringLiteral("B2"), QString(), kOnDuty), kDispatchSend);
    EXPECT_EQ(Check(QStringLiteral("A1"), QString(), kOffDuty), kDispatchNotDispatched);
}

// Only a member of the group can become its current target: a receiver on duty that is no member
// is let through by its own plan, and the group stays without a holder.
TEST_F(DispatchTest, NonMemberDoesNotBecomeCurrentTarget)
{
    const QString group = QStringLiteral("G40");
    EXPECT_EQ(Check(QStringLiteral("C3"), group, kOnDuty), kDispatchSend);
    EXPECT_TRUE(Current(group).isEmpty());
    m_targets.FindById(group)->m_members = QStringLiteral("Annabel;Bert");
    EXPECT_EQ(Check(QStringLiteral("A1"), group, kOnDuty), kDispatchSend);
    EXPECT_TRUE(Current(group).isEmpty());
    EXPECT_EQ(Check(QStringLiteral("B2"), group, kOnDuty), kDispatchSend);
    EXPECT_EQ(Current(group), QStringLiteral("B2"));
}

// The current target is read from the dispatch file on every check and compared exactly.
TEST_F(DispatchTest, CurrentTargetIsReadEveryTimeAndComparedExactly)
{
    const QString group = QStringLiteral("G40");
    ASSERT_TRUE(m_targets.FindById(group)->WriteCurrentTargetId(QStringLiteral("A1")));
    EXPECT_EQ(Check(QStringLiteral("a1"), group, kOnDuty), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("A1"), group, kOnDuty), kDispatchSend);

    // A hand edit of the file counts at the next check.
    QFile file(m_dir.filePath(QStringLiteral("G40.tim")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=B2\r\n");
    file.close();
    EXPECT_EQ(Check(QStringLiteral("A1"), group, kOnDuty), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("B2"), group, kOffDuty), kDispatchSend);
}

// Unreadable text is a moment in no range; empty text is now.
TEST_F(DispatchTest, TimeText)
{
    // At a moment when Anna is on duty, so that taking unreadable text for now would show.
    SetCurrentTimeSource([] { return CDateTime(2024, 3, 4, 10, 0, 0); });
    const QString garbage = QStringLiteral("this is not a moment at all");
    EXPECT_EQ(Check(QStringLiteral("A1"), QString(), garbage), kDispatchNotDispatched);
    EXPECT_EQ(Check(QStringLiteral("C3"), QString(), garbage), kDispatchSend);
    // Not on duty at an invalid moment, so no current target is set either.
    EXPECT_EQ(Check(QStringLiteral("A1"), QStringLiteral("G40"), garbage), kDispatchNotDispatched);
    EXPECT_TRUE(Current(QStringLiteral("G40")).isEmpty());

    SetCurrentTimeSource([] { return CDateTime(2024, 3, 4, 15, 59, 59); });
    EXPECT_EQ(Check(QStringLiteral("A1"), QString(), QString()), kDispatchSend);
    SetCurrentTimeSource([] { return CDateTime(2024, 3, 4, 16, 0, 0); });
    EXPECT_EQ(Check(QStringLiteral("A1"), QString(), QString()), kDispatchNotDispatched);
}

QStringList g_trace;

void CaptureTrace(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category) == "kelvaris.dispatch")
        g_trace.append(message);
}

TEST_F(DispatchTest, TraceTexts)
{
    g_trace.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CaptureTrace);
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.dispatch.debug=true"));
    Check(QStringLiteral("A1"), QString(), kOffDuty);
    Check(QStringLiteral("X99"), QString(), kOnDuty);
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.*.debug=false"));
    Check(QStringLiteral("A1"), QString(), kOnDuty);
    qInstallMessageHandler(previous);

    CDateTime offDuty;
    CDateTime onDuty;
    ASSERT_TRUE(DateTimeFromText(kOffDuty, offDuty));
    ASSERT_TRUE(DateTimeFromText(kOnDuty, onDuty));
    EXPECT_EQ(g_trace,
        QStringList({ QStringLiteral("Dispatch: Check A1 Anna, ") + FormatDateTime(offDuty, 0xE7),
            QStringLiteral("\nDispatch:     Result=NotDispatched\n"),
            QStringLiteral("Dispatch: Check X99 , ") + FormatDateTime(onDuty, 0xE7),
            QStringLiteral("\nDispatch:     Result=Send\n") }));
}

} // namespace
