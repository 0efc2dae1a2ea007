#include "inbound/KelvarisBus.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "inbound/KelvarisObj.h"
#include "server/DBusServerCommand.h"
#include "support/Trace.h"
#include "support/Warning.h"

QString KelvarisBusName()
{
    const QString name = qEnvironmentVariable(kKelvarisBusNameVariable);
    if (name.isEmpty())
        return QString::fromLatin1(kKelvarisDefaultBusName);
    if (!IsValidBusServiceName(name)) {
        KTRACE(lcAutomation) << "KELVARIS_BUS_NAME is not a valid bus name, using the default:" << name;
        return QString::fromLatin1(kKelvarisDefaultBusName);
    }
    return name;
}

CKelvarisObjAdaptor::CKelvarisObjAdaptor(CKelvarisObj& object, QObject* parent)
    : QObject(parent)
    , m_object(object)
{ }

QString CKelvarisObjAdaptor::DoCommand(const QString& TimeCmd)
{
    const QString result = m_object.DoCommand(TimeCmd);
    Q_EMIT Called();
    return result;
}

CKelvarisBus::CKelvarisBus(QDBusConnection connection, QString busName)
    : m_connection(std::move(connection))
    , m_busName(std::move(busName))
{ }

CKelvarisBus::~CKelvarisBus()
{
    if (m_ownsName)
        m_connection.unregisterService(m_busName);
    if (m_automation)
        m_connection.unregisterObject(QString::fromLatin1(kKelvarisObjPath));
}

bool CKelvarisBus::ExportAutomation(CKelvarisObj& object)
{
    if (m_automation)
        return false;
    m_object = &object; // exported again when the bus comes back
    if (!m_connection.isConnected())
        return false;
    m_automation = std::make_unique<CKelvarisObjAdaptor>(object);
    if (!m_connection.registerObject(
            QString::fromLatin1(kKelvarisObjPath), m_automation.get(), QDBusConnection::ExportAllSlots)) {
        m_automation.reset();
        return false;
    }
    return true;
}

bool CKelvarisBus::OwnName(EOwnership ownership)
{
    m_wantsName = true;
    m_ownership = ownership;
    if (m_ownsName)
        return true;
    if (!m_connection.isConnected() || !m_connection.interface())
        return false;
    WatchName();
    // The bus daemon's RequestName, whose flags Qt's registerService cannot combine: the service
    // waits in the queue (and replaces a windowless server, which allows it); the windowless server
    // gives way to whoever asks.
    constexpr uint kAllowReplacement = 1;
    constexpr uint kReplaceExisting = 2;
    constexpr uint kDoNotQueue = 4;
    const uint flags
        = ownership == EOwnership::Service ? kReplaceExisting : (kAllowReplacement | kDoNotQueue);
    const QDBusReply<uint> reply
        = m_connection.interface()->call(QStringLiteral("RequestName"), m_busName, flags);
    constexpr uint kPrimaryOwner = 1;
    constexpr uint kInQueue = 2;
    constexpr uint kAlreadyOwner = 4;
    m_ownsName = reply.isValid() && (reply.value() == kPrimaryOwner || reply.value() == kAlreadyOwner);
    m_queued = reply.isValid() && reply.value() == kInQueue;
    if (!m_ownsName)
        KTRACE(lcAutomation) << "bus name not owned:" << m_busName << (m_queued ? "waiting in the queue" : "")
                             << reply.error().message();
    return m_ownsName;
}

