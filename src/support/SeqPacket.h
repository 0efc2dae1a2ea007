#pragma once

#include <optional>
#include <sys/socket.h>
#include <sys/un.h>

#include <QByteArray>
#include <QString>

// Kelvaris's local socket: a Unix-domain socket of type SOCK_SEQPACKET (message boundaries kept),
// by default in the abstract namespace under the name "OndreviKelvaris"; the environment variable
// KELVARIS_PIPE_NAME names another one, and a name that starts with "/" is a socket file path.
// One request message per connection, one reply message back.
//
// The client side is plain POSIX (no event loop) and reports failures as a status instead of
// throwing. The address type is shared with the server side, which binds it.

inline constexpr char kPipeDefaultName[] = "OndreviKelvaris";
inline constexpr char kPipeNameVariable[] = "KELVARIS_PIPE_NAME";

// KELVARIS_PIPE_NAME when it is set and not empty, else the default name.
QByteArray PipeNameFromEnvironment();

// A process at the other end of a socket, as the kernel reports it (SO_PEERCRED).
struct CSocketPeer
{
    long long pid = 0;
    long long uid = -1;
    long long gid = -1;
    // "user alarm (uid 1001), process 4242 (python3)": the user's name and the program's name
    // where the system tells them.
    QString Description() const;
};
// The credentials of the socket's peer; nothing when the kernel does not tell.
std::optional<CSocketPeer> SocketPeerOf(int fd);

// The socket address of a name.
class CSeqPacketAddress
{
public:
    // Builds the address: a name starting with "/" is a socket file path, any other name lives in
    // the abstract namespace. False (and no address) for an empty name, a name holding a NUL byte
    // or one too long for a Unix socket address (107 bytes).
    bool Set(const QByteArray& name);

    bool IsValid() const { return m_length != 0; }
    bool IsAbstract() const { return IsValid() && m_address.sun_path[0] == '\0'; }
    // The name the address was built from (empty when not valid).
    const QByteArray& Name() const { return m_name; }
    // For bind() and connect().
    const sockaddr* Data() const { return reinterpret_cast<const sockaddr*>(&m_address); }
    socklen_t Length() const { return m_length; }

    static constexpr qsizetype kMaxNameBytes = sizeof(sockaddr_un::sun_path) - 1;

private:
    sockaddr_un m_address {};
    socklen_t m_length = 0;
    QByteArray m_name;
};

enum class SeqPacketStatus {
    Ok,
    BadName, // empty, holds a NUL byte or is too long for a socket address
    Refused, // nobody listens under the name (no such socket, or the connection was refused)
    NoAnswer, // no reply within the time-out, or the other side closed without replying
    TooLong, // the request is larger than the socket takes, or the reply than the receive buffer
    Failed, // any other system error
    WrongServer, // the socket is served by a user other than the one expected; nothing was sent
};

struct CSeqPacketResult
{
    SeqPacketStatus status = SeqPacketStatus::Failed;
    // The reply message; with TooLong after a reply, its first kMaxReplyBytes bytes.
    QByteArray reply;
    // The system error behind Refused, Failed and some NoAnswer results (0 otherwise).
    int error = 0;
    // Who serves the socket, as the kernel tells (SO_PEERCRED); with WrongServer, who it was.
    CSocketPeer server;

    bool Ok() const { return status == SeqPacketStatus::Ok; }
    // A short English description: the status text, with the system error when there is one
    // ("refused: Connection refused").
    QString Message() const;
};

// The largest reply SeqPacketExchange receives whole.
inline constexpr qsizetype kMaxReplyBytes = 64 * 1024;
inline constexpr int kDefaultExchangeTimeoutMs = 5000;

// Connects to the socket, sends the request as one message, receives one reply message and closes
// the connection. The time-out covers all of it, waiting for a busy server's backlog included.
// With `serverUid` (not -1) the socket must be served by that user: a socket another user's program
// holds gets nothing and the result WrongServer.
CSeqPacketResult SeqPacketExchange(const CSeqPacketAddress& address, const QByteArray& request,
    int timeoutMs = kDefaultExchangeTimeoutMs, long long serverUid = -1);
// The same with the address built from a name (BadName when it cannot be).
CSeqPacketResult SeqPacketExchange(const QByteArray& name, const QByteArray& request,
    int timeoutMs = kDefaultExchangeTimeoutMs, long long serverUid = -1);

// Who holds the socket of that name (its server's credentials), when somebody listens there.
std::optional<CSocketPeer> SocketHolder(const QByteArray& name);

// The user whose programs may serve the socket, from KELVARIS_SERVER_USER ("" when unset): the
// default of the socket clients' --server-user.
inline constexpr char kServerUserVariable[] = "KELVARIS_SERVER_USER";
// A user name or a decimal uid to a uid; -1 when there is no such user.
long long UidOfUser(const QString& user);

// The name of a status ("ok", "bad name", "refused", "no answer", "too long", "failed").
QString SeqPacketStatusText(SeqPacketStatus status);
