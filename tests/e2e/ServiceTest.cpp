// kelvaris --headless as a systemd service: the notifications on NOTIFY_SOCKET, the watchdog fed
// only by running engine cycles, and the priorities of standard-error lines read by the journal.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include "schedule/DateTime.h"
#include "server/ServerCommand.h"
#include "service/HeadlessHost.h"
#include "service/ServiceNotifier.h"
#include "support/SeqPacket.h"

#include "PrivateBus.h"
#include "fakes/ConfigLocationScope.h"
#include "fakes/TestPrograms.h"

namespace {

// One application object and private bus for the whole program: the in-process host keeps its
// session bus connection, which must not outlive its daemon.
class CServiceTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { s_suite = new CBusTestSuite("test_e2e_service"); }
    void TearDown() override
    {
        delete s_suite;
        s_suite = nullptr;
    }
    static inline CBusTestSuite* s_suite = nullptr;
};
[[maybe_unused]] ::testing::Environment* const g_environment
    = ::testing::AddGlobalTestEnvironment(new CServiceTestEnvironment);

// A whole-day shift 3 on every kind of day, so the engine always has something to push.
QByteArray Schedule()
{
    QByteArray text = "[Settings]\r\nWorkDays=31\r\nAutoActivate=1\r\n";
    const int types[] = { 2, 10, 11 };
    for (int i = 0; i < 3; ++i) {
        text += "[Shift" + QByteArray::number(i + 1)
            + "]\r\nShiftName=All day\r\nDateType=" + QByteArray::number(types[i])
            + "\r\nShiftDate=1899-12-30\r\nShiftStartTime=1899-12-30 00:00:00\r\n"
              "ShiftEndTime=1899-12-30 23:59:59\r\nShiftNumber=3\r\n";
    }
    return text;
}

// The service manager's end of NOTIFY_SOCKET: a datagram socket at a path or, for "@name", in the
// abstract namespace.
class CNotifySocket
{
public:
    explicit CNotifySocket(const QByteArray& name)
        : m_name(name)
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        if (m_fd < 0 || name.isEmpty() || static_cast<size_t>(name.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
        if (name.startsWith('@'))
            address.sun_path[0] = '\0';
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
        m_bound = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    }
    ~CNotifySocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CNotifySocket(const CNotifySocket&) = delete;
    CNotifySocket& operator=(const CNotifySocket&) = delete;

    bool IsBound() const { return m_bound; }
    const QByteArray& Name() const { return m_name; }

    // Waits (at most `ms`) for a notification whose lines include `line`; every notification
    // received meanwhile is kept in Received().
    bool WaitFor(const QByteArray& line, int ms)
    {
        return WaitUntil(
            [&line](const QByteArray& message) { return message.split('\n').contains(line); }, ms);
    }
    // The same for a notification that holds `part` anywhere.
    bool WaitForPart(const QByteArray& part, int ms)
    {
        return WaitUntil([&part](const QByteArray& message) { return message.contains(part); }, ms);
    }
    bool WaitUntil(const std::function<bool(const QByteArray&)>& wanted, int ms)
    {
        QDeadlineTimer deadline(ms);
        for (;;) {
            pollfd entry { m_fd, POLLIN, 0 };
            const int ready = ::poll(&entry, 1, static_cast<int>(deadline.remainingTime()));
            if (ready <= 0)
                return false;
            char buffer[4096];
            const ssize_t size = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (size < 0)
                return false;
            const QByteArray message(buffer, size);
            m_received << message;
            if (wanted(message))
                return true;
            if (deadline.hasExpired())
                return false;
        }
    }
    // Counts the received notifications with that line.
    qsizetype Count(const QByteArray& line) const
    {
        qsizetype count = 0;
        for (const QByteArray& message : m_received)
            count += message.split('\n').contains(line) ? 1 : 0;
        return count;
    }
    const QList<QByteArray>& Received() const { return m_received; }

private:
    QByteArray m_name;
    int m_fd = -1;
    bool m_bound = false;
    QList<QByteArray> m_received;
};

// The real program, its data in a temporary folder, without an alarm server.
class ServiceProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CServiceTestEnvironment::s_suite->Bus().IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        const qint64 pid = QCoreApplication::applicationPid();
        m_env = QProcessEnvironment::systemEnvironment();
        for (const char* name :
            { "NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID", "JOURNAL_STREAM", "KELVARIS_TRACE" })
            m_env.remove(QString::fromLatin1(name));
        m_env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"),
            QStringLiteral("com.ondrevi.AlarmServerTest.s%1").arg(pid));
        m_env.insert(QStringLiteral("KELVARIS_DATA"), m_dir.path());
        m_env.insert(
            QStringLiteral("KELVARIS_PIPE_NAME"), QStringLiteral("kelvaris-service-test-%1").arg(pid));
        m_env.insert(
            QStringLiteral("KELVARIS_BUS_NAME"), QStringLiteral("com.ondrevi.KelvarisTest.s%1").arg(pid));
        QFile config(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(Schedule());
    }
    void TearDown() override { EndProcesses({ &m_kelvaris }); }

    void StartKelvaris()
    {
        m_kelvaris.setProcessEnvironment(m_env);
        m_kelvaris.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
        ASSERT_TRUE(m_kelvaris.waitForStarted(5000));
    }

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_kelvaris;
};

