// kelvarisctl holidays list|generate FROM TO [--config FILE]
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
} // namespace

int CtlHolidays(const QStringList& args)
{
    const CCtlArgs parsed(args, { QStringLiteral("config") });
    if (!parsed.Ok())
        return CtlFail(CTL_USAGE, parsed.Error());
    const QStringList& words = parsed.Positional();
    if (words.isEmpty())
        return CtlFail(CTL_USAGE, QStringLiteral("holidays: say list or generate FROM TO"));

    const QString path = CtlConfigPath(parsed.Value(QStringLiteral("config")));
    ConfigLocation().SetPaths(path, QString());
    CProfile profile(path);
    CHolidaysArray holidays;
    holidays.Load(profile);

    if (words[0] == QLatin1String("list")) {
        if (words.size() != 1)
            return CtlFail(CTL_USAGE, QStringLiteral("holidays list takes no further arguments"));
        for (const CHoliday& holiday : holidays)
            CtlOut() << DateToText(holiday.m_date) << '\t' << holiday.m_name << '\n';
        CtlOut().flush();
        return CTL_OK;
    }
    if (words[0] == QLatin1String("generate")) {
        int first = 0;
        int last = 0;
        if (words.size() != 3 || !ParseYear(words[1], first) || !ParseYear(words[2], last))
            return CtlFail(CTL_USAGE, QStringLiteral("holidays generate needs two years, FROM and TO"));
        const qsizetype before = holidays.size();
        if (!GenerateStatutoryHolidays(holidays, first, last))
            return CtlFail(CTL_USAGE, QStringLiteral("years must lie between 1901 and 2099"));
        if (!holidays.Save(profile))
            return CtlFail(CTL_FAILED, QStringLiteral("cannot write %1").arg(path));
        CtlOut() << "added " << (holidays.size() - before) << " holidays to " << path << Qt::endl;
        return CTL_OK;
    }
    return CtlFail(CTL_USAGE, QStringLiteral("holidays: unknown action \"%1\"").arg(words[0]));
}
