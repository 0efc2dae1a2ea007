// kelvaris --headless against kelvaris-alarmsim on a private session bus.
#include <csignal>
#include <cstddef>
#include <cstring>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "PrivateBus.h"
#include "fakes/TestPrograms.h"

namespace {

// A schedule that applies whatever day the test runs on: a whole-day shift and a whole-day
// deleting barrier of priority 4 on working days, weekends and holidays.
QByteArray WholeDay(const char* section, const char* prefix, int dateType, const char* extra)
{
    return QByteArray("[") + section + "]\r\n" + prefix
        + "Name=All day\r\nDateType=" + QByteArray::number(dateType) + "\r\n" + prefix + "Date=1899-12-30\r\n"
        + prefix + "StartTime=1899-12-30 00:00:00\r\n" + prefix + "EndTime=1899-12-30 23:59:59\r\n" + extra;
}

QByteArray Schedule()
{
    QByteArray text = "[Settings]\r\nWorkDays=31\r\nAutoActivate=1\r\n";
    const int types[] = { 2, 10, 11 };
    for (int i = 0; i < 3; ++i) {
        text += WholeDay(QByteArray("Shift" + QByteArray::number(i + 1)).constData(), "Shift", types[i],
            "ShiftNumber=3\r\n");
        text += WholeDay(QByteArray("Barrage" + QByteArray::number(i + 1)).constData(), "Barrage", types[i],
            "BarrageType=1\r\nBarragePriority=4\r\n");
    }
    return text;
}

// libfaketime itself (the faketime wrapper would stand between the test and the program's
// signals); empty where it is not installed or cannot be preloaded (beside the address
// sanitizer's runtime, which must come first).
QString FakeTimeLibrary()
{
#if defined(__SANITIZE_ADDRESS__)
    return QString();
#else
    const QString library
        = QStringLiteral("/usr/lib/%1/faketime/libfaketimeMT.so.1").arg(QStringLiteral(KELVARIS_MULTIARCH));
    return QFile::exists(library) ? library : QString();
#endif
}

class HeadlessTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_e2e_headless"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_suite->Bus().IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        const QString service
            = QStringLiteral("com.ondrevi.AlarmServerTest.h%1").arg(QCoreApplication::applicationPid());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), service);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(QStringLiteral("KELVARIS_PIPE_NAME"),
            QStringLiteral("kelvaris-test-%1").arg(QCoreApplication::applicationPid()));
        m_env.insert(QStringLiteral("KELVARIS_BUS_NAME"),
            QStringLiteral("com.ondrevi.KelvarisTest.h%1").arg(QCoreApplication::applicationPid()));
        m_service = service;

        QFile config(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(Schedule());
        config.close();
        QFile targets(m_dir.filePath(QStringLiteral("targets.cfg")));
        ASSERT_TRUE(targets.open(QIODevice::WriteOnly));
        targets.write("[Target1]\r\nName=Anna\r\nNumber=0\r\nID=17\r\nColour=255\r\n"
                      "[Target2]\r\nName=Bert\r\nNumber=1\r\nID=18\r\nColour=255\r\n"
                      "[Target3]\r\nName=North\r\nNumber=-1\r\nID=40\r\nColour=255\r\nMembers=Anna;Bert\r\n");
        // Anna holds the duty of the takeover group North but has none today; Bert, without any
        // plan, is always on duty.
        WriteData("17.tim", "[Settings]\r\nName=Anna\r\n20000101=00:00-24:00\r\n");
        WriteData("40.tim", "[Settings]\r\nName=North\r\nTakeover=1\r\nCurrentTargetID=17\r\n");
        targets.close();

        if (m_simulatorAtStart)
            StartSimulator();
    }

    // `waitForName`: returns once the simulator owns its bus name.
    void StartSimulator(bool waitForName = true)
    {
        m_sim.setProcessEnvironment(m_env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")),
                QStringLiteral("--log"), LogPath() });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        if (waitForName) {
            ASSERT_TRUE(WaitForBusName(m_service, 10000, &m_sim))
                << m_sim.readAllStandardError().toStdString();
        }
    }

    void StartKelvaris(QProcess& process)
    {
        process.setProcessEnvironment(m_env);
        process.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // Runs kelvarisctl; its standard output, or "<exit N>" when it failed.
    QString Ctl(const QStringList& arguments) const
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), arguments);
        if (!ctl.waitForFinished(10000))
            return QStringLiteral("<hung>");
        if (ctl.exitStatus() != QProcess::NormalExit || ctl.exitCode() != 0)
            return QStringLiteral("<exit %1>").arg(ctl.exitCode());
        return QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
    }
    // The answer code of a dispatch check for the receiver with that ID, -1 without an answer.
    int Check(const char* id) const
    {
        const QString reply
            = Ctl({ QStringLiteral("dispatch"), QStringLiteral("--id"), QString::fromLatin1(id) });
        const qsizetype at = reply.indexOf(QStringLiteral("<DispatchingResult>"));
        return at < 0 ? -1 : reply.mid(at + 19, 1).toInt();
    }

    void TearDown() override { EndProcesses({ &m_kelvaris, &m_sim }); }

    QString LogPath() const { return m_dir.filePath(QStringLiteral("sim.log")); }
    void WriteData(const char* name, const QByteArray& text)
    {
        QFile file(m_dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // Waits until the simulator logged `command` (at most `ms`).
    bool WaitForCommand(const QString& command, int ms) const
    {
        QDeadlineTimer deadline(ms);
        do {
            if (Commands().contains(command))
                return true;
            QThread::msleep(50);
        } while (!deadline.hasExpired());
        return false;
    }

    // The commands the simulator logged, without their times.
    QStringList Commands() const { return AlarmSimCommands(LogPath()); }

    static inline CBusTestSuite* s_suite = nullptr;
    bool m_simulatorAtStart = true;
    QString m_service;
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_sim;
    QProcess m_kelvaris;
};

} // namespace

