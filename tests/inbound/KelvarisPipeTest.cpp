#include "inbound/KelvarisPipe.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "inbound/RequestHandler.h"
#include "support/SeqPacket.h"

namespace {

using namespace std::chrono_literals;

const QByteArray kEmptyReply("\r\n\0", 3);

QByteArray Reply(const char* xml)
{
    QByteArray reply(xml);
    reply.append(kEmptyReply);
    return reply;
}

// Records what the server asks; called on the server's thread.
class CFakeServices : public CRequestServices
{
public:
    int CheckDispatching(
        const QString& dispatchingId, const QString& groupId, const QString& timeText) override
    {
        const std::lock_guard lock(m_mutex);
        m_checks.append(QStringList { dispatchingId, groupId, timeText });
        return m_result;
    }
    bool AppendResponse(const QString& text) override
    {
        const std::lock_guard lock(m_mutex);
        m_responses.append(text);
        return true;
    }

    QList<QStringList> Checks()
    {
        const std::lock_guard lock(m_mutex);
        return m_checks;
    }
    QStringList Responses()
    {
        const std::lock_guard lock(m_mutex);
        return m_responses;
    }

    std::atomic<int> m_result = kDispatchSend;

private:
    std::mutex m_mutex;
    QList<QStringList> m_checks;
    QStringList m_responses;
};

// A connected client that sends and reads only when told to.
class CRawClient
{
public:
    explicit CRawClient(const QByteArray& name)
    {
        CSeqPacketAddress address;
        address.Set(name);
        m_fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        m_connected = m_fd >= 0 && ::connect(m_fd, address.Data(), address.Length()) == 0;
    }
    ~CRawClient() { Close(); }
    CRawClient(const CRawClient&) = delete;
    CRawClient& operator=(const CRawClient&) = delete;

    bool IsConnected() const { return m_connected; }
    bool Send(const QByteArray& message)
    {
        return ::send(m_fd, message.constData(), static_cast<size_t>(message.size()), MSG_NOSIGNAL)
            == message.size();
    }
    QByteArray Receive()
    {
        QByteArray buffer(4096, '\0');
        const ssize_t received = ::recv(m_fd, buffer.data(), static_cast<size_t>(buffer.size()), 0);
        buffer.truncate(received < 0 ? 0 : static_cast<qsizetype>(received));
        return buffer;
    }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    bool m_connected = false;
};

class KelvarisPipeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int counter = 0;
        m_name = "kelvaris-pipe-test-" + QByteArray::number(::getpid()) + "-" + QByteArray::number(++counter);
        ::setenv(kPipeNameVariable, m_name.constData(), 1);
    }
    void TearDown() override { ::unsetenv(kPipeNameVariable); }

    QByteArray Exchange(const QByteArray& request)
    {
        const CSeqPacketResult result = SeqPacketExchange(m_name, request, 5000);
        EXPECT_TRUE(result.Ok()) << result.Message().toStdString();
        return result.reply;
    }

    QByteArray m_name;
    CFakeServices m_services;
};

TEST_F(KelvarisPipeTest, AnswersEachRequestFormWithOneMessage)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    ASSERT_TRUE(pipe.IsListening());

    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Active"/>)"), Reply(R"(<TimeCmd Name="Active" />)"));
    // Names are compared exactly: another case is just echoed.
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="check"/>)"), Reply(R"(<TimeCmd Name="check" />)"));
    EXPECT_EQ(Exchange("<TimeCmd/>"), Reply(R"(<TimeCmd Name="" />)"));
    // The text ends at the first NUL byte.
    EXPECT_EQ(Exchange(QByteArray("<TimeCmd Name=\"Check\"/>\0garbage", 32)),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));

    EXPECT_EQ(Exchange(R"(<Other Name="Check"/>)"), kEmptyReply);
    EXPECT_EQ(Exchange(R"(<timecmd Name="Check"/>)"), kEmptyReply);
    EXPECT_EQ(Exchange("Check"), kEmptyReply);
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check">)"), kEmptyReply);
    EXPECT_EQ(Exchange(QByteArray("\0<TimeCmd Name=\"Check\"/>", 24)), kEmptyReply);
    EXPECT_TRUE(m_services.Checks().isEmpty());
    EXPECT_TRUE(m_services.Responses().isEmpty());
}

TEST_F(KelvarisPipeTest, CheckDispatchingPassesTheThreeTextsAndReturnsTheCode)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    m_services.m_result = kDispatchDelay;
    EXPECT_EQ(
        Exchange("<TimeCmd Name=\"CheckDispatching\"><DispatchingID>17</DispatchingID><GroupID>40</GroupID>"
                 "<Time>DT#NOW</Time></TimeCmd>"),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>2</DispatchingResult></TimeCmd>)"));
    m_services.m_result = kDispatchNotDispatched;
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="CheckDispatching"><GroupID>a&amp;b</GroupID></TimeCmd>)"),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>3</DispatchingResult></TimeCmd>)"));
    const QList<QStringList> expected { { "17", "40", "DT#NOW" }, { "", "a&b", "" } };
    EXPECT_EQ(m_services.Checks(), expected);
}

