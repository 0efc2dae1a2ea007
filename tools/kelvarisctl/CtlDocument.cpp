#include "CtlDocument.h"

#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"

namespace {
CAlarmServerAddress AddressOf(const QString& configPath)
{
    // The document reads the configuration file through the process's configuration location.
    ConfigLocation().SetPaths(configPath, QString());
    return AlarmServerAddressFrom(CProfile(configPath));
}
} // namespace

CCtlDocument::CCtlDocument(const QString& configPath)
    : m_address(AddressOf(configPath))
    , m_server(m_address)
    , m_doc(m_server, m_rights)
{ }

QString CCtlDocument::NoTargetsMessage() const
{
    return QStringLiteral(
        "the alarm server %1 on the %2 bus gave no targets (not running, or none configured)")
        .arg(m_address.service,
            m_address.bus == EAlarmServerBus::System ? QStringLiteral("system") : QStringLiteral("session"));
}
