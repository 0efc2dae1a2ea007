#pragma once

#include <memory>

#include <QDBusConnection>
#include <QString>

#include "server/ServerCommand.h"

class CDBusConnectionKeeper;
class QDBusServiceWatcher;
class CProfile;

// The alarm server's command object over D-Bus. Every command is one synchronous method call
//
//     service   com.ondrevi.AlarmServer (KELVARIS_ALARMSERVER_BUS_NAME overrides)
//     path      /com/ondrevi/AlarmServer/ServerCommand
//     interface com.ondrevi.AlarmServer.ServerCommand
//     method    ExecuteCommand(in s command, out s result)
//
// on the session bus, or the system bus when the configuration says AlarmServerBus=system in
// section Settings. A server that is not running is started by the bus when it has an activation
// file for the name, as any other D-Bus service.

inline constexpr char kAlarmServerDefaultService[] = "com.ondrevi.AlarmServer";
inline constexpr char kAlarmServerObjectPath[] = "/com/ondrevi/AlarmServer/ServerCommand";
inline constexpr char kAlarmServerInterface[] = "com.ondrevi.AlarmServer.ServerCommand";
inline constexpr char kAlarmServerMethod[] = "ExecuteCommand";
inline constexpr char kAlarmServerServiceVariable[] = "KELVARIS_ALARMSERVER_BUS_NAME";

enum class EAlarmServerBus { Session, System };

// Where the alarm server is reached.
struct CAlarmServerAddress
{
    EAlarmServerBus bus = EAlarmServerBus::Session;
    QString service = QString::fromLatin1(kAlarmServerDefaultService);
};

// "system" (any case, blanks around it ignored) selects the system bus; every other value,
// including an empty one, the session bus.
EAlarmServerBus AlarmServerBusFromSetting(const QString& value);
// A well-known D-Bus bus name: at most 255 characters, two or more non-empty elements separated
// by ".", each of ASCII letters, digits, "_" and "-" and not starting with a digit.
bool IsValidBusServiceName(const QString& name);
// The service name from KELVARIS_ALARMSERVER_BUS_NAME, or the default when the variable is unset,
// empty or not a valid name (the latter is traced).
QString AlarmServerServiceFromEnvironment();
// The bus from the key AlarmServerBus in section Settings of the configuration file, the service
// name from the environment.
CAlarmServerAddress AlarmServerAddressFrom(const CProfile& config);

// One command object: a connection and the service to call on it. Used from one thread at a time.
class CDBusServerCommand : public CServerCommand
{
public:
    // How long a call waits for the server's reply.
    static constexpr int kDefaultTimeoutMs = 5000;
    // The longest command sent and the longest result accepted, in UTF-16 code units. A longer
    // result counts as a failure (the bus daemon's message size limit bounds what arrives at all).
    static constexpr qsizetype kMaxTextLength = 16 * 1024 * 1024;

    // A timeout of zero or less means the default.
    CDBusServerCommand(
        const QDBusConnection& connection, const QString& service, int timeoutMs = kDefaultTimeoutMs);

    // One call to the server. False, with an empty result, when the bus is not connected, the
    // name has no owner (and cannot be activated), the server answers with a D-Bus error, no reply
    // comes within the timeout, the reply is anything but one string or longer than
    // kMaxTextLength, or the command cannot be sent as it is (a NUL character, which a D-Bus
    // string cannot carry, or longer than kMaxTextLength). Every failure is traced under lcServer.
    bool ExecuteCommand(const QString& command, QString& result) override;

private:
    QDBusConnection m_connection;
    QString m_service;
    int m_timeoutMs;
};

// Creates command objects on a connection to the chosen bus, a connection of this factory's own.
// When it cannot be made or has been lost (the bus daemon restarted), each Create and, once an
// application object exists, a check every few seconds try again; every command object gets the
// connection current at its creation.
class CDBusServerCommandFactory : public CServerCommandFactory
{
public:
    CDBusServerCommandFactory(
        EAlarmServerBus bus, const QString& service, int timeoutMs = CDBusServerCommand::kDefaultTimeoutMs);
    ~CDBusServerCommandFactory() override;
    explicit CDBusServerCommandFactory(
        const CAlarmServerAddress& address, int timeoutMs = CDBusServerCommand::kDefaultTimeoutMs)
        : CDBusServerCommandFactory(address.bus, address.service, timeoutMs)
    { }
    // A bus given by its D-Bus address ("unix:path=/run/alarm/bus") instead of the session or
    // system bus.
    static std::unique_ptr<CDBusServerCommandFactory> ForBusAddress(const QString& busAddress,
        const QString& service, int timeoutMs = CDBusServerCommand::kDefaultTimeoutMs);

    // Null when the bus cannot be connected.
    std::unique_ptr<CServerCommand> Create() override;
    // The times the service name got an owner since the first Create (on a bus made again after
    // its daemon restarted, too); needs the event loop of the thread that called Create.
    quint64 ServerArrivals() const override { return m_arrivals; }

    const QString& Service() const { return m_service; }
    int TimeoutMs() const { return m_timeoutMs; }

private:
    CDBusServerCommandFactory() = default;

    EAlarmServerBus m_bus = EAlarmServerBus::Session;
    QString m_busAddress; // when not empty, used instead of m_bus
    std::unique_ptr<CDBusConnectionKeeper> m_keeper; // made at the first Create
    // Watches the service name on the keeper's connection.
    void WatchService();
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    quint64 m_arrivals = 0;
    QString m_service;
    int m_timeoutMs = CDBusServerCommand::kDefaultTimeoutMs;
};