TEST_F(KelvarisPipeTest, HandleResponseIsAnsweredAtOnceAndQueuedInOrder)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    const QByteArray first
        = R"(<TimeCmd Name="HandleResponse"><ClientID>Time:4</ClientID><Result>1</Result></TimeCmd>)";
    const QByteArray second
        = R"(<TimeCmd Name="HandleResponse"><ClientID>Time:5</ClientID><Timeout>1</Timeout></TimeCmd>)";
    EXPECT_EQ(Exchange(first), Reply(R"(<TimeCmd Name="HandleResponse" />)"));
    EXPECT_EQ(Exchange(second), Reply(R"(<TimeCmd Name="HandleResponse" />)"));
    EXPECT_EQ(m_services.Responses(), (QStringList { QString::fromUtf8(first), QString::fromUtf8(second) }));
}

TEST_F(KelvarisPipeTest, ServesClientsOneAfterAnother)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    CRawClient first(m_name);
    ASSERT_TRUE(first.IsConnected());
    // The second client connects while the first is being served and waits for its turn.
    auto second = std::async(std::launch::async, [this] {
        return SeqPacketExchange(
            m_name, R"(<TimeCmd Name="CheckDispatching"><DispatchingID>B</DispatchingID></TimeCmd>)");
    });
    ASSERT_TRUE(first.Send(R"(<TimeCmd Name="CheckDispatching"><DispatchingID>A</DispatchingID></TimeCmd>)"));
    EXPECT_EQ(first.Receive(),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    first.Close();
    const CSeqPacketResult result = second.get();
    ASSERT_TRUE(result.Ok()) << result.Message().toStdString();
    EXPECT_EQ(result.reply,
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    const QList<QStringList> expected { { "A", "", "" }, { "B", "", "" } };
    EXPECT_EQ(m_services.Checks(), expected);
}

TEST_F(KelvarisPipeTest, SilentClientIsDroppedAfterTheTimeout)
{
    CKelvarisPipe pipe(m_services, m_name, 200);
    pipe.Start();
    CRawClient silent(m_name);
    ASSERT_TRUE(silent.IsConnected());
    // Without the time-out the silent client would hold the server past this exchange's 5 s.
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
    // The silent client was closed without a reply.
    EXPECT_EQ(silent.Receive(), QByteArray());
}

TEST_F(KelvarisPipeTest, ManyMalformedRequestsLeaveTheServerSound)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    const QByteArray malformed[]
        = { "not xml", "<TimeCmd", "<a><b></a>", "<!DOCTYPE x><x/>", "</TimeCmd>", QByteArray(300, '<') };
    int wrong = 0;
    for (int i = 0; i < 10000; ++i) {
        const CSeqPacketResult result = SeqPacketExchange(m_name, malformed[i % std::size(malformed)]);
        if (!result.Ok() || result.reply != kEmptyReply)
            ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
}

TEST_F(KelvarisPipeTest, RequestsAreCutAtTheBufferSize)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    const QByteArray head = R"(<TimeCmd Name="Check">)";
    const QByteArray tail = "</TimeCmd>";
    QByteArray fits = head + QByteArray(kMaxRequestBytes - head.size() - tail.size(), ' ') + tail;
    ASSERT_EQ(fits.size(), kMaxRequestBytes);
    EXPECT_EQ(Exchange(fits), Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));

    QByteArray tooLong = head + QByteArray(kMaxRequestBytes - head.size() - tail.size() + 1, ' ') + tail;
    EXPECT_EQ(Exchange(tooLong), kEmptyReply);
    EXPECT_EQ(Exchange(QByteArray(200000, 'x')), kEmptyReply);
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
}

TEST_F(KelvarisPipeTest, StopReturnsPromptlyWhileAClientIsSilent)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    CRawClient silent(m_name);
    ASSERT_TRUE(silent.IsConnected());
    std::this_thread::sleep_for(50ms); // let the worker take the connection
    const auto start = std::chrono::steady_clock::now();
    pipe.Stop();
    // Well below the 2 s client time-out: the stop woke the worker.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_FALSE(pipe.IsListening());
    EXPECT_EQ(SeqPacketExchange(m_name, "<TimeCmd Name=\"Check\"/>").status, SeqPacketStatus::Refused);
}

TEST_F(KelvarisPipeTest, StartAndStopAreIdempotentAndRestartable)
{
    CKelvarisPipe pipe(m_services);
    pipe.Stop(); // stopped: nothing
    pipe.Start();
    pipe.Start(); // started: nothing
    ASSERT_TRUE(pipe.IsListening());

    // A second server cannot take the name and stays stopped.
    CKelvarisPipe other(m_services);
    other.Start();
    EXPECT_FALSE(other.IsListening());
    other.Stop();

    pipe.Stop();
    pipe.Stop();
    EXPECT_FALSE(pipe.IsListening());
    pipe.Start();
    ASSERT_TRUE(pipe.IsListening());
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
        Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
}

TEST_F(KelvarisPipeTest, SocketFilePathReplacesOnlyAStaleSocket)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    m_name = QFile::encodeName(dir.filePath("kelvaris.sock"));

    // A socket file left behind by an instance that is gone.
    {
        CSeqPacketAddress address;
        ASSERT_TRUE(address.Set(m_name));
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        ASSERT_EQ(::bind(fd, address.Data(), address.Length()), 0);
        ::close(fd);
    }
    {
        CKelvarisPipe pipe(m_services, m_name);
        pipe.Start();
        ASSERT_TRUE(pipe.IsListening());
        EXPECT_EQ(Exchange(R"(<TimeCmd Name="Check"/>)"),
            Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("kelvaris.sock")));

    // A file that is no socket is left alone.
    QFile plain(dir.filePath("kelvaris.sock"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();
    CKelvarisPipe pipe(m_services, m_name);
    pipe.Start();
    EXPECT_FALSE(pipe.IsListening());
    EXPECT_EQ(plain.size(), 4);
}

} // namespace
