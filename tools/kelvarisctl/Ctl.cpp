#include "Ctl.h"

#include <cerrno>
#include <cstdlib>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/DutyTimeline.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"
#include "support/Trace.h"

QTextStream& CtlOut()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream& CtlErr()
{
    static QTextStream err(stderr);
    return err;
}

int CtlFail(int code, const QString& message)
{
    CtlOut().flush();
    // With its priority when the journal reads standard error.
    WriteStandardError(QtCriticalMsg, QStringLiteral("kelvarisctl: ") + message);
    return code;
}

namespace {
// Why the file cannot be read ("No such file or directory", "Is a directory", ...); empty when it
// is a regular file that opens for reading.
QString UnreadableReason(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return qt_error_string(EISDIR);
    // A pipe or device would block or never end; only plain files are configuration files.
    if (info.exists() && !info.isFile())
        return QStringLiteral("not a regular file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return QString();
}
} // namespace

QString CtlConfigPath(const CCtlCommand& command, QString& error)
{
    return CtlConfigPath(
        command.IsSet(QStringLiteral("config")), command.Value(QStringLiteral("config")), error);
}

QString CtlConfigPath(bool isGiven, const QString& given, QString& error)
{
    error.clear();
    if (!isGiven) {
        CLocationInput input = LocationInputFromEnvironment();
        input.programPath = JoinPath(FolderOf(input.programPath), QStringLiteral("kelvaris"));
        return DetermineConfigPaths(input).configPath;
    }
    if (given.isEmpty()) {
        error = QStringLiteral("--config needs a file name");
        return QString();
    }
    // A mistyped name must not read as an empty configuration.
    if (const QString reason = UnreadableReason(given); !reason.isEmpty()) {
        error = QStringLiteral("cannot read the configuration file \"%1\": %2").arg(given, reason);
        return QString();
    }
    return given;
}

void CtlAddConfigOption(CCtlCommand& command)
{
    command.AddOption(QStringLiteral("config"),
        QStringLiteral("The configuration file (default: the one kelvaris uses); it must exist and be "
                       "readable."),
        QStringLiteral("FILE"));
}

const QList<QPair<QString, QString>>& CtlTimeExamples()
{
    static const QList<QPair<QString, QString>> examples {
        { QStringLiteral("2024-03-04 21:30:00"), QStringLiteral("year-month-day hour:minute:second") },
        { QStringLiteral("2024-03-04"), QStringLiteral("that day at midnight") },
        { QStringLiteral("2024-03-04T21:30"), QStringLiteral("ISO 8601") },
        { QStringLiteral("20240304213000"), QStringLiteral("digits only, YYYYMMDDhhmmss") },
        { QStringLiteral("4.3.2024 21:30"), QStringLiteral("day.month.year hour:minute[:second]") },
        { QStringLiteral("4.3.24 21:30:15"), QStringLiteral("two-digit year: 00-69 is 20xx, 70-99 19xx") },
        { QStringLiteral("4.3. 21:30"), QStringLiteral("day.month. of this year, with a time") },
        { QStringLiteral("4.3.2024"), QStringLiteral("day.month.year at midnight") },
        { QStringLiteral("21:30"), QStringLiteral("today at hour:minute[:second]") },
        { QStringLiteral("+1:30"), QStringLiteral("now plus hours:minutes[:seconds]") },
        { QStringLiteral("-0:15:30"), QStringLiteral("now minus hours:minutes:seconds") },
        { QStringLiteral("DT#NOW"), QStringLiteral("now") },
    };
    return examples;
}

QString CtlTimeExamplesHelp()
{
    QString text;
    for (const auto& [example, meaning] : CtlTimeExamples())
        text += QStringLiteral("  %1  %2\n").arg(example, -20).arg(meaning);
    text += QStringLiteral("  (and the dates of the current locale, such as its short date form)\n");
    return text;
}

void CtlAddAtOption(CCtlCommand& command, const QString& description)
{
    command.AddOption(QStringLiteral("at"), description, QStringLiteral("TEXT"));
    command.AddNotes(QStringLiteral("Forms --at takes, for example:\n")
        + QStringLiteral("  %1  %2\n")
              .arg(QStringLiteral("2024-03-04T20:30:00Z"), -20)
              .arg(QStringLiteral("ISO 8601 in UTC, or with an offset such as +01:00"))
        + CtlTimeExamplesHelp()
        + QStringLiteral(
            "Times are the site's wall clock (Settings/TimeZone, else the system's zone); a time\n"
            "the clocks skip is refused, one they repeat is its first pass.\n"));
}

QTimeZone SiteTimeZoneOf(const CProfile& profile)
{
    // The clock of this run keeps the site's zone too, so "now" and times like "21:30" are the
    // site's.
    bool unknown = false;
    const QString setting
        = profile.ReadString(QStringLiteral("Settings"), QStringLiteral("TimeZone"), QString());
    const QTimeZone zone = SetSiteClockZoneFrom(setting, &unknown);
    if (unknown)
        CtlErr() << QStringLiteral(
            "kelvarisctl: Settings/TimeZone in %1 names no zone known here (\"%2\"); the "
            "system's zone, %3, is used\n")
                        .arg(profile.Path(), setting, QString::fromUtf8(zone.id()));
    return zone;
}

bool CtlMomentFromText(const QString& text, const QTimeZone& zone, CCtlMoment& moment, QString& error)
{
    return MomentFromText(text, zone, moment, error);
}

int CtlReadMoment(const CCtlCommand& command, const QTimeZone& zone, CCtlMoment& moment)
{
    if (!command.IsSet(QStringLiteral("at"))) {
        moment = MomentAt(zone, CurrentUtcMs());
        return -1;
    }
    QString error;
    if (!CtlMomentFromText(command.Value(QStringLiteral("at")), zone, moment, error))
        return command.Usage(error);
    return -1;
}

CCtlCommand::CCtlCommand(QString name, QString synopsis, QString description)
    : m_name(std::move(name))
    , m_synopsis(std::move(synopsis))
    , m_description(std::move(description))
{
    m_parser.addOption(QCommandLineOption(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help and exit.")));
    m_parser.addOption(QCommandLineOption(
        QStringLiteral("version"), QStringLiteral("Show the program's version and exit.")));
}

void CCtlCommand::AddOption(const QString& name, const QString& description, const QString& valueName)
{
    m_parser.addOption(QCommandLineOption(name, description, valueName));
}

void CCtlCommand::AddArgument(const QString& name, const QString& description)
{
    m_parser.addPositionalArgument(name, description);
}

void CCtlCommand::StopAtFirstArgument()
{
    m_parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
}

int CCtlCommand::Parse(const QStringList& args)
{
    if (!m_parser.parse(QStringList { QStringLiteral("kelvarisctl") } + args))
        return Usage(m_parser.errorText());
    if (m_parser.isSet(QStringLiteral("help"))) {
        CtlOut() << HelpText();
        CtlOut().flush();
        return CTL_OK;
    }
    if (m_parser.isSet(QStringLiteral("version"))) {
        CtlOut() << "kelvarisctl " << KELVARIS_VERSION << Qt::endl;
        return CTL_OK;
    }
    return -1;
}

int CCtlCommand::Usage(const QString& text) const
{
    QString message = text;
    if (message.endsWith(u'.'))
        message.chop(1);
    m_lastUsage = message;
    if (m_name.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("%1 (see kelvarisctl --help)").arg(message));
    return CtlFail(CTL_USAGE, QStringLiteral("%1: %2 (see kelvarisctl %1 --help)").arg(m_name, message));
}

QString CCtlCommand::HelpText() const
{
    // Qt's text begins with its own usage line, which cannot place the verb before [options].
    QString options = m_parser.helpText();
    options = options.mid(options.indexOf(u'\n') + 1);
    while (options.startsWith(u'\n'))
        options.remove(0, 1);
    QString text = QStringLiteral("Usage: kelvarisctl %1 %2").arg(m_name, m_synopsis).simplified()
        + QStringLiteral("\n\n");
    if (!m_description.isEmpty())
        text += m_description + u'\n';
    else
        text += u'\n';
    text += options;
    if (!m_notes.isEmpty())
        text += u'\n' + m_notes;
    return text;
}
