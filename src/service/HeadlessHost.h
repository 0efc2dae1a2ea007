#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QTimer>

#include "engine/KelvarisDoc.h"
#include "engine/Logbook.h"
#include "engine/Password.h"
#include "service/FileRecheck.h"

class CKelvarisInbound;
class CServerCommandFactory;
class CServiceNotifier;
class CWebServer;

// kelvaris --headless: the document and its engine without any window. It serves the socket, the DDE
// values and the automation object (whose setup commands open nothing here), activates the engine at
// start (which starts the socket server), runs the one-second cycle and the 30-second idle check, prints
// every logbook line to standard output as its four tab-separated texts, and on SIGINT or SIGTERM deactivates
// and quits. The service notifier, when given, hears that it is ready once it serves, that a cycle ran
// after every cycle (the watchdog), and that it stops before it deactivates.
class CHeadlessHost : public QObject, public CDocObserver
{
    Q_OBJECT

public:
    // The notifier (not owned, may be null) must outlive the host.
    explicit CHeadlessHost(
        CServerCommandFactory& server, CServiceNotifier* notifier = nullptr, QObject* parent = nullptr);
    ~CHeadlessHost() override;

    // Initialises the document, sets up the socket and activates the engine. False when the
    // document cannot start or the socket cannot be served (another Kelvaris serves it, say);
    // StartProblem() then says why, and nothing was told to the alarm server.
    bool Start();
    const QString& StartProblem() const { return m_startProblem; }
    // Deactivates (without asking) and ends the event loop.
    void Stop();

    CKelvarisDoc& Document() { return *m_doc; }
    // The status board's address from the command line (null: the settings decide), before Start().
    void SetWebListen(const QString& listen) { m_webListen = listen; }

    void OnUpdate(unsigned hint) override;
    void OnNotice(const QString& text) override;

    // The idle check, every 30 s (the files looked at, the alarm server's presence): a file being
    // written at that moment is looked at again once it has been left alone.
    void Idle();

private:
    void Print(const CLogbookLine& line);
    void Tick();

    CServiceNotifier* m_notifier = nullptr;
    // The status line last told to the service manager (empty before it was told ready).
    QString m_status;
    QString StatusText() const;
    CRightsCheck m_rights; // no password: nothing here could ask for one
    std::unique_ptr<CKelvarisDoc> m_doc;
    std::unique_ptr<CKelvarisInbound> m_inbound;
    std::unique_ptr<CWebServer> m_web;
    QString m_webListen;
    QTimer m_cycleTimer;
    QTimer m_idleTimer;
    // A file being written at the idle check is looked at again shortly.
    CFileRecheck m_fileRecheck { [this] { return m_doc->IdleCheck(false); } };
    bool m_stopped = false;
    QString m_startProblem;
};

// Makes SIGINT and SIGTERM call `handler` on the event loop (a self-pipe; the signal handler itself
// only writes one byte).
void OnTerminationSignal(QObject* context, std::function<void()> handler);
