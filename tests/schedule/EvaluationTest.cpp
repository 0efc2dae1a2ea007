#include "schedule/Evaluation.h"

#include <gtest/gtest.h>

#include "schedule/DateType.h"
#include "schedule/Holiday.h"

namespace {

CDateTime T(int hour, int minute = 0, int second = 0)
{
    return CDateTime::TimeOfDay(hour, minute, second);
}

CBarrage Barrier(const char* name, int dateType, CDateTime start, CDateTime end, int type, int priority = 4)
{
    CBarrage barrier;
    barrier.m_name = QString::fromLatin1(name);
    barrier.m_dateType = dateType;
    barrier.m_date = CDateTime();
    barrier.m_startTime = start;
    barrier.m_endTime = end;
    barrier.m_barrierType = type;
    barrier.m_priority = priority;
    return barrier;
}

CShift Shift(const char* name, int dateType, CDateTime start, CDateTime end, int number)
{
    CShift shift;
    shift.m_name = QString::fromLatin1(name);
    shift.m_dateType = dateType;
    shift.m_date = CDateTime();
    shift.m_startTime = start;
    shift.m_endTime = end;
    shift.m_shiftNumber = number;
    return shift;
}

// A week of 2024: Monday 4 March to Sunday 10 March; Friday 8 March is a holiday.
struct Schedule
{
    CHolidaysArray holidays;
    CShiftArray shifts;
    CBarrageArray barriers;
    int workDays = kWorkDaysMonToFri;

    Schedule() { holidays.append(CHoliday(QStringLiteral("Feast"), CDateTime(2024, 3, 8, 0, 0, 0))); }
    CScheduleLists Lists() const { return { holidays, workDays, shifts, barriers }; }
};

} // namespace

