// kelvarisctl oncall [--at TEXT] [--json] [--config FILE]: the receivers and groups on duty at a
// moment, by the rules of the main window's plan of action, with each takeover group's holder.
// The targets come from the alarm server when it answers, otherwise from the dispatch files of
// the data folder (which then know no numbers and no members).

#include <QDir>
#include <QJsonDocument>
#include <QLoggingCategory>

#include "engine/DutyReports.h"
#include "engine/KelvarisDoc.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Profile.h"

#include "Ctl.h"
#include "CtlDocument.h"

namespace {

// Prints who is on duty at `at` among the targets, as text or JSON (the command's --json).
int PrintOncall(const CCtlCommand& command, const CPageTargetArray& targets, const CCtlMoment& at,
    const QString& source, bool withNumbers, const QList<CUnreadablePlan>& unreadable)
{
    const COncallReport report = OncallReport(targets, at, source, withNumbers, unreadable);
    if (command.IsSet(QStringLiteral("json")))
        CtlOut() << QString::fromUtf8(QJsonDocument(report.json).toJson(QJsonDocument::Indented));
    else
        CtlOut() << QStringLiteral("at: %1\nsource: %2\n").arg(at.IsoText(), source) << report.lines;
    CtlOut().flush();
    return CTL_OK;
}

} // namespace

int CtlOncall(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("oncall"),
        QStringLiteral("[--at TEXT] [--as-of TEXT] [--json] [--config FILE]"),
        QStringLiteral(
            "Lists the receivers and groups on duty at a moment (default now) by the rules of the plan\n"
            "of action (and the receivers without any range, on duty at every moment), with each\n"
            "takeover group's current holder. The targets come from the alarm\n"
            "server when it answers, otherwise from the dispatch files of the data folder; the output\n"
            "says which (source alarm-server or dispatch-files).\n"
            "Text: the lines \"at: TIME\" and \"source: SOURCE\", then one line per target, fields\n"
            "separated by tabs: receiver NAME ID, or group NAME ID with \"holder: NAME (ID)\" for a\n"
            "takeover group that has one.\n"
            "JSON (--json): {\"at\", \"source\", \"receivers\": [{\"name\", \"id\", \"number\"}],\n"
            "\"groups\": [{\"name\", \"id\", \"number\", \"takeover\", \"holder\": {\"name\", \"id\"} or "
            "null,\n"
            "\"members\": [names]}], \"unreadable\": [{\"file\", \"reason\"}]}; \"number\" is null from\n"
            "dispatch files. \"at\" is ISO 8601 with the site's true offset.\n"
            "Exit status: 0 when it answered (also when nobody is on duty), 2 for bad usage or a\n"
            "local time the clocks skip, 3 when no alarm server answered and the data folder cannot\n"
            "be read. Dispatch files that cannot be read are named on standard error and left out.\n"
            "--as-of TEXT answers from the schedule as it stood then, replayed from the edit journal\n"
            "(source journal): the target list, the plans and the holders last journaled before it.\n"));
    CtlAddAtOption(command, QStringLiteral("The moment (default now), in one of the forms below."));
    CtlAddAsOfOption(command);
    command.AddOption(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    QString error;
    const QString configPath = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    CCtlMoment moment;
    if (const int code = CtlReadMoment(command, SiteTimeZoneOf(CProfile(configPath)), moment); code >= 0)
        return code;
    if (command.IsSet(QStringLiteral("as-of"))) {
        CPageTargetArray targets;
        if (const int code = CtlTargetsAsOf(command, configPath, targets); code >= 0)
            return code;
        return PrintOncall(command, targets, moment, QStringLiteral("journal"), true, {});
    }
    CCtlDocument loaded(configPath);
    CKelvarisDoc& doc = loaded.Doc();
    // An alarm server that does not answer is no fault here: the dispatch files answer instead, and
    // the output says so. The engine's warnings about it would only be noise for scripts.
    QLoggingCategory::setFilterRules(QStringLiteral("kelvaris.engine.warning=false"));
    loaded.Load();
    const bool fromServer = doc.TargetListKnown();
    QList<CUnreadablePlan> unreadable;
    const QString folder = ConfigLocation().ConfigFolder();
    if (!fromServer) {
        // Nothing to answer from: a monitoring check must not take this for a gap in cover.
        if (const QString problem = DataFolderProblem(folder, ConfigLocation().ConfigPath());
            !problem.isEmpty())
            return CtlFail(
                CTL_UNKNOWN, QStringLiteral("oncall: no alarm server answered and %1").arg(problem));
    }
    const CPageTargetArray targets
        = fromServer ? doc.PageTargets() : TargetsFromDispatchFiles(folder, unreadable);
    if (fromServer) {
        for (const CPageTarget& target : targets) {
            if (!target.m_fileProblem.isEmpty())
                unreadable.append({ target.m_id + QStringLiteral(".tim"), target.m_fileProblem });
        }
    }
    for (const CUnreadablePlan& file : std::as_const(unreadable)) {
        CtlErr() << QStringLiteral("kelvarisctl: oncall: cannot read %1: %2 (its plan is left out)\n")
                        .arg(QDir(folder).filePath(file.file), file.reason);
    }
    CtlErr().flush();
    const QString source = fromServer ? QStringLiteral("alarm-server") : QStringLiteral("dispatch-files");

    // The site's wall clock with its true offset, always written as +hh:mm (also +00:00, never Z).
    return PrintOncall(command, targets, moment, source, fromServer, unreadable);
}
