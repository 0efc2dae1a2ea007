#include <QCoreApplication>

#include "support/Trace.h"

#include "Ctl.h"

namespace {
const char kUsage[]
    = "Usage: kelvarisctl VERB [options]\n"
      "\n"
      "  eval [--config FILE] [--at TEXT]\n"
      "        evaluate the schedule at a moment (default now) as one engine cycle would\n"
      "  holidays list [--config FILE]\n"
      "  holidays generate FROM TO [--config FILE]\n"
      "        list the holidays, or add the statutory holidays of the years FROM to TO\n"
      "  check\n"
      "  dispatch --id ID [--group GID] [--time TEXT]\n"
      "  response --client TEXT --target ID [--result N] [--timeout N]\n"
      "  send XML\n"
      "        one request on Kelvaris's socket (KELVARIS_PIPE_NAME); prints the reply text\n"
      "  dde get TOPIC ITEM [--unicode]\n"
      "  dde watch TOPIC ITEM [--count N]\n"
      "        read a published value, or print it and every change (N values, else until\n"
      "        SIGINT/SIGTERM)\n"
      "  dde exec TEXT\n"
      "        a command on the System topic, e.g. \"[activate()]\"\n"
      "  do COMMAND\n"
      "        the automation object's DoCommand, e.g. \"[setup(TB)]\"; prints the result\n"
      "        (session bus, KELVARIS_BUS_NAME)\n"
      "  export (--target NAME | --all receivers|groups) [--week DATE | --month[=DATE]]\n"
      "         [--weeks 1|2] [--config FILE]\n"
      "        write the plan of action of a target, or of all receivers or groups, for the\n"
      "        week of DATE (default this week; two weeks with --weeks 2) or its month as an\n"
      "        HTML table into the temporary folder (targets from the alarm server); prints\n"
      "        the file's path\n"
      "\n"
      "  --help, --version\n"
      "\n"
      "Exit codes: 0 success, 1 the other side did not answer or refused, 2 bad usage.\n";
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvarisctl"));
    InitTrace();

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("no verb given (see --help)"));
    const QString verb = args.takeFirst();
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") || verb == QLatin1String("help")) {
        CtlOut() << kUsage;
        return CTL_OK;
    }
    if (verb == QLatin1String("--version")) {
        CtlOut() << "kelvarisctl " << KELVARIS_VERSION << Qt::endl;
        return CTL_OK;
    }
    if (verb == QLatin1String("eval"))
        return CtlEval(args);
    if (verb == QLatin1String("holidays"))
        return CtlHolidays(args);
    if (verb == QLatin1String("check"))
        return CtlCheck(args);
    if (verb == QLatin1String("dispatch"))
        return CtlDispatch(args);
    if (verb == QLatin1String("response"))
        return CtlResponse(args);
    if (verb == QLatin1String("send"))
        return CtlSend(args);
    if (verb == QLatin1String("dde"))
        return CtlDde(args);
    if (verb == QLatin1String("do"))
        return CtlDo(args);
    if (verb == QLatin1String("export"))
        return CtlExport(args);
    return CtlFail(CTL_USAGE, QStringLiteral("unknown verb \"%1\" (see --help)").arg(verb));
}
