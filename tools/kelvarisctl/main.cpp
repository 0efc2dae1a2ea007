#include <QCoreApplication>

#include "support/Trace.h"

#include "Ctl.h"

namespace {

struct CVerb
{
    const char* name;
    int (*run)(const QStringList& args);
    const char* synopsis;
    const char* summary;
};

const CVerb kVerbs[] = {
    { "eval", CtlEval, "[--config FILE] [--at TEXT]",
        "evaluate the schedule at a moment (default now) as one engine cycle would" },
    { "holidays", CtlHolidays, "list | generate FROM TO [--config FILE]",
        "list the holidays, or add the statutory holidays of the years FROM to TO" },
    { "check", CtlCheck, "", "ask Kelvaris whether it is running (socket)" },
    { "dispatch", CtlDispatch, "--id ID [--group GID] [--time TEXT]",
        "ask whether a receiver is to be alerted now or at a moment (socket)" },
    { "response", CtlResponse, "--client TEXT --target ID [--result N] [--timeout N]",
        "report the answer to a takeover request (socket)" },
    { "send", CtlSend, "XML", "send one request text on Kelvaris's socket" },
    { "dde", CtlDde, "get TOPIC ITEM [--unicode] | watch TOPIC ITEM [--count N] | exec TEXT",
        "read or watch a published value, or run a System command (session bus)" },
    { "do", CtlDo, "COMMAND", "run an automation command, e.g. \"[setup(TB)]\" (session bus)" },
    { "export", CtlExport,
        "(--target NAME | --all receivers|groups) [--week DATE | --month[=DATE]] [--weeks 1|2]",
        "write a plan of action as an HTML table and print its path" },
    { "ical", CtlIcal,
        "(--target NAME | --id ID | --all receivers|groups) [--from DATE] [--to DATE] [--as-of TEXT]",
        "write the duty of a target or of all receivers/groups as an iCalendar document" },
    { "oncall", CtlOncall, "[--at TEXT] [--as-of TEXT] [--json] [--config FILE]",
        "list the receivers and groups on duty now or at a moment, with takeover holders" },
    { "coverage", CtlCoverage,
        "[--days N] [--from TEXT] [--group ID] [--min-members K] [--critical HOURS] [--json]",
        "find the gaps in the groups' cover, as a monitoring check (exit 0-3)" },
    { "history", CtlHistory, "[--since TEXT] [--until TEXT] [--target ID] [--kind KIND] [--json] [--verify]",
        "list the edit journal, newest first, or check its chain of hashes (exit 0, 1, 3)" },
    { "notices", CtlNotices, "[--days N] [--from TEXT] [--json]",
        "list the duty notices (reminders, daily summaries) that will be sent" },
};

QString VerbList()
{
    QString text = QStringLiteral("Verbs (kelvarisctl VERB --help describes each):\n");
    for (const CVerb& verb : kVerbs) {
        text += QStringLiteral("  ")
            + QStringLiteral("%1 %2").arg(QLatin1String(verb.name), QLatin1String(verb.synopsis)).trimmed()
            + QStringLiteral("\n        %1\n").arg(QLatin1String(verb.summary));
    }
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvarisctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVARIS_VERSION));
    InitTrace();

    CCtlCommand top(QString(), QStringLiteral("VERB [options] [arguments]"),
        QStringLiteral("The command-line companion of kelvaris: evaluates its schedule, edits its holidays,\n"
                       "talks to a running kelvaris on its socket (KELVARIS_PIPE_NAME) and the session bus\n"
                       "(KELVARIS_BUS_NAME), and exports plans of action.\n"));
    top.AddArgument(QStringLiteral("VERB"), QStringLiteral("What to do (see below)."));
    top.AddNotes(VerbList()
        + QStringLiteral("\nExit codes: 0 success, 1 the other side did not answer, refused or an operation\n"
                         "failed, 2 bad usage (unknown option, missing value, unreadable --config).\n"));
    top.StopAtFirstArgument();
    if (const int code = top.Parse(QCoreApplication::arguments().mid(1)); code >= 0)
        return code;

    QStringList args = top.Arguments();
    if (args.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("no verb given (see kelvarisctl --help)"));
    const QString verb = args.takeFirst();
    if (verb == QLatin1String("help")) {
        CtlOut() << top.HelpText();
        return CTL_OK;
    }
    for (const CVerb& known : kVerbs) {
        if (verb == QLatin1String(known.name))
            return known.run(args);
    }
    return CtlFail(CTL_USAGE, QStringLiteral("unknown verb \"%1\" (see kelvarisctl --help)").arg(verb));
}