// The notification socket given as a path and in the abstract namespace.
class NotifyTest : public ServiceProgramTest, public ::testing::WithParamInterface<bool>
{
protected:
    QByteArray SocketName() const
    {
        if (GetParam())
            return "@kelvaris-notify-test-" + QByteArray::number(QCoreApplication::applicationPid());
        return m_dir.filePath(QStringLiteral("notify")).toLocal8Bit();
    }
};

} // namespace

TEST_P(NotifyTest, ReadyThenWatchdogFromTheCyclesThenStoppingOnTerm)
{
    CNotifySocket socket(SocketName());
    ASSERT_TRUE(socket.IsBound()) << socket.Name().toStdString();
    m_env.insert(QStringLiteral("NOTIFY_SOCKET"), QString::fromLocal8Bit(socket.Name()));
    // Two seconds: fed at most every half second, so about every cycle.
    m_env.insert(QStringLiteral("WATCHDOG_USEC"), QStringLiteral("2000000"));
    StartKelvaris();

    ASSERT_TRUE(socket.WaitFor("READY=1", 15000)) << m_kelvaris.readAllStandardError().toStdString();
    EXPECT_TRUE(socket.Received().last().contains("\nSTATUS="));
    // Ready comes once the socket is served: a second instance on it now cannot start.
    {
        QProcess second;
        second.setProcessEnvironment(m_env);
        second.start(QStringLiteral(KELVARIS_PATH), { QStringLiteral("--headless") });
        ASSERT_TRUE(second.waitForFinished(20000));
        EXPECT_EQ(second.exitCode(), 1);
        EXPECT_TRUE(second.readAllStandardError().contains("another Kelvaris serves it"));
    }
    // The second instance may have notified the same socket; it never said it was ready.
    EXPECT_EQ(socket.Count("READY=1"), 1);
    for (int fed = 0; fed < 3; ++fed)
        ASSERT_TRUE(socket.WaitFor("WATCHDOG=1", 5000)) << "watchdog feed " << fed;

    m_kelvaris.terminate();
    ASSERT_TRUE(socket.WaitFor("STOPPING=1", 10000));
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(m_kelvaris.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_kelvaris.exitCode(), 0);
    // The deactivation came after it: the last logbook line.
    EXPECT_TRUE(m_kelvaris.readAllStandardOutput().trimmed().split('\n').last().startsWith("Deactivated\t"));
    EXPECT_EQ(socket.Count("READY=1"), 1);
}

INSTANTIATE_TEST_SUITE_P(PathAndAbstract, NotifyTest, ::testing::Bool(),
    [](const ::testing::TestParamInfo<bool>& param) { return param.param ? "Abstract" : "Path"; });

