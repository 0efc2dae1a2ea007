#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include "support/SeqPacketTestServer.h"

#include "PrivateBus.h"

// kelvaris-alarmsim as a program: on a private session bus, called over D-Bus, answering takeover
// requests on a test socket.

namespace {

const QString kPath = QStringLiteral("/com/ondrevi/AlarmServer/ServerCommand");
const QString kInterface = QStringLiteral("com.ondrevi.AlarmServer.ServerCommand");

const char kTargets[] = "[Target1]\nName=Anna Berger\nNumber=3\nID=17\nColour=0x00FF00\n"
                        "[Target2]\nName=Bert Kühn\nNumber=4\nID=18\nColour=255\n"
                        "[Target3]\nName=On call\nNumber=-1\nID=40\nMembers=Anna Berger;Bert Kühn\n";

// A name no other test run uses.
QString Unique(const char* what)
{
    static int counter = 0;
    return QStringLiteral("%1%2x%3").arg(QLatin1String(what)).arg(::getpid()).arg(++counter);
}

struct CRun
{
    int exitCode = -1;
    QString err;
};

// One simulator process with a bus name and a socket name of its own.
class CSimulator
{
public:
    CSimulator(const QStringList& args, const QString& busName, const QByteArray& pipeName = {},
        const QString& busAddress = {})
        : m_busName(busName)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!busAddress.isEmpty())
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), busName);
        if (!pipeName.isEmpty())
            env.insert(QStringLiteral("KELVARIS_PIPE_NAME"), QString::fromUtf8(pipeName));
        m_process.setProcessEnvironment(env);
        m_process.start(QStringLiteral(KELVARIS_ALARMSIM_PATH), args);
    }

    ~CSimulator()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Waits (bounded) until the simulator owns its bus name.
    bool WaitForName() { return WaitForBusName(m_busName, 10000, &m_process); }

    QDBusMessage Call(const QString& command)
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall(m_busName, kPath, kInterface, QStringLiteral("ExecuteCommand"));
        call << command;
        return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    }

    // Sends SIGTERM, or waits for an end of its own; the exit code, -1 for a crash or a hang.
    CRun Finish(bool terminate)
    {
        if (terminate)
            m_process.terminate();
        CRun run;
        if (m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit)
            run.exitCode = m_process.exitCode();
        run.err = QString::fromUtf8(m_process.readAllStandardError());
        return run;
    }

private:
    QString m_busName;
    QProcess m_process;
};

class AlarmSimTest : public ::testing::Test
{
public:
    static void SetUpTestSuite() { s_bus = std::make_unique<CPrivateBus>(); }
    static void TearDownTestSuite() { s_bus.reset(); }

protected:
    void SetUp() override
    {
        ASSERT_TRUE(s_bus->IsRunning());
        ASSERT_TRUE(m_dir.isValid());
        m_targets = m_dir.filePath(QStringLiteral("targets.cfg"));
        m_log = m_dir.filePath(QStringLiteral("sim.log"));
        QFile file(m_targets);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kTargets);
    }

    QStringList Lines(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    static std::unique_ptr<CPrivateBus> s_bus;
    QTemporaryDir m_dir;
    QString m_targets;
    QString m_log;
};

std::unique_ptr<CPrivateBus> AlarmSimTest::s_bus;

} // namespace

