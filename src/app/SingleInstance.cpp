#include "app/SingleInstance.h"

#include <QLocalSocket>

#include "support/Trace.h"

namespace {
// What a later start sends, and what the running instance answers.
constexpr char kShowRequest[] = "show\n";
constexpr char kShowAnswer[] = "ok\n";
} // namespace

CSingleInstance::CSingleInstance(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // One short request; anything longer or other is dropped.
                const QByteArray request = socket->read(16);
                if (request == kShowRequest) {
                    socket->write(kShowAnswer);
                    socket->flush();
                    Q_EMIT ShowRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

QString CSingleInstance::SocketName()
{
    const QString name = qEnvironmentVariable("KELVARIS_INSTANCE_NAME");
    return name.isEmpty() ? QStringLiteral("KelvarisAppClass") : name;
}

bool CSingleInstance::AskRunningInstanceToShow(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    // Nobody listens (no socket, or one left behind by an instance that ended): none runs.
    if (!socket.waitForConnected(timeoutMs))
        return false;
    // Someone took the connection: an instance runs. One that is busy (its window thread waiting
    // for the alarm server, say) may not answer in time; it still runs, so this start ends too.
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(timeoutMs))
        return true;
    while (socket.bytesAvailable() < qint64(sizeof kShowAnswer - 1)) {
        if (!socket.waitForReadyRead(timeoutMs)) {
            KTRACE(lcApp) << "the running instance did not answer in time";
            return true;
        }
    }
    return true;
}

bool CSingleInstance::Listen()
{
    // Only this user may connect; a socket file left by a crashed instance is removed first (the
    // caller has just found that nobody answers on it).
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(SocketName()))
        return true;
    QLocalServer::removeServer(SocketName());
    if (m_server.listen(SocketName()))
        return true;
    KTRACE(lcApp) << "single-instance socket not listening:" << m_server.errorString();
    return false;
}