TEST_F(HeadlessTest, PushesTheStateAndDeactivatesOnTerm)
{
    m_kelvaris.setProcessEnvironment(m_env);
    m_kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
    ASSERT_TRUE(m_kelvaris.waitForStarted(5000));

    const QStringList expected = { QStringLiteral("[check(Kelvaris)]"), QStringLiteral("[setshift(3)]"),
        QStringLiteral("[setvalue(System.BarringActive,1)]"),
        QStringLiteral("[setvalue(System.BarringLevel,4)]"),
        QStringLiteral("[setvalue(System.BarringDelay,)]") };
    QDeadlineTimer deadline(3000);
    QStringList commands;
    do {
        QThread::msleep(50);
        commands = Commands();
    } while (!commands.contains(expected.last()) && !deadline.hasExpired());
    for (const QString& command : expected)
        EXPECT_TRUE(commands.contains(command)) << command.toStdString();
    // The state push in its order: shift first, then the barrier values.
    const qsizetype shift = commands.indexOf(expected[1]);
    EXPECT_LT(shift, commands.indexOf(expected[2]));
    EXPECT_LT(commands.indexOf(expected[2]), commands.indexOf(expected[3]));
    EXPECT_LT(commands.indexOf(expected[3]), commands.indexOf(expected[4]));

    m_kelvaris.terminate(); // SIGTERM
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_kelvaris.exitCode(), 0);
    commands = Commands();
    ASSERT_GE(commands.size(), 2);
    EXPECT_EQ(commands[commands.size() - 2], QStringLiteral("[setshift(0)]"));
    EXPECT_EQ(commands.last(), QStringLiteral("[setvalue(System.BarringActive,0)]"));

    // The logbook lines on standard output: four tab-separated texts each.
    const QList<QByteArray> lines = m_kelvaris.readAllStandardOutput().trimmed().split('\n');
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("Started\t"));
    EXPECT_TRUE(lines[1].startsWith("Activated\t"));
    EXPECT_TRUE(lines[2].startsWith("All day\t"));
    EXPECT_TRUE(lines[2].endsWith("\t00:00:00\tBarrier/Pause with deleting (4)"));
    EXPECT_TRUE(lines[3].endsWith("\tShift 3"));
    EXPECT_TRUE(lines.last().startsWith("Deactivated\t"));
    for (const QByteArray& line : lines)
        EXPECT_EQ(line.count('\t'), 3) << line.toStdString();
}

TEST_F(HeadlessTest, TakeoverRoundTripThroughTheSocket)
{
    m_kelvaris.setProcessEnvironment(m_env);
    m_kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
    ASSERT_TRUE(m_kelvaris.waitForStarted(5000));

    // The first state push asks Bert to take over; the simulator confirms on Kelvaris's socket,
    // and the next cycle tells Anna and makes Bert the holder.
    EXPECT_TRUE(WaitForCommand(QStringLiteral("[send2(\"Bert\",\"Please confirm the takeover of duty for "
                                              "North\",\"\",0,\"Kelvaris\",\"Time:40\",)]"),
        3000));
    EXPECT_TRUE(
        WaitForCommand(QStringLiteral("[send2(\"Anna\",\"[NODISPATCH:1][NOSIGN:1]The takeover of duty for "
                                      "North was confirmed by Bert\",\"\",0,\"Kelvaris\",\"\",)]"),
            5000));
    QFile group(m_dir.filePath(QStringLiteral("40.tim")));
    ASSERT_TRUE(group.open(QIODevice::ReadOnly));
    EXPECT_TRUE(group.readAll().contains("CurrentTargetID=18"));
}

