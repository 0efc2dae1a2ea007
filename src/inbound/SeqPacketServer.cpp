#include "inbound/SeqPacketServer.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <systemd/sd-daemon.h>
#include <unistd.h>

#include "support/FileWatch.h"
#include "support/Liveness.h"
#include "support/Metrics.h"
#include "support/Trace.h"

namespace {

// epoll tokens: the three fixed descriptors, then connection slots (slot + kFirstSlotToken in the
// low half, the slot's generation in the high half).
constexpr std::uint64_t kListenToken = 0;
constexpr std::uint64_t kWakeToken = 1;
constexpr std::uint64_t kFileWatchToken = 2;
constexpr std::uint64_t kFirstSlotToken = 3;

constexpr int kMaxEvents = 64;
// Connections taken off the backlog before the ready requests get their turn again.
constexpr int kAcceptBatch = 32;
// How long the listening socket rests after the process ran out of descriptors with no connection
// of its own to give up.
constexpr int kListenPauseMs = 100;
// The longest the thread waits without beating (see Liveness).
constexpr int kBeatMs = 1000;

void CloseFd(int& fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// A socket file at the path that nobody listens on any more: left behind by a crashed instance.
// Anything else (a live socket, a file that is no socket) is left alone and makes bind() fail.
bool IsStaleSocketFile(const CSeqPacketAddress& address)
{
    struct stat info
    {
    };
    if (::lstat(address.Name().constData(), &info) != 0 || !S_ISSOCK(info.st_mode))
        return false;
    const int probe = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (probe < 0)
        return false;
    int result;
    do
        result = ::connect(probe, address.Data(), address.Length());
    while (result != 0 && errno == EINTR);
    const bool stale = result != 0 && errno == ECONNREFUSED;
    ::close(probe);
    return stale;
}

bool Watch(int epoll, int fd, std::uint32_t events, std::uint64_t token, int operation = EPOLL_CTL_ADD)
{
    epoll_event event {};
    event.events = events;
    event.data.u64 = token;
    return ::epoll_ctl(epoll, operation, fd, &event) == 0;
}

} // namespace

CSeqPacketServer::CSeqPacketServer(CSeqPacketHandler& handler, QByteArray name, COptions options)
    : m_handler(handler)
    , m_name(std::move(name))
    , m_options(options)
    , m_readPeer(ReadPipePeer)
{
    m_options.clientTimeoutMs = std::max(m_options.clientTimeoutMs, 1);
    m_options.maxConnections = std::max(m_options.maxConnections, 1);
    m_options.maxRequestBytes = std::max<qsizetype>(m_options.maxRequestBytes, 1);
}

CSeqPacketServer::~CSeqPacketServer()
{
    Stop();
}

void CSeqPacketServer::SetAccess(std::shared_ptr<const CPipeAccess> access)
{
    std::shared_ptr<const CPipeAccess> old;
    {
        const std::lock_guard<std::mutex> lock(m_accessMutex);
        old = std::exchange(m_access, std::move(access));
    }
    // The old policy is released here, outside the lock (or by the socket thread's last copy).
}

std::shared_ptr<const CPipeAccess> CSeqPacketServer::Access() const
{
    const std::lock_guard<std::mutex> lock(m_accessMutex);
    return m_access;
}

void CSeqPacketServer::SetPeerReader(CPipePeerReader reader)
{
    if (!m_thread.joinable())
        m_readPeer = reader ? std::move(reader) : CPipePeerReader(ReadPipePeer);
}

namespace {
// The listening SOCK_SEQPACKET socket of that address among those the service manager passed
// (LISTEN_FDS), or -1. Looked up once; the descriptor is the process's for good.
int InheritedSocket(const CSeqPacketAddress& address)
{
    static const int count = sd_listen_fds(0);
    const auto pathLength = size_t(address.Length()) - offsetof(sockaddr_un, sun_path);
    const char* path = reinterpret_cast<const sockaddr_un*>(address.Data())->sun_path;
    for (int fd = SD_LISTEN_FDS_START; fd < SD_LISTEN_FDS_START + std::max(count, 0); ++fd) {
        if (sd_is_socket_unix(fd, SOCK_SEQPACKET, 1, path, pathLength) > 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            return fd;
        }
    }
    return -1;
}
} // namespace

bool CSeqPacketServer::Start()
{
    if (m_thread.joinable())
        return true;
    if (!Listen()) {
        CloseSockets();
        return false;
    }
    if (m_buffer.size() != m_options.maxRequestBytes)
        m_buffer = QByteArray(m_options.maxRequestBytes, Qt::Uninitialized);
    m_connections.assign(static_cast<size_t>(m_options.maxConnections), CConnection());
    m_free.clear();
    m_free.reserve(m_connections.size());
    for (int slot = m_options.maxConnections - 1; slot >= 0; --slot)
        m_free.push_back(slot);
    m_oldest = m_newest = -1;
    m_listenPaused = false;
    m_openCount.store(0, std::memory_order_relaxed);
    m_stopRequested.store(false);
    Liveness::SetWatched(Liveness::EPart::Socket, true);
    m_thread = std::thread([this] { Run(); });
    return true;
}

void CSeqPacketServer::Stop()
{
    if (!m_thread.joinable())
        return;
    Liveness::SetWatched(Liveness::EPart::Socket, false);
    m_stopRequested.store(true);
    const std::uint64_t one = 1;
    ssize_t written;
    do
        written = ::write(m_wake, &one, sizeof one);
    while (written < 0 && errno == EINTR);
    m_thread.join();
    CloseSockets();
}

bool CSeqPacketServer::Listen()
{
    if (!m_address.Set(m_name)) {
        errno = EINVAL;
        return false;
    }
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    m_epoll = ::epoll_create1(EPOLL_CLOEXEC);
    if (m_wake < 0 || m_epoll < 0)
        return false;
    // A socket the service manager bound for us (kelvaris.socket) before anybody else could.
    if (const int inherited = InheritedSocket(m_address); inherited >= 0) {
        m_listen = inherited;
        m_inherited = true;
        return Watch(m_epoll, m_listen, EPOLLIN, kListenToken) && Watch(m_epoll, m_wake, EPOLLIN, kWakeToken);
    }
    m_listen = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listen < 0)
        return false;
    if (!m_address.IsAbstract() && IsStaleSocketFile(m_address))
        ::unlink(m_name.constData());
    if (::bind(m_listen, m_address.Data(), m_address.Length()) != 0)
        return false;
    m_socketFile = !m_address.IsAbstract();
    return ::listen(m_listen, SOMAXCONN) == 0 && Watch(m_epoll, m_listen, EPOLLIN, kListenToken)
        && Watch(m_epoll, m_wake, EPOLLIN, kWakeToken);
}

