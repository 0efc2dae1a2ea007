#include "inbound/DDEServer.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <vector>

#include <QStringList>

#include "inbound/TimeDDEServer.h"

namespace {

QByteArray Text(const char* text)
{
    return QByteArray(text, static_cast<qsizetype>(qstrlen(text)) + 1);
}

struct CDelivery
{
    HDDECONV m_conv = 0;
    EDDEFormat m_format = EDDEFormat::None;
    QByteArray m_data;
};

// Records the calls and, like a real transport, takes the item's data once per advise link.
class CFakeTransport : public CDDETransport
{
public:
    bool RegisterService(CDDEServer&) override
    {
        ++m_registered;
        return true;
    }
    void UnregisterService(CDDEServer&) override { ++m_unregistered; }
    void PostAdvise(CDDEServer& server, const QString& topic, const QString& item) override
    {
        m_posts.append(topic + u'!' + item);
        for (const CDDEAdviseLink& link : server.AdviseLinks(topic, item))
            m_deliveries.push_back({ link.m_conv, link.m_format,
                server.OnRequest(topic, item, link.m_format).value_or(QByteArray("missing")) });
    }

    int m_registered = 0;
    int m_unregistered = 0;
    QStringList m_posts;
    std::vector<CDelivery> m_deliveries;
};

class CFakeActivator : public CMainWindowActivator
{
public:
    bool ActivateMainWindow() override
    {
        ++m_calls;
        return m_result;
    }
    int m_calls = 0;
    bool m_result = true;
};

class CRecordingServer : public CTimeDDEServer
{
public:
    using CTimeDDEServer::CTimeDDEServer;
    void ValueChanged(CDDETopic& topic, CDDEItem& item, const QString& text) override
    {
        m_changes.append(topic.Name() + u'!' + item.Name() + u'=' + text);
    }
    QStringList m_changes;
};

class DDEServerTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.CreateService(&m_transport)); }

    QByteArray RequestText(const QString& topic, const QString& item)
    {
        return m_server.OnRequest(topic, item, EDDEFormat::Text).value_or(QByteArray("missing"));
    }

    CFakeTransport m_transport;
    CFakeActivator m_activator;
    CRecordingServer m_server { &m_activator };
};

TEST_F(DDEServerTest, SystemListsNameTopicsItemsAndFormats)
{
    EXPECT_EQ(m_transport.m_registered, 1);
    EXPECT_EQ(RequestText("System", "Topics"), Text("System\tBarring\tShift"));
    m_server.AddValue("Dispatching", "State", "1");
    EXPECT_EQ(RequestText("System", "Topics"), Text("System\tBarring\tShift\tDispatching"));

    EXPECT_EQ(RequestText("System", "SysItems"), Text("TopicItemList\tFormats\tTopics\tSysItems\tCommand"));
    EXPECT_EQ(RequestText("Shift", "TopicItemList"),
        Text("TopicItemList\tFormats\tName\tFrom\tTo\tRemain\tRemain2\tTotal\tTotal2"));
    EXPECT_EQ(RequestText("Barring", "TopicItemList"),
        Text("TopicItemList\tFormats\tName\tFrom\tTo\tRemain\tTotal"));
    EXPECT_EQ(RequestText("Barring", "Formats"), Text("TEXT\tUNICODETEXT"));
    EXPECT_EQ(RequestText("System", "Formats"), Text("TEXT\tUNICODETEXT"));
    EXPECT_EQ(DDETextFromData(EDDEFormat::UnicodeText,
                  m_server.OnRequest("System", "Topics", EDDEFormat::UnicodeText).value_or(QByteArray())),
        "System\tBarring\tShift\tDispatching");

    m_server.Destroy();
    EXPECT_EQ(m_transport.m_unregistered, 1);
    EXPECT_TRUE(m_server.Topics().empty());
    EXPECT_FALSE(m_server.OnConnect("System"));
}

