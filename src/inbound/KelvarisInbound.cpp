#include "inbound/KelvarisInbound.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>

#include "engine/KelvarisDoc.h"
#include "inbound/DBusDDE.h"
#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "inbound/TimeDDEServer.h"
#include "server/DBusConnectionKeeper.h"
#include "support/Trace.h"

CKelvarisInbound::CKelvarisInbound(CKelvarisDoc& doc, QObject* context, CMainWindowActivator* activator)
    : m_doc(doc)
    , m_keeper(std::make_unique<CDBusConnectionKeeper>(
          QDBusConnection::SessionBus, QStringLiteral("Kelvaris's bus"), lcAutomation))
    , m_services(std::make_unique<CDocRequestServices>(doc))
    , m_pipe(std::make_unique<CKelvarisPipe>(*m_services))
    , m_transport(std::make_unique<CDBusDDETransport>(m_keeper->Connection()))
    , m_dde(std::make_unique<CTimeDDEServer>(activator))
    , m_publisher(std::make_unique<CDDEValuePublisher>(*m_dde))
    , m_launcher(std::make_unique<CDocEditorLauncher>(context, &doc))
    , m_automation(std::make_unique<CKelvarisObj>(m_launcher.get()))
    , m_bus(std::make_unique<CKelvarisBus>(m_keeper->Connection()))
{
    QObject::connect(
        m_keeper.get(), &CDBusConnectionKeeper::Reconnected, m_keeper.get(), [this] { Reconnected(); });
    m_doc.SetInboundServer(m_pipe.get());
    m_doc.SetPublisher(m_publisher.get());
}

CKelvarisInbound::~CKelvarisInbound()
{
    // The socket's worker calls into the document: end it before anything goes.
    m_pipe->Stop();
    m_doc.SetInboundServer(nullptr);
    m_doc.SetPublisher(nullptr);
    m_bus.reset();
    m_dde->Destroy();
}

bool CKelvarisInbound::Start()
{
    // Without a bus the DDE server still holds the values (the main view shows them), it only
    // serves nobody.
    m_dde->CreateService(m_transport.get());
    const bool exported = m_bus->ExportAutomation(*m_automation);
    const bool named = m_bus->OwnName();
    if (!exported || !named)
        KTRACE(lcAutomation) << "Kelvaris is not reachable on the bus under" << m_bus->BusName();
    if (!named) {
        // Another Kelvaris (or anything else) holding the name gets every DDE and automation call
        // until it leaves; this one waits in the queue for it.
        const QDBusConnectionInterface* bus = m_keeper->Connection().interface();
        if (bus && bus->isServiceRegistered(m_bus->BusName()).value()) {
            const QDBusReply<uint> pid = bus->servicePid(m_bus->BusName());
            qCWarning(lcAutomation).noquote()
                << QStringLiteral("The bus name %1 is owned by another program%2: DDE and automation calls "
                                  "reach that one, not this Kelvaris, until it leaves%3")
                       .arg(m_bus->BusName(),
                           pid.isValid() ? QStringLiteral(" (process %1)").arg(pid.value()) : QString(),
                           m_bus->IsQueued() ? QStringLiteral(" (this Kelvaris takes the name then)")
                                             : QString());
        } else if (!m_keeper->Connection().isConnected()) {
            qCWarning(lcAutomation).noquote()
                << QStringLiteral("No D-Bus session bus (%1): the DDE values and the automation object are "
                                  "served by nobody until one comes; install dbus-user-session")
                       .arg(m_keeper->Connection().lastError().message().isEmpty()
                               ? QStringLiteral("DBUS_SESSION_BUS_ADDRESS is not set")
                               : m_keeper->Connection().lastError().message());
        }
    }
    m_keeper->StartPolling();
    return exported && named;
}

void CKelvarisInbound::Reconnected()
{
    const bool dde = m_transport->Reconnect(m_keeper->Connection());
    const bool bus = m_bus->Reconnect(m_keeper->Connection());
    KTRACE(lcAutomation) << "registered again on the bus: DDE" << dde << "automation and name" << bus;
}

bool CKelvarisInbound::StartSocket()
{
    m_pipe->Start();
    return m_pipe->IsListening();
}

bool CKelvarisInbound::SocketListening() const
{
    return m_pipe->IsListening();
}

QString CKelvarisInbound::SocketProblem() const
{
    return m_pipe->IsListening() ? QString() : m_pipe->Problem();
}

void CKelvarisInbound::SetActivator(CMainWindowActivator* activator)
{
    m_dde->SetActivator(activator);
}

CValuePublisher* CKelvarisInbound::Publisher() const
{
    return m_publisher.get();
}