void CSeqPacketServer::CloseSockets()
{
    const int error = errno;
    // An inherited socket stays open (and bound) for the next start; it belongs to the service
    // manager's unit.
    if (m_inherited)
        m_listen = -1;
    m_inherited = false;
    CloseFd(m_listen);
    CloseFd(m_wake);
    CloseFd(m_epoll);
    if (m_socketFile)
        ::unlink(m_name.constData());
    m_socketFile = false;
    errno = error;
}

int CSeqPacketServer::WaitTimeoutMs(Clock::time_point now) const
{
    Clock::time_point next = Clock::time_point::max();
    if (m_oldest >= 0)
        next = m_connections[static_cast<size_t>(m_oldest)].deadline;
    if (m_listenPaused)
        next = std::min(next, m_listenPausedUntil);
    if (next == Clock::time_point::max())
        return -1;
    if (next <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::min<long long>(ms, 60 * 60 * 1000));
}

void CSeqPacketServer::Run()
{
    epoll_event events[kMaxEvents];
    // The answers read files through their folders' watch, whose events this loop takes in before
    // it handles the requests that woke it, and again before it accepts connections (whose
    // requests may have come after the wait): a file changed before the loop woke or before the
    // accepting began is seen, without a system call per request.
    const int fileWatch = CFileWatch::EventDescriptor();
    const bool watched = fileWatch >= 0 && Watch(m_epoll, fileWatch, EPOLLIN, kFileWatchToken);
    m_takesFileEvents = watched;
    std::optional<CFileWatch::CLoopTakesEvents> loopTakesEvents;
    if (watched)
        loopTakesEvents.emplace();
    while (!m_stopRequested.load(std::memory_order_relaxed)) {
        // A beat at least every second, also while nobody asks: the watchdog knows the thread runs.
        Liveness::Beat(Liveness::EPart::Socket);
        const int timeout = WaitTimeoutMs(Clock::now());
        const int ready
            = ::epoll_wait(m_epoll, events, kMaxEvents, timeout < 0 ? kBeatMs : std::min(timeout, kBeatMs));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            // Not expected; pause so that a lasting fault does not spin.
            KTRACE(lcPipe) << "waiting failed:" << qt_error_string(errno);
            pollfd wake { m_wake, POLLIN, 0 };
            ::poll(&wake, 1, kListenPauseMs);
            continue;
        }
        // A full batch may have left the watch's descriptor out.
        bool takeEvents = watched && ready == kMaxEvents;
        for (int i = 0; i < ready && !takeEvents; ++i)
            takeEvents = events[i].data.u64 == kFileWatchToken;
        if (takeEvents)
            CFileWatch::TakeEvents();
        for (int i = 0; i < ready && !m_stopRequested.load(std::memory_order_relaxed); ++i) {
            const std::uint64_t token = events[i].data.u64;
            if (token == kWakeToken)
                break; // the stop flag is set
            if (token == kFileWatchToken)
                continue;
            if (token == kListenToken) {
                AcceptPending(Clock::now());
                continue;
            }
            const auto slot = static_cast<int>((token & 0xffffffffu) - kFirstSlotToken);
            if (slot < 0 || slot >= m_options.maxConnections)
                continue;
            CConnection& connection = m_connections[static_cast<size_t>(slot)];
            if (connection.fd < 0 || connection.generation != static_cast<quint32>(token >> 32))
                continue; // closed since, or the slot holds a newer connection
            if (connection.pending.isEmpty()) {
                Receive(slot);
            } else {
                const QByteArray reply = std::exchange(connection.pending, QByteArray());
                SendReply(slot, reply);
            }
        }
        const Clock::time_point now = Clock::now();
        ExpireDue(now);
        if (m_listenPaused && now >= m_listenPausedUntil
            && Watch(m_epoll, m_listen, EPOLLIN, kListenToken, EPOLL_CTL_MOD))
            m_listenPaused = false;
    }
    while (m_oldest >= 0)
        Close(m_oldest);
    if (watched)
        ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fileWatch, nullptr);
}