TEST_F(DDEServerTest, ValuesServeBothTextFormats)
{
    EXPECT_EQ(RequestText("Shift", "Remain"), Text("0"));
    EXPECT_EQ(RequestText("Shift", "Name"), Text(""));
    m_server.AddValue("Shift", "Name", QString::fromUtf8("Früh €"));
    EXPECT_EQ(RequestText("Shift", "Name"), Text("Früh €"));
    const QByteArray unicode = m_server.OnRequest("Shift", "Name", EDDEFormat::UnicodeText).value();
    EXPECT_EQ(unicode, QByteArray("F\0r\0\xFC\0h\0 \0\xAC\x20\0\0", 14));
    EXPECT_EQ(
        DDETextFromData(EDDEFormat::UnicodeText, unicode), DDETextFromData(RequestText("Shift", "Name")));

    // A poked UNICODETEXT with an unpaired surrogate: both forms hold the replacement character.
    ASSERT_TRUE(m_server.OnPoke(1, "Shift", "Name", EDDEFormat::UnicodeText,
        QByteArray("A\0\x29\xD8"
                   "B\0\0\0",
            8)));
    EXPECT_EQ(m_server.GetValue("Shift", "Name"), QString::fromUtf8("A\uFFFDB"));
    EXPECT_EQ(DDETextFromData(RequestText("Shift", "Name")),
        DDETextFromData(
            EDDEFormat::UnicodeText, m_server.OnRequest("Shift", "Name", EDDEFormat::UnicodeText).value()));

    m_server.AddValue("Shift", "Remain", qint64(-125));
    EXPECT_EQ(DDETextFromData(EDDEFormat::UnicodeText,
                  m_server.OnRequest("Shift", "Remain", EDDEFormat::UnicodeText).value()),
        "-125");
    EXPECT_EQ(m_server.GetValue("Shift", "Remain"), "-125");
    EXPECT_FALSE(m_server.OnRequest("Shift", "Remain", EDDEFormat::None).has_value());
    EXPECT_FALSE(m_server.OnRequest("Shift", "Nothing", EDDEFormat::Text).has_value());
    EXPECT_FALSE(m_server.OnRequest("Nothing", "Remain", EDDEFormat::Text).has_value());
    EXPECT_EQ(m_server.GetValue("System", "Topics"), QString());
}

TEST(DDEFormatTest, UnicodeTextIsUtf16LittleEndianWithATerminatingNul)
{
    const auto decode = [](const char* bytes, qsizetype size) {
        return DDETextFromData(EDDEFormat::UnicodeText, QByteArray(bytes, size));
    };
    // A pair stays a pair; a byte order mark is a character; the text ends at the first NUL
    // character, not at a zero byte inside a character.
    EXPECT_EQ(decode("\x3D\xD8\x00\xDE"
                     "A\0",
                  6),
        QString::fromUtf8("\U0001F600A"));
    EXPECT_EQ(decode("\xFF\xFE"
                     "A\0",
                  4),
        QString(QChar(0xFEFF)) + u'A');
    EXPECT_EQ(decode("\x00\x01"
                     "B\0\0\0"
                     "C\0",
                  8),
        QString::fromUtf8("\u0100B"));
    // Unpaired surrogates, a low one first or a high one last, become the replacement character.
    EXPECT_EQ(decode("\x00\xDC"
                     "A\0\x00\xD8",
                  6),
        QString::fromUtf8("\uFFFDA\uFFFD"));
    EXPECT_EQ(decode("\x00\xD8\x00\xD8\x00\xDC", 6), QString::fromUtf8("\uFFFD\U00010000"));
    EXPECT_EQ(decode("A", 1), QString());
    EXPECT_EQ(decode("", 0), QString());

    EXPECT_EQ(DDEDataFromText(EDDEFormat::UnicodeText, QString()), QByteArray("\0\0", 2));
    EXPECT_EQ(DDEDataFromText(EDDEFormat::UnicodeText, QString::fromUtf8("\U0001F600\uFEFF")),
        QByteArray("\x3D\xD8\x00\xDE\xFF\xFE\0\0", 8));
}

TEST(DDENumericItemTest, NumberTakesItsBaseFromThePrefix)
{
    CDDENumericItem item;
    const auto number = [&item](const char* text) {
        item.SetText(QString::fromLatin1(text));
        return item.GetNumber();
    };
    EXPECT_EQ(number("0x1A"), 26);
    EXPECT_EQ(number("017"), 15);
    EXPECT_EQ(number(" -42"), -42);
    EXPECT_EQ(number("+7"), 7);
    EXPECT_EQ(number("12min"), 12);
    EXPECT_EQ(number("0x"), 0);
    EXPECT_EQ(number("abc"), 0);
    EXPECT_EQ(number(""), 0);
    EXPECT_EQ(number("99999999999999999999"), std::numeric_limits<qint64>::max());
    EXPECT_EQ(number("-9223372036854775808"), std::numeric_limits<qint64>::min());
    item.SetNumber(-3);
    EXPECT_EQ(item.GetText(), "-3");
}

