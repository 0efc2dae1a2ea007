#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class CKelvarisDoc;

// What a request on Kelvaris's socket may ask of the engine. Called on the socket server's thread.
class CRequestServices
{
public:
    virtual ~CRequestServices() = default;
    // The dispatch decision for a receiver, a group and a moment (a kDispatch... result code).
    virtual int CheckDispatching(
        const QString& dispatchingId, const QString& groupId, const QString& timeText)
        = 0;
    // The same, asked by a process of the user `peerUid` (-1: unknown).
    virtual int CheckDispatchingFor(
        qint64 peerUid, const QString& dispatchingId, const QString& groupId, const QString& timeText)
    {
        Q_UNUSED(peerUid);
        return CheckDispatching(dispatchingId, groupId, timeText);
    }
    // Queues a takeover response (a message bag text) for the engine's next cycle.
    virtual bool AppendResponse(const QString& text) = 0;
};

// The services of the document.
class CDocRequestServices : public CRequestServices
{
public:
    explicit CDocRequestServices(CKelvarisDoc& doc)
        : m_doc(doc)
    { }

    int CheckDispatching(
        const QString& dispatchingId, const QString& groupId, const QString& timeText) override;
    int CheckDispatchingFor(qint64 peerUid, const QString& dispatchingId, const QString& groupId,
        const QString& timeText) override;
    bool AppendResponse(const QString& text) override;

private:
    CKelvarisDoc& m_doc;
};

// The largest request message taken; the bytes of a longer one beyond this are dropped.
inline constexpr qsizetype kMaxRequestBytes = 10240;

// Answers one request message: the request text ends at its first NUL byte (or at the end of the
// bytes). The result is the whole reply message: the serialised reply bag "TimeCmd", CR LF and one
// NUL byte. A request that is not a well-formed "TimeCmd" document gets CR LF NUL only; any other
// request has its "Name" attribute echoed, and "Check", "CheckDispatching" and "HandleResponse"
// are served. `peerUid` is the asking process's user (-1: unknown).
QByteArray HandleRequest(QByteArrayView request, CRequestServices& services, qint64 peerUid = -1);
