#pragma once

// A large installation's schedule for the benchmarks: the statutory holidays of 1901 to 2099
// (2,189), and barriers and shifts of every date type at random times, sorted as the editors keep
// them.

#include <random>

#include "schedule/Barrage.h"
#include "schedule/Holiday.h"
#include "schedule/Shift.h"

inline void FillLargeSchedule(
    CHolidaysArray& holidays, CBarrageArray& barriers, CShiftArray& shifts, int records)
{
    GenerateStatutoryHolidays(holidays, 1901, 2099);
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> dateType(1, 13);
    std::uniform_int_distribution<int> second(0, 86399);
    for (int i = 0; i < records; ++i) {
        const int a = second(random);
        const int b = second(random);
        CBarrage barrier;
        barrier.m_name = QStringLiteral("Barrier %1").arg(i);
        barrier.m_dateType = dateType(random);
        barrier.m_date = CDateTime(2020 + i % 10, 1 + i % 12, 1 + i % 28, 0, 0, 0);
        barrier.m_startTime = CDateTime::FromSecondsSinceBase(std::min(a, b));
        barrier.m_endTime = CDateTime::FromSecondsSinceBase(std::max(a, b));
        barrier.m_barrierType = 1 + i % 3;
        barriers.append(barrier);

        CShift shift;
        shift.m_name = QStringLiteral("Shift %1").arg(i);
        shift.m_dateType = dateType(random);
        shift.m_date = barrier.m_date;
        shift.m_startTime = barrier.m_startTime;
        shift.m_endTime = barrier.m_endTime;
        shift.m_shiftNumber = 1 + i % 9;
        shift.m_rotating = i % 4 == 0;
        shift.m_weekCycle = 3;
        shifts.append(shift);
    }
    barriers.Sort();
    shifts.Sort();
}

struct CLargeSchedule
{
    CHolidaysArray holidays;
    CBarrageArray barriers;
    CShiftArray shifts;

    explicit CLargeSchedule(int records) { FillLargeSchedule(holidays, barriers, shifts, records); }
};
