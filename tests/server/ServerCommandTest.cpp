#include <gtest/gtest.h>
#include <memory>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"

#include "fakes/FakeServerCommand.h"
#include "fakes/PrivateBus.h"

namespace {

const QString kTestService = QStringLiteral("com.example.KelvarisTest.AlarmServer");

// The test's alarm server on one bus: answers ExecuteCommand at the real object path and
// interface. "[hang]" is never answered, "[error]" gets an error reply, "[int]" an integer,
// "[two]" two strings, "[huge]" a result one character over the limit, "[bus]" the name of its
// bus; every other command "ok:" and the command.
class CTestAlarmServer : public QDBusVirtualObject
{
public:
    explicit CTestAlarmServer(const QString& busLabel)
        : m_busLabel(busLabel)
    { }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != QLatin1String(kAlarmServerInterface)
            || message.member() != QLatin1String(kAlarmServerMethod)
            || message.signature() != QLatin1String("s")) {
            connection.send(
                message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("wrong call")));
            return true;
        }
        const QString command = message.arguments().constFirst().toString();
        {
            QMutexLocker lock(&m_mutex);
            m_received.append(command);
        }
        if (command == QLatin1String("[hang]"))
            return true;
        QDBusMessage reply;
        if (command == QLatin1String("[error]"))
            reply = message.createErrorReply(
                QStringLiteral("com.ondrevi.AlarmServer.Error.Failed"), QStringLiteral("the command failed"));
        else if (command == QLatin1String("[int]"))
            reply = message.createReply(QVariant(42));
        else if (command == QLatin1String("[two]"))
            reply = message.createReply(QVariantList { QStringLiteral("a"), QStringLiteral("b") });
        else if (command == QLatin1String("[huge]"))
            reply = message.createReply(QString(CDBusServerCommand::kMaxTextLength + 1, QLatin1Char('x')));
        else if (command == QLatin1String("[bus]"))
            reply = message.createReply(m_busLabel);
        else
            reply = message.createReply(QStringLiteral("ok:") + command);
        connection.send(reply);
        return true;
    }

    QString introspect(const QString&) const override { return {}; }

    QStringList Received() const
    {
        QMutexLocker lock(&m_mutex);
        return m_received;
    }

private:
    QString m_busLabel;
    mutable QMutex m_mutex;
    QStringList m_received;
};

// A QCoreApplication, two private buses (one stands in for the system bus through
// DBUS_SYSTEM_BUS_ADDRESS, set before anything connects) and an alarm server on each, owning
// kTestService on its own connection and running in a thread of its own, so that the test thread
// may block in a call.
class CBusEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        static int argc = 1;
        static char arg0[] = "test_server";
        static char* argv[] = { arg0, nullptr };
        m_app = std::make_unique<QCoreApplication>(argc, argv);
        qunsetenv(kAlarmServerServiceVariable);
        m_systemBus = std::make_unique<CPrivateBus>();
        m_sessionBus = std::make_unique<CPrivateBus>(); // sets DBUS_SESSION_BUS_ADDRESS last
        ASSERT_TRUE(m_systemBus->IsRunning() && m_sessionBus->IsRunning());
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_systemBus->Address().toUtf8());
        m_thread.start();
        m_ready = Serve(m_sessionBus->Address(), QStringLiteral("session"), m_sessionServer)
            && Serve(m_systemBus->Address(), QStringLiteral("system"), m_systemServer);
    }

    void TearDown() override
    {
        for (const QString& label : { QStringLiteral("session"), QStringLiteral("system") })
            QDBusConnection::disconnectFromBus(QStringLiteral("test-server-") + label);
        m_thread.quit();
        m_thread.wait();
        m_sessionServer.reset();
        m_systemServer.reset();
        m_sessionBus.reset();
        m_systemBus.reset();
        m_app.reset();
    }

    bool Ready() const { return m_ready; }
    CTestAlarmServer& SessionServer() { return *m_sessionServer; }

private:
    bool Serve(const QString& address, const QString& label, std::unique_ptr<CTestAlarmServer>& server)
    {
        server = std::make_unique<CTestAlarmServer>(label);
        server->moveToThread(&m_thread);
        QDBusConnection connection
            = QDBusConnection::connectToBus(address, QStringLiteral("test-server-") + label);
        return connection.isConnected()
            && connection.registerVirtualObject(QLatin1String(kAlarmServerObjectPath), server.get())
            && connection.registerService(kTestService);
    }

    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<CPrivateBus> m_systemBus;
    std::unique_ptr<CPrivateBus> m_sessionBus;
    QThread m_thread;
    std::unique_ptr<CTestAlarmServer> m_sessionServer;
    std::unique_ptr<CTestAlarmServer> m_systemServer;
    bool m_ready = false;
};

CBusEnvironment* const g_bus
    = static_cast<CBusEnvironment*>(::testing::AddGlobalTestEnvironment(new CBusEnvironment));

class DBusServerCommandTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(g_bus->Ready()); }

    // One command through a fresh object of `factory`; the result starts out stale.
    static bool Run(CServerCommandFactory& factory, const QString& command, QString& result)
    {
        result = QStringLiteral("stale");
        const std::unique_ptr<CServerCommand> object = factory.Create();
        return object && object->ExecuteCommand(command, result);
    }
};

TEST_F(DBusServerCommandTest, ResultsComeBackExactly)
{
    CDBusServerCommandFactory factory(EAlarmServerBus::Session, kTestService);
    const QString texts[] = {
        QStringLiteral("[check(Kelvaris)]"),
        QString(),
        QStringLiteral(
            "[send2(\"Bereitschaft Süd\",\"Ω 😀 — Ärger\tx\r\ny\",\"\",0,\"Kelvaris\",\"Time:40\",)]"),
    };
    for (const QString& text : texts) {
        QString result;
        EXPECT_TRUE(Run(factory, text, result)) << text.toStdString();
        EXPECT_EQ(result, QStringLiteral("ok:") + text);
    }
    EXPECT_TRUE(g_bus->SessionServer().Received().endsWith(texts[2]));
}

TEST_F(DBusServerCommandTest, FailuresGiveFalseAndAnEmptyResult)
{
    CDBusServerCommandFactory factory(EAlarmServerBus::Session, kTestService);
    QString result;
    for (const char* command : { "[error]", "[int]", "[two]", "[huge]" }) {
        EXPECT_FALSE(Run(factory, QString::fromLatin1(command), result)) << command;
        EXPECT_TRUE(result.isEmpty()) << command;
    }
    // A D-Bus string ends at a NUL: such a command would reach the server cut, so it is not sent.
    const QString withNul = QStringLiteral("[setshift(1)]") + QChar(u'\0') + QStringLiteral("[setshift(0)]");
    EXPECT_FALSE(Run(factory, withNul, result));
    EXPECT_TRUE(result.isEmpty());
    EXPECT_FALSE(g_bus->SessionServer().Received().contains(QStringLiteral("[setshift(1)]")));
    // The link is still usable afterwards.
    EXPECT_TRUE(Run(factory, QStringLiteral("[bus]"), result));
    EXPECT_EQ(result, QStringLiteral("session"));
}

TEST_F(DBusServerCommandTest, NameWithoutOwnerFailsAtOnce)
{
    CDBusServerCommandFactory factory(
        EAlarmServerBus::Session, QStringLiteral("com.example.KelvarisTest.Nobody"));
    QElapsedTimer timer;
    timer.start();
    QString result;
    EXPECT_FALSE(Run(factory, QStringLiteral("[check(Kelvaris)]"), result));
    EXPECT_TRUE(result.isEmpty());
    EXPECT_LT(timer.elapsed(), 4000); // not by waiting for the reply time-out
}

TEST_F(DBusServerCommandTest, UnansweredCallTimesOut)
{
    QString result;
    CDBusServerCommandFactory quick(EAlarmServerBus::Session, kTestService, 200);
    EXPECT_FALSE(Run(quick, QStringLiteral("[hang]"), result));
    EXPECT_TRUE(result.isEmpty());

    CDBusServerCommandFactory factory(EAlarmServerBus::Session, kTestService);
    EXPECT_EQ(factory.TimeoutMs(), 5000);
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(Run(factory, QStringLiteral("[hang]"), result));
    EXPECT_TRUE(result.isEmpty());
    EXPECT_LT(timer.elapsed(), 15000); // the bus library's own default would be 25 s
    EXPECT_TRUE(Run(factory, QStringLiteral("[bus]"), result));
}

TEST_F(DBusServerCommandTest, BusChosenBySettingsKey)
{
    EXPECT_EQ(AlarmServerBusFromSetting(QStringLiteral("system")), EAlarmServerBus::System);
    EXPECT_EQ(AlarmServerBusFromSetting(QStringLiteral("SyStEm")), EAlarmServerBus::System);
    EXPECT_EQ(AlarmServerBusFromSetting(QStringLiteral("session")), EAlarmServerBus::Session);
    EXPECT_EQ(AlarmServerBusFromSetting(QStringLiteral("systems")), EAlarmServerBus::Session);
    EXPECT_EQ(AlarmServerBusFromSetting(QString()), EAlarmServerBus::Session);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv(kAlarmServerServiceVariable, kTestService.toUtf8());
    const auto busFromFile = [&](const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        CProfile::DropCachedFiles();
        CDBusServerCommandFactory factory(AlarmServerAddressFrom(CProfile(path)));
        QString result;
        EXPECT_TRUE(Run(factory, QStringLiteral("[bus]"), result));
        return result;
    };
    EXPECT_EQ(busFromFile("[Settings]\r\nAlarmServerBus=System\r\n"), QStringLiteral("system"));
    EXPECT_EQ(busFromFile("[Settings]\r\nAlarmServerBus=session\r\n"), QStringLiteral("session"));
    EXPECT_EQ(busFromFile("[Other]\r\nAlarmServerBus=system\r\n"), QStringLiteral("session"));
    EXPECT_EQ(busFromFile(""), QStringLiteral("session"));
    qunsetenv(kAlarmServerServiceVariable);
}