namespace {
// The alarm server comes up only after Kelvaris (a boot-order race).
class HeadlessLateServerTest : public HeadlessTest
{
protected:
    void SetUp() override
    {
        m_simulatorAtStart = false;
        HeadlessTest::SetUp();
    }
};
} // namespace

TEST_F(HeadlessLateServerTest, TargetListArrivesWithTheAlarmServerWithinAPresenceCheck)
{
    QDeadlineTimer bound(40000);
    StartKelvaris(m_kelvaris);
    // Without the list every check is answered "send", Anna's missing duty notwithstanding.
    QDeadlineTimer socket(5000);
    int early = -1;
    while (early < 0 && !socket.hasExpired())
        early = Check("17");
    EXPECT_EQ(early, 0);

    QThread::msleep(std::max<qint64>(0, 5000 - (40000 - bound.remainingTime())));
    // Kelvaris notices by itself; nobody waits for the simulator's name here.
    StartSimulator(false);
    // The next presence check (every 30 s) fetches the list: Anna, off duty, is not alerted.
    int answer = -1;
    while (!bound.hasExpired()) {
        answer = Check("17");
        if (answer == 3)
            break;
        QThread::msleep(500);
    }
    EXPECT_EQ(answer, 3) << "no target list within 40 s";
    const QStringList commands = Commands();
    EXPECT_TRUE(commands.contains(QStringLiteral("[GetValue(Setup.Targets)]")));
    EXPECT_TRUE(commands.contains(QStringLiteral("[GetTarget3(Anna)]")));
    // The state went out right after the list came, not a minute later.
    const qsizetype list = commands.indexOf(QStringLiteral("[GetValue(Setup.Targets)]"));
    EXPECT_GE(commands.indexOf(QStringLiteral("[setshift(3)]"), list), 0);

    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    const QString errors = QString::fromUtf8(m_kelvaris.readAllStandardError());
    EXPECT_TRUE(errors.contains(QStringLiteral("The alarm server is not reachable"))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("The alarm server is reachable again after")));
    EXPECT_TRUE(errors.contains(QStringLiteral("The target list could not be fetched")));
    EXPECT_EQ(errors.count(QStringLiteral("The alarm server is not reachable")), 1);
}

TEST_F(HeadlessTest, SecondInstanceOnTheSameSocketExitsWithTheReason)
{
    StartKelvaris(m_kelvaris);
    ASSERT_TRUE(WaitForCommand(QStringLiteral("[setshift(3)]"), 5000));
    ASSERT_TRUE(WaitForBusName(m_env.value(QStringLiteral("KELVARIS_BUS_NAME")), 5000, &m_kelvaris));

    QProcess second;
    StartKelvaris(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);
    const QString errors = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(errors.contains(QStringLiteral("kelvaris: cannot serve the socket @kelvaris-test-")))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("another Kelvaris serves it")));
    EXPECT_TRUE(errors.contains(QStringLiteral("is owned by another program")));
    // It started nothing: no logbook, and the alarm server heard no deactivation.
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_FALSE(Commands().contains(QStringLiteral("[setshift(0)]")));
    // The first one serves on.
    EXPECT_EQ(Check("18"), 0);
}

TEST_F(HeadlessTest, PublishesWhoIsOnDuty)
{
    StartKelvaris(m_kelvaris);
    // The takeover group with its holder: Anna first, Bert once he confirmed the takeover (the
    // plan is refreshed then, as in the window).
    const QStringList get = { QStringLiteral("dde"), QStringLiteral("get"), QStringLiteral("Dispatching"),
        QStringLiteral("Current") };
    QDeadlineTimer deadline(15000);
    QString value;
    do {
        QThread::msleep(200);
        value = Ctl(get);
    } while (value != QStringLiteral("North/Bert") && !deadline.hasExpired());
    EXPECT_EQ(value, QStringLiteral("North/Bert"));

    // Deactivation empties it; the program ends right after, so only the published order is seen.
    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitCode(), 0);
}

namespace {
// Another account's program squatting on the socket name before Kelvaris starts: it answers every
// check with 3 ("not dispatched"). A child process running as `user`; ends with the test.
pid_t StartSquatter(const QByteArray& name, const passwd& user)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    if (::setgroups(0, nullptr) != 0 || ::setgid(user.pw_gid) != 0 || ::setuid(user.pw_uid) != 0)
        ::_exit(2);
    const int listener = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.constData(), size_t(name.size()));
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address),
            socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size()))
            != 0
        || ::listen(listener, 16) != 0)
        ::_exit(3);
    for (;;) {
        const int connection = ::accept(listener, nullptr, nullptr);
        char request[4096];
        if (connection >= 0 && ::recv(connection, request, sizeof request, 0) >= 0)
            ::send(connection, "<DispatchingResult>3</DispatchingResult>\r\n", 42, MSG_NOSIGNAL);
        ::close(connection);
    }
}
} // namespace

