// kelvarisctl export (--target NAME | --all receivers|groups) [--week DATE | --month[=DATE]]
// [--weeks 1|2] [--config FILE]: the plan table of the planning dialog's Print/Export, with the
// targets fetched from the alarm server, written as HTML into the temporary folder; prints the
// file's path.
#include "engine/KelvarisDoc.h"
#include "planning/PlanExport.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"

#include "Ctl.h"
#include "CtlDocument.h"

int CtlExport(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("export"),
        QStringLiteral(
            "(--target NAME | --all receivers|groups) [--week DATE | --month[=DATE]] [--weeks 1|2] "
            "[--config FILE]"),
        QStringLiteral(
            "Builds the plan of action of a target, or of all receivers or groups, exactly as the "
            "planning\ndialog's Print/Export does (the targets come from the alarm server), writes it "
            "as an HTML\ntable into a private folder in the temporary folder and prints the file's "
            "path.\n"));
    command.AddOption(QStringLiteral("target"), QStringLiteral("The receiver or group of that name."),
        QStringLiteral("NAME"));
    command.AddOption(QStringLiteral("all"), QStringLiteral("All receivers, or all groups, one row each."),
        QStringLiteral("receivers|groups"));
    command.AddOption(QStringLiteral("week"),
        QStringLiteral(
            "The week of DATE (default this week), in any form --at of eval takes, e.g. 2024-01-31."),
        QStringLiteral("DATE"));
    command.AddOption(
        QStringLiteral("weeks"), QStringLiteral("One week (default) or two."), QStringLiteral("1|2"));
    command.AddOption(QStringLiteral("month"),
        QStringLiteral("The month instead of a week: this month, or with --month=DATE the month of DATE."));
    CtlAddConfigOption(command);

    // "--month" alone is a flag, "--month=DATE" carries a date: the parser knows only one of the
    // two, so the date is taken off first (up to a "--", after which nothing is an option).
    QStringList words;
    QString monthDate;
    bool optionsEnded = false;
    for (const QString& arg : args) {
        if (!optionsEnded && arg.startsWith(QLatin1String("--month="))) {
            monthDate = arg.mid(8);
            words << QStringLiteral("--month");
            continue;
        }
        optionsEnded = optionsEnded || arg == QLatin1String("--");
        words << arg;
    }
    if (const int code = command.Parse(words); code >= 0)
        return code;

    const bool byName = command.IsSet(QStringLiteral("target"));
    const bool all = command.IsSet(QStringLiteral("all"));
    if (byName == all)
        return command.Usage(QStringLiteral("needs either --target NAME or --all receivers|groups"));
    const QString name = command.Value(QStringLiteral("target"));
    if (byName && name.isEmpty())
        return command.Usage(QStringLiteral("--target needs a name"));
    const QString kind = command.Value(QStringLiteral("all"));
    if (all && kind != QLatin1String("receivers") && kind != QLatin1String("groups"))
        return command.Usage(QStringLiteral("--all takes receivers or groups, not \"%1\"").arg(kind));

    const bool month = command.IsSet(QStringLiteral("month"));
    if (month && command.IsSet(QStringLiteral("week")))
        return command.Usage(QStringLiteral("give either --week or --month"));
    if (month && command.IsSet(QStringLiteral("weeks")))
        return command.Usage(QStringLiteral("--weeks applies to a week export only"));
    int weeks = 1;
    if (command.IsSet(QStringLiteral("weeks"))) {
        const QString text = command.Value(QStringLiteral("weeks"));
        if (text != QLatin1String("1") && text != QLatin1String("2"))
            return command.Usage(QStringLiteral("--weeks takes 1 or 2, not \"%1\"").arg(text));
        weeks = text.toInt();
    }
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));
    // The day: --week DATE or --month=DATE, else today.
    const QString dateText = month ? monthDate : command.Value(QStringLiteral("week"));
    CDateTime day = CDateTime::GetCurrentTime();
    if (!dateText.isEmpty() && (!DateTimeFromText(dateText, day) || !day.IsValid()))
        return command.Usage(QStringLiteral("cannot read the date \"%1\"").arg(dateText));
    day = day.DatePart();

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    // The settings (work time, working days, holidays colour the grid) and the targets with
    // their dispatch files.
    CCtlDocument document(configPath);
    document.Load();
    CKelvarisDoc& doc = document.Doc();
    const CPageTargetArray& targets = doc.PageTargets();
    if (targets.isEmpty())
        return CtlFail(CTL_FAILED, document.NoTargetsMessage());

    SPlanExportRequest request;
    request.m_allTargets = all;
    request.m_groups = kind == QLatin1String("groups");
    request.m_period = month ? PlanPeriodMonth : PlanPeriodWeek;
    request.m_weeks = weeks;
    if (month) {
        // The month of the day: the builder takes the month of this date.
        request.m_weekStart = CDateTime(day.GetYear(), day.GetMonth(), 1, 0, 0, 0);
    } else {
        request.m_weekStart = MondayOnOrBefore(day);
    }
    if (byName) {
        const CPageTarget* target = targets.FindByName(name);
        if (!target)
            return CtlFail(
                CTL_FAILED, QStringLiteral("the alarm server has no target named \"%1\"").arg(name));
        request.m_currentTarget = target - &targets[0];
        request.m_groups = target->IsGroup();
    }

    CPlannerModel model;
    CTimePlanner planner(doc, model);
    SPlanTable table;
    if (!BuildPlanTable(planner, targets, request, table))
        return CtlFail(CTL_FAILED,
            QStringLiteral("no plan to export for %1 from %2")
                .arg(byName ? QStringLiteral("\"%1\"").arg(name) : QStringLiteral("all ") + kind,
                    DateToText(request.m_weekStart)));
    QString reason;
    const QString path = WritePlanFile(table, QString(), &reason);
    if (path.isEmpty())
        return CtlFail(
            CTL_FAILED, QStringLiteral("cannot write the plan of \"%1\": %2").arg(table.m_title, reason));
    CtlOut() << path << Qt::endl;
    return CTL_OK;
}
