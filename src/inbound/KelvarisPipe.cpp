#include "inbound/KelvarisPipe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "inbound/RequestHandler.h"
#include "support/Trace.h"

namespace {

using Clock = std::chrono::steady_clock;

// Room for clients that connect while another one is served; they wait in the backlog.
constexpr int kBacklog = 16;
// How long one blocking receive or send of a connection waits before the stop flag is looked at.
constexpr int kWaitSliceMs = 20;

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

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

} // namespace

CKelvarisPipe::CKelvarisPipe(CRequestServices& services, QByteArray name, int clientTimeoutMs)
    : m_services(services)
    , m_name(std::move(name))
    , m_clientTimeoutMs(std::max(clientTimeoutMs, 1))
{ }

CKelvarisPipe::~CKelvarisPipe()
{
    Stop();
}

void CKelvarisPipe::Start()
{
    if (m_thread.joinable())
        return;
    if (!Listen()) {
        KTRACE(lcPipe) << "socket" << m_name << "not set up:" << qt_error_string(errno);
        CloseAll();
        return;
    }
    if (m_buffer.size() != kMaxRequestBytes)
        m_buffer = QByteArray(kMaxRequestBytes, Qt::Uninitialized);
    m_stopRequested.store(false);
    m_thread = std::thread([this] { Run(); });
    KTRACE(lcPipe) << "listening on" << m_name;
}

void CKelvarisPipe::Stop()
{
    if (!m_thread.joinable())
        return;
    m_stopRequested.store(true);
    const std::uint64_t one = 1;
    ssize_t written;
    do
        written = ::write(m_wake, &one, sizeof one);
    while (written < 0 && errno == EINTR);
    m_thread.join();
    CloseAll();
    KTRACE(lcPipe) << "stopped";
}

bool CKelvarisPipe::Listen()
{
    if (!m_address.Set(m_name)) {
        errno = EINVAL;
        return false;
    }
    m_wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_wake < 0)
        return false;
    m_listen = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_listen < 0)
        return false;
    if (!m_address.IsAbstract() && IsStaleSocketFile(m_address))
        ::unlink(m_name.constData());
    if (::bind(m_listen, m_address.Data(), m_address.Length()) != 0)
        return false;
    m_socketFile = !m_address.IsAbstract();
    return ::listen(m_listen, kBacklog) == 0;
}

void CKelvarisPipe::CloseAll()
{
    const int error = errno;
    CloseFd(m_listen);
    CloseFd(m_wake);
    if (m_socketFile)
        ::unlink(m_name.constData());
    m_socketFile = false;
    errno = error;
}

CKelvarisPipe::Wait CKelvarisPipe::WaitFor(int fd, short events, int timeoutMs) const
{
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int left = timeoutMs < 0 ? -1 : RemainingMs(deadline);
        pollfd items[2] = { { m_wake, POLLIN, 0 }, { fd, events, 0 } };
        const int ready = ::poll(items, fd >= 0 ? 2 : 1, left);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Wait::Failed;
        }
        if (items[0].revents != 0)
            return Wait::Stopping;
        if (ready > 0)
            return Wait::Ready; // readiness, hang-up or error: the next call tells which
        if (left == 0)
            return Wait::TimedOut;
    }
}

void CKelvarisPipe::Run()
{
    // Under load the next client is usually waiting already: accept first and wait only when
    // nobody is. The stop flag is checked before every accept, so a flood of clients cannot keep
    // the worker from noticing a stop.
    while (!m_stopRequested.load(std::memory_order_relaxed)) {
        const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            const int error = errno;
            if (error == EINTR || error == ECONNABORTED)
                continue;
            if (error == EAGAIN || error == EWOULDBLOCK) {
                switch (WaitFor(m_listen, POLLIN, -1)) {
                case Wait::Stopping:
                    return;
                case Wait::Failed:
                    // Not expected; pause so that a lasting fault does not spin.
                    if (WaitFor(-1, 0, 100) == Wait::Stopping)
                        return;
                    continue;
                case Wait::Ready:
                case Wait::TimedOut:
                    continue;
                }
            }
            // Out of descriptors or memory: the client stays in the backlog; try again shortly.
            KTRACE(lcPipe) << "accept failed:" << qt_error_string(error);
            if (WaitFor(-1, 0, 100) == Wait::Stopping)
                return;
            continue;
        }
        const bool goOn = Serve(client);
        ::close(client);
        if (!goOn)
            return;
    }
}

bool CKelvarisPipe::Serve(int client)
{
    // Receiving blocks for a short slice at a time: a request that arrives a moment after the
    // connection costs one call, not a failed receive and a wait, and the stop flag is looked at
    // after every slice, so a silent client delays a stop by one slice at most. The one short reply
    // hardly ever has to wait; when it does, the wait watches the stop signal.
    const timeval slice { 0, kWaitSliceMs * 1000 };
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);

    // Receive one message. MSG_TRUNC gives the length of the whole message: a longer one is cut at
    // the buffer size, and its rest is dropped.
    const Clock::time_point receiveDeadline = Clock::now() + std::chrono::milliseconds(m_clientTimeoutMs);
    qsizetype length = 0;
    for (;;) {
        const ssize_t received
            = ::recv(client, m_buffer.data(), static_cast<size_t>(m_buffer.size()), MSG_TRUNC);
        if (received >= 0) {
            if (received == 0)
                return true; // closed (or an empty message): nothing to answer
            length = std::min<qsizetype>(received, m_buffer.size());
            break;
        }
        const int error = errno;
        if (error != EINTR && error != EAGAIN && error != EWOULDBLOCK)
            return true;
        if (m_stopRequested.load(std::memory_order_relaxed))
            return false;
        if (Clock::now() >= receiveDeadline) {
            KTRACE(lcPipe) << "client sent nothing in time; dropped";
            return true;
        }
    }

    const QByteArray reply = HandleRequest(QByteArrayView(m_buffer.constData(), length), m_services);

    const Clock::time_point sendDeadline = Clock::now() + std::chrono::milliseconds(m_clientTimeoutMs);
    for (;;) {
        if (::send(client, reply.constData(), static_cast<size_t>(reply.size()), MSG_NOSIGNAL | MSG_DONTWAIT)
            >= 0)
            return true;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EAGAIN && error != EWOULDBLOCK)
            return true; // client gone
        switch (WaitFor(client, POLLOUT, RemainingMs(sendDeadline))) {
        case Wait::Stopping:
            return false;
        case Wait::Ready:
            continue;
        case Wait::TimedOut:
            KTRACE(lcPipe) << "client took no reply in time; dropped";
            return true;
        case Wait::Failed:
            return true;
        }
    }
}
