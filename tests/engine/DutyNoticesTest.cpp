// Duty notices: reminders once per duty, across midnight and a restart; changes summed up;
// barriers holding reminders; late ones dropped; failed sends tried again, then warned.
#include "engine/DutyNotices.h"

#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/Trace.h"

#include "ConfigLocationScope.h"
#include "fakes/FakeServerCommand.h"
#include "fakes/WarningCapture.h"

namespace {

qint64 At(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute), QTimeZone::utc()).toMSecsSinceEpoch();
}

class DutyNoticesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_config = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        m_location.emplace(m_config);
        Write("kelvaris.cfg", "[Settings]\r\nNoticeLeadMinutes=60\r\nNoticeLateMinutes=15\r\n");
        Add(QStringLiteral("A1"), QStringLiteral("Anna"), 0,
            { "20261208=22:00-24:00", "20261209=00:00-06:00", "20261209=08:00-09:00" });
        Add(QStringLiteral("B2"), QStringLiteral("Bert"), 0, {});
        Add(QStringLiteral("G40"), QStringLiteral("North"), -1, { "20261209=12:00-13:00" });
        m_targets[m_targets.size() - 1].m_members = QStringLiteral("Anna;Bert");
        Write("G40.tim", "[Settings]\r\nName=North\r\nNoticeMembers=1\r\n");
    }

    void Write(const char* name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void Add(const QString& id, const QString& name, int number, std::initializer_list<const char*> ranges)
    {
        CPageTarget target;
        target.m_id = id;
        target.m_name = name;
        target.m_number = number;
        for (const char* range : ranges)
            target.m_ranges.AddFromText(QString::fromLatin1(range));
        m_targets.append(target);
    }
    // Looks once a minute over [fromMs, toMs]; the logbook lines come into m_log.
    void Run(CDutyNotices& notices, qint64 fromMs, qint64 toMs, bool barrier = false)
    {
        for (qint64 now = fromMs; now <= toMs; now += 60'000)
            notices.Update(m_targets, QTimeZone::utc(), now, m_config, m_server, barrier, {},
                [this](const CNotice&, const QString& line) { m_log << line; });
    }
    QStringList Sent() const
    {
        QStringList sent;
        for (const QString& command : m_server.Commands())
            sent << command.section(u'"', 1, 1) + u':' + command.section(u'"', 3, 3).mid(24);
        return sent;
    }

    QTemporaryDir m_dir;
    QString m_config;
    std::optional<CConfigLocationScope> m_location;
    CPageTargetArray m_targets;
    CFakeServerCommandFactory m_server;
    QStringList m_log;
};

} // namespace

TEST_F(DutyNoticesTest, RemindersComeOnceBeforeEachDutyAcrossMidnightAndARestart)
{
    {
        CDutyNotices notices;
        Run(notices, At(8, 20), At(9, 7, 30));
    }
    // A restart: nothing again, and what comes later comes once.
    CDutyNotices again;
    Run(again, At(9, 7, 30), At(9, 13));
    EXPECT_EQ(Sent(),
        QStringList({ QStringLiteral("Anna:Reminder: duty for Anna from Tue 8 Dec 2026 22:00 to 06:00"),
            QStringLiteral("Anna:Reminder: duty for Anna from Wed 9 Dec 2026 08:00 to 09:00"),
            QStringLiteral("Anna:Reminder: duty for North from Wed 9 Dec 2026 12:00 to 13:00"),
            QStringLiteral("Bert:Reminder: duty for North from Wed 9 Dec 2026 12:00 to 13:00") }));
    for (const QString& command : m_server.Commands())
        EXPECT_TRUE(command.contains(QStringLiteral("\"[NODISPATCH:1][NOSIGN:1]Reminder")))
            << command.toStdString();
    EXPECT_EQ(m_log.size(), 4);
}