TEST_F(AlarmSimTest, AnswersQueriesAndLogsEachCommand)
{
    {
        QFile log(m_log);
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("earlier line\n");
    }
    CSimulator sim(
        { QStringLiteral("--targets"), m_targets, QStringLiteral("--log"), m_log }, Unique("sim.a"));
    ASSERT_TRUE(sim.WaitForName());

    QDBusMessage reply = sim.Call(QStringLiteral("[GetValue(Setup.Targets)]"));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).toString(),
        QStringLiteral("Anna Berger\t3\t17\tReceiver\t65280\r\nBert Kühn\t4\t18\tReceiver\t255\r\n"
                       "On call\t-1\t40\tGroup\t0"));

    const QStringList details
        = sim.Call(QStringLiteral("[GetTarget3(Bert Kühn)]")).arguments().value(0).toString().split(u'\t');
    ASSERT_EQ(details.size(), 17);
    EXPECT_EQ(details[1], QStringLiteral("4"));
    EXPECT_EQ(details[14], QStringLiteral("18"));
    EXPECT_EQ(details[16], QStringLiteral("255"));
    reply = sim.Call(QStringLiteral("[GetTarget3(Nobody)]"));
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(reply.arguments().value(0).toString(), QString());

    EXPECT_EQ(sim.Call(QStringLiteral("[GetGroupMembers(On call)]")).arguments().value(0).toString(),
        QStringLiteral("Anna Berger\tBert Kühn"));
    EXPECT_EQ(sim.Call(QStringLiteral("[GetGroupMembers(Nobody)]")).type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(
        sim.Call(QStringLiteral("[check(Kelvaris)]")).arguments().value(0).toString(), QStringLiteral("1"));
    reply = sim.Call(QStringLiteral("[setshift(2)]"));
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(reply.arguments().value(0).toString(), QString());

    // The log was appended to: one line per command, local time, a tab, the command as received.
    const QStringList commands { QStringLiteral("[GetValue(Setup.Targets)]"),
        QStringLiteral("[GetTarget3(Bert Kühn)]"), QStringLiteral("[GetTarget3(Nobody)]"),
        QStringLiteral("[GetGroupMembers(On call)]"), QStringLiteral("[GetGroupMembers(Nobody)]"),
        QStringLiteral("[check(Kelvaris)]"), QStringLiteral("[setshift(2)]") };
    const QStringList lines = Lines(m_log);
    ASSERT_EQ(lines.size(), commands.size() + 1) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("earlier line"));
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\t"));
    for (qsizetype i = 0; i < commands.size(); ++i) {
        const QString& line = lines[i + 1];
        EXPECT_TRUE(stamp.match(line).hasMatch()) << line.toStdString();
        EXPECT_EQ(line.mid(20), commands[i]);
    }

    const CRun run = sim.Finish(true);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
}

TEST_F(AlarmSimTest, TakeoverRequestsAreAnsweredOnKelvarisSocket)
{
    static const char kReply[] = "<TimeCmd Name=\"HandleResponse\" />\r\n"; // and its NUL
    const QByteArray kelvarisReply(kReply, sizeof kReply);
    const QString request = QStringLiteral("[send2(\"Bert Kühn\",\"Please confirm the takeover of duty for "
                                           "On call\",\"\",0,\"Kelvaris\",\"Time:40\",)]");
    struct CCase
    {
        const char* mode;
        QByteArray answer;
    } cases[] = {
        { "confirm",
            "<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40</ClientID><TargetID>18</TargetID>"
            "<Result>1</Result></TimeCmd>" },
        { "timeout",
            "<TimeCmd Name=\"HandleResponse\"><ClientID>Time:40</ClientID><TargetID>18</TargetID>"
            "<Timeout>1</Timeout></TimeCmd>" },
    };
    for (const CCase& c : cases) {
        const QByteArray pipeName = Unique("kelvaris-alarmsim-test-").toUtf8();
        CSeqPacketTestServer kelvaris(pipeName, CSeqPacketTestServer::Fixed, kelvarisReply);
        ASSERT_TRUE(kelvaris.IsListening());
        CSimulator sim(
            { QStringLiteral("--targets"), m_targets, QStringLiteral("--takeover"),
                QString::fromLatin1(c.mode), QStringLiteral("--answer-after"), QStringLiteral("0.2") },
            Unique("sim.t"), pipeName);
        ASSERT_TRUE(sim.WaitForName());

        // A message without a takeover client ID is not answered; the request is, once.
        const QDBusMessage plain = sim.Call(QStringLiteral(
            "[send2(\"Anna Berger\",\"[NODISPATCH:1][NOSIGN:1]Confirmed\",\"\",0,\"Kelvaris\",\"\",)]"));
        EXPECT_EQ(plain.type(), QDBusMessage::ReplyMessage);
        const QDBusMessage reply = sim.Call(request);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
        EXPECT_EQ(reply.arguments().value(0).toString(), QString());

        const QList<QByteArray> messages = kelvaris.WaitForMessages(1, 10000);
        ASSERT_EQ(messages.size(), 1) << c.mode;
        EXPECT_EQ(messages[0], c.answer) << c.mode;

        const CRun run = sim.Finish(true);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_EQ(kelvaris.WaitForMessages(2, 0).size(), 1) << "one answer per request";
    }
}