void CSeqPacketServer::AcceptPending(Clock::time_point now)
{
    if (m_takesFileEvents)
        CFileWatch::TakeEvents();
    for (int i = 0; i < kAcceptBatch; ++i) {
        const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            const int error = errno;
            if (error == EINTR || error == ECONNABORTED)
                continue;
            if (error == EAGAIN || error == EWOULDBLOCK)
                return;
            if ((error == EMFILE || error == ENFILE) && m_oldest >= 0) {
                // Out of descriptors: the connection idle longest makes room.
                KTRACE(lcPipe) << "out of descriptors; the connection idle longest closed";
                Close(m_oldest);
                continue;
            }
            // Nothing to give up, or memory short: the clients wait in the backlog a moment.
            KTRACE(lcPipe) << "accept failed:" << qt_error_string(error);
            if (Watch(m_epoll, m_listen, 0, kListenToken, EPOLL_CTL_MOD)) {
                m_listenPaused = true;
                m_listenPausedUntil = now + std::chrono::milliseconds(kListenPauseMs);
            }
            return;
        }
        // The policy as it is now: a change applies to every connection accepted after it.
        const std::shared_ptr<const CPipeAccess> access = Access();
        const bool needGroups = access && access->NeedsGroups();
        CPipePeer peer;
        CPipePeerGroups groups;
        if (!m_readPeer(fd, peer, needGroups ? &groups : nullptr)) {
            KTRACE(lcPipe) << "peer credentials unknown; connection closed";
            ::close(fd);
            continue;
        }
        if (access && !access->Allows(peer, needGroups ? &groups : nullptr)) {
            Metrics().CountRefused();
            WarnRefused(peer, now);
            ::close(fd);
            continue;
        }
        if (m_free.empty()) {
            KTRACE(lcPipe) << "connection limit reached; the connection idle longest closed";
            Close(m_oldest);
        }
        // The request often came with the connection: take it at once.
        Receive(Add(fd, peer, now));
    }
}

int CSeqPacketServer::Add(int fd, const CPipePeer& peer, Clock::time_point now)
{
    const int slot = m_free.back();
    m_free.pop_back();
    CConnection& connection = m_connections[static_cast<size_t>(slot)];
    connection.fd = fd;
    connection.deadline = now + std::chrono::milliseconds(m_options.clientTimeoutMs);
    connection.peer = peer;
    connection.older = m_newest;
    connection.newer = -1;
    if (m_newest >= 0)
        m_connections[static_cast<size_t>(m_newest)].newer = slot;
    else
        m_oldest = slot;
    m_newest = slot;
    m_openCount.fetch_add(1, std::memory_order_relaxed);
    return slot;
}

