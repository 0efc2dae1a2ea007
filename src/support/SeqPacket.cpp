#include "support/SeqPacket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <pwd.h>
#include <sys/time.h>
#include <unistd.h>

#include <QFile>
#include <QtGlobal>

namespace {

using Clock = std::chrono::steady_clock;

// The longest time-out taken; a larger (or a non-positive) one is brought into range.
constexpr int kMaxTimeoutMs = 24 * 60 * 60 * 1000;

// Closes the descriptor when it goes out of scope.
class CFd
{
public:
    explicit CFd(int fd)
        : m_fd(fd)
    { }
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Whole milliseconds left until the deadline, rounded up; 0 once it has passed.
int RemainingMs(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, kMaxTimeoutMs));
}

CSeqPacketResult Fail(SeqPacketStatus status, int error = 0)
{
    CSeqPacketResult result;
    result.status = status;
    result.error = error;
    return result;
}

// Waits until the socket is ready for `events` or the deadline passes. Returns false on time-out
// (errno 0) or error (errno set).
bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        const int left = RemainingMs(deadline);
        if (left == 0) {
            errno = 0;
            return false;
        }
        pollfd item { fd, events, 0 };
        const int ready = ::poll(&item, 1, left);
        if (ready > 0)
            return true; // readiness, hang-up or error: the next call tells which
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

// After WaitFor failed: a time-out is no answer, anything else a failure.
CSeqPacketResult WaitFailed()
{
    const int error = errno;
    return error == 0 ? Fail(SeqPacketStatus::NoAnswer) : Fail(SeqPacketStatus::Failed, error);
}

// Bounds the socket's blocking sends (and connect) or receives to `ms`.
bool SetTimeout(int fd, int option, int ms)
{
    timeval limit {};
    limit.tv_sec = ms / 1000;
    limit.tv_usec = (ms % 1000) * 1000;
    return ::setsockopt(fd, SOL_SOCKET, option, &limit, sizeof limit) == 0;
}

// Connects with a blocking connect() bounded by the send time-out: a server whose backlog is full
// makes connect() wait for room, and the time-out ends that wait with EAGAIN.
CSeqPacketResult Connect(int fd, const CSeqPacketAddress& address, Clock::time_point deadline)
{
    for (;;) {
        const int left = RemainingMs(deadline);
        if (left == 0)
            return Fail(SeqPacketStatus::NoAnswer);
        if (!SetTimeout(fd, SO_SNDTIMEO, left))
            return Fail(SeqPacketStatus::Failed, errno);
        if (::connect(fd, address.Data(), address.Length()) == 0)
            return Fail(SeqPacketStatus::Ok);
        const int error = errno;
        switch (error) {
        case EINTR:
            continue;
        case EISCONN: // an interrupted attempt got through after all
            return Fail(SeqPacketStatus::Ok);
        case EAGAIN:
        case ETIMEDOUT:
            return Fail(SeqPacketStatus::NoAnswer, error);
        case ENOENT:
        case ECONNREFUSED:
        case ENOTDIR:
        case EPROTOTYPE: // a socket of another type under the name
        case EACCES:
        case EPERM:
            return Fail(SeqPacketStatus::Refused, error);
        default:
            return Fail(SeqPacketStatus::Failed, error);
        }
    }
}

} // namespace

QByteArray PipeNameFromEnvironment()
{
    QByteArray name = qgetenv(kPipeNameVariable);
    if (name.isEmpty())
        name = QByteArray(kPipeDefaultName);
    return name;
}

bool CSeqPacketAddress::Set(const QByteArray& name)
{
    m_address = sockaddr_un {};
    m_length = 0;
    m_name.clear();
    if (name.isEmpty() || name.size() > kMaxNameBytes || name.contains('\0'))
        return false;
    m_address.sun_family = AF_UNIX;
    const auto base = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path));
    if (name.startsWith('/')) {
        // A file path, terminated by a NUL byte.
        std::memcpy(m_address.sun_path, name.constData(), static_cast<size_t>(name.size()));
        m_length = base + static_cast<socklen_t>(name.size()) + 1;
    } else {
        // Abstract: a leading NUL byte, then the name; the length delimits it (no terminator).
        std::memcpy(m_address.sun_path + 1, name.constData(), static_cast<size_t>(name.size()));
        m_length = base + 1 + static_cast<socklen_t>(name.size());
    }
    m_name = name;
    return true;
}