// One local account must not be able to take the alarm server's socket: Kelvaris names who holds
// it, and clients told whom to expect send nothing to anybody else.
TEST_F(HeadlessTest, ASocketAnotherUserHoldsIsNamedAndClientsRefuseIt)
{
    const passwd* entry = ::getpwnam("nobody");
    if (::geteuid() != 0 || !entry)
        GTEST_SKIP() << "needs root to run the squatting program as the user nobody";
    const QByteArray name = m_env.value(QStringLiteral("KELVARIS_PIPE_NAME")).toUtf8();
    const pid_t squatter = StartSquatter(name, *entry);
    ASSERT_GT(squatter, 0);
    const auto end = qScopeGuard([squatter] {
        ::kill(squatter, SIGKILL);
        ::waitpid(squatter, nullptr, 0);
    });
    // Listening once the kernel's table of sockets shows the name.
    for (QDeadlineTimer listening(5000); !listening.hasExpired(); QThread::msleep(20)) {
        QFile table(QStringLiteral("/proc/net/unix"));
        if (table.open(QIODevice::ReadOnly) && table.readAll().contains("@" + name))
            break;
    }

    StartKelvaris(m_kelvaris);
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitCode(), 1);
    const QString error = QString::fromUtf8(m_kelvaris.readAllStandardError());
    EXPECT_TRUE(
        error.contains(QStringLiteral("held by another user's program: user nobody (uid %1), process %2")
                           .arg(entry->pw_uid)
                           .arg(squatter)))
        << error.toStdString();

    // kelvarisctl told to expect root's Kelvaris sends nothing to the squatter.
    QProcess ctl;
    QProcessEnvironment env = m_env;
    env.insert(QStringLiteral("KELVARIS_SERVER_USER"), QStringLiteral("root"));
    ctl.setProcessEnvironment(env);
    ctl.start(QStringLiteral(KELVARISCTL_PATH),
        { QStringLiteral("dispatch"), QStringLiteral("--id"), QStringLiteral("18") });
    ASSERT_TRUE(ctl.waitForFinished(10000));
    EXPECT_EQ(ctl.exitCode(), 1);
    const QString refused = QString::fromUtf8(ctl.readAllStandardError());
    EXPECT_TRUE(refused.contains(QStringLiteral("is not served by root"))
        && refused.contains(QStringLiteral("nobody")))
        << refused.toStdString();
    EXPECT_TRUE(ctl.readAllStandardOutput().isEmpty());
}

// Under the service manager's socket unit the service (kelvarisd, as the unit runs it) takes the
// socket it is handed (socket activation): the first check, which started it, is answered.
TEST_F(HeadlessTest, TheSocketTheServiceManagerBoundIsTaken)
{
    const QString activator = QStandardPaths::findExecutable(QStringLiteral("systemd-socket-activate"));
    if (activator.isEmpty())
        GTEST_SKIP() << "systemd-socket-activate is not installed";
    QStringList arguments { QStringLiteral("--seqpacket"), QStringLiteral("-l"),
        QLatin1Char('@') + m_env.value(QStringLiteral("KELVARIS_PIPE_NAME")) };
    for (const QString& variable : m_env.keys())
        arguments << QStringLiteral("-E") << variable + QLatin1Char('=') + m_env.value(variable);
    arguments << QStringLiteral(KELVARISD_PATH);
    m_kelvaris.setProcessEnvironment(m_env);
    m_kelvaris.start(activator, arguments);
    ASSERT_TRUE(m_kelvaris.waitForStarted(5000));
    QThread::msleep(300); // listening
    EXPECT_EQ(Check("18"), 0); // Bert has no plan: on duty
    EXPECT_EQ(Check("17"), 3);
    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitCode(), 0) << m_kelvaris.readAllStandardError().toStdString();
}

