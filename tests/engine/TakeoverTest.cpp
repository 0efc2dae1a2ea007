#include "engine/Takeover.h"

#include <gtest/gtest.h>
#include <optional>

#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"

#include "ConfigLocationScope.h"
#include "fakes/FakeServerCommand.h"

namespace {

// The group Service North (G40) with the members Anna (A1, on duty 2024-03-04 08:00-16:00), the
// current holder, and Bert (B2, on duty from 16:00); Carl (C3) has no ranges.
class TakeoverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_location.emplace(m_dir.filePath(QStringLiteral("kelvaris.cfg")));

        Add(QStringLiteral("A1"), QStringLiteral("Anna"), 1, QStringLiteral("20240304=08:00-16:00"));
        Add(QStringLiteral("B2"), QStringLiteral("Bert"), 2, QStringLiteral("20240304=16:00-24:00"));
        Add(QStringLiteral("C3"), QStringLiteral("Carl"), 3, QString());
        Add(QStringLiteral("G40"), QStringLiteral("Service North"), -3, QString(),
            QStringLiteral("Anna;Bert"));
        ASSERT_TRUE(Group().WriteCurrentTargetId(QStringLiteral("A1")));
    }

    void Add(const QString& id, const QString& name, int number, const QString& ranges,
        const QString& members = QString())
    {
        CPageTarget target;
        target.m_id = id;
        target.m_name = name;
        target.m_number = number;
        target.m_takeover = number < 0;
        target.m_members = members;
        if (!ranges.isEmpty())
            target.m_ranges.AddFromText(ranges);
        m_targets.append(std::move(target));
    }
    CPageTarget& Group() { return *m_targets.FindById(QStringLiteral("G40")); }
    const CPageTarget* Target(const char* id) const { return m_targets.FindById(QString::fromLatin1(id)); }
    void Respond(const QString& clientId, const QString& targetId, long result, long timeout)
    {
        m_mode.HandleResponse(m_targets, CTakeoverResponse { clientId, targetId, result, timeout }, m_server);
    }

    static QString Send2(const QString& receiver, const QString& text, const QString& clientId)
    {
        return QStringLiteral("[send2(\"%1\",\"%2\",\"\",0,\"Kelvaris\",\"%3\",)]")
            .arg(receiver, text, clientId);
    }

    QTemporaryDir m_dir;
    std::optional<CConfigLocationScope> m_location;
    CPageTargetArray m_targets;
    CTakeoverMode m_mode;
    CFakeServerCommandFactory m_server;
    const CDateTime m_before = CDateTime(2024, 3, 4, 15, 59, 0);
    const CDateTime m_after = CDateTime(2024, 3, 4, 16, 0, 0);
};

const QString kRequestToBert = QStringLiteral("[send2(\"Bert\",\"Please confirm the takeover of duty for "
                                              "Service North\",\"\",0,\"Kelvaris\",\"Time:G40\",)]");

TEST_F(TakeoverTest, TextsLoadAndSave)
{
    EXPECT_EQ(m_mode.m_requestText, QStringLiteral("Please confirm the takeover of duty for {{GROUP}}"));
    EXPECT_EQ(
        m_mode.m_confirmText, QStringLiteral("The takeover of duty for {{GROUP}} was confirmed by {{NEXT}}"));
    EXPECT_EQ(m_mode.m_timeoutText,
        QStringLiteral("Attention! - The duty for {{GROUP}} was not accepted by {{NEXT}}"));

    CProfile profile(ConfigLocation().ConfigPath());
    CTakeoverMode changed;
    changed.m_requestText = QStringLiteral("Take {{GROUP}} from {{CURRENT}}");
    changed.m_confirmText = QStringLiteral(" padded ");
    changed.m_timeoutText = QString();
    ASSERT_TRUE(changed.Save(profile));
    EXPECT_EQ(ConfigLocation().FileTimeMemo(), FileTimeNs(ConfigLocation().ConfigPath()));
    EXPECT_EQ(profile.ReadString(
                  QStringLiteral("Settings"), QStringLiteral("TakeoverTimeout"), QStringLiteral("?")),
        QString());

    CTakeoverMode loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.m_requestText, changed.m_requestText);
    EXPECT_EQ(loaded.m_confirmText, changed.m_confirmText);
    EXPECT_TRUE(loaded.m_timeoutText.isEmpty());

    // Missing keys give the defaults.
    ASSERT_TRUE(
        profile.WriteString(QStringLiteral("Settings"), QStringLiteral("TakeoverRequest"), QString()));
    loaded.Load(profile);
    EXPECT_EQ(loaded.m_requestText, CTakeoverMode::DefaultRequestText());
}

