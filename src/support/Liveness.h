#pragma once

#include <QtGlobal>

// What the service manager's watchdog stands for: that Kelvaris answers. Two parts must be alive -
// the engine (its one-second cycle runs; or it is waiting, within the bound of one call, for the
// alarm server, which may be frozen) and the socket thread that answers the alarm server's checks
// (while it runs). Each part beats; a watchdog feeder asks AliveForWatchdog() before every feed.
// Thread-safe; nothing here allocates.
namespace Liveness {

enum class EPart { Engine, Socket };

// The part is alive now.
void Beat(EPart part);
// Whether the part's beats count: the socket thread only while it serves.
void SetWatched(EPart part, bool watched);
// Milliseconds since the part's last beat; -1 while it is not watched (or never beat).
qint64 SinceBeatMs(EPart part);

// While one lives, the engine waits for one call to the alarm server (bounded by the call's own
// time-out), which counts as alive. Not nestable.
class CWaitingForServer
{
public:
    CWaitingForServer();
    ~CWaitingForServer();
    CWaitingForServer(const CWaitingForServer&) = delete;
    CWaitingForServer& operator=(const CWaitingForServer&) = delete;
};
// Milliseconds the engine has been waiting for the alarm server; -1 when it is not.
qint64 WaitingForServerMs();

// The longest a call to the alarm server may take and still count as waiting (its time-out and a
// margin).
constexpr qint64 kMaxServerCallMs = 7000;

// The feeder's rule, for a watchdog of `watchdogMs`: the engine beat within half of it, or waits
// for the alarm server within kMaxServerCallMs; and the socket thread, when watched, beat within a
// quarter of it (fed every eighth, a hung socket thread stops the feed within half of it).
bool AliveForWatchdog(qint64 engineSinceMs, qint64 engineWaitingMs, qint64 socketSinceMs, qint64 watchdogMs);

} // namespace Liveness
