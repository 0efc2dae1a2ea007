#include "support/SeqPacket.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTemporaryDir>

#include "SeqPacketTestServer.h"

namespace {

// An abstract socket name no other test run uses.
QByteArray UniqueName(const char* what)
{
    static int counter = 0;
    return QByteArray("kelvaris-seqpacket-test-") + what + '-' + QByteArray::number(::getpid()) + '-'
        + QByteArray::number(++counter);
}

// Sets an environment variable for the scope and restores it afterwards.
class CEnvScope
{
public:
    CEnvScope(const char* name, const QByteArray& value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~CEnvScope()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

TEST(SeqPacketAddress, AbstractAndPathFormsAndTheirLimits)
{
    CSeqPacketAddress address;
    ASSERT_TRUE(address.Set("OndreviKelvaris"));
    EXPECT_TRUE(address.IsAbstract());
    // Family, the leading NUL, then the name without a terminator.
    EXPECT_EQ(address.Length(), offsetof(sockaddr_un, sun_path) + 1 + 15);
    const auto* raw = reinterpret_cast<const sockaddr_un*>(address.Data());
    EXPECT_EQ(raw->sun_family, AF_UNIX);
    EXPECT_EQ(QByteArray(raw->sun_path + 1, 15), QByteArray("OndreviKelvaris"));

    ASSERT_TRUE(address.Set("/run/kelvaris.sock"));
    EXPECT_FALSE(address.IsAbstract());
    EXPECT_EQ(address.Length(), offsetof(sockaddr_un, sun_path) + 18 + 1);
    EXPECT_STREQ(raw->sun_path, "/run/kelvaris.sock");
    EXPECT_EQ(address.Name(), QByteArray("/run/kelvaris.sock"));

    // 107 bytes fit in either form, 108 do not.
    EXPECT_TRUE(address.Set(QByteArray(107, 'a')));
    EXPECT_TRUE(address.Set('/' + QByteArray(106, 'a')));
    EXPECT_FALSE(address.Set(QByteArray(108, 'a')));
    EXPECT_FALSE(address.IsValid());
    EXPECT_FALSE(address.Set('/' + QByteArray(107, 'a')));
    EXPECT_FALSE(address.Set(QByteArray()));
    EXPECT_FALSE(address.Set(QByteArray("a\0b", 3)));
    EXPECT_TRUE(address.Name().isEmpty());

    const CSeqPacketResult bad = SeqPacketExchange(QByteArray(200, 'x'), "<TimeCmd Name=\"Check\"/>");
    EXPECT_EQ(bad.status, SeqPacketStatus::BadName);
}

TEST(SeqPacketAddress, EnvironmentOverridesTheDefaultName)
{
    {
        CEnvScope unset(kPipeNameVariable, QByteArray());
        EXPECT_EQ(PipeNameFromEnvironment(), QByteArray("OndreviKelvaris"));
    }
    CEnvScope set(kPipeNameVariable, "/tmp/k.sock");
    EXPECT_EQ(PipeNameFromEnvironment(), QByteArray("/tmp/k.sock"));
}

TEST(SeqPacketExchange, OneMessageEachWayThroughTheOverriddenName)
{
    // Abstract form.
    const QByteArray name = UniqueName("echo");
    CSeqPacketTestServer abstractServer(name, CSeqPacketTestServer::Echo);
    ASSERT_TRUE(abstractServer.IsListening());
    {
        CEnvScope env(kPipeNameVariable, name);
        static const char kRequest[] = "<TimeCmd Name=\"Check\"/>\0tail";
        const QByteArray request(kRequest, sizeof kRequest - 1);
        const CSeqPacketResult result = SeqPacketExchange(PipeNameFromEnvironment(), request);
        ASSERT_EQ(result.status, SeqPacketStatus::Ok) << result.Message().toStdString();
        // Message boundaries and NUL bytes are kept.
        EXPECT_EQ(result.reply, request);
    }

    // Socket file form, with a reply that ends in CR LF and NUL as Kelvaris's do.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = dir.filePath(QStringLiteral("kelvaris.sock")).toUtf8();
    static const char kReply[] = "<TimeCmd Name=\"Check\"><Active>1</Active></TimeCmd>\r\n"; // and its NUL
    const QByteArray reply(kReply, sizeof kReply);
    CSeqPacketTestServer fileServer(path, CSeqPacketTestServer::Fixed, reply);
    ASSERT_TRUE(fileServer.IsListening());
    CEnvScope env(kPipeNameVariable, path);
    for (int i = 0; i < 3; ++i) {
        const CSeqPacketResult result
            = SeqPacketExchange(PipeNameFromEnvironment(), "<TimeCmd Name=\"Check\"/>");
        ASSERT_EQ(result.status, SeqPacketStatus::Ok) << result.Message().toStdString();
        EXPECT_EQ(result.reply, reply);
    }
    EXPECT_EQ(fileServer.WaitForMessages(3, 5000).size(), 3);
}

TEST(SeqPacketExchange, FailuresAreReportedNotThrown)
{
    // Nobody listens: refused, for an abstract name and for a missing socket file.
    CSeqPacketResult result = SeqPacketExchange(UniqueName("nobody"), "x", 2000);
    EXPECT_EQ(result.status, SeqPacketStatus::Refused);
    EXPECT_EQ(result.error, ECONNREFUSED);
    EXPECT_TRUE(result.Message().startsWith(QStringLiteral("refused: ")));
    QTemporaryDir dir;
    result = SeqPacketExchange(dir.filePath(QStringLiteral("none.sock")).toUtf8(), "x", 2000);
    EXPECT_EQ(result.status, SeqPacketStatus::Refused);
    EXPECT_EQ(result.error, ENOENT);

    // A request larger than the socket takes in one message.
    const QByteArray name = UniqueName("small");
    CSeqPacketTestServer server(name, CSeqPacketTestServer::Echo);
    ASSERT_TRUE(server.IsListening());
    result = SeqPacketExchange(name, QByteArray(16 * 1024 * 1024, 'x'), 2000);
    EXPECT_EQ(result.status, SeqPacketStatus::TooLong);
    EXPECT_EQ(result.error, EMSGSIZE);
}

TEST(SeqPacketExchange, TimeOutAndOversizedReply)
{
    const QByteArray silentName = UniqueName("silent");
    CSeqPacketTestServer silent(silentName, CSeqPacketTestServer::Silent);
    ASSERT_TRUE(silent.IsListening());
    const CSeqPacketResult quiet = SeqPacketExchange(silentName, "<TimeCmd Name=\"Check\"/>", 150);
    EXPECT_EQ(quiet.status, SeqPacketStatus::NoAnswer);
    EXPECT_EQ(quiet.error, 0);
    EXPECT_TRUE(quiet.reply.isEmpty());
    // The request itself did arrive.
    EXPECT_EQ(silent.WaitForMessages(1, 5000).value(0), QByteArray("<TimeCmd Name=\"Check\"/>"));

    // A server that never accepts, with its backlog full: the wait for room ends with the time-out.
    CSeqPacketAddress busy;
    ASSERT_TRUE(busy.Set(UniqueName("busy")));
    const int listener = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    const int queued = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(listener, busy.Data(), busy.Length()), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::connect(queued, busy.Data(), busy.Length()), 0);
    const CSeqPacketResult full = SeqPacketExchange(busy, "x", 150);
    EXPECT_EQ(full.status, SeqPacketStatus::NoAnswer);
    EXPECT_EQ(full.error, EAGAIN);
    ::close(queued);
    ::close(listener);

    QByteArray big(kMaxReplyBytes + 100, 'r');
    big[0] = 'A';
    const QByteArray largeName = UniqueName("large");
    CSeqPacketTestServer large(largeName, CSeqPacketTestServer::Fixed, big);
    ASSERT_TRUE(large.IsListening());
    const CSeqPacketResult truncated = SeqPacketExchange(largeName, "x");
    EXPECT_EQ(truncated.status, SeqPacketStatus::TooLong);
    EXPECT_EQ(truncated.reply, big.left(kMaxReplyBytes));
}
