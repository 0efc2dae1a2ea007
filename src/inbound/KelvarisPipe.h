#pragma once

#include <atomic>
#include <thread>

#include <QByteArray>

#include "engine/KelvarisDoc.h"
#include "support/SeqPacket.h"

class CRequestServices;

// Kelvaris's socket server: the alarm server asks over it whether Kelvaris is there, whether a
// message may go to a receiver now, and hands over takeover responses. A SOCK_SEQPACKET socket
// (see support/SeqPacket.h for its name) listens while the server is started; one worker thread
// serves one client at a time, one request per connection: accept, receive one message, send one
// reply message, close.
//
// A client gets `clientTimeoutMs` to send its request and as long again to take the reply; a
// silent client is dropped then, so it holds up the clients behind it no longer than that. Stop()
// wakes the worker through an eventfd that it watches in every wait, so it returns at once even
// while a client is connected.
//
// Start() and Stop() are called from one thread (the engine's); the services are called on the
// worker thread.
class CKelvarisPipe : public CInboundServer
{
public:
    static constexpr int kDefaultClientTimeoutMs = 2000;

    explicit CKelvarisPipe(CRequestServices& services, QByteArray name = PipeNameFromEnvironment(),
        int clientTimeoutMs = kDefaultClientTimeoutMs);
    ~CKelvarisPipe() override;
    CKelvarisPipe(const CKelvarisPipe&) = delete;
    CKelvarisPipe& operator=(const CKelvarisPipe&) = delete;

    // Binds the socket and starts the worker. Nothing when already started. When the socket cannot
    // be set up (bad name, the name in use) the server stays stopped and Kelvaris runs on without
    // it; a later Start() tries again.
    void Start() override;
    // Wakes and joins the worker, closes the socket (and removes a socket file). Nothing when
    // stopped.
    void Stop() override;

    bool IsListening() const { return m_listen >= 0; }

private:
    bool Listen();
    void CloseAll();
    void Run();
    // Serves one accepted connection; false when a stop was requested meanwhile.
    bool Serve(int client);
    enum class Wait { Ready, TimedOut, Stopping, Failed };
    Wait WaitFor(int fd, short events, int timeoutMs) const;

    CRequestServices& m_services;
    QByteArray m_name;
    int m_clientTimeoutMs;
    CSeqPacketAddress m_address;
    int m_listen = -1;
    int m_wake = -1; // eventfd: readable once Stop() asks the worker to end
    std::atomic<bool> m_stopRequested { false }; // set with the eventfd, checked before every accept
    bool m_socketFile = false; // bound to a path that Stop() removes
    std::thread m_thread;
    QByteArray m_buffer; // the request buffer, used by the worker only
};
