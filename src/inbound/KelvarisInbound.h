#pragma once

#include <memory>

#include <QDBusConnection>
#include <QString>

class CKelvarisDoc;
class CValuePublisher;
class CMainWindowActivator;
class CDocRequestServices;
class CKelvarisPipe;
class CTimeDDEServer;
class CDDEValuePublisher;
class CDBusDDETransport;
class CDocEditorLauncher;
class CKelvarisObj;
class CKelvarisBus;
class CDBusConnectionKeeper;
class QObject;

// Everything through which other programs reach a running document: the socket server (started and
// stopped by the document with the engine), the DDE values the engine publishes, the DDE System
// command, and the automation object, on the bus under Kelvaris's name. The session bus connection is
// kept: when its daemon restarts, the objects and the name are registered again on a new connection.
class CKelvarisInbound
{
public:
    // `context` is the object on whose thread the editors of setup commands open; the document and
    // the context must outlive this object. The activator may be null (no window).
    CKelvarisInbound(CKelvarisDoc& doc, QObject* context, CMainWindowActivator* activator = nullptr);
    ~CKelvarisInbound();
    CKelvarisInbound(const CKelvarisInbound&) = delete;
    CKelvarisInbound& operator=(const CKelvarisInbound&) = delete;

    // Creates the DDE service, exports it and the automation object and asks for the bus name.
    // Call before the document is initialised, so its start values reach the DDE items. False when
    // the bus is not reachable or the name is taken: the socket serves all the same.
    bool Start();

    CTimeDDEServer& DDEServer() { return *m_dde; }
    // Where the engine's and the main view's values go (the DDE server).
    CValuePublisher* Publisher() const;

    // Starts the socket server now (the document starts it with the engine too) and returns
    // whether it listens. A host that cannot work without it stops when this fails.
    bool StartSocket();
    bool SocketListening() const;
    // Why the socket cannot be served, as one line for the operator; empty while it listens.
    QString SocketProblem() const;
    void SetActivator(CMainWindowActivator* activator);

private:
    void Reconnected();

    CKelvarisDoc& m_doc;
    std::unique_ptr<CDBusConnectionKeeper> m_keeper;
    std::unique_ptr<CDocRequestServices> m_services;
    std::unique_ptr<CKelvarisPipe> m_pipe;
    std::unique_ptr<CDBusDDETransport> m_transport;
    std::unique_ptr<CTimeDDEServer> m_dde;
    std::unique_ptr<CDDEValuePublisher> m_publisher;
    std::unique_ptr<CDocEditorLauncher> m_launcher;
    std::unique_ptr<CKelvarisObj> m_automation;
    std::unique_ptr<CKelvarisBus> m_bus;
};