TEST_F(DDEServerTest, NamesAreFoundWithoutRegardToCase)
{
    EXPECT_TRUE(m_server.OnConnect("sHiFt"));
    EXPECT_FALSE(m_server.OnConnect("Shifts"));
    EXPECT_EQ(RequestText("SYSTEM", "topics"), Text("System\tBarring\tShift"));
    CDDETopic* shift = m_server.FindTopic("shift");
    ASSERT_NE(shift, nullptr);
    EXPECT_EQ(m_server.AddTopic(std::make_unique<CDDEValueTopic>("SHIFT", &m_server)), shift);
    m_server.AddValue("barring", "NAME", "Night");
    EXPECT_EQ(m_server.Topics().size(), 3u);
    EXPECT_EQ(m_server.GetValue("Barring", "Name"), "Night");
    EXPECT_EQ(RequestText("Barring", "TopicItemList"),
        Text("TopicItemList\tFormats\tName\tFrom\tTo\tRemain\tTotal"));
    EXPECT_EQ(DDEFormatFromName("unicodeText"), EDDEFormat::UnicodeText);
    EXPECT_EQ(DDEFormatFromName("CF_TEXT"), EDDEFormat::None);
}

TEST_F(DDEServerTest, AdviseIsPostedOnlyForAChangeAndInEachLinksFormat)
{
    CDDEValuePublisher publisher(m_server);
    publisher.PublishText("Shift", "Remain", "5"); // nobody linked: the transport is not asked
    EXPECT_TRUE(m_transport.m_posts.isEmpty());

    EXPECT_TRUE(m_server.OnAdviseStart(7, "Shift", "remain", EDDEFormat::Text));
    EXPECT_TRUE(m_server.OnAdviseStart(8, "Shift", "Remain", EDDEFormat::UnicodeText));
    EXPECT_FALSE(m_server.OnAdviseStart(9, "Shift", "Remain", EDDEFormat::None));
    EXPECT_FALSE(m_server.OnAdviseStart(9, "Shift", "Missing", EDDEFormat::Text));
    EXPECT_FALSE(m_server.OnAdviseStart(9, "Missing", "Remain", EDDEFormat::Text));

    for (int i = 0; i < 3; ++i)
        publisher.PublishNumber("Shift", "Remain", 6);
    ASSERT_EQ(m_transport.m_posts, QStringList { "Shift!Remain" });
    ASSERT_EQ(m_transport.m_deliveries.size(), 2u);
    EXPECT_EQ(m_transport.m_deliveries[0].m_conv, 7u);
    EXPECT_EQ(m_transport.m_deliveries[0].m_data, Text("6"));
    EXPECT_EQ(m_transport.m_deliveries[1].m_conv, 8u);
    EXPECT_EQ(m_transport.m_deliveries[1].m_data, QByteArray("6\0\0\0", 4));

    // A second start of a conversation replaces its format.
    EXPECT_TRUE(m_server.OnAdviseStart(7, "Shift", "Remain", EDDEFormat::UnicodeText));
    const auto links = m_server.AdviseLinks("Shift", "Remain");
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].m_format, EDDEFormat::UnicodeText);

    EXPECT_TRUE(m_server.OnAdviseStop(7, "Shift", "Remain"));
    EXPECT_TRUE(m_server.OnAdviseStop(7, "Shift", "Remain"));
    EXPECT_FALSE(m_server.OnAdviseStop(7, "Missing", "Remain"));
    m_transport.m_deliveries.clear();
    publisher.PublishText("Shift", "Remain", "7");
    ASSERT_EQ(m_transport.m_deliveries.size(), 1u);
    EXPECT_EQ(m_transport.m_deliveries[0].m_conv, 8u);
}

