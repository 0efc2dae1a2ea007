// kelvaris --headless against kelvaris-alarmsim on a private session bus.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
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
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")), QStringLiteral("--log"),
                LogPath() });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        if (waitForName) {
            ASSERT_TRUE(WaitForBusName(m_service, 10000, &m_sim)) << m_sim.readAllStandardError().toStdString();
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
        const QString reply = Ctl({ QStringLiteral("dispatch"), QStringLiteral("--id"), QString::fromLatin1(id) });
        const qsizetype at = reply.indexOf(QStringLiteral("<DispatchingResult>"));
        return at < 0 ? -1 : reply.mid(at + 19, 1).toInt();
    }

    void TearDown() override
    {
        EndProcesses({ &m_kelvaris, &m_sim });
    }

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
