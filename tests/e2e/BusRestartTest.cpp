// kelvaris --headless across a restart of the bus daemon: a private daemon at a fixed address is
// killed and started again there, with a restarted alarm server simulator.
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "PrivateBus.h"
#include "fakes/TestPrograms.h"

namespace {

// A whole-day shift on every kind of day, so the values do not depend on the date.
QByteArray Schedule()
{
    QByteArray text = "[Settings]\r\nWorkDays=127\r\nAutoActivate=1\r\n";
    const int types[] = { 2, 10, 11 };
    for (int i = 0; i < 3; ++i)
        text += "[Shift" + QByteArray::number(i + 1)
            + "]\r\nShiftName=Day duty\r\nDateType=" + QByteArray::number(types[i])
            + "\r\nShiftDate=1899-12-30\r\nShiftStartTime=1899-12-30 00:00:00\r\n"
              "ShiftEndTime=1899-12-30 23:59:59\r\nShiftNumber=3\r\n";
    return text;
}

bool IsPush(const QString& command)
{
    return command.startsWith(QLatin1String("[setshift(")) || command.startsWith(QLatin1String("[setvalue("))
        || command == QLatin1String("[check(Kelvaris)]");
}

class BusRestartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
        m_bus = std::make_unique<CPrivateBus>(
            QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus")));
        ASSERT_TRUE(m_bus->IsRunning());
        const qint64 pid = QCoreApplication::applicationPid();
        m_service = QStringLiteral("com.ondrevi.KelvarisTest.r%1").arg(pid);
        m_alarmService = QStringLiteral("com.ondrevi.AlarmServerTest.r%1").arg(pid);
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_bus->Address());
        m_env.insert(QStringLiteral("KELVARIS_BUS_NAME"), m_service);
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), m_alarmService);
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(
            QStringLiteral("KELVARIS_PIPE_NAME"), QStringLiteral("kelvaris-restart-test-%1").arg(pid));
        m_env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("share")));
        QFile config(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(Schedule());
        QFile targets(m_dir.filePath(QStringLiteral("targets.cfg")));
        ASSERT_TRUE(targets.open(QIODevice::WriteOnly));
        targets.write("[Target1]\r\nName=Anna\r\nNumber=0\r\nID=17\r\nColour=255\r\n");
    }

    void TearDown() override
    {
        EndProcesses({ &m_kelvaris, &m_sim });
        for (const QString& name : m_connectionNames)
            QDBusConnection::disconnectFromBus(name);
        m_bus.reset();
        m_app.reset();
    }

    // Starts the simulator logging to `log` and waits until it owns its name on the current daemon.
    void StartSimulator(const QString& log)
    {
        m_sim.setProcessEnvironment(m_env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("targets.cfg")),
                QStringLiteral("--log"), log });
        ASSERT_TRUE(m_sim.waitForStarted(5000));
        ASSERT_TRUE(WaitForBusName(m_alarmService, 5000, &m_sim, Connection()));
    }

    // A connection to the current daemon (the one of the last daemon died with it).
    QDBusConnection Connection()
    {
        // A name used before would give that connection back, dead or alive.
        const QString name = QStringLiteral("restart-test-%1").arg(++s_connections);
        m_connectionNames << name;
        return QDBusConnection::connectToBus(m_bus->Address(), name);
    }

    // Runs kelvarisctl; its exit code, with its standard output in `output`.
    int Ctl(const QStringList& arguments, QString* output)
    {
        QProcess ctl;
        ctl.setProcessEnvironment(m_env);
        ctl.start(QStringLiteral(KELVARISCTL_PATH), arguments);
        if (!ctl.waitForFinished(10000))
            return -1;
        *output = QString::fromUtf8(ctl.readAllStandardOutput()).trimmed();
        return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
    }

    QTemporaryDir m_dir;
    int m_argc = 1;
    char m_arg0[16] = "test_e2e_bus";
    char* m_argv[2] = { m_arg0, nullptr };
    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<CPrivateBus> m_bus;
    QString m_service;
    QString m_alarmService;
    QProcessEnvironment m_env;
    QProcess m_sim;
    QProcess m_kelvaris;
    QStringList m_connectionNames;
    static inline int s_connections = 0;
};

} // namespace

TEST_F(BusRestartTest, PushesNameDDEAndAutomationComeBack)
{
    const QString firstLog = m_dir.filePath(QStringLiteral("sim1.log"));
    StartSimulator(firstLog);
    m_kelvaris.setProcessEnvironment(m_env);
    m_kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
    ASSERT_TRUE(m_kelvaris.waitForStarted(5000));
    ASSERT_TRUE(WaitForBusName(m_service, 10000, &m_kelvaris, Connection()));
    QDeadlineTimer pushed(10000);
    while (!AlarmSimCommands(firstLog).contains(QStringLiteral("[setshift(3)]")) && !pushed.hasExpired())
        QThread::msleep(50);
    ASSERT_TRUE(AlarmSimCommands(firstLog).contains(QStringLiteral("[setshift(3)]")));

    // The daemon dies (and the simulator with its bus); both come back at the same address.
    m_sim.kill();
    m_sim.waitForFinished(5000);
    ASSERT_TRUE(m_bus->Restart());
    const QString secondLog = m_dir.filePath(QStringLiteral("sim2.log"));
    StartSimulator(secondLog);

    // Within a minute: the name is owned again, DDE answers, a push reaches the new simulator.
    QDeadlineTimer deadline(60000);
    QString shift;
    bool pushedAgain = false;
    while (!deadline.hasExpired()) {
        if (shift.isEmpty()
            && Ctl({ QStringLiteral("dde"), QStringLiteral("get"), QStringLiteral("Shift"),
                       QStringLiteral("Name") },
                   &shift)
                != 0)
            shift.clear();
        const QStringList commands = AlarmSimCommands(secondLog);
        pushedAgain = std::any_of(commands.cbegin(), commands.cend(), IsPush);
        if (!shift.isEmpty() && pushedAgain)
            break;
        QThread::msleep(500);
    }
    EXPECT_EQ(shift, QStringLiteral("Day duty"));
    EXPECT_TRUE(pushedAgain) << AlarmSimCommands(secondLog).join(QLatin1Char(' ')).toStdString();
    QDBusConnection connection = Connection();
    EXPECT_TRUE(WaitForBusName(m_service, 1000, nullptr, connection));
    // The automation object is served again.
    QDBusMessage call
        = QDBusMessage::createMethodCall(m_service, QStringLiteral("/com/ondrevi/Kelvaris/KelvarisObj"),
            QStringLiteral("com.ondrevi.Kelvaris.IKelvarisObj"), QStringLiteral("DoCommand"));
    call << QStringLiteral("[check(x)]");
    EXPECT_EQ(connection.call(call, QDBus::Block, 5000).type(), QDBusMessage::ReplyMessage);

    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    const QByteArray errors = m_kelvaris.readAllStandardError();
    EXPECT_TRUE(errors.contains("Kelvaris's bus (session bus) was lost")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("Kelvaris's bus (session bus) was restored after")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("the alarm server's bus (session bus) was lost")) << errors.toStdString();
    EXPECT_TRUE(errors.contains("the alarm server's bus (session bus) was restored after"))
        << errors.toStdString();
}