// The alarm server restarted with another target list: the new list takes effect within a minute of
// its return, the change is named, and the new target's plan decides.
TEST_F(HeadlessTest, AnAlarmServerRestartedWithOtherTargetsIsFollowed)
{
    StartKelvaris(m_kelvaris);
    ASSERT_TRUE(WaitForCommand(QStringLiteral("[check(Kelvaris)]"), 10000));
    // Carla is not known yet: the check finds no target and the message goes out.
    WriteData("19.tim", "[Settings]\r\nName=Carla\r\n20000101=00:00-24:00\r\n");
    EXPECT_EQ(Check("19"), 0);

    EndProcesses({ &m_sim });
    WriteData("targets.cfg",
        "[Target1]\r\nName=Anna\r\nNumber=0\r\nID=17\r\nColour=255\r\n"
        "[Target2]\r\nName=Carla\r\nNumber=2\r\nID=19\r\nColour=255\r\n");
    QThread::msleep(1500);
    StartSimulator();
    // Seen at once by the alarm server's bus name, not at the next presence check.
    QDeadlineTimer deadline(10000);
    while (Check("19") != 3 && !deadline.hasExpired())
        QThread::msleep(250);
    EXPECT_FALSE(deadline.hasExpired()) << "Carla's plan did not decide within ten seconds";
    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    const QByteArray errors = m_kelvaris.readAllStandardError();
    EXPECT_TRUE(errors.contains("The alarm server's target list changed: added 19; removed 18, 40"))
        << errors.constData();
    EXPECT_TRUE(errors.contains("The alarm server's bus name has a new owner")) << errors.constData();
}

// Two gaps in North's cover within the next hours: the simulator is told of each once, and a
// restarted Kelvaris, which finds them again, pages nobody a second time.
TEST_F(HeadlessTest, EachGapInCoverIsPagedOnceAcrossARestart)
{
    WriteData("kelvaris.cfg", Schedule().replace("[Settings]\r\n", "[Settings]\r\nCoverageNotify=18\r\n"));
    WriteData("40.tim", "[Settings]\r\nName=North\r\n");
    WriteData("18.tim", "[Settings]\r\nName=Bert\r\n20000101=00:00-24:00\r\n");
    // Anna covers from yesterday to the day after tomorrow but for two hours from now + 3 h and
    // now + 6 h (whole minutes, split at midnight into one line per day).
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime base(now.date(), QTime(now.time().hour(), now.time().minute()));
    const QList<std::pair<QDateTime, QDateTime>> covered
        = { { QDateTime(now.date().addDays(-1), QTime(0, 0)), base.addSecs(3 * 3600) },
              { base.addSecs(4 * 3600), base.addSecs(6 * 3600) },
              { base.addSecs(7 * 3600), QDateTime(now.date().addDays(3), QTime(0, 0)) } };
    QMap<QDate, QStringList> days;
    for (auto [from, to] : covered) {
        while (from < to) {
            const QDateTime dayEnd(from.date().addDays(1), QTime(0, 0));
            const QDateTime end = std::min(to, dayEnd);
            days[from.date()] << from.toString(QStringLiteral("HH:mm")) + u'-'
                    + (end == dayEnd ? QStringLiteral("24:00") : end.toString(QStringLiteral("HH:mm")));
            from = end;
        }
    }
    QByteArray plan = "[Settings]\r\nName=Anna\r\n";
    for (auto it = days.cbegin(); it != days.cend(); ++it)
        plan += it.key().toString(QStringLiteral("yyyyMMdd")).toLatin1() + '=' + it->join(u';').toLatin1()
            + "\r\n";
    WriteData("17.tim", plan);

    const auto pages = [this] {
        return Commands().filter(QStringLiteral("[send2(\"Bert\",\"Nobody in North is on duty "));
    };
    StartKelvaris(m_kelvaris);
    QDeadlineTimer deadline(15000);
    while (pages().size() < 2 && !deadline.hasExpired())
        QThread::msleep(100);
    ASSERT_EQ(pages().size(), 2) << Commands().join(u'\n').toStdString();
    EXPECT_TRUE(pages()[0].contains(base.addSecs(3 * 3600).toString(QStringLiteral("HH:mm")) + u'-'
        + base.addSecs(4 * 3600).toString(QStringLiteral("HH:mm"))))
        << pages()[0].toStdString();

    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    StartKelvaris(m_kelvaris);
    // Until the restarted program answers, and a few of its cycles after that.
    deadline.setRemainingTime(10000);
    while (Check("17") == -1 && !deadline.hasExpired())
        QThread::msleep(100);
    QThread::msleep(2500);
    EXPECT_EQ(pages().size(), 2) << Commands().join(u'\n').toStdString();
}

