// Load on Kelvaris's socket server against a bare echo server with the same connection model.
//   bench_pipe_load [--clients 1,4,16] [--seconds 3 | --exchanges N] [--silent 100]
//                   [--answer-journal 0|1] [--board-rate N]
// Client threads do round trips (connect, send one request, receive one reply, close) with the
// same client code against both servers, for the given time or number of exchanges each. Both
// servers are the same event-driven one-thread server (CSeqPacketServer): the Kelvaris server
// answers dispatch checks over the benchmark's 1,000 page targets (see DispatchTargets.h), the
// echo server sends every request back unchanged, so their ratio is the cost of the request
// handling. A further run holds `--silent` connections open that send nothing (re-opened as the
// server drops them) while one client asks "Check" in a loop. With --answer-journal 1 every
// answer is also kept in an answer journal (Settings/AnswerJournal) in a temporary data folder.
// With --board-rate N the status board serves the same engine on a thread of its own (as on the
// engine's thread) and gets N requests a second (the board, the wall view, the state, the metrics,
// each on a connection of its own) through every run.
// Every reply is compared with the expected one; a wrong or missing reply from either server ends
// the program with exit code 1 (after all runs).

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QUrl>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "inbound/SeqPacketServer.h"
#include "schedule/ConfigLocation.h"
#include "server/ServerCommand.h"
#include "support/FileWatch.h"
#include "support/SeqPacket.h"
#include "support/XmlMessageBag.h"
#include "webui/WebServer.h"

#include "BenchServers.h"
#include "DispatchTargets.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxClients = 64;
constexpr double kMaxSeconds = 600;
constexpr int kExchangeTimeoutMs = 2000;
constexpr int kMaxSilent = 400;
constexpr int kRounds = 3;

// The reference server: the same server with a handler that sends each request back.
class CEchoHandler : public CSeqPacketHandler
{
public:
    QByteArray Answer(QByteArrayView request, const CPipePeer&) override
    {
        return QByteArray::fromRawData(request.data(), request.size());
    }
};

struct CLoadResult
{
    qint64 roundTrips = 0;
    double rate = 0; // round trips per second
    double medianUs = 0;
    double p99Us = 0;
    qint64 lost = 0; // no reply (time-out, closed, refused)
    qint64 wrong = 0; // a reply that differs from the expected one
    QString firstFailure; // with the time it took
};

// One client thread's record.
struct CClientRecord
{
    std::vector<qint64> latenciesNs;
    qint64 lost = 0;
    qint64 wrong = 0;
    QString firstFailure;
};

// How long a load run lasts: a time, or a number of exchanges shared by all its clients.
struct CRunLength
{
    double seconds = 3;
    qint64 exchanges = 0; // when not 0, instead of the time
};

CLoadResult Summarise(std::vector<CClientRecord>& records, double elapsed)
{
    CLoadResult load;
    std::vector<qint64> all;
    for (CClientRecord& record : records) {
        all.insert(all.end(), record.latenciesNs.begin(), record.latenciesNs.end());
        if (load.firstFailure.isEmpty())
            load.firstFailure = record.firstFailure;
        load.lost += record.lost;
        load.wrong += record.wrong;
        record.latenciesNs = {};
    }
    load.roundTrips = static_cast<qint64>(all.size());
    load.rate = elapsed > 0 ? static_cast<double>(all.size()) / elapsed : 0;
    if (!all.empty()) {
        const auto at = [&all](size_t rank) {
            std::nth_element(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(rank), all.end());
            return static_cast<double>(all[rank]) / 1000.0;
        };
        load.medianUs = at(all.size() / 2);
        load.p99Us = at(std::min(all.size() - 1, all.size() * 99 / 100));
    }
    return load;
}