TEST_F(ServiceProgramTest, NoWatchdogFeedWhenAskedOfAnotherProcess)
{
    CNotifySocket socket(m_dir.filePath(QStringLiteral("notify")).toLocal8Bit());
    ASSERT_TRUE(socket.IsBound());
    m_env.insert(QStringLiteral("NOTIFY_SOCKET"), QString::fromLocal8Bit(socket.Name()));
    m_env.insert(QStringLiteral("WATCHDOG_USEC"), QStringLiteral("2000000"));
    // The watchdog was asked of another process (the service's main process is someone else).
    m_env.insert(QStringLiteral("WATCHDOG_PID"), QStringLiteral("1"));
    StartKelvaris();
    ASSERT_TRUE(socket.WaitFor("READY=1", 15000));
    // Several cycles run meanwhile.
    EXPECT_FALSE(socket.WaitFor("WATCHDOG=1", 3000));
    m_kelvaris.terminate();
    EXPECT_TRUE(socket.WaitFor("STOPPING=1", 10000));
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_EQ(socket.Count("WATCHDOG=1"), 0);
}

TEST_F(ServiceProgramTest, SocketNotServedExitsWithoutReady)
{
    CNotifySocket socket(m_dir.filePath(QStringLiteral("notify")).toLocal8Bit());
    ASSERT_TRUE(socket.IsBound());
    m_env.insert(QStringLiteral("NOTIFY_SOCKET"), QString::fromLocal8Bit(socket.Name()));
    m_env.insert(QStringLiteral("KELVARIS_PIPE_NAME"), m_dir.filePath(QStringLiteral("missing/socket")));
    StartKelvaris();
    ASSERT_TRUE(m_kelvaris.waitForFinished(20000));
    EXPECT_EQ(m_kelvaris.exitCode(), 1);
    EXPECT_FALSE(socket.WaitFor("READY=1", 500));
}

namespace {

// Standard error into a file; the lines the program wrote there.
QList<QByteArray> RunWithStandardError(QProcessEnvironment env, const QString& path,
    const QString& journalFile, const QString& program = QStringLiteral(KELVARIS_PATH),
    const QStringList& arguments = { QStringLiteral("--headless") }, int exitCode = 1)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.close();
    if (!journalFile.isEmpty()) {
        struct stat status
        {
        };
        if (::stat(QFile::encodeName(journalFile).constData(), &status) != 0)
            return {};
        env.insert(
            QStringLiteral("JOURNAL_STREAM"), QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino));
    }
    QProcess kelvaris;
    kelvaris.setProcessEnvironment(env);
    kelvaris.setStandardErrorFile(path);
    kelvaris.start(program, arguments);
    if (!kelvaris.waitForFinished(20000) || kelvaris.exitCode() != exitCode)
        return { "<the program did not exit with the expected code>" };
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    return written.readAll().trimmed().split('\n');
}

bool HasLine(const QList<QByteArray>& lines, const QByteArray& start, const QByteArray& text)
{
    for (const QByteArray& line : lines) {
        if (line.startsWith(start) && line.contains(text))
            return true;
    }
    return false;
}

std::string Joined(const QList<QByteArray>& lines)
{
    return QByteArray(lines.join('\n')).toStdString();
}

} // namespace

