// kelvarisctl ical (--target NAME | --id ID | --all receivers|groups) [--from DATE] [--to DATE]
// [--output FILE] [--config FILE]: the duty of a target, or of all receivers or groups, as an
// iCalendar document, with the targets and their dispatch files as export reads them.
#include <cstdio>

#include <QSaveFile>

#include "engine/KelvarisDoc.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DutyCalendar.h"

#include "Ctl.h"
#include "CtlDocument.h"

namespace {

// A date option: a text in any form --at of eval takes, its day. False when it does not scan.
bool ReadDate(const QString& text, QDate& date)
{
    CDateTime moment;
    if (!DateTimeFromText(text, moment) || !moment.IsValid())
        return false;
    date = QDate(moment.GetYear(), moment.GetMonth(), moment.GetDay());
    return date.isValid();
}

} // namespace

int CtlIcal(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("ical"),
        QStringLiteral("(--target NAME | --id ID | --all receivers|groups) [--from DATE] [--to DATE] "
                       "[--as-of TEXT] [--output FILE] [--config FILE]"),
        QStringLiteral(
            "Writes the duty of a target, or of all receivers or groups, as an iCalendar (RFC 5545)\n"
            "document: one event per contiguous span of duty (ranges that touch, across midnight too,\n"
            "are one event; none longer than seven days), times in UTC read in the site's zone\n"
            "(Settings/TimeZone, else the system's). The targets come from the alarm server, their\n"
            "plans from the dispatch files, as export reads them; with --as-of, as they stood then,\n"
            "replayed from the edit journal. A target without any range is on duty at all times.\n"));
    command.AddOption(QStringLiteral("target"), QStringLiteral("The receiver or group of that name."),
        QStringLiteral("NAME"));
    command.AddOption(
        QStringLiteral("id"), QStringLiteral("The receiver or group of that ID."), QStringLiteral("ID"));
    command.AddOption(QStringLiteral("all"), QStringLiteral("All receivers, or all groups, in one calendar."),
        QStringLiteral("receivers|groups"));
    command.AddOption(QStringLiteral("from"),
        QStringLiteral("The first day (default four weeks before today)."), QStringLiteral("DATE"));
    command.AddOption(QStringLiteral("to"),
        QStringLiteral("The last day, included (default 13 weeks after today)."), QStringLiteral("DATE"));
    command.AddOption(QStringLiteral("output"),
        QStringLiteral("Write the calendar into FILE, replaced as a whole (default standard output)."),
        QStringLiteral("FILE"));
    CtlAddAsOfOption(command);
    CtlAddConfigOption(command);
    command.AddNotes(
        QStringLiteral("DATE takes the forms --at of eval takes (the day counts), for example:\n")
        + CtlTimeExamplesHelp());
    if (const int code = command.Parse(args); code >= 0)
        return code;

    const bool byName = command.IsSet(QStringLiteral("target"));
    const bool byId = command.IsSet(QStringLiteral("id"));
    const bool all = command.IsSet(QStringLiteral("all"));
    if (int(byName) + int(byId) + int(all) != 1)
        return command.Usage(QStringLiteral("needs one of --target NAME, --id ID or --all receivers|groups"));
    const QString name = command.Value(QStringLiteral("target"));
    const QString id = command.Value(QStringLiteral("id"));
    if (byName && name.isEmpty())
        return command.Usage(QStringLiteral("--target needs a name"));
    if (byId && id.isEmpty())
        return command.Usage(QStringLiteral("--id needs an ID"));
    const QString kind = command.Value(QStringLiteral("all"));
    if (all && kind != QLatin1String("receivers") && kind != QLatin1String("groups"))
        return command.Usage(QStringLiteral("--all takes receivers or groups, not \"%1\"").arg(kind));
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    SiteTimeZoneOf(CProfile(configPath)); // today is the site's
    auto [from, to] = DefaultCalendarSpan(CDateTime::GetCurrentTime().ToQDate());
    for (const auto& [option, date] : { std::pair<QString, QDate*> { QStringLiteral("from"), &from },
             std::pair<QString, QDate*> { QStringLiteral("to"), &to } }) {
        if (!command.IsSet(option))
            continue;
        const QString text = command.Value(option);
        if (!ReadDate(text, *date))
            return command.Usage(QStringLiteral("cannot read the date \"%1\" of --%2").arg(text, option));
    }
    if (from > to)
        return command.Usage(QStringLiteral("--from %1 lies after --to %2")
                                 .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
    const bool toFile = command.IsSet(QStringLiteral("output"));
    const QString outputPath = command.Value(QStringLiteral("output"));
    if (toFile && outputPath.isEmpty())
        return command.Usage(QStringLiteral("--output needs a file name"));

    // The targets with their dispatch files, as export reads them, or as they stood at --as-of.
    CCtlDocument document(configPath);
    CPageTargetArray replayed;
    const bool asOf = command.IsSet(QStringLiteral("as-of"));
    if (asOf) {
        if (const int code = CtlTargetsAsOf(command, configPath, replayed); code >= 0)
            return code;
    } else {
        document.Load();
    }
    const CPageTargetArray& targets = asOf ? replayed : document.Doc().PageTargets();
    if (targets.isEmpty())
        return CtlFail(CTL_FAILED,
            asOf ? QStringLiteral("the journal holds no targets then") : document.NoTargetsMessage());

    const CCalendarOptions options
        = SiteCalendarOptions(asOf ? configPath : ConfigLocation().ConfigPath(), &targets);
    QList<SDutyEvent> events;
    QString title;
    if (all) {
        const bool groups = kind == QLatin1String("groups");
        for (const CPageTarget& target : targets) {
            if (target.IsGroup() == groups)
                events += DutyEvents(target, from, to, options);
        }
        title = groups ? QStringLiteral("All groups") : QStringLiteral("All receivers");
    } else {
        const CPageTarget* target = byName ? targets.FindByName(name) : targets.FindById(id);
        if (!target)
            return CtlFail(CTL_FAILED,
                byName ? QStringLiteral("the alarm server has no target named \"%1\"").arg(name)
                       : QStringLiteral("the alarm server has no target with the ID \"%1\"").arg(id));
        events = DutyEvents(*target, from, to, options);
        title = target->m_name;
    }
    const QByteArray calendar = WriteCalendar(events, title, QDateTime::currentDateTimeUtc(), options);

    if (toFile) {
        QSaveFile file(outputPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(calendar) != calendar.size() || !file.commit())
            return CtlFail(
                CTL_FAILED, QStringLiteral("cannot write \"%1\": %2").arg(outputPath, file.errorString()));
        return CTL_OK;
    }
    CtlOut().flush();
    if (std::fwrite(calendar.constData(), 1, size_t(calendar.size()), stdout) != size_t(calendar.size())
        || std::fflush(stdout) != 0)
        return CtlFail(CTL_FAILED, QStringLiteral("cannot write the calendar to standard output"));
    return CTL_OK;
}
