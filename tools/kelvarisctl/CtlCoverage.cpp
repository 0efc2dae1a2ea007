// kelvarisctl coverage [--days N] [--from T] [--group ID] [--min-members K] [--critical HOURS]
// [--json] [--config FILE]: the gaps in the groups' cover, as a monitoring check.

#include <QDateTime>
#include <QJsonDocument>
#include <QLoggingCategory>

#include "engine/DutyReports.h"
#include "engine/KelvarisDoc.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"

#include "Ctl.h"
#include "CtlDocument.h"

namespace {

constexpr int kMaxDays = 366;

constexpr int StateUnknown = CCoverageReport::Unknown;

int Unknown(const QString& why)
{
    CtlOut() << QStringLiteral("KELVARIS COVERAGE UNKNOWN - %1\n").arg(why);
    CtlOut().flush();
    return StateUnknown;
}

// A positive whole number option, or -1 when it does not read as one.
int NumberOption(const CCtlCommand& command, const QString& name, int fallback, int most)
{
    if (!command.IsSet(name))
        return fallback;
    bool ok = false;
    const int value = command.Value(name).toInt(&ok);
    return ok && value >= 0 && value <= most ? value : -1;
}

} // namespace

int CtlCoverage(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("coverage"),
        QStringLiteral("[--days N] [--from TEXT] [--group ID] [--min-members K] [--critical HOURS] [--json] "
                       "[--config FILE]"),
        QStringLiteral(
            "Finds the gaps in the groups' cover over the next N calendar days (default 14) of the\n"
            "site's clock. A gap is a time in which a group is on duty by its own plan (always, when\n"
            "it has no plan) and fewer than K of its members are on duty, by the same rule the\n"
            "dispatch decision answers with; touching pieces are one gap. K is the group's\n"
            "CoverageRequired (its dispatch file's Settings; 0 leaves the group out), else\n"
            "--min-members (default 1). A takeover group is covered while a holder is set, and\n"
            "without one while any member is on duty. The groups and their members come from the\n"
            "alarm server.\n"
            "Text: one line in the monitoring-plugin form (KELVARIS COVERAGE OK|WARNING|CRITICAL|\n"
            "UNKNOWN - ...), then one line per gap: group NAME ID START END (ISO 8601 with the\n"
            "site's offset).\n"
            "JSON (--json): {\"status\", \"at\", \"days\", \"to\", \"minMembers\", \"groups\": [{\"id\", "
            "\"name\",\n"
            "\"members\": [names], \"unknownMembers\": [names], \"holder\": ID or null, \"required\": K,\n"
            "\"gaps\": [{\"start\", \"end\"}]}]}.\n"
            "Exit status, as monitoring plugins: 0 no gap, 1 gaps none of which begins within the\n"
            "critical time, 2 a gap now or within --critical hours (default 24), 3 when the data\n"
            "could not be read (no alarm server) or the usage is wrong.\n"));
    command.AddOption(
        QStringLiteral("days"), QStringLiteral("Days to look ahead (default 14)."), QStringLiteral("N"));
    command.AddOption(QStringLiteral("from"),
        QStringLiteral("Where to start (default now), as --at of eval."), QStringLiteral("TEXT"));
    command.AddOption(
        QStringLiteral("group"), QStringLiteral("Only the group with this ID."), QStringLiteral("ID"));
    command.AddOption(QStringLiteral("min-members"),
        QStringLiteral("Members that must be on duty (default 1)."), QStringLiteral("K"));
    command.AddOption(QStringLiteral("critical"),
        QStringLiteral("A gap beginning within this many hours is critical (default 24)."),
        QStringLiteral("HOURS"));
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    CtlAddConfigOption(command);
    // Bad usage is UNKNOWN to a monitoring system, not CRITICAL; its plugin line comes first on
    // standard output as at every other exit, the message on standard error.
    const auto badUsage = [&command] { return Unknown(QStringLiteral("bad usage: ") + command.LastUsage()); };
    if (const int code = command.Parse(args); code >= 0)
        return code == CTL_USAGE ? badUsage() : code;
    if (!command.Arguments().isEmpty()) {
        command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));
        return badUsage();
    }
    const int days = NumberOption(command, QStringLiteral("days"), 14, kMaxDays);
    const int minMembers = NumberOption(command, QStringLiteral("min-members"), 1, 1000);
    const int criticalHours = NumberOption(command, QStringLiteral("critical"), 24, kMaxDays * 24);
    if (days < 1 || minMembers < 1 || criticalHours < 0) {
        command.Usage(QStringLiteral("--days takes 1 to %1, --min-members 1 to 1000, --critical 0 to %2")
                          .arg(kMaxDays)
                          .arg(kMaxDays * 24));
        return badUsage();
    }

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty()) {
        command.Usage(error);
        return badUsage();
    }
    const QTimeZone zone = SiteTimeZoneOf(CProfile(configPath));
    CCtlMoment from;
    if (command.IsSet(QStringLiteral("from"))
        && !CtlMomentFromText(command.Value(QStringLiteral("from")), zone, from, error)) {
        command.Usage(error);
        return badUsage();
    }
    const qint64 fromMs = command.IsSet(QStringLiteral("from")) ? from.utcMs : CurrentUtcMs();

    CCtlDocument loaded(configPath);
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.engine.warning=false"));
    loaded.Load();
    CKelvarisDoc& doc = loaded.Doc();
    if (!doc.TargetListKnown())
        return Unknown(
            QStringLiteral("the groups and their members are not known: %1").arg(loaded.NoTargetsMessage()));
    const CPageTargetArray& targets = doc.PageTargets();
    const QString groupId = command.Value(QStringLiteral("group"));
    if (!groupId.isEmpty() && (!targets.FindById(groupId) || !targets.FindById(groupId)->IsGroup()))
        return Unknown(QStringLiteral("the alarm server has no group with the ID \"%1\"").arg(groupId));

    const CCoverageReport report
        = CoverageReport(targets, zone, fromMs, days, minMembers, criticalHours, groupId);
    if (command.IsSet(QStringLiteral("json")))
        CtlOut() << QString::fromUtf8(QJsonDocument(report.json).toJson(QJsonDocument::Indented));
    else
        CtlOut() << QStringLiteral("KELVARIS COVERAGE %1 - %2\n")
                        .arg(CoverageStateWord(report.state), report.summary)
                 << report.lines;
    CtlOut().flush();
    return report.state;
}