void CKelvarisBus::WatchName()
{
    if (m_watchedConnection == m_connection.name())
        return;
    m_watchedConnection = m_connection.name();
    m_nameContext = std::make_unique<QObject>();
    QDBusConnectionInterface* bus = m_connection.interface();
    // NameAcquired and NameLost of this connection.
    QObject::connect(
        bus, &QDBusConnectionInterface::serviceRegistered, m_nameContext.get(), [this](const QString& name) {
            if (name != m_busName || m_ownsName)
                return;
            m_ownsName = true;
            m_queued = false;
            if (m_ownership == EOwnership::Service)
                qCWarning(lcAutomation).noquote() << QStringLiteral(
                    "The bus name %1 is this Kelvaris's now: DDE and automation calls reach it")
                                                         .arg(m_busName);
        });
    QObject::connect(bus, &QDBusConnectionInterface::serviceUnregistered, m_nameContext.get(),
        [this](const QString& name) {
            if (name != m_busName || !m_ownsName)
                return;
            m_ownsName = false;
            if (m_nameLost)
                m_nameLost();
        });
}

bool CKelvarisBus::Reconnect(QDBusConnection connection)
{
    // The old connection is gone with its daemon, and with it the name and the object.
    if (m_automation)
        m_connection.unregisterObject(QString::fromLatin1(kKelvarisObjPath));
    m_ownsName = false;
    m_connection = std::move(connection);
    bool ok = true;
    if (m_automation) {
        ok = m_connection.registerObject(
            QString::fromLatin1(kKelvarisObjPath), m_automation.get(), QDBusConnection::ExportAllSlots);
        if (!ok)
            KTRACE(lcAutomation) << "automation object not registered again:"
                                 << m_connection.lastError().message();
    } else if (m_object) {
        ok = ExportAutomation(*m_object);
    }
    if (m_wantsName && !OwnName(m_ownership)) {
        ok = false;
        // Another program took the name while the bus was away: calls by name reach that one.
        const QDBusConnectionInterface* bus = m_connection.interface();
        const bool taken = bus && bus->isServiceRegistered(m_busName).value();
        if (const auto more = taken ? m_takenLimiter.Allow() : -1; more >= 0)
            qCWarning(lcAutomation).noquote() << QStringLiteral(
                "The bus name %1 is taken by another program since the bus came back: DDE and "
                "automation calls reach that one, not this Kelvaris%2")
                                                     .arg(m_busName, CWarningLimiter::MoreText(more));
    }
    return ok;
}

namespace {
QString DataHome()
{
    // Qt takes a relative XDG_DATA_HOME as it stands; the base directory rules say to ignore it,
    // as they do an empty one, so that the file never lands relative to the working directory.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!path.isEmpty() && QDir::isAbsolutePath(path))
        return path;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

// One word of the file's Exec line: the bus splits that line like a shell, so anything but plain
// characters goes into single quotes.
QString ExecWord(const QString& word)
{
    static const QString plain
        = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+=:@,");
    bool quoted = word.isEmpty();
    for (const QChar c : word)
        quoted = quoted || !plain.contains(c);
    if (!quoted)
        return word;
    QString text = word;
    text.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}
} // namespace

QString ActivationFilePath(const QString& busName)
{
    return DataHome() + QStringLiteral("/dbus-1/services/") + busName + QStringLiteral(".service");
}

bool RegisterAutomationServer(const QString& programPath, QString* error)
{
    const QString busName = KelvarisBusName();
    const QString path = ActivationFilePath(busName);
    QString exec = ExecWord(QFileInfo(programPath).absoluteFilePath()) + QStringLiteral(" -Embedding");
    // A bus name other than the default must reach the started program too.
    if (busName != QLatin1String(kKelvarisDefaultBusName))
        exec = QStringLiteral("/usr/bin/env ")
            + ExecWord(QString::fromLatin1(kKelvarisBusNameVariable) + QLatin1Char('=') + busName)
            + QLatin1Char(' ') + exec;
    const QByteArray content = "[D-BUS Service]\nName=" + busName.toUtf8() + "\nExec=" + exec.toUtf8() + "\n";

    QSaveFile file(path);
    const bool ok = QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
        && file.write(content) == content.size() && file.flush() && file.commit();
    if (!ok && error)
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return ok;
}

bool UnregisterAutomationServer(QString* error)
{
    const QString path = ActivationFilePath(KelvarisBusName());
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = QStringLiteral("cannot remove %1: %2").arg(path, file.errorString());
    return false;
}
