#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include "inbound/DDEServer.h"

// One (service, topic) pair of a wild connect.
struct CDDEServiceTopic
{
    QString m_service;
    QString m_topic;
};
Q_DECLARE_METATYPE(CDDEServiceTopic)
QDBusArgument& operator<<(QDBusArgument& argument, const CDDEServiceTopic& pair);
const QDBusArgument& operator>>(const QDBusArgument& argument, CDDEServiceTopic& pair);

// The DDE transactions as D-Bus calls on /com/ondrevi/Kelvaris/DDE, interface com.ondrevi.Kelvaris.DDE.
// A conversation is a caller's unique bus name with a topic: it opens with Connect or with the
// caller's first call on the topic, and ends with Disconnect or when the caller leaves the bus (its
// advise links go with it). Advise data travel as the signal Advise, sent to the linked caller only.
// Formats are named "TEXT" (UTF-8 with a NUL) and "UNICODETEXT" (UTF-16LE with a NUL character).
//
// Calls arrive on the thread that owns this object, the one the server belongs to.
class CDBusDDETransport : public QObject, protected QDBusContext, public CDDETransport
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.ondrevi.Kelvaris.DDE")

public:
    explicit CDBusDDETransport(
        QDBusConnection connection = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~CDBusDDETransport() override;

    bool RegisterService(CDDEServer& server) override;
    void UnregisterService(CDDEServer& server) override;
    void PostAdvise(CDDEServer& server, const QString& topic, const QString& item) override;
    // The bus came back on a new connection: the conversations of the old one end (their callers
    // are gone with it) and the object is registered there again. False when that failed.
    bool Reconnect(QDBusConnection connection);

    qsizetype ConversationCount() const { return m_convs.size(); }

public Q_SLOTS:
    bool Connect(const QString& topic);
    QList<CDDEServiceTopic> WildConnect(const QString& service, const QString& topic);
    void Disconnect(const QString& topic);
    bool Request(const QString& topic, const QString& item, const QString& format, QByteArray& data);
    bool Poke(const QString& topic, const QString& item, const QString& format, const QByteArray& data);
    bool Execute(const QString& topic, const QByteArray& data);
    bool AdviseStart(const QString& topic, const QString& item, const QString& format);
    bool AdviseStop(const QString& topic, const QString& item);

Q_SIGNALS:
    // Never emitted as a broadcast: PostAdvise sends it to each linked caller alone. Declared so that
    // introspection shows it.
    void Advise(const QString& topic, const QString& item, const QString& format, const QByteArray& data);

private:
    struct CConv
    {
        QString m_caller;
        QString m_topic;
    };
    // The caller's conversation on a topic, opened when missing; 0 when the topic does not exist.
    HDDECONV Conversation(const QString& topic);
    QString Caller() const;
    void CallerLeft(const QString& caller);

    QDBusConnection m_connection;
    CDDEServer* m_server = nullptr;
    CDDEServer* m_wanted = nullptr; // registered, or to be registered when the bus comes back
    QDBusServiceWatcher m_watcher;
    QHash<QString, HDDECONV> m_byKey; // caller + '\n' + topic in lower case
    QHash<HDDECONV, CConv> m_convs;
    HDDECONV m_nextConv = 1;
};
