#include "support/Liveness.h"

#include <atomic>
#include <chrono>

namespace {

qint64 NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// 0: not watched. A beat stores the time (never 0: the clock's epoch is long past).
std::atomic<qint64> g_beat[2] = { 0, 0 };
std::atomic<bool> g_watched[2] = { true, false };
std::atomic<qint64> g_waitingSince { 0 };

int Index(Liveness::EPart part)
{
    return part == Liveness::EPart::Engine ? 0 : 1;
}

} // namespace

namespace Liveness {

void Beat(EPart part)
{
    g_beat[Index(part)].store(NowMs(), std::memory_order_relaxed);
}

void SetWatched(EPart part, bool watched)
{
    if (watched)
        Beat(part);
    g_watched[Index(part)].store(watched, std::memory_order_relaxed);
}

qint64 SinceBeatMs(EPart part)
{
    const int index = Index(part);
    const qint64 beat = g_beat[index].load(std::memory_order_relaxed);
    if (!g_watched[index].load(std::memory_order_relaxed) || beat == 0)
        return -1;
    return NowMs() - beat;
}

CWaitingForServer::CWaitingForServer()
{
    g_waitingSince.store(NowMs(), std::memory_order_relaxed);
}

CWaitingForServer::~CWaitingForServer()
{
    g_waitingSince.store(0, std::memory_order_relaxed);
}

qint64 WaitingForServerMs()
{
    const qint64 since = g_waitingSince.load(std::memory_order_relaxed);
    return since == 0 ? -1 : NowMs() - since;
}

bool AliveForWatchdog(qint64 engineSinceMs, qint64 engineWaitingMs, qint64 socketSinceMs, qint64 watchdogMs)
{
    const bool engine = (engineSinceMs >= 0 && engineSinceMs < watchdogMs / 2)
        || (engineWaitingMs >= 0 && engineWaitingMs < kMaxServerCallMs);
    const bool socket = socketSinceMs < 0 || socketSinceMs < watchdogMs / 4;
    return engine && socket;
}

} // namespace Liveness
