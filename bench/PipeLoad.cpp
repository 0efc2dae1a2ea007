// Load on Kelvaris's socket server against a bare echo server on the same kind of socket.
//   bench_pipe_load [--clients 1,4] [--seconds 3]
// Client threads do round trips (connect, send one request, receive one reply, close) with the
// same client code against both servers for the given time each. The Kelvaris server answers
// dispatch checks over the benchmark's 1,000 page targets (see DispatchTargets.h); the echo server
// (one thread, serial) sends every request back unchanged. Every reply is compared with the
// expected one: a wrong reply from Kelvaris (or a wrong or missing one among the first replies,
// one for each request) ends the program with exit code 1; missing replies under load are
// counted and shown.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "server/ServerCommand.h"
#include "support/SeqPacket.h"
#include "support/XmlMessageBag.h"

#include "DispatchTargets.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxClients = 64;
constexpr double kMaxSeconds = 600;
constexpr int kExchangeTimeoutMs = 2000;

class CNoServer : public CServerCommandFactory
{
public:
    std::unique_ptr<CServerCommand> Create() override { return nullptr; }
};

// The reference server: one thread accepts, receives one message, sends it back and closes.
class CEchoServer
{
public:
    ~CEchoServer() { Stop(); }

    bool Start(const QByteArray& name)
    {
        m_listen = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (!m_address.Set(name) || m_listen < 0
            || ::bind(m_listen, m_address.Data(), m_address.Length()) != 0 || ::listen(m_listen, 16) != 0)
            return false;
        m_thread = std::thread([this] { Run(); });
        return true;
    }

