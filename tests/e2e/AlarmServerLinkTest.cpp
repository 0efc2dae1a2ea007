// The page targets fetched from kelvaris-alarmsim through the real D-Bus transport.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "server/DBusServerCommand.h"

#include "PrivateBus.h"

namespace {

CPrivateBus* g_bus = nullptr;

class BusEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "test_e2e_alarmserver";
        static char* argv[] = { name, nullptr };
        m_app = std::make_unique<QCoreApplication>(argc, argv);
        m_bus = std::make_unique<CPrivateBus>();
        g_bus = m_bus.get();
    }
    void TearDown() override
    {
        g_bus = nullptr;
        m_bus.reset();
        // Before the exit handlers: Qt's own globals may be gone by then.
        m_app.reset();
    }

private:
    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<CPrivateBus> m_bus;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new BusEnvironment);

const char kTargets[] = "[Target1]\r\nName=Anna Berger\r\nNumber=0\r\nID=17\r\nColour=0x0000FFFF\r\n"
                        "[Target2]\r\nName=Bert Kuhn\r\nNumber=1\r\nID=18\r\nColour=255\r\n"
                        "[Target3]\r\nName=Carla Stein\r\nNumber=2\r\nID=19\r\nColour=0x00800000\r\n"
                        "[Target4]\r\nName=Service North\r\nNumber=-3\r\nID=40\r\nColour=0x00C0C0C0\r\n"
                        "Members=Anna Berger;Bert Kuhn\r\n";

class AlarmServerLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_bus && g_bus->IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        // Dispatch files are looked up beside the configuration file.
        ConfigLocation().SetPaths(m_dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
        m_service = QStringLiteral("com.ondrevi.AlarmServerTest.p%1").arg(QCoreApplication::applicationPid());
    }

    void TearDown() override
    {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            m_sim.waitForFinished(5000);
        }
    }

    bool StartSimulator()
    {
        QFile targets(m_dir.filePath(QStringLiteral("targets.cfg")));
        if (!targets.open(QIODevice::WriteOnly) || targets.write(kTargets) < 0)
            return false;
        targets.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), m_service);
        m_sim.setProcessEnvironment(env);
        m_sim.start(QStringLiteral(ALARMSIM_PATH),
            { QStringLiteral("--targets"), targets.fileName(), QStringLiteral("--log"),
                m_dir.filePath(QStringLiteral("sim.log")) });
        if (!m_sim.waitForStarted(5000))
            return false;
        return WaitForBusName(m_service);
    }

    QTemporaryDir m_dir;
    QString m_service;
    QProcess m_sim;
};

} // namespace

TEST_F(AlarmServerLinkTest, FetchesTheTargetsOfTheSimulator)
{
    ASSERT_TRUE(StartSimulator()) << m_sim.readAllStandardError().toStdString();
    CDBusServerCommandFactory factory(EAlarmServerBus::Session, m_service);
    const auto command = factory.Create();
    ASSERT_TRUE(command);

    CPageTargetArray targets;
    ASSERT_TRUE(targets.FetchFromServer(QueryThrough(*command)));
    ASSERT_EQ(targets.size(), 4);
    const CPageTarget& anna = targets.at(0);
    EXPECT_EQ(anna.m_name, QStringLiteral("Anna Berger"));
    EXPECT_EQ(anna.m_id, QStringLiteral("17"));
    EXPECT_EQ(anna.m_number, 0);
    EXPECT_EQ(anna.m_colour, 0x0000FFFFu);
    EXPECT_FALSE(anna.IsGroup());
    EXPECT_EQ(targets.at(1).m_colour, 255u);
    EXPECT_EQ(targets.at(2).m_id, QStringLiteral("19"));

    const CPageTarget* group = targets.FindByName(QStringLiteral("Service North"));
    ASSERT_TRUE(group);
    EXPECT_TRUE(group->IsGroup());
    EXPECT_EQ(group->m_number, -3);
    EXPECT_EQ(group->m_id, QStringLiteral("40"));
    EXPECT_EQ(group->m_members, QStringLiteral("Anna Berger;Bert Kuhn"));
    EXPECT_EQ(group->GetReceivers(targets), QStringLiteral("Anna Berger;Bert Kuhn"));
    EXPECT_EQ(targets.FindById(QStringLiteral("18")), &targets.at(1));

    // The simulator logged every query, one line each: the list, four details, one member query.
    QFile log(m_dir.filePath(QStringLiteral("sim.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_TRUE(lines[0].endsWith("\t[GetValue(Setup.Targets)]"));
    EXPECT_TRUE(lines[1].endsWith("\t[GetTarget3(Anna Berger)]"));
}

TEST_F(AlarmServerLinkTest, NoServerLeavesTheListEmptyWithinTheTimeOut)
{
    CDBusServerCommandFactory factory(EAlarmServerBus::Session, m_service);
    const auto command = factory.Create();
    ASSERT_TRUE(command); // the bus is there, the server is not
    CPageTargetArray targets;
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(targets.FetchFromServer(QueryThrough(*command)));
    EXPECT_LT(clock.elapsed(), 6000);
    EXPECT_EQ(targets.size(), 0);
}
