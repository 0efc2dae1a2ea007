#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QSocketNotifier>
#include <QStringList>

#include "support/SeqPacket.h"

#include "AlarmSim.h"
#include "SimService.h"

namespace {

enum Exit : int { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

const char kUsage[]
    = "Usage: kelvaris-alarmsim --targets FILE [--log FILE] [--takeover confirm|timeout|ignore]\n"
      "                         [--answer-after SECONDS]\n"
      "\n"
      "A stand-in alarm server: owns the alarm server's D-Bus name on the session bus and answers\n"
      "ExecuteCommand from the targets file (sections [Target1], [Target2] ... with Name, Number,\n"
      "ID, Colour, Members).\n"
      "\n"
      "  --targets FILE         the receivers and groups\n"
      "  --log FILE             append one line per command: local time, a tab, the command\n"
      "  --takeover MODE        how takeover requests are answered on Kelvaris's socket:\n"
      "                         confirm (default), timeout or ignore\n"
      "  --answer-after SECONDS delay of the takeover answer (default 2; decimals allowed)\n"
      "  --help, --version\n"
      "\n"
      "Environment: KELVARIS_ALARMSERVER_BUS_NAME (default com.ondrevi.AlarmServer),\n"
      "KELVARIS_PIPE_NAME (default OndreviKelvaris, abstract; \"/...\" a socket file).\n"
      "Exit codes: 0 ended by SIGTERM/SIGINT, 1 no session bus or the name is taken, 2 bad usage.\n";

const char kDefaultBusName[] = "com.ondrevi.AlarmServer";
const char kObjectPath[] = "/com/ondrevi/AlarmServer/ServerCommand";
constexpr double kMaxAnswerAfterSeconds = 24 * 60 * 60;

void Warn(const QString& message)
{
    std::fprintf(stderr, "kelvaris-alarmsim: %s\n", message.toLocal8Bit().constData());
}

int Fail(int code, const QString& message)
{
    Warn(message);
    return code;
}

struct COptions
{
    QString targets;
    QString log;
    TakeoverMode mode = TakeoverMode::Confirm;
    int answerAfterMs = 2000;
};

// Reads "--name value" and "--name=value"; returns an error text, empty on success.
QString ParseOptions(const QStringList& args, COptions& options)
{
    bool haveTargets = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--")))
            return QStringLiteral("unexpected argument \"%1\"").arg(arg);
        QString name = arg.mid(2);
        QString value;
        if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
            value = name.mid(eq + 1);
            name.truncate(eq);
        } else {
            if (name != QLatin1String("targets") && name != QLatin1String("log")
                && name != QLatin1String("takeover") && name != QLatin1String("answer-after"))
                return QStringLiteral("unknown option --%1").arg(name);
            if (i + 1 >= args.size())
                return QStringLiteral("option --%1 needs a value").arg(name);
            value = args[++i];
        }
        if (name == QLatin1String("targets")) {
            options.targets = value;
            haveTargets = true;
        } else if (name == QLatin1String("log")) {
            options.log = value;
        } else if (name == QLatin1String("takeover")) {
            if (value == QLatin1String("confirm"))
                options.mode = TakeoverMode::Confirm;
            else if (value == QLatin1String("timeout"))
                options.mode = TakeoverMode::Timeout;
            else if (value == QLatin1String("ignore"))
                options.mode = TakeoverMode::Ignore;
            else
                return QStringLiteral("--takeover takes confirm, timeout or ignore, not \"%1\"").arg(value);
        } else if (name == QLatin1String("answer-after")) {
            bool ok = false;
            const double seconds = value.toDouble(&ok);
            if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > kMaxAnswerAfterSeconds)
                return QStringLiteral("--answer-after takes seconds from 0 to %1, not \"%2\"")
                    .arg(kMaxAnswerAfterSeconds)
                    .arg(value);
            options.answerAfterMs = static_cast<int>(std::lround(seconds * 1000));
        } else {
            return QStringLiteral("unknown option --%1").arg(name);
        }
    }
    if (!haveTargets || options.targets.isEmpty())
        return QStringLiteral("--targets FILE is required (see --help)");
    return {};
}

// SIGTERM and SIGINT end the event loop through a pipe that the handler writes to.
int g_signalPipe[2] = { -1, -1 };

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

bool InstallSignalHandlers()
{
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action
    {
    };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvaris-alarmsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));

    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::fputs(kUsage, stdout);
        return EXIT_OK;
    }
    if (args.contains(QLatin1String("--version"))) {
        std::printf("kelvaris-alarmsim %s\n", KELVARIS_VERSION);
        return EXIT_OK;
    }
    COptions options;
    if (const QString error = ParseOptions(args, options); !error.isEmpty())
        return Fail(EXIT_USAGE, error);

    CAlarmSimReplies replies;
    QStringList warnings;
    if (!replies.LoadTargets(options.targets, warnings))
        return Fail(EXIT_USAGE, QStringLiteral("cannot read the targets file \"%1\"").arg(options.targets));
    for (const QString& warning : std::as_const(warnings))
        Warn(options.targets + QStringLiteral(": ") + warning);
    if (replies.Targets().isEmpty())
        Warn(QStringLiteral("no targets in \"%1\"").arg(options.targets));

    QFile log(options.log);
    if (!options.log.isEmpty() && !log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return Fail(
            EXIT_USAGE, QStringLiteral("cannot open the log \"%1\": %2").arg(options.log, log.errorString()));

    const QByteArray pipeName = PipeNameFromEnvironment();
    if (CSeqPacketAddress address; !address.Set(pipeName))
        Warn(QStringLiteral("KELVARIS_PIPE_NAME is not a usable socket name; takeover answers will fail"));

    if (!InstallSignalHandlers())
        return Fail(EXIT_FAILED, QStringLiteral("cannot install the signal handlers"));
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) { }
        QCoreApplication::quit();
    });

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Fail(EXIT_FAILED, QStringLiteral("no D-Bus session bus: %1").arg(bus.lastError().message()));

    CSimService service(
        replies, options.log.isEmpty() ? nullptr : &log, options.mode, options.answerAfterMs, pipeName);
    // The object first, so that it answers as soon as the name appears.
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), &service, QDBusConnection::ExportAllSlots))
        return Fail(
            EXIT_FAILED, QStringLiteral("cannot register the object %1").arg(QLatin1String(kObjectPath)));
    QString busName = qEnvironmentVariable("KELVARIS_ALARMSERVER_BUS_NAME");
    if (busName.isEmpty())
        busName = QString::fromLatin1(kDefaultBusName);
    if (!bus.registerService(busName)) {
        const QString reason = bus.interface()->isServiceRegistered(busName).value()
            ? QStringLiteral("another program owns it")
            : bus.lastError().message();
        return Fail(EXIT_FAILED, QStringLiteral("cannot own the bus name %1: %2").arg(busName, reason));
    }

    const int code = app.exec();
    bus.unregisterService(busName);
    return code;
}
