// The DDE transactions over a private session bus: the server side in this process, the clients on
// connections of their own.
#include "inbound/DBusDDE.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QThread>

#include "inbound/KelvarisBus.h"
#include "inbound/TimeDDEServer.h"

#include "PrivateBus.h"

namespace {

// Counts the Advise signals that reach one client connection.
class CAdviseCounter : public QObject
{
    Q_OBJECT

public:
    QStringList m_values;

public Q_SLOTS:
    void Advise(const QString&, const QString&, const QString& format, const QByteArray& data)
    {
        m_values << format + QLatin1Char('=') + DDETextFromData(DDEFormatFromName(format), data);
    }
};

class DBusDDETest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_suite = new CBusTestSuite("test_inbound_dbus"); }
    static void TearDownTestSuite()
    {
        delete s_suite;
        s_suite = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_suite->Bus().IsRunning());
        m_serverBus = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(s_suite->Bus().Address(), QStringLiteral("dde-server")));
        ASSERT_TRUE(m_serverBus->isConnected());
        m_transport = std::make_unique<CDBusDDETransport>(*m_serverBus);
        m_server = std::make_unique<CTimeDDEServer>();
        ASSERT_TRUE(m_server->CreateService(m_transport.get()));
    }

    void TearDown() override
    {
        m_server.reset();
        m_transport.reset();
        for (const QString& name :
            { QStringLiteral("dde-server"), QStringLiteral("client-a"), QStringLiteral("client-b") })
            QDBusConnection::disconnectFromBus(name);
    }

    QDBusConnection Client(const QString& name)
    {
        return QDBusConnection::connectToBus(s_suite->Bus().Address(), name);
    }

    // A blocking call from a client; the server answers from this thread's event loop, so the call
    // goes out on a thread of its own.
    QDBusMessage Call(QDBusConnection client, const QString& method, const QVariantList& arguments)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(m_serverBus->baseService(),
            QString::fromLatin1(kKelvarisDDEPath), QString::fromLatin1(kKelvarisDDEInterface), method);
        call.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(call, 5000);
        QDeadlineTimer deadline(5000);
        while (!pending.isFinished() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return pending.reply();
    }

    bool BoolCall(QDBusConnection client, const QString& method, const QVariantList& arguments)
    {
        const QDBusMessage reply = Call(client, method, arguments);
        return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
    }

    static void Settle()
    {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
    }

    static inline CBusTestSuite* s_suite = nullptr;
    std::unique_ptr<QDBusConnection> m_serverBus;
    std::unique_ptr<CDBusDDETransport> m_transport;
    std::unique_ptr<CTimeDDEServer> m_server;
};

} // namespace