    void Stop()
    {
        if (m_thread.joinable()) {
            m_stop = true;
            SeqPacketExchange(m_address, QByteArray("x"), kExchangeTimeoutMs); // wakes the accept
            m_thread.join();
        }
        if (m_listen >= 0)
            ::close(m_listen);
        m_listen = -1;
    }

private:
    void Run()
    {
        QByteArray buffer(kMaxRequestBytes, Qt::Uninitialized);
        const timeval limit { 2, 0 }; // a silent client holds the server no longer than this
        while (!m_stop) {
            const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            const ssize_t received = ::recv(client, buffer.data(), static_cast<size_t>(buffer.size()), 0);
            if (received > 0)
                ::send(client, buffer.constData(), static_cast<size_t>(received), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    CSeqPacketAddress m_address;
    int m_listen = -1;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

struct CLoadResult
{
    qint64 roundTrips = 0;
    double rate = 0; // round trips per second
    double medianUs = 0;
    double p99Us = 0;
    qint64 failures = 0; // replies wrong or missing
    qint64 wrong = 0; // replies that came but differ from the expected one
    QString firstFailure; // with the time it took
};

// One client thread's record.
struct CClientRecord
{
    std::vector<qint64> latenciesNs;
    qint64 failures = 0;
    qint64 wrong = 0;
    QString firstFailure;
};

// Runs `clients` threads for `seconds`; request i expects reply i. Each thread starts at its own
// place in the list.
CLoadResult RunLoad(const CSeqPacketAddress& address, const QList<QByteArray>& requests,
    const QList<QByteArray>& replies, int clients, double seconds)
{
    std::vector<CClientRecord> records(static_cast<size_t>(clients));
    std::atomic<bool> go = false;
    const auto length = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Clock::time_point start;
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            CClientRecord& record = records[static_cast<size_t>(c)];
            record.latenciesNs.reserve(1 << 18);
            qsizetype next = requests.size() * c / clients;
            while (!go.load(std::memory_order_acquire))
                std::this_thread::yield();
            const Clock::time_point end = start + length;
            for (Clock::time_point now = Clock::now(); now < end;) {
                const CSeqPacketResult result
                    = SeqPacketExchange(address, requests.at(next), kExchangeTimeoutMs);
                const Clock::time_point done = Clock::now();
                const qint64 ns = std::chrono::duration_cast<std::chrono::nanoseconds>(done - now).count();
                record.wrong += result.Ok() && result.reply != replies.at(next);
                if ((!result.Ok() || result.reply != replies.at(next)) && record.failures++ == 0) {
                    record.firstFailure = (result.Ok() ? QStringLiteral("unexpected reply ")
                                                      + QString::fromUtf8(result.reply.left(120))
                                                       : result.Message())
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
    CLoadResult load;
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::vector<qint64> all;
    for (const CClientRecord& record : records) {
        all.insert(all.end(), record.latenciesNs.begin(), record.latenciesNs.end());
        if (load.failures == 0)
            load.firstFailure = record.firstFailure;
        load.failures += record.failures;
        load.wrong += record.wrong;
    }
    load.roundTrips = static_cast<qint64>(all.size());
    load.rate = static_cast<double>(all.size()) / elapsed;
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

bool ParseOptions(int argc, char** argv, QList<int>& clients, double& seconds)
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
            seconds = value.toDouble(&ok);
            if (!ok || !(seconds > 0 && seconds <= kMaxSeconds))
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

} // namespace

int main(int argc, char** argv)
{
    QList<int> clientCounts { 1, 4 };
    double seconds = 3;
    if (!ParseOptions(argc, argv, clientCounts, seconds)) {
        std::fprintf(
            stderr, "usage: bench_pipe_load [--clients N,N,... (1-%d)] [--seconds S]\n", kMaxClients);
        return 2;
    }

    CBenchSetup& setup = Setup();
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    {
        const std::lock_guard<std::mutex> lock(doc.TargetsMutex());
        doc.PageTargets() = setup.targets;
    }
    CDocRequestServices services(doc);
    const QByteArray pid = QByteArray::number(::getpid());
    CKelvarisPipe pipe(services, "KelvarisLoad-" + pid);
    pipe.Start();
    CEchoServer echo;
    CSeqPacketAddress kelvarisAddress;
    CSeqPacketAddress echoAddress;
    if (!setup.ok || !pipe.IsListening() || !echo.Start("KelvarisEcho-" + pid)
        || !kelvarisAddress.Set("KelvarisLoad-" + pid) || !echoAddress.Set("KelvarisEcho-" + pid)) {
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

    // The request handler alone, in this thread, for comparison with the socket's round trips.
    const Clock::time_point handlerStart = Clock::now();
    constexpr int kHandlerPasses = 20;
    for (int pass = 0; pass < kHandlerPasses; ++pass) {
        for (const QByteArray& request : std::as_const(requests))
            HandleRequest(request, services);
    }
    const double handlerUs = std::chrono::duration<double, std::micro>(Clock::now() - handlerStart).count()
        / double(kHandlerPasses * requests.size());

    std::printf("Round trips on a SOCK_SEQPACKET socket, one request per connection (connect, send,\n"
                "receive, close), %.1f s per run. kelvaris: CheckDispatching over %d page targets\n"
                "(%d takeover groups), %lld different requests; echo: one thread sends each request\n"
                "back. Latency is one client's whole round trip. The request handler alone takes\n"
                "%.2f us per request.\n\n",
        seconds, kTargets, kGroups, static_cast<long long>(requests.size()), handlerUs);
    std::printf("%-9s %7s %14s %10s %10s\n", "server", "clients", "round trips/s", "median us", "p99 us");
    bool kelvarisOk = true;
    for (const int clients : clientCounts) {
        double rates[2] = {};
        for (int s = 0; s < 2; ++s) {
            const bool kelvaris = s == 1;
            const CLoadResult load = RunLoad(kelvaris ? kelvarisAddress : echoAddress, requests,
                kelvaris ? replies : requests, clients, seconds);
            rates[s] = load.rate;
            std::printf("%-9s %7d %14.0f %10.1f %10.1f\n", kelvaris ? "kelvaris" : "echo", clients, load.rate,
                load.medianUs, load.p99Us);
            if (load.failures != 0) {
                std::printf("  %lld of %lld replies wrong or missing; the first: %s\n",
                    static_cast<long long>(load.failures), static_cast<long long>(load.roundTrips),
                    qPrintable(load.firstFailure));
                kelvarisOk = kelvarisOk && !(kelvaris && load.wrong != 0);
            }
        }
        std::printf("  ratio kelvaris/echo with %d client(s): %.2f\n", clients,
            rates[0] > 0 ? rates[1] / rates[0] : 0.0);
        std::fflush(stdout);
    }
    pipe.Stop();
    echo.Stop();
    return kelvarisOk ? 0 : 1;
}
