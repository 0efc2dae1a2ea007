// kelvarisctl export (--target NAME | --all receivers|groups) [--week DATE | --month[=DATE]]
// [--weeks 1|2] [--config FILE]: the plan table of the planning dialog's Print/Export, with the
// targets fetched from the alarm server, written as HTML into the temporary folder; prints the
// file's path.
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "planning/PlanExport.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"
#include "server/DBusServerCommand.h"

#include "Ctl.h"

int CtlExport(const QStringList& args)
{
    const CCtlArgs parsed(args,
        { QStringLiteral("config"), QStringLiteral("target"), QStringLiteral("all"), QStringLiteral("week"),
            QStringLiteral("weeks"), QStringLiteral("month") },
        { QStringLiteral("month") });
    if (!parsed.Ok())
        return CtlFail(CTL_USAGE, parsed.Error());

    const bool byName = parsed.Has(QStringLiteral("target"));
    const bool all = parsed.Has(QStringLiteral("all"));
    if (byName == all)
        return CtlFail(
            CTL_USAGE, QStringLiteral("export needs either --target NAME or --all receivers|groups"));
    const QString name = parsed.Value(QStringLiteral("target"));
    if (byName && name.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("--target needs a name"));
    const QString kind = parsed.Value(QStringLiteral("all"));
    if (all && kind != QLatin1String("receivers") && kind != QLatin1String("groups"))
        return CtlFail(CTL_USAGE, QStringLiteral("--all takes receivers or groups, not \"%1\"").arg(kind));

    const bool month = parsed.Has(QStringLiteral("month"));
    if (month && parsed.Has(QStringLiteral("week")))
        return CtlFail(CTL_USAGE, QStringLiteral("give either --week or --month"));
    if (month && parsed.Has(QStringLiteral("weeks")))
        return CtlFail(CTL_USAGE, QStringLiteral("--weeks applies to a week export only"));
    int weeks = 1;
    if (parsed.Has(QStringLiteral("weeks"))) {
        const QString text = parsed.Value(QStringLiteral("weeks"));
        if (text != QLatin1String("1") && text != QLatin1String("2"))
            return CtlFail(CTL_USAGE, QStringLiteral("--weeks takes 1 or 2, not \"%1\"").arg(text));
        weeks = text.toInt();
    }
    if (!parsed.Positional().isEmpty())
        return CtlFail(
            CTL_USAGE, QStringLiteral("unexpected argument \"%1\"").arg(parsed.Positional().first()));
    // The day: --week DATE or --month=DATE, else today.
    const QString dateText = parsed.Value(month ? QStringLiteral("month") : QStringLiteral("week"));
    CDateTime day = CDateTime::GetCurrentTime();
    if (!dateText.isEmpty() && (!DateTimeFromText(dateText, day) || !day.IsValid()))
        return CtlFail(CTL_USAGE, QStringLiteral("cannot read the date \"%1\"").arg(dateText));
    day = day.DatePart();

    const QString configPath = CtlConfigPath(parsed.Value(QStringLiteral("config")));
    ConfigLocation().SetPaths(configPath, QString());
    CDBusServerCommandFactory server(AlarmServerAddressFrom(CProfile(configPath)));
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    // The settings (work time, working days, holidays colour the grid) and the targets with
    // their dispatch files.
    doc.LoadSettings();
    const CPageTargetArray& targets = doc.PageTargets();
    if (targets.isEmpty())
        return CtlFail(CTL_FAILED, QStringLiteral("the alarm server gave no targets"));

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
        return CtlFail(CTL_FAILED, QStringLiteral("nothing to export"));
    QString reason;
    const QString path = WritePlanFile(table, QString(), &reason);
    if (path.isEmpty())
        return CtlFail(
            CTL_FAILED, QStringLiteral("cannot write the plan of \"%1\": %2").arg(table.m_title, reason));
    CtlOut() << path << Qt::endl;
    return CTL_OK;
}
