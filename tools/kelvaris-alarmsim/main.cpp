#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QSocketNotifier>
#include <QStringList>

#include "support/SeqPacket.h"
#include "support/Trace.h"

#include "AlarmSim.h"
#include "SimService.h"

namespace {

enum Exit : int { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

const char kDescription[]
    = "A stand-in alarm server: owns the alarm server's D-Bus name on the session bus and answers\n"
      "ExecuteCommand from the targets file (sections [Target1], [Target2] ... with Name, Number,\n"
      "ID, Colour, Members).";

const char kNotes[]
    = "Environment: KELVARIS_ALARMSERVER_BUS_NAME (default com.ondrevi.AlarmServer),\n"
      "KELVARIS_PIPE_NAME (default OndreviKelvaris, abstract; \"/...\" a socket file).\n"
      "Exit codes: 0 ended by SIGTERM/SIGINT, 1 no session bus or the name is taken, 2 bad usage\n"
      "(unknown option, missing value, an unreadable targets file or log).\n";

const char kDefaultBusName[] = "com.ondrevi.AlarmServer";
const char kObjectPath[] = "/com/ondrevi/AlarmServer/ServerCommand";
constexpr double kMaxAnswerAfterSeconds = 24 * 60 * 60;

void Warn(const QString& message)
{
    // With its priority when the journal reads standard error.
    WriteStandardError(QtWarningMsg, QStringLiteral("kelvaris-alarmsim: ") + message);
}

int Fail(int code, const QString& message)
{
    WriteStandardError(QtCriticalMsg, QStringLiteral("kelvaris-alarmsim: ") + message);
    return code;
}

struct COptions
{
    QString targets;
    QString log;
    TakeoverMode mode = TakeoverMode::Confirm;
    int answerAfterMs = 2000;
    long long serverUid = -1; // whose socket takeover answers go to; -1: anybody's
};

// The command line; returns -1 when the simulator is to run, else the exit code (after the help
// or the version was printed, or a usage error reported).
int ParseOptions(const QStringList& args, COptions& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addOption(QCommandLineOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and exit.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("version"), QStringLiteral("Show the program's version and exit.")));
    parser.addOption(QCommandLineOption(QStringLiteral("targets"),
        QStringLiteral("The receivers and groups (required)."), QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(QStringLiteral("log"),
        QStringLiteral("Append one line per command received: local time, a tab, the command."),
        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(QStringLiteral("takeover"),
        QStringLiteral("How takeover requests are answered on Kelvaris's socket: confirm (default), "
                       "timeout or ignore."),
        QStringLiteral("MODE")));
    parser.addOption(QCommandLineOption(QStringLiteral("answer-after"),
        QStringLiteral("Delay of the takeover answer (default 2; decimals allowed)."),
        QStringLiteral("SECONDS")));
    parser.addOption(QCommandLineOption(QStringLiteral("server-user"),
        QStringLiteral("Deliver takeover answers only to a socket this user serves (a name or a uid; "
                       "default KELVARIS_SERVER_USER)."),
        QStringLiteral("NAME")));

    if (!parser.parse(QStringList { QStringLiteral("kelvaris-alarmsim") } + args)) {
        QString error = parser.errorText();
        if (error.endsWith(u'.'))
            error.chop(1);
        return Fail(EXIT_USAGE, error + QStringLiteral(" (see kelvaris-alarmsim --help)"));
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QString help = parser.helpText();
        // Qt's usage line does not show which options are required.
        help
            = QStringLiteral(
                  "Usage: kelvaris-alarmsim --targets FILE [--log FILE] [--takeover confirm|timeout|ignore]\n"
                  "                         [--answer-after SECONDS] [--server-user NAME]\n\n")
            + help.mid(help.indexOf(u'\n') + 1) + u'\n' + QString::fromLatin1(kNotes);
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return EXIT_OK;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("kelvaris-alarmsim %s\n", KELVARIS_VERSION);
        return EXIT_OK;
    }
    if (!parser.positionalArguments().isEmpty())
        return Fail(EXIT_USAGE,
            QStringLiteral("unexpected argument \"%1\" (see kelvaris-alarmsim --help)")
                .arg(parser.positionalArguments().first()));

    options.targets = parser.value(QStringLiteral("targets"));
    options.log = parser.value(QStringLiteral("log"));
    if (parser.isSet(QStringLiteral("takeover"))) {
        const QString value = parser.value(QStringLiteral("takeover"));
        if (value == QLatin1String("confirm"))
            options.mode = TakeoverMode::Confirm;
        else if (value == QLatin1String("timeout"))
            options.mode = TakeoverMode::Timeout;
        else if (value == QLatin1String("ignore"))
            options.mode = TakeoverMode::Ignore;
        else
            return Fail(EXIT_USAGE,
                QStringLiteral("--takeover takes confirm, timeout or ignore, not \"%1\"").arg(value));
    }
    if (parser.isSet(QStringLiteral("answer-after"))) {
        const QString value = parser.value(QStringLiteral("answer-after"));
        bool ok = false;
        const double seconds = value.toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > kMaxAnswerAfterSeconds)
            return Fail(EXIT_USAGE,
                QStringLiteral("--answer-after takes seconds from 0 to %1, not \"%2\"")
                    .arg(kMaxAnswerAfterSeconds)
                    .arg(value));
        options.answerAfterMs = static_cast<int>(std::lround(seconds * 1000));
    }
    const QString user = parser.isSet(QStringLiteral("server-user"))
        ? parser.value(QStringLiteral("server-user"))
        : qEnvironmentVariable(kServerUserVariable);
    if (!user.isEmpty() && (options.serverUid = UidOfUser(user)) < 0)
        return Fail(EXIT_USAGE, QStringLiteral("no such user \"%1\" for --server-user").arg(user));
    if (options.targets.isEmpty())
        return Fail(EXIT_USAGE, QStringLiteral("--targets FILE is required (see kelvaris-alarmsim --help)"));
    return -1;
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
    InitTrace();
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));

    COptions options;
    if (const int code = ParseOptions(QCoreApplication::arguments().mid(1), options); code >= 0)
        return code;

    CAlarmSimReplies replies;
    QStringList warnings;
    if (QString reason; !replies.LoadTargets(options.targets, warnings, &reason))
        return Fail(EXIT_USAGE,
            QStringLiteral("cannot read the targets file \"%1\": %2").arg(options.targets, reason));
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
        Warn(QStringLiteral(
            "KELVARIS_PIPE_NAME \"%1\" is not a usable socket name; takeover answers will fail")
                 .arg(QString::fromUtf8(pipeName)));

    if (!InstallSignalHandlers())
        return Fail(EXIT_FAILED,
            QStringLiteral("cannot install the signal handlers: %1").arg(qt_error_string(errno)));
    QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char buffer[16];
        while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) { }
        QCoreApplication::quit();
    });

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Fail(EXIT_FAILED, QStringLiteral("no D-Bus session bus: %1").arg(bus.lastError().message()));

    CSimService service(replies, options.log.isEmpty() ? nullptr : &log, options.mode, options.answerAfterMs,
        pipeName, nullptr, options.serverUid);
    // The object first, so that it answers as soon as the name appears.
    if (!bus.registerObject(QString::fromLatin1(kObjectPath), &service, QDBusConnection::ExportAllSlots))
        return Fail(EXIT_FAILED,
            QStringLiteral("cannot register the object %1: %2")
                .arg(QLatin1String(kObjectPath), bus.lastError().message()));
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