TEST_F(DutyNoticesTest, ChangesAreSummedUpBarriersHoldAndLateOrFailedNoticesAreSaid)
{
    CDutyNotices notices;
    Run(notices, At(8, 18), At(8, 18, 5));
    // Two edits in one minute: the night duty moves a day on; one notice sums them up.
    m_targets[0].m_ranges.clear();
    m_targets[0].m_ranges.AddFromText(QStringLiteral("20261209=22:00-24:00"));
    Run(notices, At(8, 18, 6), At(8, 18, 6));
    m_targets[0].m_ranges.AddFromText(QStringLiteral("20261210=00:00-06:00"));
    Run(notices, At(8, 18, 7), At(8, 18, 10));
    ASSERT_EQ(Sent().size(), 1);
    EXPECT_EQ(Sent()[0],
        QStringLiteral(
            "Anna:Your duty changed: Tue 8 Dec 2026 22:00-06:00 removed; Wed 9 Dec 2026 08:00-09:00 "
            "removed; Wed 9 Dec 2026 22:00-06:00 added"));

    // A barrier at the reminder's time holds it; it goes when the barrier ends before the duty.
    m_server.ClearCommands();
    Run(notices, At(9, 20, 50), At(9, 21, 10), true);
    EXPECT_EQ(notices.Held(), 1);
    EXPECT_TRUE(Sent().isEmpty());
    Run(notices, At(9, 21, 11), At(9, 21, 11));
    EXPECT_EQ(Sent().size(), 1);
    EXPECT_EQ(notices.Held(), 0);

    // North's members: held past the duty's start, the reminders are dropped with a line each.
    m_server.ClearCommands();
    m_targets[0].m_ranges.clear();
    m_targets[2].m_ranges.AddFromText(QStringLiteral("20261210=12:00-13:00"));
    Run(notices, At(10, 10, 50), At(10, 12, 5), true);
    Run(notices, At(10, 12, 6), At(10, 12, 6));
    EXPECT_TRUE(Sent().filter(QStringLiteral("Reminder")).isEmpty()) << Sent().join(u'\n').toStdString();
    EXPECT_EQ(m_log.filter(QStringLiteral("the duty began during the barrier/pause")).size(), 2);

    // A stop past a reminder's moment: more than 15 minutes late, it is dropped with a line.
    Run(notices, At(10, 12, 7), At(10, 12, 7));
    m_targets[0].m_ranges.AddFromText(QStringLiteral("20261211=08:00-09:00"));
    CDutyNotices restarted;
    Run(restarted, At(11, 7, 30), At(11, 7, 30));
    EXPECT_EQ(m_log.filter(QStringLiteral("dropped, 30 minutes late")).size(), 1)
        << m_log.join(u'\n').toStdString();

    // A send that fails is tried three times more within five minutes, then warned.
    m_targets[0].m_ranges.AddFromText(QStringLiteral("20261211=12:00-13:00"));
    m_server.ClearCommands();
    m_server.SetAllCommandsFail();
    const CWarningCapture warnings(lcEngine());
    Run(restarted, At(11, 7, 31), At(11, 11, 10));
    EXPECT_EQ(restarted.Retrying(), 0);
    EXPECT_EQ(Sent().filter(QStringLiteral("12:00 to 13:00")).size(), 4);
    EXPECT_EQ(CWarningCapture::Text().count(QStringLiteral("could not be sent after 4 tries: Reminder")), 1)
        << CWarningCapture::Text().toStdString();
    // Said in the logbook too, and not remembered as sent.
    EXPECT_EQ(
        m_log.filter(QStringLiteral("Notice to Anna could not be sent after 4 tries: Reminder")).size(), 1)
        << m_log.join(u'\n').toStdString();
    EXPECT_FALSE(CProfile(m_dir.filePath(QStringLiteral("kelvaris-notices.cfg")))
                     .SectionText(QStringLiteral("Sent"))
                     .contains(QString::number(At(11, 11))));
}