TEST_F(AlarmSimTest, NameTakenAndBadUsage)
{
    const QString busName = Unique("sim.n");
    CSimulator first({ QStringLiteral("--targets"), m_targets }, busName);
    ASSERT_TRUE(first.WaitForName());
    CSimulator second({ QStringLiteral("--targets"), m_targets }, busName);
    CRun run = second.Finish(false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(busName)) << run.err.toStdString();
    // The first one still answers.
    EXPECT_EQ(
        first.Call(QStringLiteral("[check(Kelvaris)]")).arguments().value(0).toString(), QStringLiteral("1"));

    for (const QStringList& args : {
             QStringList {},
             QStringList { QStringLiteral("--targets") },
             QStringList { QStringLiteral("--targets"), m_targets, QStringLiteral("--takeover"),
                 QStringLiteral("maybe") },
             QStringList { QStringLiteral("--targets"), m_targets, QStringLiteral("--answer-after"),
                 QStringLiteral("-1") },
             QStringList { QStringLiteral("--targets"), m_targets, QStringLiteral("--answer-after=nan") },
             QStringList {
                 QStringLiteral("--targets"), m_targets, QStringLiteral("--bogus"), QStringLiteral("1") },
             QStringList { QStringLiteral("--targets"), m_targets, QStringLiteral("extra") },
             QStringList { QStringLiteral("--targets"), m_dir.filePath(QStringLiteral("missing.cfg")) },
             QStringList { QStringLiteral("--targets"), m_targets, QStringLiteral("--log"), m_dir.path() },
         }) {
        CSimulator bad(args, Unique("sim.b"));
        run = bad.Finish(false);
        EXPECT_EQ(run.exitCode, 2) << args.join(u' ').toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    }
    // No bus to own the name on.
    CSimulator busless({ QStringLiteral("--targets"), m_targets }, Unique("sim.x"), {},
        QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("no-bus")));
    run = busless.Finish(false);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("no D-Bus session bus"))) << run.err.toStdString();

    CSimulator help({ QStringLiteral("--help") }, Unique("sim.h"));
    EXPECT_EQ(help.Finish(false).exitCode, 0);
    EXPECT_EQ(first.Finish(true).exitCode, 0);
}

namespace {
struct CSimOutput
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the simulator for a command line that ends it at once (help, version, bad usage).
CSimOutput RunSimulator(const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("KELVARIS_ALARMSERVER_BUS_NAME"), Unique("sim.c"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(KELVARIS_ALARMSIM_PATH), args);
    CSimOutput run;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
} // namespace

TEST_F(AlarmSimTest, CommandLineHelpVersionAndErrorsThatNameTheirCause)
{
    const CSimOutput help = RunSimulator({ QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: kelvaris-alarmsim --targets FILE")));
    for (const char* option : { "--targets", "--log", "--takeover", "--answer-after", "--version" })
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    const CSimOutput version = RunSimulator({ QStringLiteral("--version") });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("kelvaris-alarmsim "))) << version.out.toStdString();

    // Each usage error names what it is about.
    const QString missing = m_dir.filePath(QStringLiteral("missing.cfg"));
    const struct
    {
        QStringList args;
        QStringList named;
    } cases[] = {
        { { QStringLiteral("--targets"), m_targets, QStringLiteral("--bogus") },
            { QStringLiteral("'bogus'") } },
        { { QStringLiteral("--targets") }, { QStringLiteral("'--targets'") } },
        { { QStringLiteral("--targets"), missing },
            { missing, QStringLiteral("No such file or directory") } },
        { { QStringLiteral("--targets"), m_dir.path() }, { m_dir.path(), QStringLiteral("Is a directory") } },
        { { QStringLiteral("--targets"), m_targets, QStringLiteral("--log"), m_dir.path() },
            { m_dir.path(), QStringLiteral("Is a directory") } },
        { { QStringLiteral("--targets"), m_targets, QStringLiteral("--"), QStringLiteral("--log") },
            { QStringLiteral("\"--log\"") } },
    };
    for (const auto& c : cases) {
        const CSimOutput run = RunSimulator(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        for (const QString& name : c.named)
            EXPECT_TRUE(run.err.contains(name)) << run.err.toStdString();
    }
}