TEST_F(TakeoverTest, SendMessageTexts)
{
    const CPageTarget& group = Group();
    const CPageTarget* anna = Target("A1");
    const CPageTarget* bert = Target("B2");
    EXPECT_TRUE(m_mode.SendMessage(CTakeoverMode::RequestMessage, group, anna, bert, m_server));
    EXPECT_TRUE(m_mode.SendMessage(CTakeoverMode::ConfirmMessage, group, anna, bert, m_server));
    EXPECT_TRUE(m_mode.SendMessage(CTakeoverMode::TimeoutMessage, group, anna, bert, m_server));
    // A missing target leaves its placeholder; a name looking like a placeholder is not filled.
    EXPECT_TRUE(m_mode.SendMessage(CTakeoverMode::ConfirmMessage, group, anna, nullptr, m_server));
    CTakeoverMode custom;
    custom.m_requestText = QStringLiteral("{{CURRENT}}->{{NEXT}} in {{GROUP}} {{OTHER}} {{");
    CPageTarget odd = *anna;
    odd.m_name = QStringLiteral("{{NEXT}}\"");
    EXPECT_TRUE(custom.SendMessage(CTakeoverMode::RequestMessage, group, &odd, bert, m_server));
    EXPECT_EQ(m_server.Commands(),
        QStringList({ kRequestToBert,
            Send2(QStringLiteral("Anna"),
                QStringLiteral(
                    "[NODISPATCH:1][NOSIGN:1]The takeover of duty for Service North was confirmed by Bert"),
                QString()),
            Send2(QStringLiteral("Anna"),
                QStringLiteral("[NODISPATCH:1][NOSIGN:1]Attention! - The duty for Service North was not "
                               "accepted by Bert"),
                QString()),
            Send2(QStringLiteral("Anna"),
                QStringLiteral("[NODISPATCH:1][NOSIGN:1]The takeover of duty for Service North was confirmed "
                               "by {{NEXT}}"),
                QString()),
            Send2(QStringLiteral("Bert"), QStringLiteral("{{NEXT}}\"->Bert in Service North {{OTHER}} {{"),
                QStringLiteral("Time:G40")) }));
    EXPECT_EQ(m_server.ReusedObjectCount(), 0);
    EXPECT_EQ(m_server.CreatedCount(), 5);

    // No receiver or an unknown kind: nothing is sent. A failing server: not sent.
    m_server.ClearCommands();
    EXPECT_FALSE(m_mode.SendMessage(CTakeoverMode::RequestMessage, group, anna, nullptr, m_server));
    EXPECT_FALSE(m_mode.SendMessage(CTakeoverMode::TimeoutMessage, group, nullptr, bert, m_server));
    EXPECT_FALSE(m_mode.SendMessage(3, group, anna, bert, m_server));
    EXPECT_TRUE(m_server.Commands().isEmpty());
    m_server.SetAllCommandsFail();
    EXPECT_FALSE(m_mode.SendMessage(CTakeoverMode::RequestMessage, group, anna, bert, m_server));
    m_server.SetCreateFails();
    EXPECT_FALSE(m_mode.SendMessage(CTakeoverMode::RequestMessage, group, anna, bert, m_server));
}

// When the holder's plan ends, the next member on duty is asked once.
TEST_F(TakeoverTest, CheckAsksNextMemberOnce)
{
    m_mode.Check(m_targets, m_before, m_server);
    EXPECT_TRUE(m_server.Commands().isEmpty());

    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_EQ(m_server.Commands(), QStringList { kRequestToBert });
    EXPECT_EQ(Group().m_pendingTakeover, QStringLiteral("B2"));
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("A1"));

    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_EQ(m_server.Commands().size(), 1);
}