// A new holder is told (not when a confirmation made it: that sends its own text); the daily
// summary goes to its targets at its time; two programs on the same data send each notice once.
TEST_F(DutyNoticesTest, HoldersSummariesAndTwoProgramsOnTheSameData)
{
    Write("kelvaris.cfg",
        "[Settings]\r\nNoticeLeadMinutes=60\r\nNoticeSummaryTargets=B2\r\nNoticeSummaryTime=07:00\r\n");
    Write("G40.tim", "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");
    m_targets[2].m_takeover = true;
    CDutyNotices window;
    CDutyNotices service;
    const auto both = [&](qint64 fromMs, qint64 toMs, const QSet<QString>& confirmed = {}) {
        for (qint64 now = fromMs; now <= toMs; now += 60'000) {
            for (CDutyNotices* notices : { &window, &service })
                notices->Update(m_targets, QTimeZone::utc(), now, m_config, m_server, false, confirmed,
                    [this](const CNotice&, const QString& line) { m_log << line; });
        }
    };
    both(At(9, 6, 50), At(9, 7, 10));
    // Anna's 08:00 reminder and the summary, each once although two programs looked.
    EXPECT_EQ(Sent().filter(QStringLiteral("Anna:Reminder")).size(), 1) << Sent().join(u'\n').toStdString();
    EXPECT_EQ(Sent().filter(QStringLiteral("Bert:On duty Wed 9 Dec 2026: North: Anna")).size(), 1)
        << Sent().join(u'\n').toStdString();

    // Bert becomes North's holder by the dispatch decision, then Anna again by a confirmation.
    m_server.ClearCommands();
    Write("G40.tim", "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=B2\r\n");
    both(At(9, 7, 11), At(9, 7, 11));
    Write("G40.tim", "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");
    both(At(9, 7, 12), At(9, 7, 12), { QStringLiteral("G40") });
    EXPECT_EQ(Sent(), QStringList({ QStringLiteral("Bert:You now hold North") }));
}

