#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One Kelvaris per user: the first instance listens on a local socket named KelvarisAppClass
// (KELVARIS_INSTANCE_NAME overrides the name) in the user's runtime folder; a later start finds it
// there, asks it to show its window and ends.
class CSingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit CSingleInstance(QObject* parent = nullptr);

    // The socket's path: the name in $XDG_RUNTIME_DIR (the user's runtime folder), or, without one
    // that is a folder of this user's that nobody else can write, in this user's own folder inside
    // the temporary folder (PrivateTempFolder); a name beginning with "/" is the path itself. Empty
    // (with the reason) when no private folder can be had.
    static QString SocketName(QString* reason = nullptr);
    // A running instance was told to show itself (or is there but busy: it took the connection and
    // did not answer in time, so a second instance must not start either); false when none runs.
    static bool AskRunningInstanceToShow(int timeoutMs = 2000);
    // Listens for later starts; a stale socket of an ended instance is replaced. False when it
    // cannot listen (the program runs on all the same).
    bool Listen();

Q_SIGNALS:
    // A later start asked to see the window.
    void ShowRequested();

private:
    QLocalServer m_server;
};