CSeqPacketResult SeqPacketExchange(
    const CSeqPacketAddress& address, const QByteArray& request, int timeoutMs, long long serverUid)
{
    if (!address.IsValid())
        return Fail(SeqPacketStatus::BadName);
    const int timeout = std::clamp(timeoutMs, 1, kMaxTimeoutMs);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout);

    const CFd socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0)
        return Fail(SeqPacketStatus::Failed, errno);
    const int fd = socket.Get();

    if (CSeqPacketResult connected = Connect(fd, address, deadline); !connected.Ok())
        return connected;
    const std::optional<CSocketPeer> server = SocketPeerOf(fd);
    if (serverUid >= 0 && (!server || server->uid != serverUid)) {
        CSeqPacketResult wrong = Fail(SeqPacketStatus::WrongServer);
        if (server)
            wrong.server = *server;
        return wrong;
    }

    for (;;) {
        const ssize_t sent = ::send(
            fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            break;
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error == EAGAIN || error == EWOULDBLOCK) {
            if (!WaitFor(fd, POLLOUT, deadline))
                return WaitFailed();
            continue;
        }
        if (error == EMSGSIZE)
            return Fail(SeqPacketStatus::TooLong, error);
        if (error == EPIPE || error == ECONNRESET)
            return Fail(SeqPacketStatus::NoAnswer, error);
        return Fail(SeqPacketStatus::Failed, error);
    }

    // The reply is received by a receive that waits (bounded by the time left), not by one that
    // does not wait plus a poll: on a SOCK_SEQPACKET socket a receive that does not wait can report
    // the end of the connection although the reply is there. It finds no message, the server
    // sends its reply and closes, and the receive then sees the close. A waiting receive looks
    // for a message again after every wake-up, so it returns the reply; and should it ever report
    // the end, one more look without waiting settles it.
    CSeqPacketResult result;
    if (server)
        result.server = *server;
    result.reply = QByteArray(kMaxReplyBytes, Qt::Uninitialized);
    for (;;) {
        const int left = RemainingMs(deadline);
        if (left == 0)
            return Fail(SeqPacketStatus::NoAnswer);
        if (!SetTimeout(fd, SO_RCVTIMEO, left))
            return Fail(SeqPacketStatus::Failed, errno);
        // MSG_TRUNC: the length of the whole message, also when it did not fit.
        ssize_t received
            = ::recv(fd, result.reply.data(), static_cast<size_t>(result.reply.size()), MSG_TRUNC);
        if (received == 0) {
            // The end, or an empty message (then the connection is still open).
            received = ::recv(
                fd, result.reply.data(), static_cast<size_t>(result.reply.size()), MSG_TRUNC | MSG_DONTWAIT);
            if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                received = 0;
            else if (received == 0)
                return Fail(SeqPacketStatus::NoAnswer); // closed without a reply
        }
        if (received >= 0) {
            if (received > kMaxReplyBytes) {
                result.status = SeqPacketStatus::TooLong;
                return result;
            }
            result.reply.truncate(static_cast<qsizetype>(received));
            result.status = SeqPacketStatus::Ok;
            return result;
        }
        const int error = errno;
        if (error == EINTR || error == EAGAIN || error == EWOULDBLOCK)
            continue; // interrupted, or the time-out: the deadline tells which
        if (error == ECONNRESET)
            return Fail(SeqPacketStatus::NoAnswer, error);
        return Fail(SeqPacketStatus::Failed, error);
    }
}

CSeqPacketResult SeqPacketExchange(
    const QByteArray& name, const QByteArray& request, int timeoutMs, long long serverUid)
{
    CSeqPacketAddress address;
    if (!address.Set(name))
        return Fail(SeqPacketStatus::BadName);
    return SeqPacketExchange(address, request, timeoutMs, serverUid);
}

std::optional<CSocketPeer> SocketPeerOf(int fd)
{
    ucred credentials {};
    socklen_t length = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 || length != sizeof credentials)
        return std::nullopt;
    return CSocketPeer { credentials.pid, credentials.uid, credentials.gid };
}

std::optional<CSocketPeer> SocketHolder(const QByteArray& name)
{
    CSeqPacketAddress address;
    if (!address.Set(name))
        return std::nullopt;
    const CFd socket(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (socket.Get() < 0
        || !Connect(socket.Get(), address, Clock::now() + std::chrono::milliseconds(500)).Ok())
        return std::nullopt;
    return SocketPeerOf(socket.Get());
}

QString CSocketPeer::Description() const
{
    QString user = QStringLiteral("uid %1").arg(uid);
    if (uid >= 0) {
        passwd entry {};
        passwd* found = nullptr;
        char buffer[4096];
        if (::getpwuid_r(uid_t(uid), &entry, buffer, sizeof buffer, &found) == 0 && found)
            user = QStringLiteral("%1 (uid %2)").arg(QString::fromLocal8Bit(found->pw_name)).arg(uid);
    }
    QString program;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (pid > 0 && comm.open(QIODevice::ReadOnly))
        program = QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(comm.read(64)).trimmed());
    return QStringLiteral("user %1, process %2%3").arg(user).arg(pid).arg(program);
}

long long UidOfUser(const QString& user)
{
    bool number = false;
    const long long uid = user.toLongLong(&number);
    if (number)
        return uid >= 0 ? uid : -1;
    passwd entry {};
    passwd* found = nullptr;
    char buffer[4096];
    const QByteArray name = user.toLocal8Bit();
    if (name.isEmpty() || ::getpwnam_r(name.constData(), &entry, buffer, sizeof buffer, &found) != 0
        || !found)
        return -1;
    return found->pw_uid;
}

QString SeqPacketStatusText(SeqPacketStatus status)
{
    switch (status) {
    case SeqPacketStatus::Ok:
        return QStringLiteral("ok");
    case SeqPacketStatus::BadName:
        return QStringLiteral("bad name");
    case SeqPacketStatus::Refused:
        return QStringLiteral("refused");
    case SeqPacketStatus::NoAnswer:
        return QStringLiteral("no answer");
    case SeqPacketStatus::TooLong:
        return QStringLiteral("too long");
    case SeqPacketStatus::WrongServer:
        return QStringLiteral("served by another user");
    case SeqPacketStatus::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QString CSeqPacketResult::Message() const
{
    QString text = SeqPacketStatusText(status);
    if (error != 0)
        text += QStringLiteral(": ") + qt_error_string(error);
    if (status == SeqPacketStatus::WrongServer)
        text += QStringLiteral(" (%1); nothing was sent")
                    .arg(server.uid >= 0 ? server.Description() : QStringLiteral("unknown"));
    return text;
}