TEST(EvaluationTest, ShiftAndBarrierWithPublishedCounts)
{
    Schedule s;
    s.shifts.append(Shift("Day", DATETYPE_WORKINGDAY, T(6), T(21, 59, 59), 1));
    s.barriers.append(Barrier("Lunch", DATETYPE_WORKINGDAY, T(12), T(12, 30), 3, 2));
    s.barriers.append(Barrier("Night", DATETYPE_WORKINGDAY, T(22), T(23, 59, 59), 2));

    // 10:00 on Thursday: the shift runs, the lunch pause lies ahead within the shift.
    CEvaluation at10 = EvaluateSchedule(s.Lists(), CDateTime(2024, 3, 7, 10, 0, 0));
    EXPECT_TRUE(at10.m_context.m_workingDay);
    EXPECT_TRUE(at10.m_context.m_dayBeforeHoliday);
    ASSERT_TRUE(at10.m_hasShift);
    EXPECT_EQ(at10.m_shift.m_name, QStringLiteral("Day"));
    EXPECT_EQ(at10.m_shiftNumber, 1);
    EXPECT_EQ(at10.m_shiftRemain, 11 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(at10.m_shiftRemain2, at10.m_shiftRemain - 1800);
    EXPECT_EQ(at10.m_shiftTotal, 15 * 3600 + 59 * 60 + 59);
    EXPECT_EQ(at10.m_shiftTotal2, at10.m_shiftTotal - 1800);
    EXPECT_FALSE(at10.m_hasBarrier);
    EXPECT_EQ(at10.m_barrierRemain, 0);

    // 12:10: inside the pause; the lunch pause counts only from now on in Remain2.
    CEvaluation at1210 = EvaluateSchedule(s.Lists(), CDateTime(2024, 3, 7, 12, 10, 0));
    ASSERT_TRUE(at1210.m_hasBarrier);
    EXPECT_EQ(at1210.m_barrier.m_name, QStringLiteral("Lunch"));
    EXPECT_EQ(at1210.m_barrierRemain, 1200);
    EXPECT_EQ(at1210.m_barrierTotal, 1800);
    EXPECT_EQ(at1210.m_shiftRemain2, at1210.m_shiftRemain - 1200);

    // The holiday is no working day: neither record applies, and every count is 0.
    CEvaluation feast = EvaluateSchedule(s.Lists(), CDateTime(2024, 3, 8, 12, 10, 0));
    EXPECT_TRUE(feast.m_context.m_holiday);
    EXPECT_FALSE(feast.m_hasShift);
    EXPECT_FALSE(feast.m_hasBarrier);
    EXPECT_EQ(feast.m_shiftNumber, 0);
    EXPECT_TRUE(feast.m_shift.m_name.isEmpty());
    EXPECT_TRUE(feast.m_barrier.m_name.isEmpty());
}

TEST(EvaluationTest, RecordAcrossMidnightGivesNegativeCounts)
{
    Schedule s;
    // Only possible by editing the file: it is never current, and its length is negative.
    CShift night = Shift("Night", DATETYPE_MONDAY, T(22), T(6), 2);
    EXPECT_EQ(night.LengthSeconds(), -57600);
    s.shifts.append(night);
    EXPECT_FALSE(EvaluateSchedule(s.Lists(), CDateTime(2024, 3, 4, 23, 0, 0)).m_hasShift);
}

TEST(EvaluationTest, ShiftLookupMarkersDoNotLeakIntoTheBarrierLookup)
{
    Schedule s;
    s.shifts.append(Shift("Monday", DATETYPE_MONDAY, T(0), T(23, 59, 59), 3));
    s.barriers.append(Barrier("Weekday", DATETYPE_MONDAY, T(8), T(9), 1));
    const CEvaluation result = EvaluateSchedule(s.Lists(), CDateTime(2024, 3, 4, 8, 30, 0));
    EXPECT_TRUE(result.m_hasShift);
    EXPECT_TRUE(result.m_hasBarrier);
    // The barrier lookup ran on cleared markers and left its own.
    EXPECT_TRUE(result.m_context.m_weekdayMatched);
    EXPECT_FALSE(result.m_context.m_specialDateMatched);
}

TEST(EvaluationTest, DelayUntilFollowsAChainOfHoldingBarriers)
{
    Schedule s;
    s.barriers.append(Barrier("Late", DATETYPE_WORKINGDAY, T(22), T(23, 59, 59), 2));
    s.barriers.append(Barrier("Early", DATETYPE_WORKINGDAY, T(0), T(6), 2));
    s.barriers.Sort();
    const CScheduleLists lists = s.Lists();
    const CBarrage late = s.barriers.last();
    ASSERT_EQ(late.m_name, QStringLiteral("Late"));

    // Monday 23:00: held until Tuesday 06:00, the end of the chain.
    CDateTime until;
    EXPECT_TRUE(BarrierDelayUntil(lists, late, CDateTime(2024, 3, 4, 23, 0, 0), until));
    EXPECT_EQ(until, CDateTime(2024, 3, 5, 6, 0, 0));

    // Thursday 23:00: Friday is a holiday, the early barrier does not apply; the walk stops at
    // the first probe and the barrier's own end is what the alarm server hears.
    EXPECT_FALSE(BarrierDelayUntil(lists, late, CDateTime(2024, 3, 7, 23, 0, 0), until));
    EXPECT_EQ(until, CDateTime(2024, 3, 7, 23, 59, 59));

    // A barrier of another kind ends the chain.
    s.barriers[0].m_barrierType = 1;
    EXPECT_FALSE(BarrierDelayUntil(s.Lists(), late, CDateTime(2024, 3, 4, 23, 0, 0), until));
    EXPECT_EQ(until, CDateTime(2024, 3, 4, 23, 59, 59));
}

TEST(EvaluationTest, DelayUntilGivesUpOnABarrierThatNeverEnds)
{
    Schedule s;
    s.workDays = kWorkDaysMask;
    s.holidays.clear();
    s.barriers.append(Barrier("Always", DATETYPE_WORKINGDAY, T(0), T(23, 59, 59), 2));
    CDateTime until;
    EXPECT_FALSE(BarrierDelayUntil(s.Lists(), s.barriers[0], CDateTime(2024, 3, 4, 12, 0, 0), until));
    EXPECT_EQ(until, CDateTime(2024, 3, 4, 23, 59, 59));
}
