#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

#include "support/PrivateFolder.h"
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

QString CSingleInstance::SocketName(QString* reason)
{
    QString name = qEnvironmentVariable("KELVARIS_INSTANCE_NAME");
    if (name.isEmpty())
        name = QStringLiteral("KelvarisAppClass");
    if (name.startsWith(u'/'))
        return name;
    // The user's runtime folder (only this user can enter it); without a usable one, a folder of
    // the user's own inside the temporary folder. Never the shared temporary folder itself: anybody
    // could listen there first.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString why;
    if (!folder.isEmpty() && (!QDir::isAbsolutePath(folder) || !IsPrivateFolder(folder, &why))) {
        KTRACE(lcApp) << "runtime folder not used:" << folder << why;
        folder.clear();
    }
    if (folder.isEmpty() && !PrivateTempFolder(folder, reason))
        return QString();
    return QDir(folder).filePath(name);
}

bool CSingleInstance::AskRunningInstanceToShow(int timeoutMs)
{
    const QString name = SocketName();
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
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
    QString reason;
    const QString name = SocketName(&reason);
    if (name.isEmpty()) {
        KTRACE(lcApp) << "single-instance socket not listening:" << reason;
        return false;
    }
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(name))
        return true;
    QLocalServer::removeServer(name);
    if (m_server.listen(name))
        return true;
    KTRACE(lcApp) << "single-instance socket not listening:" << m_server.errorString();
    return false;
}
