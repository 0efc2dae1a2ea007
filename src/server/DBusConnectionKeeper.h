#pragma once

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QString>
#include <QTimer>

#include "support/Warning.h"

// Keeps a connection to one bus alive across a restart of its daemon. A QDBusConnection never
// comes back once its daemon is gone (the socket of a restarted daemon at the same address is a new
// peer), and Qt tells nobody reliably, so the keeper looks: at every Check() and, once polling, on a
// timer. A lost connection is dropped and a new one is made under a fresh connection name until one
// succeeds (the timer's attempts spaced out from half a second up to 30 s while they fail, so that a
// bus that stays away costs nothing); then Reconnected() tells the users to register their objects and names
// again on Connection(). The session bus is found through DBUS_SESSION_BUS_ADDRESS at each attempt, so a
// daemon that came back on the same address is reached.
//
// Warnings (with the category given): the connection was lost, and it was restored (with how long
// it was gone); at most one of each a minute.
//
// Lives on one thread (the one whose event loop runs the timer).
class CDBusConnectionKeeper : public QObject
{
    Q_OBJECT

public:
    using Category = const QLoggingCategory& (*)();
    static constexpr int kDefaultPollMs = 3000;
    // The longest wait between two attempts while the bus stays away.
    static constexpr int kMaxRetryMs = 30'000;

    // `what` names the connection in warnings ("Kelvaris's bus", "the alarm server's bus").
    CDBusConnectionKeeper(
        QDBusConnection::BusType bus, QString what, Category category, QObject* parent = nullptr);
    // A bus given by its D-Bus address ("unix:path=/run/alarm/bus").
    CDBusConnectionKeeper(QString address, QString what, Category category, QObject* parent = nullptr);
    ~CDBusConnectionKeeper() override;
    CDBusConnectionKeeper(const CDBusConnectionKeeper&) = delete;
    CDBusConnectionKeeper& operator=(const CDBusConnectionKeeper&) = delete;

    // The current connection; not connected while the bus is away.
    QDBusConnection Connection() const { return m_connection; }
    // Looks at the connection and, when it is down, tries once to make a new one. True when
    // connected afterwards. Emits Reconnected() when a new connection replaced a lost or failed one.
    bool Check();
    // Checks every `ms` milliseconds from now on (0 stops).
    void StartPolling(int ms = kDefaultPollMs);

    // How many connections were made so far (the first one counts).
    int Generation() const { return m_generation; }

Q_SIGNALS:
    void Reconnected();

private:
    void Poll();
    bool Connect();
    QString BusText() const;

    const bool m_byAddress;
    const QDBusConnection::BusType m_bus;
    const QString m_address;
    const QString m_what;
    const Category m_category;
    QString m_name; // the connection's name under QDBusConnection, fresh for each connection
    QDBusConnection m_connection;
    int m_generation = 0;
    bool m_down = false; // lost (or never made) and not yet back
    QElapsedTimer m_downSince;
    QElapsedTimer m_lastAttempt;
    int m_failures = 0; // attempts failed in a row
    QTimer m_poll;
    CWarningLimiter m_lostLimiter;
    CWarningLimiter m_restoredLimiter;
};