// With AnswerJournal=1 the windowless program keeps the socket's checks with the asking user's
// uid, and its edit journal verifies.
TEST_F(HeadlessTest, SocketChecksAreJournaledWithTheAskingUser)
{
    WriteData(
        "kelvaris.cfg", Schedule().replace("AutoActivate=1\r\n", "AutoActivate=1\r\nAnswerJournal=1\r\n"));
    StartKelvaris(m_kelvaris);
    QDeadlineTimer ready(10000);
    while (Check("18") < 0 && !ready.hasExpired())
        QThread::msleep(50);
    ASSERT_EQ(Check("18"), 0);
    QJsonArray answers;
    QDeadlineTimer written(5000);
    do {
        QThread::msleep(100);
        answers = QJsonDocument::fromJson(
            Ctl({ QStringLiteral("history"), QStringLiteral("--answers"), QStringLiteral("--target"),
                    QStringLiteral("18"), QStringLiteral("--json") })
                .toUtf8())
                      .array();
    } while (answers.size() < 2 && !written.hasExpired());
    ASSERT_GE(answers.size(), 2);
    const QJsonObject last = answers.last().toObject();
    EXPECT_EQ(last.value(QStringLiteral("uid")).toInteger(), qint64(::getuid()));
    EXPECT_EQ(last.value(QStringLiteral("result")).toString(), QStringLiteral("Send"));
    EXPECT_TRUE(Ctl({ QStringLiteral("history"), QStringLiteral("--verify") })
                    .startsWith(QStringLiteral("journal intact")));
}

// A full disk (a small tmpfs): the socket's checks are answered at once all the same, the answer
// journal warns, keeps what it could not write and writes it once there is room again.
TEST_F(HeadlessTest, AFullDiskDelaysNoAnswerAndLosesNoneOfThem)
{
    const QString disk = m_dir.filePath(QStringLiteral("disk"));
    ASSERT_TRUE(QDir().mkdir(disk));
    if (QProcess::execute(QStringLiteral("mount"),
            { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=4m"),
                QStringLiteral("tmpfs"), disk })
        != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here (needs root)";
    const auto unmount = qScopeGuard([&] {
        EndProcesses({ &m_kelvaris });
        QProcess::execute(QStringLiteral("umount"), { QStringLiteral("-l"), disk });
    });
    for (const QString& name :
        { QStringLiteral("kelvaris.cfg"), QStringLiteral("17.tim"), QStringLiteral("40.tim") })
        ASSERT_TRUE(QFile::copy(m_dir.filePath(name), disk + u'/' + name));
    QFile config(disk + QStringLiteral("/kelvaris.cfg"));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
    config.write(Schedule().replace("AutoActivate=1\r\n", "AutoActivate=1\r\nAnswerJournal=1\r\n"));
    config.close();
    m_env.insert(QStringLiteral("KELVARIS_DATA"), disk);
    StartKelvaris(m_kelvaris);
    QDeadlineTimer ready(10000);
    while (Check("18") < 0 && !ready.hasExpired())
        QThread::msleep(50);
    ASSERT_EQ(Check("18"), 0);
    QThread::msleep(300); // the first answers are written

    // The disk fills up.
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(64 * 1024, 'x');
    while (filler.write(block) == block.size() && filler.flush()) { }
    filler.close();
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer answered;
        answered.start();
        EXPECT_EQ(Check("18"), 0);
        EXPECT_LT(answered.elapsed(), 2000);
    }
    QString errors;
    QDeadlineTimer warned(5000);
    while (!errors.contains(QStringLiteral("cannot be written")) && !warned.hasExpired()) {
        m_kelvaris.waitForReadyRead(200);
        errors += QString::fromUtf8(m_kelvaris.readAllStandardError());
    }
    EXPECT_TRUE(errors.contains(QStringLiteral("The answer journal"))) << errors.toStdString();

    // Room again: every answer is in the journal.
    ASSERT_TRUE(QFile::remove(disk + QStringLiteral("/filler")));
    int listed = 0;
    QDeadlineTimer written(10000);
    do {
        QThread::msleep(200);
        listed = int(QJsonDocument::fromJson(
            Ctl({ QStringLiteral("history"), QStringLiteral("--answers"), QStringLiteral("--target"),
                    QStringLiteral("18"), QStringLiteral("--json") })
                .toUtf8())
                         .array()
                         .size());
    } while (listed < 22 && !written.hasExpired());
    EXPECT_GE(listed, 22); // the two before and the 20 on the full disk
    EXPECT_TRUE(Ctl({ QStringLiteral("history"), QStringLiteral("--verify") })
                    .startsWith(QStringLiteral("journal intact")));
}