// Without an alarm server and with a socket that cannot be served, kelvaris --headless writes
// warnings, trace lines (KELVARIS_TRACE) and its reason to exit.
TEST_F(ServiceProgramTest, JournalReadsPrioritiesOnlyWhenItOwnsStandardError)
{
    m_env.insert(QStringLiteral("KELVARIS_TRACE"), QStringLiteral("pipe"));
    m_env.insert(QStringLiteral("KELVARIS_PIPE_NAME"), m_dir.filePath(QStringLiteral("missing/socket")));
    const QString errors = m_dir.filePath(QStringLiteral("stderr"));

    const QList<QByteArray> journal = RunWithStandardError(m_env, errors, errors);
    ASSERT_GE(journal.size(), 3) << Joined(journal);
    for (const QByteArray& line : journal) {
        EXPECT_TRUE(line.size() > 3 && line[0] == '<' && line[1] >= '0' && line[1] <= '7' && line[2] == '>')
            << line.toStdString();
    }
    EXPECT_TRUE(HasLine(journal, "<4>", "The alarm server is not reachable")) << Joined(journal);
    EXPECT_TRUE(HasLine(journal, "<7>", "kelvaris.pipe cannot serve the socket")) << Joined(journal);
    EXPECT_TRUE(HasLine(journal, "<2>kelvaris: cannot serve the socket", "missing/socket"))
        << Joined(journal);

    // Standard error is a file of its own, or JOURNAL_STREAM names another file: as they stand.
    const QString other = m_dir.filePath(QStringLiteral("other"));
    QFile(other).open(QIODevice::WriteOnly);
    for (const QString& named : { QString(), other }) {
        QProcessEnvironment env = m_env;
        const QList<QByteArray> plain = RunWithStandardError(env, errors, named);
        ASSERT_EQ(plain.size(), journal.size()) << Joined(plain);
        for (const QByteArray& line : plain)
            EXPECT_FALSE(line.startsWith('<')) << line.toStdString();
        EXPECT_TRUE(HasLine(plain, "kelvaris: cannot serve the socket", "missing/socket")) << Joined(plain);
        EXPECT_TRUE(HasLine(plain, "", "The alarm server is not reachable")) << Joined(plain);
    }
}

// The companion programs' own messages carry their priority too.
TEST_F(ServiceProgramTest, CompanionProgramsWritePrioritiesForTheJournal)
{
    const QString errors = m_dir.filePath(QStringLiteral("stderr"));
    const QString missing = m_dir.filePath(QStringLiteral("typo.cfg"));
    const QList<QByteArray> ctl = RunWithStandardError(m_env, errors, errors,
        QStringLiteral(KELVARISCTL_PATH), { QStringLiteral("eval"), QStringLiteral("--config"), missing }, 2);
    EXPECT_TRUE(HasLine(ctl, "<2>kelvarisctl: ", "typo.cfg")) << Joined(ctl);
    const QList<QByteArray> plainCtl = RunWithStandardError(m_env, errors, QString(),
        QStringLiteral(KELVARISCTL_PATH), { QStringLiteral("eval"), QStringLiteral("--config"), missing }, 2);
    EXPECT_TRUE(HasLine(plainCtl, "kelvarisctl: ", "typo.cfg")) << Joined(plainCtl);

    const QList<QByteArray> sim = RunWithStandardError(
        m_env, errors, errors, QStringLiteral(ALARMSIM_PATH), { QStringLiteral("--targets"), missing }, 2);
    EXPECT_TRUE(HasLine(sim, "<2>kelvaris-alarmsim: ", "typo.cfg")) << Joined(sim);
}

namespace {

// The order in which the alarm server and the service manager heard things.
class CEventLog
{
public:
    void Add(const QString& event)
    {
        const std::lock_guard lock(m_mutex);
        m_events << event;
    }
    QStringList Events() const
    {
        const std::lock_guard lock(m_mutex);
        return m_events;
    }

private:
    mutable std::mutex m_mutex;
    QStringList m_events;
};

// An alarm server that answers everything, and that can be made to hang in the next state push,
// as a server that takes a call and never answers would.
class CHangingServer : public CServerCommandFactory
{
public:
    explicit CHangingServer(CEventLog& log)
        : m_log(log)
    { }

    std::unique_ptr<CServerCommand> Create() override { return std::make_unique<CCommand>(*this); }

    void HangAtNextPush()
    {
        const std::lock_guard lock(m_mutex);
        m_hang = true;
    }
    // Waits (at most `ms`) until a push hangs.
    bool WaitUntilHanging(int ms)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_hanging; });
    }
    void Release()
    {
        const std::lock_guard lock(m_mutex);
        m_hang = false;
        m_changed.notify_all();
    }

