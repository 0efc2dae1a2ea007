#include "schedule/Evaluation.h"

#include "schedule/Holiday.h"

namespace {
// The given day at a time of day.
CDateTime OnDayAt(const CDateTime& day, const CDateTime& timeOfDay)
{
    return day.DatePart() + CDateTimeSpan::FromSeconds(timeOfDay.SecondOfDay());
}

// Links of a chain of message-holding barriers followed before giving up (a kind-2 barrier that
// covers whole days on end would otherwise be followed for ever).
constexpr int kMaxDelaySteps = 200;
} // namespace

CEvaluation EvaluateSchedule(const CScheduleLists& lists, const CDateTime& now)
{
    CEvaluation result;
    CDayContext& context = result.m_context;
    context = CDayContext(now);
    ClassifyDay(lists.holidays, lists.workDays, context);

    int number = 0;
    if (lists.shifts.FindCurrent(context, result.m_shift, number)) {
        const CShift& shift = result.m_shift;
        result.m_hasShift = true;
        result.m_shiftNumber = number;
        result.m_shiftRemain = shift.RemainingSeconds(now);
        result.m_shiftTotal = shift.LengthSeconds();
        result.m_shiftRemain2
            = result.m_shiftRemain - lists.barriers.BarrierSecondsInWindow(context, now, shift.m_endTime);
        result.m_shiftTotal2 = result.m_shiftTotal
            - lists.barriers.BarrierSecondsInWindow(context, shift.m_startTime, shift.m_endTime);
    } else {
        result.m_shift = CShift();
    }

    context.ClearMarkers();
    if (lists.barriers.FindActive(context, result.m_barrier)) {
        const CBarrage& barrier = result.m_barrier;
        result.m_hasBarrier = true;
        result.m_barrierRemain = qint64(barrier.m_endTime.SecondOfDay()) - now.SecondOfDay();
        result.m_barrierTotal = barrier.LengthSeconds();
    } else {
        result.m_barrier = CBarrage();
    }
    return result;
}

bool BarrierDelayUntil(
    const CScheduleLists& lists, const CBarrage& barrier, const CDateTime& now, CDateTime& until)
{
    CDateTime t = OnDayAt(now, barrier.m_endTime);
    until = t;
    CDayContext context;
    CBarrage next;
    for (int step = 0; step < kMaxDelaySteps; ++step) {
        const CDateTime probe = t + CDateTimeSpan::FromSeconds(1);
        context = CDayContext(probe);
        ClassifyHolidayAndWorkingDay(lists.holidays, lists.workDays, context);
        if (!lists.barriers.FindActive(context, next) || next.m_barrierType != kBarrierSendAfter) {
            if (step == 0)
                return false;
            until = t;
            return true;
        }
        t = OnDayAt(probe, next.m_endTime);
    }
    return false;
}

QString BarringDelayText(const CDateTime& until)
{
    if (!until.IsValid() || until.IsNull())
        return QString();
    return QStringLiteral("%1.%2.%3 %4:%5:%6")
        .arg(until.GetDay(), 2, 10, QLatin1Char('0'))
        .arg(until.GetMonth(), 2, 10, QLatin1Char('0'))
        .arg(until.GetYear(), 4, 10, QLatin1Char('0'))
        .arg(until.GetHour(), 2, 10, QLatin1Char('0'))
        .arg(until.GetMinute(), 2, 10, QLatin1Char('0'))
        .arg(until.GetSecond(), 2, 10, QLatin1Char('0'));
}