TEST_F(DBusServerCommandTest, ServiceNameFromEnvironment)
{
    const QString fallback = QStringLiteral("com.ondrevi.AlarmServer");
    qunsetenv(kAlarmServerServiceVariable);
    EXPECT_EQ(AlarmServerServiceFromEnvironment(), fallback);
    qputenv(kAlarmServerServiceVariable, "");
    EXPECT_EQ(AlarmServerServiceFromEnvironment(), fallback);
    for (const char* bad : { "AlarmServer", "com..x", ".com.x", "com.x.", "com.1x", ":1.42", "com.ex ample",
             "com.Ünicode", "com.x/y" }) {
        qputenv(kAlarmServerServiceVariable, bad);
        EXPECT_EQ(AlarmServerServiceFromEnvironment(), fallback) << bad;
    }
    EXPECT_TRUE(IsValidBusServiceName(QStringLiteral("a._-b.c9")));
    EXPECT_TRUE(IsValidBusServiceName(QStringLiteral("a.") + QString(253, QLatin1Char('b'))));
    EXPECT_FALSE(IsValidBusServiceName(QStringLiteral("a.") + QString(254, QLatin1Char('b'))));

    qputenv(kAlarmServerServiceVariable, kTestService.toUtf8());
    CDBusServerCommandFactory factory(AlarmServerAddressFrom(CProfile(QStringLiteral("/nonexistent/k.cfg"))));
    qunsetenv(kAlarmServerServiceVariable);
    EXPECT_EQ(factory.Service(), kTestService);
    QString result;
    EXPECT_TRUE(Run(factory, QStringLiteral("[bus]"), result));
    EXPECT_EQ(result, QStringLiteral("session"));
}

// Starts a bus daemon listening on `address`; true once it listens.
bool StartDaemonAt(QProcess& daemon, const QString& address)
{
    daemon.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
            QStringLiteral("--address=") + address, QStringLiteral("--print-address=1") });
    QByteArray line;
    while (daemon.waitForStarted(5000) && !line.contains('\n') && daemon.waitForReadyRead(5000))
        line += daemon.readAllStandardOutput();
    return line.contains('\n');
}

TEST_F(DBusServerCommandTest, UnreachableBusGivesNoObjectUntilItComes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString address = QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("bus"));
    const auto factory = CDBusServerCommandFactory::ForBusAddress(address, kTestService);
    EXPECT_EQ(factory->Create(), nullptr);

    QProcess daemon;
    ASSERT_TRUE(StartDaemonAt(daemon, address));
    std::unique_ptr<CServerCommand> object = factory->Create();
    ASSERT_NE(object, nullptr);
    QString result = QStringLiteral("stale");
    EXPECT_FALSE(object->ExecuteCommand(QStringLiteral("[bus]"), result)); // nobody owns the name there
    EXPECT_TRUE(result.isEmpty());

    // The daemon goes away: once the loss is noticed, Create gives null again.
    daemon.kill();
    daemon.waitForFinished(5000);
    EXPECT_FALSE(object->ExecuteCommand(QStringLiteral("[bus]"), result));
    object.reset();
    QDeadlineTimer deadline(10000);
    while (factory->Create() != nullptr && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(factory->Create(), nullptr);

    QProcess restarted;
    QFile::remove(dir.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(StartDaemonAt(restarted, address));
    EXPECT_NE(factory->Create(), nullptr);
    restarted.terminate();
    restarted.waitForFinished(5000);
}

// A command object that leaves junk behind when it fails.
class CSloppyCommand : public CServerCommand
{
public:
    bool ExecuteCommand(const QString& command, QString& result) override
    {
        result = QStringLiteral("partial");
        return command == QLatin1String("[ok]");
    }
};

TEST(QueryThroughTest, PassesCommandAndResult)
{
    CFakeServerCommandFactory server;
    server.SetReply(QStringLiteral("[GetGroupMembers(G1)]"), QStringLiteral("A\tB"));
    const std::unique_ptr<CServerCommand> object = server.Create();
    const CServerQuery query = QueryThrough(*object);
    QString reply;
    EXPECT_TRUE(query(QStringLiteral("[GetGroupMembers(G1)]"), reply));
    EXPECT_EQ(reply, QStringLiteral("A\tB"));
    EXPECT_EQ(server.Commands(), QStringList { QStringLiteral("[GetGroupMembers(G1)]") });

    CSloppyCommand sloppy;
    const CServerQuery sloppyQuery = QueryThrough(sloppy);
    EXPECT_FALSE(sloppyQuery(QStringLiteral("[GetTarget3(X)]"), reply));
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_TRUE(sloppyQuery(QStringLiteral("[ok]"), reply));
    EXPECT_EQ(reply, QStringLiteral("partial"));
}

} // namespace