private:
    class CCommand : public CServerCommand
    {
    public:
        explicit CCommand(CHangingServer& server)
            : m_server(server)
        { }
        bool ExecuteCommand(const QString& command, QString& result) override
        {
            m_server.m_log.Add(command);
            result.clear();
            if (command.startsWith(QLatin1String("[setshift("))) {
                std::unique_lock lock(m_server.m_mutex);
                if (m_server.m_hang) {
                    m_server.m_hanging = true;
                    m_server.m_changed.notify_all();
                    m_server.m_changed.wait(lock, [this] { return !m_server.m_hang; });
                    m_server.m_hanging = false;
                }
            }
            return true;
        }

    private:
        CHangingServer& m_server;
    };

    CEventLog& m_log;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_hang = false;
    bool m_hanging = false;
};

class CRecordingNotifier : public CServiceNotifier
{
public:
    explicit CRecordingNotifier(CEventLog& log)
        : m_log(log)
    { }
    void Ready(const QString&) override { m_log.Add(QStringLiteral("READY")); }
    void CycleDone() override { ++m_cycles; }
    void Stopping(const QString&) override { m_log.Add(QStringLiteral("STOPPING")); }
    int Cycles() const { return m_cycles; }

private:
    CEventLog& m_log;
    std::atomic<int> m_cycles { 0 };
};

// The engine's clock, moved on by the test to start a new minute.
std::atomic<qint64> g_clockOffset { 0 };
CDateTime TestClock()
{
    return SystemCurrentTime() + CDateTimeSpan(0, 0, 0, g_clockOffset.load());
}

// Runs the event loop (the host's cycle) until `done` or `ms` passed.
template <typename Done>
bool RunEventsUntil(Done done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

} // namespace

// A configuration written just before the idle check is not taken while it may still be being
// written, and is taken about 2 s later by the second look, not at the next idle check 30 s on.
TEST(ServiceHostTest, AFileWrittenJustBeforeTheIdleCheckIsTakenAboutTwoSecondsLater)
{
    ASSERT_TRUE(CServiceTestEnvironment::s_suite->Bus().IsRunning());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qint64 pid = QCoreApplication::applicationPid();
    qputenv("KELVARIS_PIPE_NAME", "kelvaris-service-settle-test-" + QByteArray::number(pid));
    qputenv("KELVARIS_BUS_NAME", "com.ondrevi.KelvarisTest.settle" + QByteArray::number(pid));
    qputenv("KELVARIS_DATA", QFile::encodeName(dir.path()));
    const QString configPath = dir.filePath(QStringLiteral("kelvaris.cfg"));
    QFile config(configPath);
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(Schedule());
    config.close();
    CConfigLocationScope location(configPath);
    CEventLog log;
    CHangingServer server(log);
    CHeadlessHost host(server, nullptr);
    ASSERT_TRUE(host.Start()) << host.StartProblem().toStdString();
    const qsizetype before = host.Document().m_barriers.size();

    ASSERT_TRUE(config.open(QIODevice::Append));
    config.write("[Barrage1]\r\nBarrageName=Typed\r\nDateType=3\r\nBarrageDate=2024-03-04\r\n"
                 "BarrageStartTime=1899-12-30 09:00:00\r\nBarrageEndTime=1899-12-30 11:00:00\r\n"
                 "BarrageType=1\r\nBarragePriority=4\r\n");
    config.close();
    QElapsedTimer written;
    written.start();
    host.Idle();
    EXPECT_EQ(host.Document().m_barriers.size(), before) << "taken while it may still be written";
    ASSERT_TRUE(RunEventsUntil([&] { return host.Document().m_barriers.size() > before; }, 6000))
        << "not taken by a second look";
    EXPECT_GT(written.elapsed(), 1500) << written.elapsed();
    EXPECT_LT(written.elapsed(), 3000) << written.elapsed();
    host.Stop();
}