// Runs `clients` threads, adding to their records; request i expects reply i. Each thread starts
// at its own place in the list. Returns the seconds it took.
double RunLoad(const CSeqPacketAddress& address, const QList<QByteArray>& requests,
    const QList<QByteArray>& replies, int clients, const CRunLength& length,
    std::vector<CClientRecord>& records)
{
    records.resize(static_cast<size_t>(clients));
    std::atomic<bool> go = false;
    std::atomic<qint64> left = length.exchanges;
    const auto duration
        = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(length.seconds));
    Clock::time_point start;
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            CClientRecord& record = records[static_cast<size_t>(c)];
            record.latenciesNs.reserve(length.exchanges > 0
                    ? static_cast<size_t>(std::min<qint64>(length.exchanges / clients + 1024, 1 << 24))
                    : size_t(1) << 18);
            qsizetype next = requests.size() * c / clients;
            while (!go.load(std::memory_order_acquire))
                std::this_thread::yield();
            const Clock::time_point end = start + duration;
            for (Clock::time_point now = Clock::now();;) {
                if (length.exchanges > 0 ? left.fetch_sub(1, std::memory_order_relaxed) <= 0 : now >= end)
                    break;
                const CSeqPacketResult result
                    = SeqPacketExchange(address, requests.at(next), kExchangeTimeoutMs);
                const Clock::time_point done = Clock::now();
                const qint64 ns = std::chrono::duration_cast<std::chrono::nanoseconds>(done - now).count();
                const bool lost = !result.Ok();
                const bool wrong = !lost && result.reply != replies.at(next);
                record.lost += lost;
                record.wrong += wrong;
                if ((lost || wrong) && record.firstFailure.isEmpty()) {
                    record.firstFailure = (lost ? result.Message()
                                                : QStringLiteral("unexpected reply ")
                                                      + QString::fromUtf8(result.reply.left(120)))
                        + QStringLiteral(" after %1 us").arg(ns / 1000);
                }
                record.latenciesNs.push_back(ns);
                now = done;
                next = next + 1 == requests.size() ? 0 : next + 1;
            }
        });
    }
    start = Clock::now();
    go.store(true, std::memory_order_release);
    for (std::thread& thread : threads)
        thread.join();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

CLoadResult RunLoad(const CSeqPacketAddress& address, const QList<QByteArray>& requests,
    const QList<QByteArray>& replies, int clients, const CRunLength& length)
{
    std::vector<CClientRecord> records;
    const double elapsed = RunLoad(address, requests, replies, clients, length, records);
    return Summarise(records, elapsed);
}