// A duty across the night the clocks go forward names the offsets of its ends.
TEST_F(DutyNoticesTest, ADutyAcrossAClockChangeNamesItsOffsets)
{
    CPageTargetArray targets;
    CPageTarget anna;
    anna.m_id = QStringLiteral("A1");
    anna.m_name = QStringLiteral("Anna");
    anna.m_ranges.AddFromText(QStringLiteral("20270328=01:00-02:00"));
    targets.append(anna);
    CNoticeSettings settings = CNoticeSettings::Read(CProfile(m_config));
    settings.leadMinutes = 30;
    const QTimeZone berlin("Europe/Berlin");
    const qint64 from = QDateTime(QDate(2027, 3, 27), QTime(23, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    const CZoneOffsets offsets(berlin, from, from + 86'400'000);
    const QList<CNotice> due = DueReminders(targets, settings, offsets, from, from + 3'600'000);
    ASSERT_EQ(due.size(), 1);
    EXPECT_TRUE(due[0].text.endsWith(QStringLiteral("from Sun 28 Mar 2027 01:00 (+01:00) to 03:00 (+02:00)")))
        << due[0].text.toStdString();
}

// A target that leaves the alarm server's list gets no notice: not the sum of its removed duty,
// nor one that waited to be tried again; each is dropped with a logbook line.
TEST_F(DutyNoticesTest, NothingGoesToATargetTheAlarmServerNoLongerLists)
{
    CDutyNotices notices;
    Run(notices, At(8, 20), At(8, 20, 5));
    CPageTargetArray without;
    for (const CPageTarget& target : std::as_const(m_targets)) {
        if (target.m_id != QStringLiteral("A1"))
            without.append(target);
    }
    m_targets = without;
    Run(notices, At(8, 20, 6), At(8, 20, 10));
    for (const QString& command : m_server.Commands())
        EXPECT_FALSE(command.startsWith(QStringLiteral("[send2(\"\""))) << command.toStdString();
    EXPECT_TRUE(m_server.Commands().filter(QStringLiteral("Your duty changed")).isEmpty())
        << m_server.Commands().join(u'\n').toStdString();
    ASSERT_EQ(m_log.filter(QStringLiteral("the alarm server does not list it")).size(), 1)
        << m_log.join(u'\n').toStdString();
    EXPECT_TRUE(m_log.filter(QStringLiteral("the alarm server does not list it"))
                    .first()
                    .startsWith(QStringLiteral("Notice to A1 dropped")));
}

// Notices survive restarts: an edit whose sum was not told yet, and one made while stopped, are
// told after the start, once; a store of random bytes is moved aside and made again from what the
// journal recalls, so nothing sent is sent again.
TEST_F(DutyNoticesTest, ChangesSurviveARestartAndADamagedStoreIsMadeAgain)
{
    {
        CDutyNotices notices;
        Run(notices, At(8, 18), At(8, 18, 2));
        m_targets[0].m_ranges.AddFromText(QStringLiteral("20261209=14:00-15:00"));
        Run(notices, At(8, 18, 3), At(8, 18, 3));
    }
    {
        CDutyNotices restarted;
        Run(restarted, At(8, 18, 5), At(8, 18, 6));
    }
    m_targets[0].m_ranges.AddFromText(QStringLiteral("20261209=16:00-17:00"));
    {
        CDutyNotices afterAStop;
        Run(afterAStop, At(8, 18, 10), At(8, 18, 12));
    }
    EXPECT_EQ(Sent().filter(QStringLiteral("Your duty changed")),
        QStringList({ QStringLiteral("Anna:Your duty changed: Wed 9 Dec 2026 14:00-15:00 added"),
            QStringLiteral("Anna:Your duty changed: Wed 9 Dec 2026 16:00-17:00 added") }));

    // Anna's reminder at 07:00 for her duty at 08:00, remembered by the journal's stand-in.
    QHash<QString, qint64> journal;
    const auto look = [&](CDutyNotices& notices, qint64 fromMs, qint64 toMs) {
        for (qint64 now = fromMs; now <= toMs; now += 60'000)
            notices.Update(m_targets, QTimeZone::utc(), now, m_config, m_server, false, {},
                [&journal](const CNotice& notice, const QString&) {
                    if (notice.outcome == CNotice::EOutcome::Done)
                        journal.insert(notice.identity, notice.dueMs);
                });
    };
    {
        CDutyNotices notices;
        look(notices, At(9, 6, 55), At(9, 7, 1));
    }
    ASSERT_EQ(Sent().filter(QStringLiteral("Anna:Reminder")).size(), 1);
    QByteArray garbage(2048, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 7919) % 251);
    Write("kelvaris-notices.cfg", garbage);
    const CWarningCapture warnings(lcEngine());
    CDutyNotices restarted;
    restarted.SetRecall([&journal] { return journal; });
    look(restarted, At(9, 7, 5), At(9, 7, 6));
    EXPECT_EQ(Sent().filter(QStringLiteral("Anna:Reminder")).size(), 1) << Sent().join(u'\n').toStdString();
    EXPECT_EQ(warnings.Count("notices: "), 1) << warnings.Text().toStdString();
    EXPECT_TRUE(warnings.Text().contains(QStringLiteral("is moved to"))) << warnings.Text().toStdString();
    EXPECT_EQ(QDir(m_dir.path()).entryList({ QStringLiteral("kelvaris-notices.cfg.damaged-*") }).size(), 1);
}

// Two programs on one store, at the same moment, with an alarm server slow to take each notice:
// each notice goes out once.
TEST_F(DutyNoticesTest, TwoSendersAtOnceSendEachNoticeOnce)
{
    class CSlowServer : public CServerCommandFactory
    {
    public:
        class CCommand : public CServerCommand
        {
        public:
            explicit CCommand(CSlowServer& server)
                : m_server(server)
            { }
            bool ExecuteCommand(const QString& command, QString&) override
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                const std::lock_guard lock(m_server.mutex);
                m_server.commands << command;
                return true;
            }

        private:
            CSlowServer& m_server;
        };
        std::unique_ptr<CServerCommand> Create() override { return std::make_unique<CCommand>(*this); }
        std::mutex mutex;
        QStringList commands;
    };
    CSlowServer server;
    CDutyNotices first;
    CDutyNotices second;
    const auto run = [&](CDutyNotices& notices) {
        for (qint64 now = At(9, 6, 58); now <= At(9, 7, 2); now += 60'000)
            notices.Update(m_targets, QTimeZone::utc(), now, m_config, server, false, {},
                [](const CNotice&, const QString&) {});
    };
    std::thread a([&] { run(first); });
    std::thread b([&] { run(second); });
    a.join();
    b.join();
    EXPECT_EQ(server.commands.filter(QStringLiteral("Reminder: duty for Anna")).size(), 1)
        << server.commands.join(u'\n').toStdString();
}

// The very first start: a reminder due half an hour ago is dropped with a line, one due ten
// minutes ago is sent.
TEST_F(DutyNoticesTest, TheFirstStartSaysWhatItFoundDue)
{
    m_targets[1].m_ranges.AddFromText(QStringLiteral("20261209=08:20-09:00"));
    CDutyNotices first;
    Run(first, At(9, 7, 30), At(9, 7, 30));
    EXPECT_EQ(m_log.filter(QStringLiteral("Notice to Anna dropped, 30 minutes late")).size(), 1)
        << m_log.join(u'\n').toStdString();
    EXPECT_EQ(Sent().filter(QStringLiteral("Bert:Reminder")).size(), 1) << Sent().join(u'\n').toStdString();
}
