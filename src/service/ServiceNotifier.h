#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QByteArray>
#include <QString>

// What kelvaris --headless tells the service manager that runs it: that it serves, that its engine
// cycle still runs, and that it is about to end. The headless host calls it; CSystemdNotifier says
// it to systemd, the tests record it. The engine itself knows nothing of this.
class CServiceNotifier
{
public:
    virtual ~CServiceNotifier() = default;

    // The engine is active and the socket served: READY=1 with a status line.
    virtual void Ready(const QString& status) = 0;
    // An engine cycle ran to its end: the watchdog is fed. A cycle that hangs feeds nothing, and
    // the service manager restarts the program when the watchdog runs out.
    virtual void CycleDone() = 0;
    // SIGTERM or SIGINT came; the engine deactivates next: STOPPING=1 with a status line.
    virtual void Stopping(const QString& status) = 0;
    // The status line changed while running (the alarm server went or came back, a file fault).
    virtual void Status(const QString& status) { (void)status; }
};

// sd_notify(3) to the socket named by NOTIFY_SOCKET ("/path" or "@abstract"); without it every
// call does nothing. The watchdog, when the service manager asked for one (WATCHDOG_USEC set and
// WATCHDOG_PID, when set, naming this process), means "answering": a thread of its own feeds it
// every eighth of its interval while Liveness::AliveForWatchdog says the engine cycles (or waits,
// within one call's bound, for a frozen alarm server) and the socket thread runs. A cycle that hangs
// or a hung socket thread stops the feed, and the service manager restarts the program.
class CSystemdNotifier : public CServiceNotifier
{
public:
    CSystemdNotifier();
    ~CSystemdNotifier() override;
    CSystemdNotifier(const CSystemdNotifier&) = delete;
    CSystemdNotifier& operator=(const CSystemdNotifier&) = delete;

    void Ready(const QString& status) override;
    void CycleDone() override;
    void Stopping(const QString& status) override;
    void Status(const QString& status) override;

    // The watchdog interval asked for, in microseconds; 0 without a watchdog.
    quint64 WatchdogUsec() const { return m_watchdogUsec; }

private:
    void Send(const QByteArray& state);
    void Feed();

    quint64 m_watchdogUsec = 0;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_feeder;
};