TEST_F(DDEServerTest, DisconnectRemovesTheConversationsLinks)
{
    m_server.OnConnectConfirm(1, "Shift");
    m_server.OnConnectConfirm(2, "shift");
    for (HDDECONV conv : { 1, 2 }) {
        EXPECT_TRUE(m_server.OnAdviseStart(conv, "Shift", "Name", EDDEFormat::Text));
        EXPECT_TRUE(m_server.OnAdviseStart(conv, "Shift", "Remain", EDDEFormat::Text));
    }
    EXPECT_TRUE(m_server.OnAdviseStart(3, "Shift", "Name", EDDEFormat::Text));
    ASSERT_EQ(m_server.Conversations().size(), 2u);

    m_server.OnDisconnect(1, "Name");
    EXPECT_EQ(m_server.AdviseLinks("Shift", "Name").size(), 2u);
    EXPECT_EQ(m_server.AdviseLinks("Shift", "Remain").size(), 2u);
    EXPECT_EQ(m_server.Conversations().size(), 1u);

    m_server.OnDisconnect(2);
    ASSERT_EQ(m_server.AdviseLinks("Shift", "Name").size(), 1u);
    EXPECT_EQ(m_server.AdviseLinks("Shift", "Name")[0].m_conv, 3u);
    ASSERT_EQ(m_server.AdviseLinks("Shift", "Remain").size(), 1u);
    EXPECT_EQ(m_server.AdviseLinks("Shift", "Remain")[0].m_conv, 1u);
    EXPECT_TRUE(m_server.Conversations().empty());

    m_server.OnDisconnect(3); // never confirmed: nothing happens
    EXPECT_EQ(m_server.AdviseLinks("Shift", "Name").size(), 1u);

    m_server.OnConnectConfirm(4, "Barring");
    EXPECT_FALSE(m_server.RemoveTopic("system"));
    EXPECT_TRUE(m_server.RemoveTopic("barring"));
    EXPECT_TRUE(m_server.Conversations().empty());
    EXPECT_EQ(RequestText("System", "Topics"), Text("System\tShift"));
}

TEST_F(DDEServerTest, PokeChangesWritableValuesOnly)
{
    m_server.OnAdviseStart(5, "Shift", "Name", EDDEFormat::Text);
    EXPECT_FALSE(m_server.OnPoke(5, "System", "Topics", EDDEFormat::Text, Text("x")));
    EXPECT_FALSE(m_server.OnPoke(5, "Shift", "TopicItemList", EDDEFormat::Text, Text("x")));
    EXPECT_FALSE(m_server.OnPoke(5, "Shift", "Missing", EDDEFormat::Text, Text("x")));
    EXPECT_FALSE(m_server.OnPoke(5, "Missing", "Name", EDDEFormat::Text, Text("x")));
    EXPECT_FALSE(m_server.OnPoke(5, "Shift", "Name", EDDEFormat::None, Text("x")));
    EXPECT_FALSE(m_server.OnPoke(5, "Shift", "Name", EDDEFormat::Text, QByteArray(2 * 1024 * 1024, 'x')));
    EXPECT_EQ(m_server.GetValue("Shift", "Name"), QString());
    EXPECT_TRUE(m_transport.m_posts.isEmpty());

    // 8-bit text that is not UTF-8 is read as Windows-1252; the bytes end at the first NUL.
    EXPECT_TRUE(m_server.OnPoke(5, "shift", "name", EDDEFormat::Text, QByteArray("Gr\xFC\xDF\0junk", 9)));
    EXPECT_EQ(m_server.GetValue("Shift", "Name"), QString::fromUtf8("Grüß"));
    EXPECT_EQ(m_transport.m_posts, QStringList { "Shift!Name" });
    EXPECT_EQ(m_server.m_changes, QStringList { QString::fromUtf8("Shift!Name=Grüß") });

    // The same value again: stored, but not a change; the server's own poke posts nothing.
    EXPECT_TRUE(m_server.OnPoke(5, "Shift", "Name", EDDEFormat::Text, Text("Gr\xC3\xBC\xC3\x9F"), true));
    EXPECT_EQ(m_server.m_changes.size(), 1);
    EXPECT_EQ(m_transport.m_posts.size(), 1);

    // UTF-16 up to the NUL character; an odd last byte is ignored.
    EXPECT_TRUE(m_server.OnPoke(5, "Shift", "Name", EDDEFormat::UnicodeText, QByteArray("A\0B\0C", 5)));
    EXPECT_EQ(m_server.GetValue("Shift", "Name"), "AB");
    EXPECT_EQ(m_server.m_changes.last(), "Shift!Name=AB");

    // The engine writing the poked value again is no change either.
    m_server.AddValue("Shift", "Name", "AB");
    EXPECT_EQ(m_transport.m_posts.size(), 2);
    m_server.AddValue("Shift", "Name", "Late");
    EXPECT_EQ(m_transport.m_posts.size(), 3);
    EXPECT_EQ(m_server.m_changes.size(), 2);
}

