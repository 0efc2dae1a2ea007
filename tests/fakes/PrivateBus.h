#pragma once

// A private D-Bus session bus for a test: starts its own dbus-daemon, points
// DBUS_SESSION_BUS_ADDRESS at it (before anything in the process connects to the session bus)
// and stops the daemon at the end. Tests that talk D-Bus create one in SetUpTestSuite, so that
// several test programs run side by side without seeing each other.

#include <csignal>
#include <memory>
#include <sys/prctl.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QThread>

class CPrivateBus
{
public:
    // A daemon at an address of its own choosing.
    CPrivateBus() { Start(); }
    // A daemon at a fixed address ("unix:path=/tmp/.../bus"), which a restarted daemon takes
    // again; with `exportSession` false DBUS_SESSION_BUS_ADDRESS is left alone.
    explicit CPrivateBus(const QString& address, bool exportSession = true)
        : m_fixedAddress(address)
        , m_exportSession(exportSession)
    {
        Start();
    }

    ~CPrivateBus() { Stop(); }

    // Ends the daemon as a crash would (SIGKILL); its clients lose their connections.
    void Kill()
    {
        if (m_daemon && m_daemon->state() != QProcess::NotRunning) {
            m_daemon->kill();
            m_daemon->waitForFinished(3000);
        }
    }

    // Kills the daemon and starts a new one at the same fixed address; true once it listens.
    bool Restart()
    {
        Kill();
        // A killed daemon leaves its socket file behind.
        const QString prefix = QStringLiteral("unix:path=");
        if (m_fixedAddress.startsWith(prefix))
            QFile::remove(m_fixedAddress.mid(prefix.size()).section(QLatin1Char(','), 0, 0));
        return Start();
    }

    CPrivateBus(const CPrivateBus&) = delete;
    CPrivateBus& operator=(const CPrivateBus&) = delete;

    bool IsRunning() const { return !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }

private:
    bool Start()
    {
        m_address.clear();
        m_daemon = std::make_unique<QProcess>();
        m_daemon->setProgram(QStringLiteral("dbus-daemon"));
        QStringList arguments { QStringLiteral("--session"), QStringLiteral("--nofork"),
            QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1") };
        if (!m_fixedAddress.isEmpty())
            arguments << QStringLiteral("--address=") + m_fixedAddress;
        m_daemon->setArguments(arguments);
        m_daemon->setProcessChannelMode(QProcess::SeparateChannels);
        // The daemon goes with the test process, also when that is killed.
        m_daemon->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_daemon->start();
        if (!m_daemon->waitForStarted(5000))
            return false;
        // The daemon prints its address on one line once it listens.
        QByteArray line;
        while (!line.contains('\n') && m_daemon->waitForReadyRead(5000))
            line += m_daemon->readAllStandardOutput();
        // A fixed address is kept as given: the printed one carries the daemon's id, which a
        // restarted daemon does not share.
        if (!line.trimmed().isEmpty())
            m_address = m_fixedAddress.isEmpty() ? QString::fromUtf8(line.trimmed()) : m_fixedAddress;
        if (!m_address.isEmpty() && m_exportSession)
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
        return !m_address.isEmpty();
    }

    void Stop()
    {
        if (m_daemon && m_daemon->state() != QProcess::NotRunning) {
            m_daemon->terminate();
            if (!m_daemon->waitForFinished(3000))
                m_daemon->kill();
            m_daemon->waitForFinished(3000);
        }
    }

    std::unique_ptr<QProcess> m_daemon;
    QString m_fixedAddress;
    bool m_exportSession = true;
    QString m_address;
};

// What a test suite that talks D-Bus needs: the application object Qt's D-Bus wants and a private
// bus. Created in SetUpTestSuite and deleted in TearDownTestSuite.
class CBusTestSuite
{
public:
    explicit CBusTestSuite(const char* programName)
        : m_name(programName)
    {
        m_argv[0] = m_name.data();
        m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
        m_bus = std::make_unique<CPrivateBus>();
    }
    ~CBusTestSuite()
    {
        m_bus.reset();
        m_app.reset();
    }
    CBusTestSuite(const CBusTestSuite&) = delete;
    CBusTestSuite& operator=(const CBusTestSuite&) = delete;

    CPrivateBus& Bus() { return *m_bus; }

private:
    QByteArray m_name;
    int m_argc = 1;
    char* m_argv[2] = { nullptr, nullptr };
    std::unique_ptr<QCoreApplication> m_app;
    std::unique_ptr<CPrivateBus> m_bus;
};

// Waits (at most `ms`) until someone owns `name` on the session bus; false when nobody took it in
// time or `process` (when given) ended meanwhile.
inline bool WaitForBusName(const QString& name, int ms = 5000, const QProcess* process = nullptr,
    const QDBusConnection& connection = QDBusConnection::sessionBus())
{
    QDBusConnectionInterface* bus = connection.interface();
    QDeadlineTimer deadline(ms);
    do {
        if (bus && bus->isServiceRegistered(name).value())
            return true;
        if (process && process->state() == QProcess::NotRunning)
            return false;
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}