// The headless host in this process with an alarm server that hangs in a state push: while the
// engine cycle is stuck the watchdog is not fed, and it is fed again once the cycle runs.
TEST(ServiceHostTest, WatchdogStarvesWhileTheCycleHangs)
{
    ASSERT_TRUE(CServiceTestEnvironment::s_suite->Bus().IsRunning());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const qint64 pid = QCoreApplication::applicationPid();
    qputenv("KELVARIS_PIPE_NAME", "kelvaris-service-host-test-" + QByteArray::number(pid));
    qputenv("KELVARIS_BUS_NAME", "com.ondrevi.KelvarisTest.host" + QByteArray::number(pid));
    qputenv("KELVARIS_DATA", QFile::encodeName(dir.path()));
    const QString configPath = dir.filePath(QStringLiteral("kelvaris.cfg"));
    {
        QFile config(configPath);
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(Schedule());
    }
    CConfigLocationScope location(configPath);
    g_clockOffset = 0;
    struct CClockScope
    {
        CClockScope() { SetCurrentTimeSource(&TestClock); }
        ~CClockScope() { SetCurrentTimeSource(nullptr); }
    } clock;

    CEventLog log;
    CHangingServer server(log);
    CRecordingNotifier notifier(log);
    {
        CHeadlessHost host(server, &notifier);
        ASSERT_TRUE(host.Start()) << host.StartProblem().toStdString();
        ASSERT_TRUE(log.Events().contains(QStringLiteral("READY")));
        ASSERT_TRUE(RunEventsUntil([&] { return notifier.Cycles() >= 3; }, 10000));

        // A new minute: the next cycle pushes the state and hangs there. Another thread watches
        // the feeds while this one is stuck in the cycle, then lets the server answer.
        server.HangAtNextPush();
        g_clockOffset = 60;
        int fedAtHang = -1;
        int fedWhileHanging = -1;
        std::thread watcher([&] {
            if (!server.WaitUntilHanging(10000)) {
                server.Release();
                return;
            }
            fedAtHang = notifier.Cycles();
            std::this_thread::sleep_for(std::chrono::seconds(3));
            fedWhileHanging = notifier.Cycles();
            server.Release();
        });
        const int fedBefore = notifier.Cycles();
        const bool resumed = RunEventsUntil(
            [&] { return fedWhileHanging >= 0 && notifier.Cycles() > fedBefore + 2; }, 20000);
        watcher.join();
        ASSERT_GE(fedAtHang, 0) << "the state push did not hang";
        EXPECT_EQ(fedWhileHanging, fedAtHang);
        EXPECT_TRUE(resumed) << "the watchdog was not fed again after the cycle ran on";

        // Stopping is said before the engine deactivates (which tells the alarm server shift 0).
        host.Stop();
    }
    const QStringList events = log.Events();
    const qsizetype stopping = events.indexOf(QStringLiteral("STOPPING"));
    ASSERT_GE(stopping, 0);
    EXPECT_LT(stopping, events.lastIndexOf(QStringLiteral("[setshift(0)]")));
    // Ready came before the first cycle's state push.
    const qsizetype push = events.indexOf(QRegularExpression(QStringLiteral("\\[setshift\\(.*")));
    ASSERT_GE(push, 0) << events.join(u' ').toStdString();
    EXPECT_LT(events.indexOf(QStringLiteral("READY")), push) << events.join(u' ').toStdString();
}

