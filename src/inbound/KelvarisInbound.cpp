#include "inbound/KelvarisInbound.h"

#include "engine/KelvarisDoc.h"
#include "inbound/DBusDDE.h"
#include "inbound/KelvarisBus.h"
#include "inbound/KelvarisObj.h"
#include "inbound/KelvarisPipe.h"
#include "inbound/RequestHandler.h"
#include "inbound/TimeDDEServer.h"
#include "support/Trace.h"

CKelvarisInbound::CKelvarisInbound(
    CKelvarisDoc& doc, QObject* context, CMainWindowActivator* activator, QDBusConnection connection)
    : m_doc(doc)
    , m_services(std::make_unique<CDocRequestServices>(doc))
    , m_pipe(std::make_unique<CKelvarisPipe>(*m_services))
    , m_transport(std::make_unique<CDBusDDETransport>(connection))
    , m_dde(std::make_unique<CTimeDDEServer>(activator))
    , m_publisher(std::make_unique<CDDEValuePublisher>(*m_dde))
    , m_launcher(std::make_unique<CDocEditorLauncher>(context, &doc))
    , m_automation(std::make_unique<CKelvarisObj>(m_launcher.get()))
    , m_bus(std::make_unique<CKelvarisBus>(connection))
{
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
    return exported && named;
}

void CKelvarisInbound::SetActivator(CMainWindowActivator* activator)
{
    m_dde->SetActivator(activator);
}

CValuePublisher* CKelvarisInbound::Publisher() const
{
    return m_publisher.get();
}
