// The DDE object, the automation object and the bus name taken up again on the new connection after
// the bus daemon restarted at the same address.
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include "inbound/DBusDDE.h"
#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "inbound/TimeDDEServer.h"
#include "server/DBusConnectionKeeper.h"
#include "support/Trace.h"

#include "PrivateBus.h"

namespace {

const QString kName = QStringLiteral("com.example.KelvarisReconnectTest");

QStringList g_warnings;
void CaptureWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtWarningMsg)
        g_warnings << text;
}

class BusReconnectTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_inbound_reconnect"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_bus = std::make_unique<CPrivateBus>(
            QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus")), false);
        ASSERT_TRUE(m_bus->IsRunning());
        m_keeper = std::make_unique<CDBusConnectionKeeper>(
            m_bus->Address(), QStringLiteral("the test bus"), lcAutomation);
        m_transport = std::make_unique<CDBusDDETransport>(m_keeper->Connection());
        m_server = std::make_unique<CTimeDDEServer>();
        ASSERT_TRUE(m_server->CreateService(m_transport.get()));
        m_kelvarisBus = std::make_unique<CKelvarisBus>(m_keeper->Connection(), kName);
        ASSERT_TRUE(m_kelvarisBus->ExportAutomation(m_object));
        ASSERT_TRUE(m_kelvarisBus->OwnName());
        QObject::connect(m_keeper.get(), &CDBusConnectionKeeper::Reconnected, [this] {
            m_ddeBack = m_transport->Reconnect(m_keeper->Connection());
            m_busBack = m_kelvarisBus->Reconnect(m_keeper->Connection());
        });
        g_warnings.clear();
        m_previousHandler = qInstallMessageHandler(&CaptureWarnings);
    }

    void TearDown() override
    {
        qInstallMessageHandler(m_previousHandler);
        m_kelvarisBus.reset();
        m_server.reset();
        m_transport.reset();
        m_keeper.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("reconnect-observer"));
        m_bus.reset();
    }

    // Checks until the keeper is connected to the restarted daemon (Qt's own thread notices the
    // loss of the socket a moment after the daemon went).
    bool Reconnect()
    {
        QDeadlineTimer deadline(10000);
        while (m_keeper->Generation() < 2 && !deadline.hasExpired()) {
            m_keeper->Check();
            QThread::msleep(20);
        }
        return m_keeper->Generation() >= 2;
    }

    QDBusConnection Observer()
    {
        return QDBusConnection::connectToBus(m_bus->Address(), QStringLiteral("reconnect-observer"));
    }

    static inline CBusTestSuite* s_suite = nullptr;
    QTemporaryDir m_dir;
    std::unique_ptr<CPrivateBus> m_bus;
    std::unique_ptr<CDBusConnectionKeeper> m_keeper;
    std::unique_ptr<CDBusDDETransport> m_transport;
    std::unique_ptr<CTimeDDEServer> m_server;
    CKelvarisObj m_object;
    std::unique_ptr<CKelvarisBus> m_kelvarisBus;
    bool m_ddeBack = false;
    bool m_busBack = false;
    QtMessageHandler m_previousHandler = nullptr;
};

} // namespace

TEST_F(BusReconnectTest, ObjectsAndNameAreServedAgain)
{
    ASSERT_TRUE(m_bus->Restart());
    ASSERT_TRUE(Reconnect());
    EXPECT_TRUE(m_ddeBack);
    EXPECT_TRUE(m_busBack);
    const QDBusConnection connection = m_keeper->Connection();
    EXPECT_EQ(connection.objectRegisteredAt(QString::fromLatin1(kKelvarisDDEPath)), m_transport.get());
    EXPECT_NE(connection.objectRegisteredAt(QString::fromLatin1(kKelvarisObjPath)), nullptr);
    const QDBusConnection observer = Observer();
    ASSERT_TRUE(observer.interface());
    EXPECT_EQ(observer.interface()->serviceOwner(kName).value(), connection.baseService());
    EXPECT_EQ(g_warnings.size(), 2) << g_warnings.join(QLatin1Char('\n')).toStdString(); // lost, restored
}

TEST_F(BusReconnectTest, NameTakenMeanwhileIsReported)
{
    ASSERT_TRUE(m_bus->Restart());
    QDBusConnection other = Observer();
    ASSERT_TRUE(other.registerService(kName));
    ASSERT_TRUE(Reconnect());
    EXPECT_TRUE(m_ddeBack);
    EXPECT_FALSE(m_busBack);
    EXPECT_TRUE(std::any_of(g_warnings.cbegin(), g_warnings.cend(), [](const QString& line) {
        return line.contains(kName) && line.contains(QLatin1String("another program"));
    })) << g_warnings.join(QLatin1Char('\n')).toStdString();
}

// A name held by another connection when Kelvaris asks is Kelvaris's the moment that holder leaves;
// a windowless automation server gives the name up to the service at once.
TEST_F(BusReconnectTest, QueuedNameIsTakenWhenItsHolderLeavesAndAWindowlessServerGivesWay)
{
    const QString name = QStringLiteral("com.example.KelvarisQueueTest");
    const auto ownerOf
        = [&](const QDBusConnection& observer) { return observer.interface()->serviceOwner(name).value(); };
    const auto waitFor = [](const std::function<bool()>& condition) {
        QDeadlineTimer deadline(5000);
        while (!condition() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
        return condition();
    };
    const QDBusConnection observer = Observer();
    {
        ASSERT_TRUE(QDBusConnection::connectToBus(m_bus->Address(), QStringLiteral("queue-holder"))
                        .registerService(name));
        CKelvarisBus service(m_keeper->Connection(), name);
        EXPECT_FALSE(service.OwnName());
        EXPECT_TRUE(service.IsQueued());
        QDBusConnection::disconnectFromBus(QStringLiteral("queue-holder"));
        EXPECT_TRUE(waitFor([&] { return service.OwnsName(); }));
        EXPECT_EQ(ownerOf(observer), m_keeper->Connection().baseService());
    }
    {
        QDBusConnection windowlessConnection
            = QDBusConnection::connectToBus(m_bus->Address(), QStringLiteral("queue-windowless"));
        CKelvarisBus windowless(windowlessConnection, name);
        bool lost = false;
        windowless.SetNameLost([&lost] { lost = true; });
        ASSERT_TRUE(windowless.OwnName(CKelvarisBus::EOwnership::Windowless));
        CKelvarisBus service(m_keeper->Connection(), name);
        EXPECT_TRUE(service.OwnName());
        EXPECT_TRUE(waitFor([&] { return lost; }));
        EXPECT_FALSE(windowless.OwnsName());
        EXPECT_EQ(ownerOf(observer), m_keeper->Connection().baseService());
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("queue-windowless"));
}