// The watchdog means "answering": with the alarm server frozen (SIGSTOP) the engine's calls run into
// their time-outs, yet the gaps between WATCHDOG=1 stay under a third of WatchdogSec and the socket
// answers throughout. KELVARIS_FROZEN_SECONDS sets how long (the full check: 300; CI: 65, enough
// for a minute push).
TEST_F(ServiceProgramTest, WatchdogKeepsBeingFedWhileTheAlarmServerIsFrozen)
{
    const int frozenSeconds = qEnvironmentVariableIsSet("KELVARIS_FROZEN_SECONDS")
        ? qEnvironmentVariableIntValue("KELVARIS_FROZEN_SECONDS")
        : 65;
    if (frozenSeconds <= 0)
        GTEST_SKIP() << "KELVARIS_FROZEN_SECONDS=0: the check runs in another build";
    QFile targets(m_dir.filePath(QStringLiteral("targets.cfg")));
    ASSERT_TRUE(targets.open(QIODevice::WriteOnly));
    targets.write("[Target1]\r\nName=Anna\r\nNumber=0\r\nID=17\r\nColour=255\r\n");
    targets.close();
    QProcess sim;
    sim.setProcessEnvironment(m_env);
    sim.start(QStringLiteral(ALARMSIM_PATH), { QStringLiteral("--targets"), targets.fileName() });
    ASSERT_TRUE(sim.waitForStarted(5000));
    const auto endSim = qScopeGuard([&sim] {
        ::kill(pid_t(sim.processId()), SIGCONT);
        EndProcesses({ &sim });
    });
    ASSERT_TRUE(WaitForBusName(m_env.value(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME")), 10000, &sim));

    CNotifySocket socket("@kelvaris-frozen-" + QByteArray::number(QCoreApplication::applicationPid()));
    ASSERT_TRUE(socket.IsBound());
    m_env.insert(QStringLiteral("NOTIFY_SOCKET"), QString::fromLocal8Bit(socket.Name()));
    m_env.insert(QStringLiteral("WATCHDOG_USEC"), QStringLiteral("30000000"));
    StartKelvaris();
    ASSERT_TRUE(socket.WaitFor("READY=1", 15000));
    ASSERT_TRUE(socket.WaitFor("WATCHDOG=1", 10000));

    ASSERT_EQ(::kill(pid_t(sim.processId()), SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    qint64 lastFeed = 0;
    qint64 longestGap = 0;
    int answered = 0;
    int asked = 0;
    while (clock.elapsed() < frozenSeconds * 1000LL) {
        if (socket.WaitFor("WATCHDOG=1", 1000)) {
            longestGap = std::max(longestGap, clock.elapsed() - lastFeed);
            lastFeed = clock.elapsed();
        }
        // The alarm server's checks are answered at once meanwhile.
        if (clock.elapsed() / 5000 > asked) {
            ++asked;
            const CSeqPacketResult check
                = SeqPacketExchange(m_env.value(QStringLiteral("KELVARIS_PIPE_NAME")).toUtf8(),
                    "<TimeCmd Name=\"Check\"/>", 1000);
            answered += check.Ok() ? 1 : 0;
        }
    }
    longestGap = std::max(longestGap, clock.elapsed() - lastFeed);
    std::printf(
        "frozen alarm server for %d s: longest gap between WATCHDOG=1 %lld ms; %d of %d checks answered\n",
        frozenSeconds, static_cast<long long>(longestGap), answered, asked);
    EXPECT_LT(longestGap, 10000);
    EXPECT_EQ(answered, asked);
    EXPECT_EQ(m_kelvaris.state(), QProcess::Running);
}

// A configuration that exists but cannot be read is a warning at start, and the status says so.
TEST_F(ServiceProgramTest, AnUnreadableConfigurationAtStartIsInTheStatus)
{
    QFile config(m_dir.filePath(QStringLiteral("kelvaris.cfg")));
    ASSERT_TRUE(config.open(QIODevice::WriteOnly));
    config.write(QByteArray("\x7f"
                            "ELF\x02\x01\x01\0\0\0",
        10));
    config.close();
    CNotifySocket socket("@kelvaris-status-" + QByteArray::number(QCoreApplication::applicationPid()));
    ASSERT_TRUE(socket.IsBound());
    m_env.insert(QStringLiteral("NOTIFY_SOCKET"), QString::fromLocal8Bit(socket.Name()));
    StartKelvaris();
    ASSERT_TRUE(socket.WaitFor("READY=1", 15000));
    const QByteArray ready = socket.Received().last();
    EXPECT_TRUE(
        ready.contains("files cannot be read: " + QFile::encodeName(config.fileName()) + ": not text"))
        << ready.constData();
    // No alarm server runs here: the status says so, and since when.
    const QByteArray unreachable = "; the alarm server is not reachable since ";
    EXPECT_TRUE(socket.Received().join('\n').contains(unreachable) || socket.WaitForPart(unreachable, 10000))
        << socket.Received().join('\n').constData();
    m_kelvaris.terminate();
    ASSERT_TRUE(m_kelvaris.waitForFinished(10000));
    EXPECT_TRUE(m_kelvaris.readAllStandardError().contains("cannot be taken: not text"));
}
