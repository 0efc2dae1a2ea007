#pragma once

#include <memory>

#include <QByteArray>

#include "engine/KelvarisDoc.h"
#include "inbound/SeqPacketServer.h"

class CRequestServices;

// Kelvaris's socket server: the alarm server asks over it whether Kelvaris is there, whether a
// message may go to a receiver now, and hands over takeover responses. A SOCK_SEQPACKET socket
// (see support/SeqPacket.h for its name) listens while the server is started, one request and one
// reply per connection. One thread serves every connection at once (see CSeqPacketServer): each
// request is handled the moment it arrives, one at a time; a connection that sends nothing is
// closed `clientTimeoutMs` after it was accepted and holds up nobody meanwhile.
//
// Who may ask is the setting PipeUsers (see CPipeAccess); by default every local user.
//
// Start(), Stop() and SetPeerReader() are called from one thread (the engine's); SetAllowedUsers()
// and SetAccess() from any thread; the services are called on the server's thread.
class CKelvarisPipe : public CInboundServer, private CSeqPacketHandler
{
public:
    static constexpr int kDefaultClientTimeoutMs = 2000;
    static constexpr int kDefaultMaxConnections = 512;

    explicit CKelvarisPipe(CRequestServices& services, QByteArray name = PipeNameFromEnvironment(),
        int clientTimeoutMs = kDefaultClientTimeoutMs, int maxConnections = kDefaultMaxConnections);
    ~CKelvarisPipe() override;
    CKelvarisPipe(const CKelvarisPipe&) = delete;
    CKelvarisPipe& operator=(const CKelvarisPipe&) = delete;

    // Binds the socket and starts the server. Nothing when already started. When the socket cannot
    // be set up (bad name, the name in use) the server stays stopped and Kelvaris runs on without
    // it; a later Start() tries again.
    void Start() override;
    // Wakes and joins the server's thread, closes every connection and the socket (and removes a
    // socket file). Nothing when stopped.
    void Stop() override;
    // The PipeUsers setting: resolves its names now and serves by it from the next connection on;
    // a name that is no user or group is warned about.
    void SetAllowedUsers(const QString& setting) override;

    void SetAccess(std::shared_ptr<const CPipeAccess> access) { m_server.SetAccess(std::move(access)); }
    void SetPeerReader(CPipePeerReader reader) { m_server.SetPeerReader(std::move(reader)); }

    bool IsListening() const { return m_server.IsListening(); }
    // Why the last Start() could not set the socket up ("cannot serve the socket NAME: REASON");
    // empty when it listens or was never started.
    QString Problem() const override { return m_problem; }
    int OpenConnections() const { return m_server.OpenConnections(); }

private:
    QByteArray Answer(QByteArrayView request, const CPipePeer& peer) override;

    CRequestServices& m_services;
    CSeqPacketServer m_server;
    QString m_problem;
};