TEST_F(DBusDDETest, AdviseGoesOnlyToTheLinkedCallerInItsFormat)
{
    QDBusConnection a = Client(QStringLiteral("client-a"));
    QDBusConnection b = Client(QStringLiteral("client-b"));
    CAdviseCounter atA;
    CAdviseCounter atB;
    for (auto [client, counter] : { std::pair { &a, &atA }, std::pair { &b, &atB } })
        ASSERT_TRUE(client->connect(m_serverBus->baseService(), QString::fromLatin1(kKelvarisDDEPath),
            QString::fromLatin1(kKelvarisDDEInterface), QStringLiteral("Advise"), counter,
            SLOT(Advise(QString, QString, QString, QByteArray))));
    ASSERT_TRUE(BoolCall(a, QStringLiteral("AdviseStart"),
        { QStringLiteral("shift"), QStringLiteral("name"), QStringLiteral("UNICODETEXT") }));
    // b talks to the topic but keeps no link.
    EXPECT_TRUE(BoolCall(b, QStringLiteral("Connect"), { QStringLiteral("Shift") }));

    m_server->AddValue(QStringLiteral("Shift"), QStringLiteral("Name"), QStringLiteral("Früh"));
    m_server->AddValue(QStringLiteral("Shift"), QStringLiteral("Name"), QStringLiteral("Früh"));
    m_server->AddValue(QStringLiteral("Shift"), QStringLiteral("Total"), 3600);
    Settle();
    EXPECT_EQ(atA.m_values, QStringList { QStringLiteral("UNICODETEXT=Früh") });
    EXPECT_TRUE(atB.m_values.isEmpty());

    // WildConnect: every topic of the service, or the asked one; another service none.
    const QDBusMessage wild
        = Call(a, QStringLiteral("WildConnect"), { QString(), QStringLiteral("barring") });
    ASSERT_EQ(wild.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(wild.signature(), QStringLiteral("a(ss)"));
    const QDBusMessage other = Call(a, QStringLiteral("WildConnect"), { QStringLiteral("Excel"), QString() });
    ASSERT_EQ(other.type(), QDBusMessage::ReplyMessage);
    QList<CDDEServiceTopic> pairs;
    other.arguments().value(0).value<QDBusArgument>() >> pairs;
    EXPECT_TRUE(pairs.isEmpty());
    wild.arguments().value(0).value<QDBusArgument>() >> pairs;
    ASSERT_EQ(pairs.size(), 1);
    EXPECT_EQ(pairs[0].m_service, QStringLiteral("Kelvaris"));
    EXPECT_EQ(pairs[0].m_topic, QStringLiteral("Barring"));
}

TEST_F(DBusDDETest, ConversationsEndWithDisconnectOrWhenTheCallerLeaves)
{
    auto a = std::make_unique<QDBusConnection>(Client(QStringLiteral("client-a")));
    QDBusConnection b = Client(QStringLiteral("client-b"));
    ASSERT_TRUE(BoolCall(*a, QStringLiteral("AdviseStart"),
        { QStringLiteral("Shift"), QStringLiteral("Name"), QStringLiteral("TEXT") }));
    ASSERT_TRUE(BoolCall(*a, QStringLiteral("AdviseStart"),
        { QStringLiteral("Barring"), QStringLiteral("Name"), QStringLiteral("TEXT") }));
    ASSERT_TRUE(BoolCall(b, QStringLiteral("AdviseStart"),
        { QStringLiteral("Shift"), QStringLiteral("Name"), QStringLiteral("TEXT") }));
    EXPECT_EQ(m_transport->ConversationCount(), 3);
    EXPECT_EQ(m_server->AdviseLinks(QStringLiteral("Shift"), QStringLiteral("Name")).size(), 2u);

    // b ends its conversation: its link goes, a's stay.
    Call(b, QStringLiteral("Disconnect"), { QStringLiteral("SHIFT") });
    Settle();
    EXPECT_EQ(m_transport->ConversationCount(), 2);
    EXPECT_EQ(m_server->AdviseLinks(QStringLiteral("Shift"), QStringLiteral("Name")).size(), 1u);

    // a leaves the bus without a word: its conversations and links go with it.
    a.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("client-a"));
    QDeadlineTimer deadline(5000);
    while (m_transport->ConversationCount() > 0 && !deadline.hasExpired())
        Settle();
    EXPECT_EQ(m_transport->ConversationCount(), 0);
    EXPECT_TRUE(m_server->AdviseLinks(QStringLiteral("Shift"), QStringLiteral("Name")).empty());
    EXPECT_TRUE(m_server->AdviseLinks(QStringLiteral("Barring"), QStringLiteral("Name")).empty());
    EXPECT_TRUE(m_server->Conversations().empty());

    // Calls on a missing topic open nothing.
    EXPECT_FALSE(BoolCall(b, QStringLiteral("AdviseStart"),
        { QStringLiteral("Weather"), QStringLiteral("Name"), QStringLiteral("TEXT") }));
    EXPECT_EQ(m_transport->ConversationCount(), 0);
}

#include "DBusDDETest.moc"