TEST_F(TakeoverTest, CheckSkipsGroupsThatDoNotQualify)
{
    // Takeover off; the group itself off duty; no current target; nobody else on duty.
    Group().m_takeover = false;
    m_mode.Check(m_targets, m_after, m_server);
    Group().m_takeover = true;
    Group().m_ranges.AddFromText(QStringLiteral("20240304=08:00-12:00"));
    m_mode.Check(m_targets, m_after, m_server);
    Group().m_ranges.clear();
    const CDateTime nextDay(2024, 3, 5, 10, 0, 0);
    m_mode.Check(m_targets, nextDay, m_server);
    EXPECT_TRUE(m_server.Commands().isEmpty());
    EXPECT_TRUE(Group().m_pendingTakeover.isEmpty());

    ASSERT_TRUE(Group().WriteCurrentTargetId(QString()));
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

// A member without ranges is always on duty: always a candidate, never replaced as holder.
TEST_F(TakeoverTest, MemberWithoutRangesIsAlwaysOnDuty)
{
    Group().m_members = QStringLiteral("Nobody;Carl;Bert");
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_EQ(m_server.Commands(),
        QStringList { Send2(QStringLiteral("Carl"),
            QStringLiteral("Please confirm the takeover of duty for Service North"),
            QStringLiteral("Time:G40")) });
    EXPECT_EQ(Group().m_pendingTakeover, QStringLiteral("C3"));

    m_server.ClearCommands();
    ASSERT_TRUE(Group().WriteCurrentTargetId(QStringLiteral("C3")));
    m_mode.Check(m_targets, CDateTime(2030, 1, 1, 3, 0, 0), m_server);
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(TakeoverTest, DanglingCurrentTargetIsCleared)
{
    ASSERT_TRUE(Group().WriteCurrentTargetId(QStringLiteral("X99")));
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_TRUE(Group().ReadCurrentTargetId().isEmpty());
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(TakeoverTest, FailedRequestIsTriedAgain)
{
    m_server.SetAllCommandsFail();
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_TRUE(Group().m_pendingTakeover.isEmpty());
    m_server.SetAllCommandsFail(false);
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_EQ(m_server.Commands(), QStringList({ kRequestToBert, kRequestToBert }));
    EXPECT_EQ(Group().m_pendingTakeover, QStringLiteral("B2"));
}

TEST_F(TakeoverTest, ConfirmationMakesResponderCurrent)
{
    m_mode.Check(m_targets, m_after, m_server);
    m_server.ClearCommands();
    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("B2"));
    EXPECT_TRUE(Group().m_pendingTakeover.isEmpty());
    EXPECT_EQ(m_server.Commands(),
        QStringList { Send2(QStringLiteral("Anna"),
            QStringLiteral(
                "[NODISPATCH:1][NOSIGN:1]The takeover of duty for Service North was confirmed by Bert"),
            QString()) });

    // Bert now holds the duty and is on duty: no new request.
    m_server.ClearCommands();
    m_mode.Check(m_targets, m_after, m_server);
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

// An answer from an unknown ID stands for the member that was asked.
TEST_F(TakeoverTest, UnknownResponderMeansAskedMember)
{
    m_mode.Check(m_targets, m_after, m_server);
    m_server.ClearCommands();
    Respond(QStringLiteral("Time:Time:G40"), QStringLiteral("SOMEONE"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("B2"));
    ASSERT_EQ(m_server.Commands().size(), 1);
    EXPECT_TRUE(m_server.Commands().at(0).contains(QStringLiteral("was confirmed by Bert")));

    // Nobody asked and nobody named: the holder keeps the duty and nothing is sent.
    m_server.ClearCommands();
    Respond(QStringLiteral("Time:G40"), QStringLiteral("SOMEONE"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("B2"));
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(TakeoverTest, TimeoutKeepsHolderAndOpenRequest)
{
    m_mode.Check(m_targets, m_after, m_server);
    m_server.ClearCommands();
    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 0, 1);
    EXPECT_EQ(m_server.Commands(),
        QStringList { Send2(QStringLiteral("Anna"),
            QStringLiteral(
                "[NODISPATCH:1][NOSIGN:1]Attention! - The duty for Service North was not accepted by Bert"),
            QString()) });
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("A1"));
    EXPECT_EQ(Group().m_pendingTakeover, QStringLiteral("B2"));

    m_server.ClearCommands();
    m_mode.Check(m_targets, m_after, m_server);
    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 0, 0);
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

TEST_F(TakeoverTest, ResponsesThatChangeNothing)
{
    // Unknown group, a receiver, a group without takeover: dropped, nothing written or sent.
    Respond(QStringLiteral("Time:X99"), QStringLiteral("B2"), 1, 0);
    Respond(QString(), QStringLiteral("B2"), 1, 0);
    Respond(QStringLiteral("Time:C3"), QStringLiteral("B2"), 1, 0);
    EXPECT_TRUE(Target("C3")->ReadCurrentTargetId().isEmpty());
    Group().m_takeover = false;
    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("A1"));
    EXPECT_TRUE(m_server.Commands().isEmpty());

    // Without a previous holder the confirmation takes effect but is told to nobody.
    Group().m_takeover = true;
    ASSERT_TRUE(Group().WriteCurrentTargetId(QString()));
    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 1, 1);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("B2"));
    EXPECT_TRUE(m_server.Commands().isEmpty());
}

// Only a member can become the holder: a confirmation naming a known target outside the member
// list (Carl, always on duty, or the group itself) is dropped, while the request stays open for
// the member that was asked.
TEST_F(TakeoverTest, ConfirmationForNonMemberIsDropped)
{
    m_mode.Check(m_targets, m_after, m_server);
    m_server.ClearCommands();
    Respond(QStringLiteral("Time:G40"), QStringLiteral("C3"), 1, 0);
    Respond(QStringLiteral("Time:G40"), QStringLiteral("G40"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("A1"));
    EXPECT_EQ(Group().m_pendingTakeover, QStringLiteral("B2"));
    EXPECT_TRUE(m_server.Commands().isEmpty());

    // A member whose name merely contains a non-member's text is told apart.
    Group().m_members = QStringLiteral("Anna;Bert;Carla");
    Respond(QStringLiteral("Time:G40"), QStringLiteral("C3"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("A1"));

    Respond(QStringLiteral("Time:G40"), QStringLiteral("B2"), 1, 0);
    EXPECT_EQ(Group().ReadCurrentTargetId(), QStringLiteral("B2"));
}

// The fake alarm server the engine's tests use: replies, failures and what it counts (here, away
// from the private buses the server's own tests start for every case).
TEST(FakeServerCommandTest, AnswersRecordsAndCounts)
{
    CFakeServerCommandFactory server;
    server.SetReply(QStringLiteral("[a]"), QStringLiteral("A"));
    server.SetDefaultReply(QStringLiteral("D"));
    server.SetCommandFails(QStringLiteral("[bad]"));
    QString result;
    EXPECT_TRUE(server.Create()->ExecuteCommand(QStringLiteral("[a]"), result));
    EXPECT_EQ(result, QStringLiteral("A"));
    EXPECT_TRUE(server.Create()->ExecuteCommand(QStringLiteral("[other]"), result));
    EXPECT_EQ(result, QStringLiteral("D"));
    EXPECT_FALSE(server.Create()->ExecuteCommand(QStringLiteral("[bad]"), result));
    EXPECT_TRUE(result.isEmpty());
    server.SetAllCommandsFail();
    EXPECT_FALSE(server.Create()->ExecuteCommand(QStringLiteral("[a]"), result));
    EXPECT_EQ(server.ReusedObjectCount(), 0);

    const std::unique_ptr<CServerCommand> reused = server.Create();
    reused->ExecuteCommand(QStringLiteral("[x]"), result);
    reused->ExecuteCommand(QStringLiteral("[y]"), result);
    EXPECT_EQ(server.ReusedObjectCount(), 1);

    server.SetCreateFails();
    EXPECT_EQ(server.Create(), nullptr);
    EXPECT_EQ(server.CreatedCount(), 5);
    EXPECT_EQ(server.CreateCallCount(), 6);
    EXPECT_EQ(server.Commands(),
        QStringList({ QStringLiteral("[a]"), QStringLiteral("[other]"), QStringLiteral("[bad]"),
            QStringLiteral("[a]"), QStringLiteral("[x]"), QStringLiteral("[y]") }));
}

} // namespace