// Duty notices in real programs, the clock moved by faketime (a simulated minute every three
// seconds): Anna's duty at 10:00 is announced once at 09:58 although Kelvaris restarts at 09:59;
// one at 10:30, whose moment passes while Kelvaris is stopped, is dropped with a logbook line.
TEST_F(HeadlessTest, ADutyIsAnnouncedOnceByTheRealProgramsAcrossARestart)
{
    const QString faketime = FakeTimeLibrary();
    if (faketime.isEmpty())
        GTEST_SKIP() << "libfaketime cannot be preloaded here (not installed, or the address sanitizer's "
                        "runtime must come first)";
    // No barrier/pause (that would hold the notices).
    WriteData("kelvaris.cfg",
        "[Settings]\r\nWorkDays=31\r\nAutoActivate=1\r\nTimeZone=UTC\r\nNoticeLeadMinutes=2\r\n");
    WriteData("17.tim", "[Settings]\r\nName=Anna\r\n20261208=10:00-10:20;10:30-11:00\r\n");
    m_env.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    const auto runFrom
        = [this, &faketime](const char* start, int seconds, const std::function<void()>& meanwhile = {}) {
              QProcess kelvaris;
              QProcessEnvironment environment = m_env;
              environment.insert(QStringLiteral("LD_PRELOAD"), faketime);
              environment.insert(QStringLiteral("FAKETIME"),
                  QStringLiteral("@2026-12-08 %1:00 x20").arg(QString::fromLatin1(start)));
              kelvaris.setProcessEnvironment(environment);
              kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
              EXPECT_TRUE(kelvaris.waitForStarted(5000));
              if (meanwhile) {
                  QThread::msleep(2000);
                  meanwhile();
                  seconds -= 2;
              }
              QThread::msleep(seconds * 1000);
              kelvaris.terminate();
              EXPECT_TRUE(kelvaris.waitForFinished(10000));
              return QString::fromUtf8(kelvaris.readAllStandardOutput() + kelvaris.readAllStandardError());
          };
    const auto reminders = [this] { return Commands().filter(QStringLiteral("Reminder: duty for Anna")); };
    // What kelvarisctl notices says will be sent.
    const QString listed = Ctl({ QStringLiteral("notices"), QStringLiteral("--from"),
        QStringLiteral("2026-12-08 09:56"), QStringLiteral("--days"), QStringLiteral("1") });
    const QString first = runFrom("09:56", 9); // to about 09:59
    EXPECT_EQ(reminders().size(), 1) << first.toStdString() << Commands().join(u'\n').toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Notice sent to Anna"))) << first.toStdString();
    ASSERT_FALSE(reminders().isEmpty());
    const QString text = reminders().first().section(u'"', 3, 3).mid(24);
    EXPECT_TRUE(listed.startsWith(QStringLiteral("2026-12-08T09:58:00+00:00\treminder\tAnna\t17\t") + text))
        << listed.toStdString();
    runFrom("09:59", 6); // to about 10:01: nothing again
    EXPECT_EQ(reminders().size(), 1) << Commands().join(u'\n').toStdString();
    const QString late = runFrom("10:50", 4); // the 10:28 reminder is 22 minutes late
    EXPECT_EQ(reminders().size(), 1);
    // 22 minutes, a little more when the program was slow to start.
    EXPECT_TRUE(late.contains(QRegularExpression(QStringLiteral("dropped, 2[2-4] minutes late"))))
        << late.toStdString();

    // Tomorrow's duty edited while it runs: one notice sums the change up.
    runFrom("11:10", 12, [this] {
        WriteData("17.tim",
            "[Settings]\r\nName=Anna\r\n20261208=10:00-10:20;10:30-11:00\r\n20261209=08:00-09:00\r\n");
    });
    const QStringList changed = Commands().filter(QStringLiteral("Your duty changed"));
    ASSERT_EQ(changed.size(), 1) << Commands().join(u'\n').toStdString();
    EXPECT_TRUE(changed.first().contains(QStringLiteral("Wed 9 Dec 2026 08:00-09:00 added")))
        << changed.first().toStdString();

    // A pause 12:00-12:10 holds the reminder due at 12:07 for the duty at 12:12, and lets it go
    // at its end.
    WriteData("kelvaris.cfg",
        "[Settings]\r\nWorkDays=31\r\nAutoActivate=1\r\nTimeZone=UTC\r\nNoticeLeadMinutes=5\r\n"
        "[Barrage1]\r\nBarrageName=Quiet\r\nDateType=10\r\nBarrageDate=1899-12-30\r\n"
        "BarrageStartTime=1899-12-30 12:00:00\r\nBarrageEndTime=1899-12-30 12:10:00\r\nBarrageType=1\r\n");
    WriteData("17.tim", "[Settings]\r\nName=Anna\r\n20261208=12:12-13:00\r\n20261209=08:00-09:00\r\n");
    const QString held = runFrom("12:05", 20); // to about 12:11
    EXPECT_TRUE(held.contains(QStringLiteral("Notice to Anna held by the barrier/pause")))
        << held.toStdString();
    EXPECT_TRUE(held.contains(
        QStringLiteral("Notice sent to Anna: Reminder: duty for Anna from Tue 8 Dec 2026 12:12")))
        << held.toStdString();
}

