// The connection keeper against a private daemon that is killed and started again at the same
// address.
#include "server/DBusConnectionKeeper.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include "server/DBusServerCommand.h"
#include "support/Trace.h"

#include "fakes/PrivateBus.h"
#include "fakes/WarningCapture.h"

namespace {

// Answers every call with "ok", on a thread of its own so that the test thread may block in a call.
class CEchoServer : public QDBusVirtualObject
{
public:
    QString introspect(const QString&) const override { return QString(); }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        connection.send(message.createReply(QStringLiteral("ok")));
        return true;
    }
};

bool OwnsName(const QDBusConnection& connection, const QString& name)
{
    return connection.interface() && connection.interface()->isServiceRegistered(name).value();
}

// Checks until the keeper sees the state wanted (the loss of a socket is noticed by Qt's own
// thread, a moment after the daemon went).
bool CheckUntil(CDBusConnectionKeeper& keeper, bool connected)
{
    QDeadlineTimer deadline(10000);
    while (keeper.Check() != connected) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace

TEST(DBusConnectionKeeperTest, ReconnectsAfterTheDaemonRestartsAndSaysSo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CPrivateBus bus(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("bus")), false);
    ASSERT_TRUE(bus.IsRunning());
    CWarningCapture warnings(lcServer());

    CDBusConnectionKeeper keeper(bus.Address(), QStringLiteral("the test bus"), lcServer);
    int reconnected = 0;
    QObject::connect(&keeper, &CDBusConnectionKeeper::Reconnected, [&reconnected] { ++reconnected; });
    ASSERT_TRUE(keeper.Check());
    EXPECT_EQ(keeper.Generation(), 1);
    EXPECT_EQ(reconnected, 0);
    ASSERT_TRUE(keeper.Connection().registerService(QStringLiteral("com.example.KeeperTest")));

    bus.Kill();
    ASSERT_TRUE(CheckUntil(keeper, false));
    EXPECT_FALSE(keeper.Check()); // tried again, still away
    EXPECT_EQ(reconnected, 0);
    ASSERT_EQ(warnings.Lines().size(), 1);
    EXPECT_TRUE(warnings.Lines()[0].contains(QLatin1String("the test bus")));
    EXPECT_TRUE(warnings.Lines()[0].contains(QLatin1String("lost")));

    ASSERT_TRUE(bus.Restart());
    ASSERT_TRUE(keeper.Check());
    EXPECT_EQ(keeper.Generation(), 2);
    EXPECT_EQ(reconnected, 1);
    ASSERT_EQ(warnings.Lines().size(), 2);
    EXPECT_TRUE(warnings.Lines()[1].contains(QLatin1String("restored after")));
    // The new connection is a working one, and a name asked for again is owned there.
    EXPECT_FALSE(OwnsName(keeper.Connection(), QStringLiteral("com.example.KeeperTest")));
    EXPECT_TRUE(keeper.Connection().registerService(QStringLiteral("com.example.KeeperTest")));
    EXPECT_TRUE(OwnsName(keeper.Connection(), QStringLiteral("com.example.KeeperTest")));
    // Nothing more to say while it stays up.
    EXPECT_TRUE(keeper.Check());
    EXPECT_EQ(reconnected, 1);
    EXPECT_EQ(warnings.Lines().size(), 2);
}

TEST(DBusConnectionKeeperTest, PollingNoticesWithoutAnyCall)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CPrivateBus bus(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("bus")), false);
    ASSERT_TRUE(bus.IsRunning());
    CWarningCapture warnings(lcServer());
    CDBusConnectionKeeper keeper(bus.Address(), QStringLiteral("the polled bus"), lcServer);
    int reconnected = 0;
    QObject::connect(&keeper, &CDBusConnectionKeeper::Reconnected, [&reconnected] { ++reconnected; });
    keeper.StartPolling(50);

    bus.Kill();
    ASSERT_TRUE(bus.Restart());
    QDeadlineTimer deadline(10000);
    while (reconnected == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(reconnected, 1);
    EXPECT_TRUE(keeper.Connection().isConnected());
    EXPECT_EQ(warnings.Lines().size(), 2);
}

// A command object made after the restart reaches the server on the new daemon; one still held
// from before fails instead of hanging.
TEST(DBusConnectionKeeperTest, CommandObjectsFollowTheNewConnection)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CPrivateBus bus(QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("bus")), false);
    ASSERT_TRUE(bus.IsRunning());
    CWarningCapture warnings(lcServer());
    const QString service = QStringLiteral("com.example.KeeperTest.Server");
    const auto factory = CDBusServerCommandFactory::ForBusAddress(bus.Address(), service, 2000);
    std::unique_ptr<CServerCommand> before = factory->Create();
    ASSERT_NE(before, nullptr);

    ASSERT_TRUE(bus.Restart());
    QString result;
    EXPECT_FALSE(before->ExecuteCommand(QStringLiteral("[check(Kelvaris)]"), result));

    // The server comes back on the new daemon.
    QThread thread;
    CEchoServer echo;
    echo.moveToThread(&thread);
    thread.start();
    const QString serverName = QStringLiteral("keeper-test-server");
    {
        QDBusConnection server = QDBusConnection::connectToBus(bus.Address(), serverName);
        ASSERT_TRUE(server.registerVirtualObject(QLatin1String(kAlarmServerObjectPath), &echo));
        ASSERT_TRUE(server.registerService(service));
    }
    std::unique_ptr<CServerCommand> after;
    QDeadlineTimer deadline(10000);
    while (!(after = factory->Create()) && !deadline.hasExpired())
        QThread::msleep(20);
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(after->ExecuteCommand(QStringLiteral("[check(Kelvaris)]"), result));
    EXPECT_EQ(result, QStringLiteral("ok"));
    EXPECT_GE(warnings.Lines().size(), 2); // lost, restored
    QDBusConnection::disconnectFromBus(serverName);
    thread.quit();
    thread.wait();
}