void CSeqPacketServer::Close(int slot)
{
    CConnection& connection = m_connections[static_cast<size_t>(slot)];
    // Closing also ends the descriptor's watch.
    ::close(connection.fd);
    connection.fd = -1;
    ++connection.generation;
    connection.pending = QByteArray();
    connection.watched = false;
    if (connection.older >= 0)
        m_connections[static_cast<size_t>(connection.older)].newer = connection.newer;
    else
        m_oldest = connection.newer;
    if (connection.newer >= 0)
        m_connections[static_cast<size_t>(connection.newer)].older = connection.older;
    else
        m_newest = connection.older;
    connection.older = connection.newer = -1;
    m_free.push_back(slot);
    m_openCount.fetch_sub(1, std::memory_order_relaxed);
}

void CSeqPacketServer::ExpireDue(Clock::time_point now)
{
    while (m_oldest >= 0 && m_connections[static_cast<size_t>(m_oldest)].deadline <= now) {
        KTRACE(lcPipe) << (m_connections[static_cast<size_t>(m_oldest)].pending.isEmpty()
                ? "a client sent nothing in time; dropped"
                : "a client took no reply in time; dropped");
        Metrics().CountExpired();
        Close(m_oldest);
    }
}

void CSeqPacketServer::Receive(int slot)
{
    CConnection& connection = m_connections[static_cast<size_t>(slot)];
    const auto size = static_cast<size_t>(m_buffer.size());
    // MSG_TRUNC gives the length of the whole message: a longer one is cut at the buffer size, and
    // its rest is dropped.
    ssize_t received = ::recv(connection.fd, m_buffer.data(), size, MSG_DONTWAIT | MSG_TRUNC);
    if (received == 0) {
        // On a SOCK_SEQPACKET socket 0 is an empty message or the end of the connection. A receive
        // that does not wait may also report the end while the peer's last message is arriving:
        // it found no message, and by the time it looked for the end the peer had sent and
        // closed. A second look tells: a message (the one that arrived), nothing yet (the peer
        // is still there and sent an empty message) or the end (nobody left to answer).
        received = ::recv(connection.fd, m_buffer.data(), size, MSG_DONTWAIT | MSG_TRUNC);
        if (received == 0 || (received < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
            Close(slot);
            return;
        }
        received = std::max<ssize_t>(received, 0);
    } else if (received < 0) {
        const int error = errno;
        if (error != EAGAIN && error != EWOULDBLOCK && error != EINTR) {
            Close(slot);
            return;
        }
        if (!connection.watched) {
            connection.watched = Watch(m_epoll, connection.fd, EPOLLIN,
                (std::uint64_t(connection.generation) << 32) | (std::uint64_t(slot) + kFirstSlotToken));
            if (!connection.watched)
                Close(slot);
        }
        return;
    }
    const qsizetype length = std::min<qsizetype>(received, m_buffer.size());
    const QByteArray reply = m_handler.Answer(QByteArrayView(m_buffer.constData(), length), connection.peer);
    SendReply(slot, reply);
}

void CSeqPacketServer::SendReply(int slot, const QByteArray& reply)
{
    CConnection& connection = m_connections[static_cast<size_t>(slot)];
    for (;;) {
        if (::send(connection.fd, reply.constData(), static_cast<size_t>(reply.size()),
                MSG_NOSIGNAL | MSG_DONTWAIT)
            >= 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EAGAIN && error != EWOULDBLOCK)
            break; // the client is gone
        // No room now: the reply waits (in a copy of its own, the handler's bytes may be
        // reused) until the socket takes it or the connection's deadline passes.
        const std::uint64_t token
            = (std::uint64_t(connection.generation) << 32) | (std::uint64_t(slot) + kFirstSlotToken);
        if (Watch(m_epoll, connection.fd, EPOLLOUT, token,
                connection.watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD)) {
            connection.watched = true;
            connection.pending = QByteArray(reply.constData(), reply.size());
            return;
        }
        break;
    }
    Close(slot);
}

void CSeqPacketServer::WarnRefused(const CPipePeer& peer, Clock::time_point now)
{
    const long long more = m_refusalWarnings.Allow(now);
    if (more < 0)
        return;
    qCWarning(lcPipe).noquote()
        << QStringLiteral(
               "socket %1: refused a connection from uid %2 (pid %3): the user is not among PipeUsers")
                .arg(QString::fromUtf8(m_name))
                .arg(peer.uid)
                .arg(peer.pid)
            + CWarningLimiter::MoreText(more);
}