// One clock: the service runs in one zone and the site keeps another (Settings/TimeZone), the
// clock moved by faketime. The time-less check, the shift pushed, a reminder and a gap warning all
// go by the site's wall clock; and the same the other way round.
TEST_F(HeadlessTest, TheSitesClockHoldsWhateverZoneTheServiceRunsIn)
{
    const QString faketime = FakeTimeLibrary();
    if (faketime.isEmpty())
        GTEST_SKIP() << "libfaketime cannot be preloaded here (not installed, or the address sanitizer's "
                        "runtime must come first)";
    struct CDirection
    {
        const char* process; // TZ of the service
        const char* site; // Settings/TimeZone
        const char* start; // FAKETIME's start, in the service's own zone: 10:00 UTC
        const char* hour; // the site's hour then
        const char* otherHour; // the service's hour then
    };
    const CDirection directions[] = {
        { "UTC", "Asia/Tokyo", "2026-12-08 10:00:00", "19", "10" },
        { "Asia/Tokyo", "UTC", "2026-12-08 19:00:00", "10", "19" },
    };
    for (const CDirection& direction : directions) {
        SCOPED_TRACE(direction.process);
        const QByteArray hour(direction.hour);
        const QByteArray other(direction.otherHour);
        QByteArray config = "[Settings]\r\nWorkDays=31\r\nAutoActivate=1\r\nNoticeLeadMinutes=2\r\nTimeZone="
            + QByteArray(direction.site) + "\r\n";
        const int types[] = { 2, 10, 11 };
        for (int i = 0; i < 3; ++i)
            config += "[Shift" + QByteArray::number(i + 1) + "]\r\nShiftName=Evening\r\nDateType="
                + QByteArray::number(types[i]) + "\r\nShiftDate=1899-12-30\r\nShiftStartTime=1899-12-30 "
                + hour + ":00:00\r\nShiftEndTime=1899-12-30 " + hour + ":59:59\r\nShiftNumber=7\r\n";
        WriteData("kelvaris.cfg", config);
        // Anna is on duty now by the site's clock; Bert only by the service's, and he comes on
        // three minutes from now (a reminder two minutes ahead); North is on duty for the hour,
        // which its members leave uncovered from half past.
        WriteData("17.tim", "[Settings]\r\nName=Anna\r\n20261208=" + hour + ":00-" + hour + ":30\r\n");
        WriteData("18.tim",
            "[Settings]\r\nName=Bert\r\n20261208=" + other + ":00-" + other + ":30;" + hour + ":03-" + hour
                + ":30\r\n");
        WriteData("40.tim",
            "[Settings]\r\nName=North\r\nTakeover=0\r\n20261208=" + hour + ":00-" + hour + ":59\r\n");
        QFile::remove(m_dir.filePath(QStringLiteral("kelvaris-notices.cfg")));
        QFile::remove(m_dir.filePath(QStringLiteral("kelvaris-notified.cfg")));
        // What the simulator logged before this run is not this run's.
        const qsizetype logged = Commands().size();
        const auto commands = [this, logged] { return Commands().mid(logged); };

        QProcess kelvaris;
        QProcessEnvironment environment = m_env;
        environment.insert(QStringLiteral("TZ"), QString::fromLatin1(direction.process));
        environment.insert(QStringLiteral("LD_PRELOAD"), faketime);
        environment.insert(
            QStringLiteral("FAKETIME"), QStringLiteral("@%1 x20").arg(QLatin1String(direction.start)));
        kelvaris.setProcessEnvironment(environment);
        kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
        ASSERT_TRUE(kelvaris.waitForStarted(5000));
        QDeadlineTimer pushed(5000);
        while (!commands().contains(QStringLiteral("[setshift(7)]")) && !pushed.hasExpired())
            QThread::msleep(50);
        EXPECT_TRUE(commands().contains(QStringLiteral("[setshift(7)]")))
            << commands().join(u'\n').toStdString();
        EXPECT_EQ(Check("17"), 0);
        EXPECT_EQ(Check("18"), 3);
        QThread::msleep(6000); // about two simulated minutes: Bert's reminder is due
        kelvaris.terminate();
        EXPECT_TRUE(kelvaris.waitForFinished(10000));
        const QString output
            = QString::fromUtf8(kelvaris.readAllStandardOutput() + kelvaris.readAllStandardError());
        const QStringList reminders = commands().filter(QStringLiteral("Reminder: duty for Bert"));
        ASSERT_EQ(reminders.size(), 1) << output.toStdString() << commands().join(u'\n').toStdString();
        EXPECT_TRUE(reminders.first().contains(QString::fromLatin1(hour + ":03")))
            << reminders.first().toStdString();
        EXPECT_TRUE(output.contains(
            QRegularExpression(QStringLiteral("coverage: nobody in North is on duty .*%1:30-%1:59")
                                   .arg(QString::fromLatin1(hour)))))
            << output.toStdString();
    }
}
