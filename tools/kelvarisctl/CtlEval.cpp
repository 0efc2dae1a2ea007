// kelvarisctl eval [--config FILE] [--at TEXT] [--as-of TEXT]: the schedule at a moment, as one
// engine cycle evaluates it, as key=value lines in a fixed order.
#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/Evaluation.h"
#include "schedule/Holiday.h"
#include "schedule/Profile.h"

#include "Ctl.h"

namespace {
QString TimeText(const CDateTime& value)
{
    return DateTimeToText(value).mid(11);
}

void Line(QTextStream& out, const char* key, const QString& value)
{
    out << key << '=' << value << '\n';
}

void Line(QTextStream& out, const char* key, qint64 value)
{
    out << key << '=' << value << '\n';
}
} // namespace

int CtlEval(const QStringList& args)
{
    CCtlCommand command(QStringLiteral("eval"), QStringLiteral("[--config FILE] [--at TEXT] [--as-of TEXT]"),
        QStringLiteral("Evaluates the schedule of the configuration file at a moment exactly as one engine\n"
                       "cycle would, and prints key=value lines: time, holiday, dayBeforeHoliday,\n"
                       "dayAfterHoliday, workingDay, weekend, the shift (shift.*) and the barrier\n"
                       "(barrier.*) in force. With --as-of, the schedule as it stood then, replayed\n"
                       "from the edit journal of the configuration's data folder.\n"));
    CtlAddConfigOption(command);
    CtlAddAtOption(
        command, QStringLiteral("The moment to evaluate (default now), in one of the forms below."));
    CtlAddAsOfOption(command);
    if (const int code = command.Parse(args); code >= 0)
        return code;
    if (!command.Arguments().isEmpty())
        return command.Usage(QStringLiteral("unexpected argument \"%1\"").arg(command.Arguments().first()));

    QString error;
    QString path = CtlConfigPath(command, error);
    if (!error.isEmpty())
        return CtlFail(CTL_USAGE, error);
    // The replayed configuration is read from a file of its own, as the live one is.
    QTemporaryDir replayFolder;
    if (command.IsSet(QStringLiteral("as-of"))) {
        QString text;
        if (const int code = CtlConfigAsOf(command, path, text); code >= 0)
            return code;
        path = replayFolder.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(path);
        if (!replayFolder.isValid() || !file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0
            || !file.flush())
            return CtlFail(
                CTL_UNKNOWN, QStringLiteral("eval: the replayed schedule cannot be written to %1").arg(path));
    }
    ConfigLocation().SetPaths(path, QString());
    CProfile profile(path);
    CCtlMoment moment;
    if (const int code = CtlReadMoment(command, SiteTimeZoneOf(profile), moment); code >= 0)
        return code;
    const CDateTime at = moment.wall;
    CHolidaysArray holidays;
    CBarrageArray barriers;
    CShiftArray shifts;
    int workDays = 0;
    {
        CProfile::Batch batch(profile);
        workDays = LoadWorkDays(profile);
        holidays.Load(profile);
        barriers.Load(profile);
        shifts.Load(profile);
    }

    const CScheduleLists lists { holidays, workDays, shifts, barriers };
    const CEvaluation result = EvaluateSchedule(lists, at);
    const CDayContext& day = result.m_context;

    QTextStream& out = CtlOut();
    Line(out, "time", DateTimeToText(at));
    Line(out, "holiday", day.m_holiday);
    Line(out, "dayBeforeHoliday", day.m_dayBeforeHoliday);
    Line(out, "dayAfterHoliday", day.m_dayAfterHoliday);
    Line(out, "workingDay", day.m_workingDay);
    Line(out, "weekend", day.m_weekend);

    const CShift& shift = result.m_shift;
    const bool hasShift = result.m_hasShift;
    Line(out, "shift.name", hasShift ? shift.m_name : QString());
    Line(out, "shift.number", result.m_shiftNumber);
    Line(out, "shift.from", hasShift ? TimeText(shift.m_startTime) : QString());
    Line(out, "shift.to", hasShift ? TimeText(shift.m_endTime) : QString());
    Line(out, "shift.remain", result.m_shiftRemain);
    Line(out, "shift.remain2", result.m_shiftRemain2);
    Line(out, "shift.total", result.m_shiftTotal);
    Line(out, "shift.total2", result.m_shiftTotal2);

    const CBarrage& barrier = result.m_barrier;
    const bool hasBarrier = result.m_hasBarrier;
    QString delay;
    if (hasBarrier && barrier.m_barrierType == kBarrierSendAfter) {
        CDateTime until;
        BarrierDelayUntil(lists, barrier, at, until);
        delay = DateTimeToText(until);
    }
    Line(out, "barrier.name", hasBarrier ? barrier.m_name : QString());
    Line(out, "barrier.type", hasBarrier ? barrier.m_barrierType : 0);
    Line(out, "barrier.priority", hasBarrier ? barrier.m_priority : 0);
    Line(out, "barrier.from", hasBarrier ? TimeText(barrier.m_startTime) : QString());
    Line(out, "barrier.to", hasBarrier ? TimeText(barrier.m_endTime) : QString());
    Line(out, "barrier.remain", result.m_barrierRemain);
    Line(out, "barrier.total", result.m_barrierTotal);
    Line(out, "barrier.delay", delay);
    out.flush();
    return CTL_OK;
}