TEST_F(DDEServerTest, ActivateRunsOnlyOnSystemWithAWindow)
{
    EXPECT_TRUE(m_server.OnExecute("System", Text("[activate()]")));
    EXPECT_TRUE(m_server.OnExecute("system", QByteArray("[activate()]")));
    EXPECT_EQ(m_activator.m_calls, 2);
    EXPECT_FALSE(m_server.OnExecute("System", Text("[Activate()]")));
    EXPECT_FALSE(m_server.OnExecute("System", Text("[activate()] ")));
    EXPECT_FALSE(m_server.OnExecute("Shift", Text("[activate()]")));
    EXPECT_EQ(m_activator.m_calls, 2);
    m_activator.m_result = false; // no main window
    EXPECT_FALSE(m_server.OnExecute("System", Text("[activate()]")));
    m_activator.m_result = true;

    // A poke of System!Command runs as the same command, whatever its format.
    EXPECT_TRUE(m_server.OnPoke(1, "System", "Command", EDDEFormat::Text, Text("[activate()]")));
    const QString command = "[activate()]";
    EXPECT_TRUE(m_server.OnPoke(
        1, "System", "command", EDDEFormat::UnicodeText, DDEDataFromText(EDDEFormat::UnicodeText, command)));
    EXPECT_FALSE(m_server.OnPoke(1, "System", "Command", EDDEFormat::Text, Text("[close()]")));
    EXPECT_FALSE(m_server.OnPoke(1, "System", "Command", EDDEFormat::None, Text("[activate()]")));
    EXPECT_EQ(m_activator.m_calls, 5);
    EXPECT_EQ(m_server.GetValue("System", "Command"), QString());

    m_server.SetActivator(nullptr);
    EXPECT_FALSE(m_server.OnExecute("System", Text("[activate()]")));
    EXPECT_FALSE(m_server.OnPoke(1, "System", "Command", EDDEFormat::Text, Text("[activate()]")));
    EXPECT_EQ(m_activator.m_calls, 5);
}

TEST_F(DDEServerTest, WildConnectAnswersForThisServiceOnly)
{
    using Pairs = QList<QPair<QString, QString>>;
    const Pairs all { { "Kelvaris", "System" }, { "Kelvaris", "Barring" }, { "Kelvaris", "Shift" } };
    EXPECT_EQ(m_server.OnWildConnect("", ""), all);
    EXPECT_EQ(m_server.OnWildConnect("KELVARIS", ""), all);
    EXPECT_EQ(m_server.OnWildConnect("", "shift"), (Pairs { { "Kelvaris", "Shift" } }));
    EXPECT_EQ(m_server.OnWildConnect("kelvaris", "Barring"), (Pairs { { "Kelvaris", "Barring" } }));
    EXPECT_TRUE(m_server.OnWildConnect("", "Missing").isEmpty());
    EXPECT_TRUE(m_server.OnWildConnect("Other", "").isEmpty());
    EXPECT_TRUE(m_server.OnWildConnect("Other", "Shift").isEmpty());
}

class CRefusingServer : public CDDEServer
{
public:
    bool OnCreate() override { return false; }
};

TEST(DDEServerSlotTest, TwentyServersPerProcessAndFreedSlotsAreReused)
{
    CRefusingServer refusing;
    EXPECT_FALSE(refusing.Create("Refusing", nullptr));
    EXPECT_FALSE(refusing.IsCreated());

    std::vector<std::unique_ptr<CDDEServer>> servers;
    for (int i = 0; i < CDDEServer::kMaxServers; ++i) {
        servers.push_back(std::make_unique<CDDEServer>());
        ASSERT_TRUE(servers.back()->Create(QString::number(i), nullptr)) << i;
    }
    EXPECT_FALSE(servers[0]->Create("Again", nullptr));
    CTimeDDEServer extra;
    EXPECT_FALSE(extra.CreateService(nullptr));
    EXPECT_FALSE(extra.IsCreated());

    servers[4]->Destroy();
    EXPECT_TRUE(extra.CreateService(nullptr));
    extra.AddValue("Shift", "Remain", qint64(3)); // no transport: nothing to deliver to
    EXPECT_EQ(extra.GetValue("Shift", "Remain"), "3");
    servers.pop_back(); // the destructor frees the slot
    CDDEServer last;
    EXPECT_TRUE(last.Create("Last", nullptr));
}

} // namespace
