// kelvarisctl holidays list|generate FROM TO [--config FILE]
#include "engine/JournalKeeper.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Holiday.h"
#include "schedule/Profile.h"

#include "Ctl.h"

namespace {
// A year as the generate command takes it: plain decimal digits.
bool ParseYear(const QString& text, int& year)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    for (const QChar c : text) {
        if (!c.isDigit())
            return false;
    }
    year = text.toInt();
    return true;
}

// The sub-verb's --config, else the one given before it ("holidays --config FILE list").
QString ConfigPath(
    const CCtlCommand& command, const QString& outerConfig, bool outerConfigSet, QString& error)
{
    if (command.IsSet(QStringLiteral("config")))
        return CtlConfigPath(command, error);
    return CtlConfigPath(outerConfigSet, outerConfig, error);
}

int List(const QStringList& args, const QString& outerConfig, bool outerConfigSet)
{
    CCtlCommand command(QStringLiteral("holidays list"), QStringLiteral("[--config FILE]"),
        QStringLiteral("Prints the holidays of the configuration file, one a line: YYYY-MM-DD, a tab, the "
                       "name.\n"));
    CtlAddConfigOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));
    QString error;
    const QString path = ConfigPath(command, outerConfig, outerConfigSet, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);

    ConfigLocation().SetPaths(path, QString());
    CProfile profile(path);
    CHolidaysArray holidays;
    holidays.Load(profile);
    for (const CHoliday& holiday : holidays)
        CtlOut() << DateToText(holiday.m_date) << '\t' << holiday.m_name << '\n';
    CtlOut().flush();
    return CTL_OK;
}

int Generate(const QStringList& args, const QString& outerConfig, bool outerConfigSet)
{
    CCtlCommand command(QStringLiteral("holidays generate"), QStringLiteral("FROM TO [--config FILE]"),
        QStringLiteral(
            "Adds the statutory holidays of the years FROM to TO (1901 to 2099, in either order) "
            "to the\nconfiguration file, by the rules of the holiday dialog's Automatic button.\n"));
    CtlAddConfigOption(command);
    command.AddArgument(QStringLiteral("FROM"), QStringLiteral("The first year."));
    command.AddArgument(QStringLiteral("TO"), QStringLiteral("The last year."));
    if (const int code = command.Parse(args); code >= 0)
        return code;
    const QStringList words = command.Arguments();
    int first = 0;
    int last = 0;
    if (words.size() != 2 || !ParseYear(words[0], first) || !ParseYear(words[1], last))
        return command.Usage(QStringLiteral("needs two years, FROM and TO"));
    QString error;
    const QString path = ConfigPath(command, outerConfig, outerConfigSet, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);

    ConfigLocation().SetPaths(path, QString());
    CProfile profile(path);
    CHolidaysArray holidays;
    holidays.Load(profile);
    const qsizetype before = holidays.size();
    if (!GenerateStatutoryHolidays(holidays, first, last))
        return command.Usage(QStringLiteral("years must lie between 1901 and 2099"));
    if (!holidays.Save(profile))
        return CtlFail(CTL_FAILED,
            QStringLiteral("cannot write the holidays to \"%1\": %2").arg(path, profile.SaveProblem()));
    {
        // The edit journal of the data folder records the change as this command's.
        CJournalKeeper journal(QStringLiteral("kelvarisctl"));
        journal.SetFolder(FolderOf(path));
        journal.RecordConfig(path, QStringLiteral("holidays generate %1 %2").arg(first).arg(last), false);
    }
    CtlOut() << "added " << (holidays.size() - before) << " holidays to " << path << Qt::endl;
    return CTL_OK;
}

} // namespace

int CtlHolidays(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("holidays"), QStringLiteral("list | generate FROM TO [--config FILE]"),
        QStringLiteral("Lists the holidays of the configuration file, or adds the statutory holidays of a "
                       "span of years.\n"));
    CtlAddConfigOption(command);
    command.AddArgument(QStringLiteral("ACTION"),
        QStringLiteral("list or generate (kelvarisctl holidays ACTION --help describes each)."));
    command.StopAtFirstArgument();
    if (const int code = command.Parse(args); code >= 0)
        return code;
    QStringList words = command.Arguments();
    if (words.isEmpty())
        return command.Usage(QStringLiteral("say list or generate FROM TO"));
    const QString action = words.takeFirst();
    const bool configSet = command.IsSet(QStringLiteral("config"));
    const QString config = command.Value(QStringLiteral("config"));
    if (action == QLatin1String("list"))
        return List(words, config, configSet);
    if (action == QLatin1String("generate"))
        return Generate(words, config, configSet);
    return command.Usage(QStringLiteral("unknown action \"%1\"").arg(action));
}