// Holds `count` connections open that send nothing; each one the server drops is replaced at once.
class CSilentCrowd
{
public:
    CSilentCrowd(const CSeqPacketAddress& address, int count)
        : m_address(address)
        , m_fds(static_cast<size_t>(count), -1)
    {
        for (int& fd : m_fds)
            fd = Open();
        m_thread = std::thread([this] { Run(); });
    }
    ~CSilentCrowd()
    {
        m_stop = true;
        m_thread.join();
        for (const int fd : m_fds) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    CSilentCrowd(const CSilentCrowd&) = delete;
    CSilentCrowd& operator=(const CSilentCrowd&) = delete;

    qint64 Reopened() const { return m_reopened.load(); }

private:
    int Open() const
    {
        const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (fd >= 0 && ::connect(fd, m_address.Data(), m_address.Length()) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    void Run()
    {
        std::vector<pollfd> items(m_fds.size());
        while (!m_stop) {
            for (size_t i = 0; i < m_fds.size(); ++i)
                items[i] = { m_fds[i], POLLIN, 0 };
            if (::poll(items.data(), items.size(), 20) <= 0)
                continue;
            for (size_t i = 0; i < m_fds.size(); ++i) {
                if (items[i].revents == 0 && m_fds[i] >= 0)
                    continue;
                if (m_fds[i] >= 0)
                    ::close(m_fds[i]);
                m_fds[i] = Open();
                ++m_reopened;
            }
        }
    }

    const CSeqPacketAddress& m_address;
    std::vector<int> m_fds;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_reopened = 0;
    std::thread m_thread;
};

// The status board on a thread of its own, and a client that asks it `rate` times a second.
class CBoardLoad
{
public:
    CBoardLoad(CKelvarisDoc& doc, int rate)
        : m_rate(rate)
    {
        m_thread.start();
        m_web = new CWebServer(doc);
        m_web->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_web,
            [this] {
                CWebOptions options;
                options.listen = QStringLiteral("127.0.0.1:0");
                if (m_web->Start(options))
                    m_port = quint16(QUrl(m_web->Url()).port());
            },
            Qt::BlockingQueuedConnection);
        if (m_port != 0)
            m_client = std::thread([this] { Run(); });
    }
    ~CBoardLoad()
    {
        m_stop = true;
        if (m_client.joinable())
            m_client.join();
        QMetaObject::invokeMethod(
            m_web, [this] { delete m_web; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    bool Ok() const { return m_port != 0; }
    qint64 Answered() const { return m_answered; }
    qint64 Failed() const { return m_failed; }

private:
    void Run()
    {
        static const char* const paths[] = { "/", "/?display=wall", "/api/v1/state", "/metrics" };
        const Clock::time_point start = Clock::now();
        for (qint64 i = 0; !m_stop; ++i) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(i * 1'000'000 / m_rate));
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address {};
            address.sin_family = AF_INET;
            address.sin_port = htons(m_port);
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const QByteArray request
                = QByteArray("GET ") + paths[i % 4] + " HTTP/1.1\r\nHost: bench\r\nConnection: close\r\n\r\n";
            bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                && ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) == request.size();
            // The whole answer: its headers, then as many bytes as Content-Length says.
            QByteArray reply;
            char buffer[16384];
            ssize_t got = 0;
            qsizetype expected = -1;
            while (ok && (expected < 0 || reply.size() < expected)
                && (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
                reply.append(buffer, got);
                const qsizetype headersEnd = reply.indexOf("\r\n\r\n");
                if (expected < 0 && headersEnd >= 0) {
                    const qsizetype length = reply.toLower().indexOf("content-length:");
                    expected = headersEnd + 4
                        + (length >= 0 ? reply.mid(length + 15, reply.indexOf('\r', length) - length - 15)
                                             .trimmed()
                                             .toLongLong()
                                       : 0);
                }
            }
            ::close(fd);
            (ok && reply.startsWith("HTTP/1.1 200") ? m_answered : m_failed)++;
        }
    }

    const int m_rate;
    QThread m_thread;
    CWebServer* m_web = nullptr;
    quint16 m_port = 0;
    std::thread m_client;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_answered = 0;
    std::atomic<qint64> m_failed = 0;
};

bool ParseOptions(int argc, char** argv, QList<int>& clients, CRunLength& length, int& silent,
    bool& answerJournal, int& boardRate)
{
    for (int i = 1; i < argc; i += 2) {
        const QByteArray option(argv[i]);
        if (i + 1 >= argc)
            return false;
        const QByteArray value(argv[i + 1]);
        bool ok = false;
        if (option == "--clients") {
            clients.clear();
            for (const QByteArray& item : value.split(',')) {
                const int count = item.toInt(&ok);
                if (!ok || count < 1 || count > kMaxClients)
                    return false;
                clients.append(count);
            }
        } else if (option == "--seconds") {
            length.seconds = value.toDouble(&ok);
            if (!ok || !(length.seconds > 0 && length.seconds <= kMaxSeconds))
                return false;
        } else if (option == "--exchanges") {
            length.exchanges = value.toLongLong(&ok);
            if (!ok || length.exchanges < 1)
                return false;
        } else if (option == "--answer-journal") {
            answerJournal = value == "1";
            if (value != "0" && value != "1")
                return false;
        } else if (option == "--board-rate") {
            boardRate = value.toInt(&ok);
            if (!ok || boardRate < 0 || boardRate > 5000)
                return false;
        } else if (option == "--silent") {
            silent = value.toInt(&ok);
            if (!ok || silent < 0 || silent > kMaxSilent)
                return false;
        } else {
            return false;
        }
    }
    return !clients.isEmpty();
}

QByteArray DispatchRequest(const CDispatchAsk& ask)
{
    CXmlMessageBag bag(QStringLiteral("TimeCmd"));
    bag.SetAttribute(QString(), QStringLiteral("Name"), QStringLiteral("CheckDispatching"));
    bag.SetText(QStringLiteral("DispatchingID"), ask.receiver);
    if (!ask.group.isEmpty())
        bag.SetText(QStringLiteral("GroupID"), ask.group);
    bag.SetText(QStringLiteral("Time"), kTime);
    return bag.Serialize();
}

void PrintFailures(const CLoadResult& load)
{
    if (load.lost == 0 && load.wrong == 0)
        return;
    std::printf("  %lld of %lld replies missing, %lld wrong; the first: %s\n",
        static_cast<long long>(load.lost), static_cast<long long>(load.roundTrips),
        static_cast<long long>(load.wrong), qPrintable(load.firstFailure));
}

} // namespace

int main(int argc, char** argv)
{
    QList<int> clientCounts { 1, 4, 16 };
    CRunLength length;
    int silent = 100;
    bool answerJournal = false;
    int boardRate = 0;
    if (!ParseOptions(argc, argv, clientCounts, length, silent, answerJournal, boardRate)) {
        std::fprintf(stderr,
            "usage: bench_pipe_load [--clients N,N,... (1-%d)] [--seconds S | --exchanges N] [--silent N "
            "(0-%d)] [--answer-journal 0|1] [--board-rate N (0-5000)]\n",
            kMaxClients, kMaxSilent);
        return 2;
    }

    CBenchSetup& setup = Setup();
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    QTemporaryDir dataFolder;
    if (answerJournal) {
        const QString config = dataFolder.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly) || file.write("[Settings]\r\nAnswerJournal=1\r\n") < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(config));
            return 1;
        }
        file.close();
        ConfigLocation().SetPaths(config, QString());
        doc.EnableJournal(QStringLiteral("windowless"));
        doc.UpdateAnswerJournal();
    }
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        doc.PageTargets() = setup.targets;
    }
    // The board's server lives on an event loop of its own thread.
    std::unique_ptr<QCoreApplication> application;
    std::unique_ptr<CBoardLoad> board;
    if (boardRate > 0) {
        static int applicationArgc = 1;
        application = std::make_unique<QCoreApplication>(applicationArgc, argv);
        board = std::make_unique<CBoardLoad>(doc, boardRate);
        if (!board->Ok()) {
            std::fprintf(stderr, "the status board could not listen\n");
            return 1;
        }
    }
    CDocRequestServices services(doc);
    const QByteArray pid = QByteArray::number(::getpid());
    CKelvarisPipe pipe(services, "KelvarisLoad-" + pid);
    pipe.Start();
    CEchoHandler echoHandler;
    CSeqPacketServer echo(echoHandler, "KelvarisEcho-" + pid,
        { CKelvarisPipe::kDefaultClientTimeoutMs, CKelvarisPipe::kDefaultMaxConnections, kMaxRequestBytes });
    CSeqPacketAddress kelvarisAddress;
    CSeqPacketAddress echoAddress;
    if (!setup.ok || !pipe.IsListening() || !echo.Start() || !kelvarisAddress.Set("KelvarisLoad-" + pid)
        || !echoAddress.Set("KelvarisEcho-" + pid)) {
        std::fprintf(stderr, "set-up failed\n");
        return 1;
    }

    // Two asks through a takeover group (Send, NotDispatched), then one for a receiver alone (Send).
    const QList<CDispatchAsk> groupAsks = TakeoverGroupAsks();
    const QList<CDispatchAsk> plainAsks = PlainReceiverAsks();
    QList<CDispatchAsk> asks;
    for (qsizetype i = 0; i < groupAsks.size(); ++i) {
        asks.append(groupAsks[i]);
        if (i % 2)
            asks.append(plainAsks[(i / 2) % plainAsks.size()]);
    }
    // Every request once, its reply checked by content; the load runs compare with these bytes.
    QList<QByteArray> requests;
    QList<QByteArray> replies;
    for (const CDispatchAsk& ask : asks) {
        requests.append(DispatchRequest(ask));
        const CSeqPacketResult result
            = SeqPacketExchange(kelvarisAddress, requests.last(), kExchangeTimeoutMs);
        CXmlMessageBag bag;
        const QByteArray nul("\r\n\0", 3);
        if (!result.Ok() || !result.reply.endsWith(nul) || !bag.Parse(result.reply.chopped(3))
            || bag.GetAttribute(QString(), QStringLiteral("Name"), QString())
                != QLatin1String("CheckDispatching")
            || bag.GetInt(QStringLiteral("DispatchingResult"), -1) != ask.expected) {
            std::fprintf(stderr, "wrong reply for %s: %s (%s)\n", requests.last().constData(),
                result.reply.left(200).constData(), qPrintable(result.Message()));
            return 1;
        }
        replies.append(result.reply);
    }

    // The request handler alone, in this thread, for comparison with the socket's round trips; as
    // on the socket's thread, whose loop takes in the file watch's events.
    const CFileWatch::CLoopTakesEvents loopTakesEvents;
    const Clock::time_point handlerStart = Clock::now();
    constexpr int kHandlerPasses = 20;
    for (int pass = 0; pass < kHandlerPasses; ++pass) {
        for (const QByteArray& request : std::as_const(requests))
            HandleRequest(request, services);
    }
    const double handlerUs = std::chrono::duration<double, std::micro>(Clock::now() - handlerStart).count()
        / double(kHandlerPasses * requests.size());

    const QString lengthText = length.exchanges > 0 ? QStringLiteral("%1 exchanges").arg(length.exchanges)
                                                    : QStringLiteral("%1 s").arg(length.seconds, 0, 'f', 1);
    std::printf("Round trips on a SOCK_SEQPACKET socket, one request per connection (connect, send,\n"
                "receive, close), %s per server in 3 alternating rounds. Both servers: one event-driven "
                "thread. kelvaris:\n"
                "CheckDispatching over %d page targets (%d takeover groups), %lld different requests;\n"
                "echo: sends each request back. Latency is one client's whole round trip. The request\n"
                "handler alone takes %.2f us per request.\n\n",
        qPrintable(lengthText), kTargets, kGroups, static_cast<long long>(requests.size()), handlerUs);
    if (answerJournal)
        std::printf("Every answer of the Kelvaris server is kept in the answer journal.\n\n");
    if (board)
        std::printf("The status board gets %d requests a second throughout.\n\n", boardRate);
    std::printf("%-9s %7s %14s %10s %10s %9s\n", "server", "clients", "round trips/s", "median us", "p99 us",
        "missing");
    bool sound = true;
    // The two servers take turns in short rounds, so that a change in the machine's load or in where
    // the scheduler puts the threads weighs on both alike.
    CRunLength round = length;
    round.seconds /= kRounds;
    round.exchanges = (length.exchanges + kRounds - 1) / kRounds;
    for (const int clients : clientCounts) {
        std::vector<CClientRecord> records[2];
        double elapsed[2] = {};
        for (int r = 0; r < kRounds; ++r) {
            for (int s = 0; s < 2; ++s) {
                const bool kelvaris = s == 1;
                elapsed[s] += RunLoad(kelvaris ? kelvarisAddress : echoAddress, requests,
                    kelvaris ? replies : requests, clients, round, records[s]);
            }
        }
        double rates[2] = {};
        for (int s = 0; s < 2; ++s) {
            const bool kelvaris = s == 1;
            const CLoadResult load = Summarise(records[s], elapsed[s]);
            rates[s] = load.rate;
            std::printf("%-9s %7d %14.0f %10.1f %10.1f %9lld\n", kelvaris ? "kelvaris" : "echo", clients,
                load.rate, load.medianUs, load.p99Us, static_cast<long long>(load.lost));
            PrintFailures(load);
            sound = sound && load.lost == 0 && load.wrong == 0;
        }
        std::printf("  ratio kelvaris/echo with %d client(s): %.2f\n", clients,
            rates[0] > 0 ? rates[1] / rates[0] : 0.0);
        std::fflush(stdout);
    }

    if (silent > 0) {
        const QByteArray check("<TimeCmd Name=\"Check\"/>");
        const QList<QByteArray> checkReplies { SeqPacketExchange(kelvarisAddress, check).reply };
        CSilentCrowd crowd(kelvarisAddress, silent);
        // Until the server holds them all.
        const Clock::time_point waitEnd = Clock::now() + std::chrono::seconds(5);
        while (pipe.OpenConnections() < silent && Clock::now() < waitEnd)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        CRunLength checkLength = length;
        checkLength.seconds = std::max(length.seconds, 2.5); // past the silent ones' time-out
        const CLoadResult load = RunLoad(kelvarisAddress, { check }, checkReplies, 1, checkLength);
        std::printf(
            "\nWith %d silent connections held open (%lld re-opened as the server dropped them),\n"
            "one client asking Check: %.0f round trips/s, median %.1f us, p99 %.1f us, %lld missing\n",
            silent, static_cast<long long>(crowd.Reopened()), load.rate, load.medianUs, load.p99Us,
            static_cast<long long>(load.lost));
        PrintFailures(load);
        sound = sound && load.lost == 0 && load.wrong == 0;
    }
    if (board) {
        std::printf("\nStatus board: %lld requests answered, %lld failed\n",
            static_cast<long long>(board->Answered()), static_cast<long long>(board->Failed()));
        sound = sound && board->Failed() == 0;
        board.reset();
    }
    pipe.Stop();
    echo.Stop();
    return sound ? 0 : 1;
}
