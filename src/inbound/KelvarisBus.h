#pragma once

#include <functional>
#include <memory>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "support/Warning.h"

class CKelvarisObj;

// Kelvaris on the session bus:
//
//     name       com.ondrevi.Kelvaris (KELVARIS_BUS_NAME overrides)
//     automation /com/ondrevi/Kelvaris/KelvarisObj, interface com.ondrevi.Kelvaris.IKelvarisObj,
//                DoCommand(in s TimeCmd, out s Result)
//     DDE        /com/ondrevi/Kelvaris/DDE, interface com.ondrevi.Kelvaris.DDE (inbound/DBusDDE.h)
inline constexpr char kKelvarisDefaultBusName[] = "com.ondrevi.Kelvaris";
inline constexpr char kKelvarisBusNameVariable[] = "KELVARIS_BUS_NAME";
inline constexpr char kKelvarisObjPath[] = "/com/ondrevi/Kelvaris/KelvarisObj";
inline constexpr char kKelvarisObjInterface[] = "com.ondrevi.Kelvaris.IKelvarisObj";
inline constexpr char kKelvarisDDEPath[] = "/com/ondrevi/Kelvaris/DDE";
inline constexpr char kKelvarisDDEInterface[] = "com.ondrevi.Kelvaris.DDE";

// The bus name from KELVARIS_BUS_NAME, or the default when it is unset, empty or not a valid name.
QString KelvarisBusName();

// The automation object on the bus. Calls arrive on the thread of the bus connection's owner (the
// user-interface thread).
class CKelvarisObjAdaptor : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ondrevi.Kelvaris.IKelvarisObj")

public:
    CKelvarisObjAdaptor(CKelvarisObj& object, QObject* parent = nullptr);

public Q_SLOTS:
    QString DoCommand(const QString& TimeCmd);

Q_SIGNALS:
    // After every call (not exported on the bus): the windowless server counts its idle time by it.
    void Called();

private:
    CKelvarisObj& m_object;
};

// Registers the automation object (and the DDE object when given) on a connection and owns the
// bus name while it lives; the destructor releases the name and unregisters the objects.
class CKelvarisBus
{
public:
    explicit CKelvarisBus(
        QDBusConnection connection = QDBusConnection::sessionBus(), QString busName = KelvarisBusName());
    ~CKelvarisBus();
    CKelvarisBus(const CKelvarisBus&) = delete;
    CKelvarisBus& operator=(const CKelvarisBus&) = delete;

    bool ExportAutomation(CKelvarisObj& object);
    // Asks for the bus name. A Service (the program with the document) replaces a windowless
    // automation server that holds the name and otherwise waits in the bus daemon's queue, taking
    // the name the moment its holder leaves (a warning says so); the Windowless server gives the
    // name up to whoever asks (NameLost() then runs). False when the connection is down or the
    // name is another's for now (IsQueued() tells whether it comes to this one later).
    enum class EOwnership { Service, Windowless };
    bool OwnName(EOwnership ownership = EOwnership::Service);
    bool OwnsName() const { return m_ownsName; }
    bool IsQueued() const { return m_queued; }
    // Runs when the name was taken away (a windowless server replaced by the service).
    void SetNameLost(std::function<void()> lost) { m_nameLost = std::move(lost); }
    // The bus came back on a new connection: exports the automation object there again and asks
    // for the name again when it was asked for before. False when that did not succeed (a name
    // another program took meanwhile is a warning, at most once a minute).
    bool Reconnect(QDBusConnection connection);

    const QString& BusName() const { return m_busName; }
    // The exported automation object; null before ExportAutomation().
    CKelvarisObjAdaptor* Automation() const { return m_automation.get(); }
    QDBusConnection& Connection() { return m_connection; }

private:
    QDBusConnection m_connection;
    QString m_busName;
    std::unique_ptr<CKelvarisObjAdaptor> m_automation;
    CKelvarisObj* m_object = nullptr; // the exported object
    bool m_ownsName = false;
    bool m_queued = false;
    EOwnership m_ownership = EOwnership::Service;
    std::function<void()> m_nameLost;
    // Receives NameAcquired and NameLost of the connection named m_watchedConnection.
    void WatchName();
    std::unique_ptr<QObject> m_nameContext;
    QString m_watchedConnection;
    bool m_wantsName = false; // OwnName was called
    CWarningLimiter m_takenLimiter;
};

// The D-Bus activation file through which the bus starts Kelvaris as a windowless automation server
// when a client calls it and no Kelvaris runs: $XDG_DATA_HOME/dbus-1/services/<bus name>.service
// (XDG_DATA_HOME defaults to ~/.local/share).
QString ActivationFilePath(const QString& busName = KelvarisBusName());
// Writes the activation file with `programPath -Embedding` (replacing an older one atomically).
// False with a message when it cannot be written.
bool RegisterAutomationServer(const QString& programPath, QString* error = nullptr);
// Removes the activation file; a missing file is success.
bool UnregisterAutomationServer(QString* error = nullptr);
