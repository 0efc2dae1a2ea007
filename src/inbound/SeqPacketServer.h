#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>

#include "inbound/PipeAccess.h"
#include "support/SeqPacket.h"
#include "support/Warning.h"

// Answers the requests of a CSeqPacketServer, one at a time, on the server's thread.
class CSeqPacketHandler
{
public:
    virtual ~CSeqPacketHandler() = default;
    // The reply to one request message (its first bytes, at most the server's request size; empty
    // for an empty message). The reply is sent as one message; it may refer to `request`'s bytes
    // (QByteArray::fromRawData), the server copies it when it cannot send at once.
    virtual QByteArray Answer(QByteArrayView request, const CPipePeer& peer) = 0;
};

// A SOCK_SEQPACKET server for one request and one reply per connection, on one thread that waits
// (epoll) on the listening socket, every open connection and a stop signal at once: a request is
// answered the moment its message arrives, whichever connection it comes on, and a client that
// connects and stays silent delays nobody.
//
// - Every connection has its own deadline, `clientTimeoutMs` after it was accepted, for sending its
//   request and taking its reply; it is closed without an answer when the deadline passes.
//   Connections are kept in the order they were accepted, which is the order of their deadlines,
//   so the nearest deadline is the wait's time-out and expiry costs nothing per connection.
// - At most `maxConnections` are open; a new one closes the connection idle longest (the oldest).
// - A peer that the access policy does not serve is closed at once, without an answer; a warning
//   names its user, at most once a minute.
// - An empty message gets the handler's answer to an empty request; a peer that closes without
//   sending anything gets nothing.
// - Replies are sent without blocking; a client whose socket takes no reply keeps its connection
//   until its deadline, and the server serves the others meanwhile.
// - Stop() wakes the thread at once (an eventfd it waits on too) and closes every connection.
//
// Start(), Stop() and SetPeerReader() are called from one thread; SetAccess() from any thread.
class CSeqPacketServer
{
public:
    struct COptions
    {
        int clientTimeoutMs = 2000;
        int maxConnections = 512;
        qsizetype maxRequestBytes = 10240; // the bytes of a longer request beyond this are dropped
    };

    CSeqPacketServer(CSeqPacketHandler& handler, QByteArray name, COptions options);
    ~CSeqPacketServer();
    CSeqPacketServer(const CSeqPacketServer&) = delete;
    CSeqPacketServer& operator=(const CSeqPacketServer&) = delete;

    // Binds the socket (backlog SOMAXCONN) and starts the thread; nothing when started already.
    // A listening socket of the name handed over by the service manager (socket activation,
    // sd_listen_fds) is used instead of binding one; it is kept open across Stop() and Start().
    // False when the socket cannot be set up (bad name, the name in use; errno tells).
    bool Start();
    // Wakes and joins the thread, closes every connection and the socket (and removes a socket
    // file). Nothing when stopped.
    void Stop();
    bool IsListening() const { return m_listen >= 0; }
    const QByteArray& Name() const { return m_name; }

    // Who is served from the next accepted connection on; null serves everyone.
    void SetAccess(std::shared_ptr<const CPipeAccess> access);
    // How peers are identified (ReadPipePeer unless a test injects another). Call while stopped.
    void SetPeerReader(CPipePeerReader reader);

    // Connections open now (for tests; read from any thread).
    int OpenConnections() const { return m_openCount.load(std::memory_order_relaxed); }

private:
    using Clock = std::chrono::steady_clock;

    struct CConnection
    {
        int fd = -1;
        quint32 generation = 0; // tells an event for a closed connection from one for its successor
        int older = -1; // accept order: the neighbours in the list of open connections
        int newer = -1;
        Clock::time_point deadline;
        CPipePeer peer;
        QByteArray pending; // a reply that found no room yet
        bool watched = false; // registered with epoll (only once its request did not come at once)
    };

    bool Listen();
    void CloseSockets();
    void Run();
    void AcceptPending(Clock::time_point now);
    void Receive(int slot);
    void SendReply(int slot, const QByteArray& reply);
    int Add(int fd, const CPipePeer& peer, Clock::time_point now);
    void Close(int slot);
    void ExpireDue(Clock::time_point now);
    int WaitTimeoutMs(Clock::time_point now) const;
    std::shared_ptr<const CPipeAccess> Access() const;
    void WarnRefused(const CPipePeer& peer, Clock::time_point now);

    CSeqPacketHandler& m_handler;
    QByteArray m_name;
    COptions m_options;
    CSeqPacketAddress m_address;
    int m_listen = -1;
    int m_wake = -1; // eventfd: readable once Stop() asks the thread to end
    int m_epoll = -1;
    bool m_socketFile = false; // bound to a path that Stop() removes
    bool m_inherited = false; // the listening socket came from the service manager
    std::atomic<bool> m_stopRequested { false };
    std::thread m_thread;
    CPipePeerReader m_readPeer;

    mutable std::mutex m_accessMutex; // guards m_access only
    std::shared_ptr<const CPipeAccess> m_access;

    // Used by the server's thread only.
    QByteArray m_buffer;
    std::vector<CConnection> m_connections; // slots, maxConnections of them
    std::vector<int> m_free; // free slots
    int m_oldest = -1; // the open connections in accept order, oldest first
    int m_newest = -1;
    Clock::time_point m_listenPausedUntil {}; // after running out of descriptors
    bool m_listenPaused = false;
    // The loop waits on the file watch's descriptor (see Run).
    bool m_takesFileEvents = false;
    CWarningLimiter m_refusalWarnings;
    std::atomic<int> m_openCount { 0 };
};
