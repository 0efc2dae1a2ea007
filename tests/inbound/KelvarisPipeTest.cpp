#include "inbound/KelvarisPipe.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <grp.h>
#include <gtest/gtest.h>
#include <mutex>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "engine/Password.h"
#include "inbound/PipeAccess.h"
#include "inbound/RequestHandler.h"
#include "schedule/Profile.h"
#include "server/ServerCommand.h"
#include "support/SeqPacket.h"

#include "ConfigLocationScope.h"

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
        const timeval limit { 5, 0 }; // a test that waits in vain fails instead of hanging
        if (m_fd >= 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
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
    // The next message; empty when the server closed the connection (or after 5 s).
    QByteArray Receive()
    {
        QByteArray buffer(4096, '\0');
        const ssize_t received = ::recv(m_fd, buffer.data(), static_cast<size_t>(buffer.size()), 0);
        buffer.truncate(received < 0 ? 0 : static_cast<qsizetype>(received));
        return buffer;
    }
    // The connection was closed by the server without a message (a reset when the server left
    // our request unread).
    bool IsClosedByServer()
    {
        char byte;
        const ssize_t received = ::recv(m_fd, &byte, 1, 0);
        return received == 0 || (received < 0 && errno == ECONNRESET);
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

// Collects the warnings and trace lines of the socket's category while it lives.
class CLogCapture
{
public:
    CLogCapture()
    {
        const std::lock_guard lock(s_mutex);
        s_lines.clear();
        s_previous = qInstallMessageHandler(&CLogCapture::Handle);
    }
    ~CLogCapture() { qInstallMessageHandler(s_previous); }
    CLogCapture(const CLogCapture&) = delete;
    CLogCapture& operator=(const CLogCapture&) = delete;

    QStringList Lines() const
    {
        const std::lock_guard lock(s_mutex);
        return s_lines;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (context.category && QByteArrayView(context.category) == "kelvaris.pipe") {
            const std::lock_guard lock(s_mutex);
            s_lines.append(message);
        }
    }
    static inline std::mutex s_mutex;
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

// Reports every peer as user 4242 (group 4242, supplementary group 777, process 99).
struct CStrangerReader
{
    bool operator()(int, CPipePeer& peer, CPipePeerGroups* groups) const
    {
        peer = { 4242, 4242, 99 };
        if (groups)
            *groups = { 4242, 777 };
        *groupsAsked += groups != nullptr;
        return true;
    }
    std::shared_ptr<std::atomic<int>> groupsAsked = std::make_shared<std::atomic<int>>(0);
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

// The answers read files through their folders' watch, whose events the socket's loop takes in:
// a file changed before a request is sent is seen by its answer, on a new connection (the model of
// the alarm server) and on one accepted before the change.
TEST_F(KelvarisPipeTest, AFileChangedBeforeARequestIsSeenByItsAnswer)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("40.tim"));
    class CFileServices : public CFakeServices
    {
    public:
        explicit CFileServices(const QString& path)
            : m_path(path)
        { }
        int CheckDispatching(const QString&, const QString&, const QString&) override
        {
            return CProfile(m_path).ReadInt(QStringLiteral("Settings"), QStringLiteral("Result"), -1);
        }

    private:
        const QString m_path;
    } services(path);
    const auto write = [&](int result, bool replace) {
        const QByteArray bytes = "[Settings]\r\nResult=" + QByteArray::number(result) + "\r\n";
        if (replace) {
            QSaveFile file(path);
            ASSERT_TRUE(
                file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit());
        } else {
            QFile file(path);
            ASSERT_TRUE(
                file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
        }
    };
    const QByteArray request
        = "<TimeCmd Name=\"CheckDispatching\"><DispatchingID>1</DispatchingID></TimeCmd>";
    const auto expected = [](int result) {
        return "<DispatchingResult>" + QByteArray::number(result) + "</DispatchingResult>";
    };
    write(0, false);
    CKelvarisPipe pipe(services);
    pipe.Start();
    for (int round = 1; round <= 60; ++round) {
        const int result = round % 4;
        if (round % 2) {
            write(result, round % 3 == 0);
            ASSERT_TRUE(Exchange(request).contains(expected(result))) << round;
        } else {
            // Connected (and accepted) before the change, asking after it.
            CRawClient early(m_name);
            ASSERT_TRUE(early.IsConnected());
            std::this_thread::sleep_for(1ms);
            write(result, round % 3 == 0);
            ASSERT_TRUE(early.Send(request));
            ASSERT_TRUE(early.Receive().contains(expected(result))) << round;
        }
    }
}

// While the server's thread is held up by one answer, the alarm server's burst of connections
// waits in the listen backlog instead of being refused (a short backlog refused all but a few).
TEST_F(KelvarisPipeTest, ABurstOfConnectionsWaitsInTheBacklogWhileAnAnswerTakes)
{
    class CSlowServices : public CFakeServices
    {
    public:
        int CheckDispatching(const QString&, const QString&, const QString&) override
        {
            m_entered.set_value();
            m_release.wait();
            return kDispatchSend;
        }
        std::promise<void> m_entered;
        std::promise<void> m_releaser;
        std::shared_future<void> m_release = m_releaser.get_future().share();
    } services;
    CKelvarisPipe pipe(services);
    pipe.Start();
    CRawClient first(m_name);
    ASSERT_TRUE(first.IsConnected());
    ASSERT_TRUE(first.Send("<TimeCmd Name=\"CheckDispatching\"><DispatchingID>1</DispatchingID></TimeCmd>"));
    ASSERT_EQ(services.m_entered.get_future().wait_for(5s), std::future_status::ready);

    constexpr int kBurst = 100;
    CSeqPacketAddress address;
    ASSERT_TRUE(address.Set(m_name));
    int connected = 0;
    std::vector<int> fds;
    for (int i = 0; i < kBurst; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ASSERT_GE(fd, 0);
        fds.push_back(fd);
        connected += ::connect(fd, address.Data(), address.Length()) == 0;
    }
    services.m_releaser.set_value();
    EXPECT_EQ(first.Receive(),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    for (const int fd : fds)
        ::close(fd);
    EXPECT_EQ(connected, kBurst);
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

TEST_F(KelvarisPipeTest, EachRequestIsAnsweredAsItArrivesWhicheverConnectionItComesOn)
{
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    CRawClient first(m_name);
    ASSERT_TRUE(first.IsConnected());
    // The second client is answered while the first one, connected earlier, has sent nothing yet.
    const CSeqPacketResult second = SeqPacketExchange(
        m_name, R"(<TimeCmd Name="CheckDispatching"><DispatchingID>B</DispatchingID></TimeCmd>)", 1000);
    ASSERT_TRUE(second.Ok()) << second.Message().toStdString();
    EXPECT_EQ(second.reply,
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    ASSERT_TRUE(first.Send(R"(<TimeCmd Name="CheckDispatching"><DispatchingID>A</DispatchingID></TimeCmd>)"));
    EXPECT_EQ(first.Receive(),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    const QList<QStringList> expected { { "B", "", "" }, { "A", "", "" } };
    EXPECT_EQ(m_services.Checks(), expected);

    // Twenty silent connections hold up nobody: the request is answered well within their 2 s.
    std::vector<std::unique_ptr<CRawClient>> silent;
    for (int i = 0; i < 20; ++i) {
        silent.push_back(std::make_unique<CRawClient>(m_name));
        ASSERT_TRUE(silent.back()->IsConnected());
    }
    const CSeqPacketResult check = SeqPacketExchange(m_name, R"(<TimeCmd Name="Check"/>)", 1000);
    ASSERT_TRUE(check.Ok()) << check.Message().toStdString();
    EXPECT_EQ(check.reply, Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"));

    // An empty message gets the empty reply; a peer that closes without a word gets nothing.
    CRawClient empty(m_name);
    ASSERT_TRUE(empty.Send(QByteArray()));
    EXPECT_EQ(empty.Receive(), kEmptyReply);
    EXPECT_EQ(m_services.Checks().size(), 2);
    EXPECT_TRUE(m_services.Responses().isEmpty());
}

TEST_F(KelvarisPipeTest, AtTheConnectionLimitTheConnectionIdleLongestMakesRoom)
{
    CKelvarisPipe pipe(m_services, m_name, 5000, 3);
    pipe.Start();
    const auto waitForOpen = [&pipe](int count) {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (pipe.OpenConnections() != count && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(1ms);
        return pipe.OpenConnections();
    };
    std::vector<std::unique_ptr<CRawClient>> clients;
    for (int i = 0; i < 3; ++i) {
        clients.push_back(std::make_unique<CRawClient>(m_name));
        ASSERT_TRUE(clients.back()->IsConnected());
        ASSERT_EQ(waitForOpen(i + 1), i + 1); // accepted in this order
    }
    // A fourth: the first (idle longest) is closed without an answer, the others stay.
    clients.push_back(std::make_unique<CRawClient>(m_name));
    EXPECT_TRUE(clients[0]->IsClosedByServer());
    EXPECT_EQ(waitForOpen(3), 3);
    for (const int i : { 3, 1, 2 }) {
        ASSERT_TRUE(clients[static_cast<size_t>(i)]->Send(R"(<TimeCmd Name="Check"/>)"));
        EXPECT_EQ(clients[static_cast<size_t>(i)]->Receive(),
            Reply(R"(<TimeCmd Name="Check"><Active>1</Active></TimeCmd>)"))
            << "client " << i;
    }
    EXPECT_EQ(waitForOpen(0), 0);
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
    pipe.Stop();

    // With the shipped 2 s and no other traffic to wake the server: the deadline alone closes a
    // silent client, about 2 s after it connected (not at the next request, not 20 s later).
    CKelvarisPipe shipped(m_services);
    shipped.Start();
    CRawClient alone(m_name);
    ASSERT_TRUE(alone.IsConnected());
    const auto connected = std::chrono::steady_clock::now();
    EXPECT_TRUE(alone.IsClosedByServer());
    const auto held = std::chrono::steady_clock::now() - connected;
    EXPECT_GT(held, 1800ms);
    EXPECT_LT(held, 3000ms);
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
    std::vector<std::unique_ptr<CRawClient>> silent;
    for (int i = 0; i < 20; ++i) {
        silent.push_back(std::make_unique<CRawClient>(m_name));
        ASSERT_TRUE(silent.back()->IsConnected());
    }
    const auto taken = std::chrono::steady_clock::now() + 5s;
    while (pipe.OpenConnections() < 20 && std::chrono::steady_clock::now() < taken)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(pipe.OpenConnections(), 20);
    const auto start = std::chrono::steady_clock::now();
    pipe.Stop();
    // The stop wakes the server at once (100 ms is the promise; the bound leaves room for the
    // sanitizer builds), far below the 2 s client time-out it would otherwise wait for.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
    for (const auto& client : silent)
        EXPECT_TRUE(client->IsClosedByServer());
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

TEST(PipeAccess, TheSettingNamesUsersAndGroups)
{
    EXPECT_TRUE(CPipeAccess::FromSetting(QString())->ServesEveryone());
    EXPECT_TRUE(CPipeAccess::FromSetting(QStringLiteral(" ; ;"))->ServesEveryone());

    const passwd* nobody = ::getpwnam("nobody");
    const group* nogroup = nobody ? ::getgrgid(nobody->pw_gid) : nullptr;
    if (!nobody || !nogroup || nobody->pw_uid == ::geteuid())
        GTEST_SKIP() << "needs the user nobody and its group";
    const uid_t nobodyUid = nobody->pw_uid;
    const gid_t nogroupGid = nogroup->gr_gid;
    const QString groupName = QString::fromUtf8(nogroup->gr_name);

    QStringList unknown;
    const auto byUser = CPipeAccess::FromSetting(
        QStringLiteral(" nobody ;kelvaris-no-such-user;@kelvaris-no-such-group"), &unknown);
    EXPECT_EQ(unknown, (QStringList { "kelvaris-no-such-user", "@kelvaris-no-such-group" }));
    EXPECT_FALSE(byUser->ServesEveryone());
    EXPECT_FALSE(byUser->NeedsGroups());
    EXPECT_TRUE(byUser->Allows({ nobodyUid, 4242, 1 }, nullptr));
    EXPECT_FALSE(byUser->Allows({ 4242, nogroupGid, 1 }, nullptr));
    // Kelvaris's own user and root always.
    EXPECT_TRUE(byUser->Allows({ ::geteuid(), 4242, 1 }, nullptr));
    EXPECT_TRUE(byUser->Allows({ 0, 4242, 1 }, nullptr));

    // A group serves its primary and its supplementary members, as their processes carry it.
    const auto byGroup = CPipeAccess::FromSetting(QLatin1Char('@') + groupName);
    EXPECT_TRUE(byGroup->NeedsGroups());
    EXPECT_TRUE(byGroup->Allows({ 4242, nogroupGid, 1 }, nullptr));
    const CPipePeerGroups member { 4243, nogroupGid };
    const CPipePeerGroups stranger { 4243, 4244 };
    EXPECT_TRUE(byGroup->Allows({ 4242, 4242, 1 }, &member));
    EXPECT_FALSE(byGroup->Allows({ 4242, 4242, 1 }, &stranger));
    EXPECT_FALSE(byGroup->Allows({ 4242, 4242, 1 }, nullptr));

    // Names none of which resolves serve nobody but Kelvaris's own user and root.
    const auto none = CPipeAccess::FromSetting(QStringLiteral("kelvaris-no-such-user"));
    EXPECT_FALSE(none->ServesEveryone());
    EXPECT_FALSE(none->Allows({ nobodyUid, nogroupGid, 1 }, nullptr));
}

TEST_F(KelvarisPipeTest, PeersNotAmongPipeUsersAreClosedWithoutAnAnswer)
{
    CLogCapture log;
    CKelvarisPipe pipe(m_services);
    const CStrangerReader reader;
    pipe.SetPeerReader(reader);
    pipe.SetAccess(CPipeAccess::FromIds({}, {}));
    pipe.Start();
    const QByteArray request
        = R"(<TimeCmd Name="CheckDispatching"><DispatchingID>A</DispatchingID></TimeCmd>)";
    for (int i = 0; i < 3; ++i) {
        CRawClient refused(m_name);
        refused.Send(request);
        EXPECT_TRUE(refused.IsClosedByServer());
    }
    EXPECT_TRUE(m_services.Checks().isEmpty());
    EXPECT_EQ(*reader.groupsAsked, 0); // a policy without groups does not ask for them
    // One warning naming the user, not one per refusal.
    const QStringList warnings = log.Lines().filter(QStringLiteral("refused"));
    ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
    EXPECT_TRUE(warnings.first().contains(QStringLiteral("uid 4242"))) << warnings.first().toStdString();

    // A listed supplementary group of the peer's process serves it.
    pipe.SetAccess(CPipeAccess::FromIds({}, { 777 }));
    EXPECT_EQ(Exchange(request),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    EXPECT_EQ(*reader.groupsAsked, 1);
    // An empty setting serves everyone again.
    pipe.SetAccess(CPipeAccess::FromIds({}, {}));
    pipe.SetAllowedUsers(QString());
    EXPECT_EQ(Exchange(request),
        Reply(R"(<TimeCmd Name="CheckDispatching"><DispatchingResult>0</DispatchingResult></TimeCmd>)"));
    EXPECT_EQ(m_services.Checks().size(), 2);

    // A takeover response's trace line names the peer.
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.pipe.debug=true"));
    EXPECT_EQ(Exchange(R"(<TimeCmd Name="HandleResponse"><ClientID>Time:4</ClientID></TimeCmd>)"),
        Reply(R"(<TimeCmd Name="HandleResponse" />)"));
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.*.debug=false"));
    const QStringList traces = log.Lines().filter(QStringLiteral("HandleResponse"));
    ASSERT_EQ(traces.size(), 1) << log.Lines().join('\n').toStdString();
    EXPECT_TRUE(traces.first().contains(QStringLiteral("uid 4242 pid 99"))) << traces.first().toStdString();
}

// Runs one exchange as the user nobody in a child process: 0 answered, 1 closed without an answer.
int ExchangeAsNobody(const QByteArray& name, const passwd& nobody)
{
    CSeqPacketAddress address;
    address.Set(name);
    const uid_t uid = nobody.pw_uid;
    const gid_t gid = nobody.pw_gid;
    const pid_t child = ::fork();
    if (child == 0) {
        // Only system calls from here on: the parent has threads.
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        const timeval limit { 5, 0 };
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        if (::connect(fd, address.Data(), address.Length()) != 0)
            ::_exit(4);
        static const char kRequest[] = "<TimeCmd Name=\"Check\"/>";
        ::send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL);
        char reply[256];
        const ssize_t received = ::recv(fd, reply, sizeof reply, 0);
        ::_exit(received > 0 ? 0 : received == 0 || errno == ECONNRESET ? 1 : 2);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

TEST_F(KelvarisPipeTest, AnotherUserIsServedOnlyWhenListed)
{
    const passwd* entry = ::getpwnam("nobody");
    if (::geteuid() != 0 || !entry)
        GTEST_SKIP() << "needs root to run a client as the user nobody";
    const passwd nobody = *entry;
    CKelvarisPipe pipe(m_services);
    pipe.Start();
    EXPECT_EQ(ExchangeAsNobody(m_name, nobody), 0); // everyone by default
    pipe.SetAllowedUsers(QStringLiteral("root"));
    EXPECT_EQ(ExchangeAsNobody(m_name, nobody), 1);
    pipe.SetAllowedUsers(QStringLiteral("root;nobody"));
    EXPECT_EQ(ExchangeAsNobody(m_name, nobody), 0);
    const group* primary = ::getgrgid(nobody.pw_gid);
    ASSERT_NE(primary, nullptr);
    pipe.SetAllowedUsers(QStringLiteral("@") + QString::fromUtf8(primary->gr_name));
    EXPECT_EQ(ExchangeAsNobody(m_name, nobody), 0);
}

// Records what the document tells its socket server.
class CRecordingInbound : public CInboundServer
{
public:
    void Start() override { }
    void Stop() override { }
    void SetAllowedUsers(const QString& setting) override { settings.append(setting); }
    QStringList settings;
};

class CNoServer : public CServerCommandFactory
{
public:
    std::unique_ptr<CServerCommand> Create() override { return nullptr; }
};

TEST(PipeUsersSetting, TheDocumentPassesItOnWheneverItLoadsTheSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kelvaris.cfg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Settings]\r\nPipeUsers=alarm;@operators\r\n");
    file.close();
    const CConfigLocationScope location(path);

    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    CRecordingInbound inbound;
    doc.SetInboundServer(&inbound);
    ASSERT_TRUE(doc.Initialise());
    EXPECT_EQ(inbound.settings.value(inbound.settings.size() - 1), QStringLiteral("alarm;@operators"));
    // A server set later gets the setting as loaded.
    CRecordingInbound later;
    doc.SetInboundServer(&later);
    EXPECT_EQ(later.settings, QStringList { QStringLiteral("alarm;@operators") });
    doc.SetInboundServer(nullptr);
}

} // namespace
