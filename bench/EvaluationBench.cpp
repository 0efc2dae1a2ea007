#include <benchmark/benchmark.h>
#include <random>

#include <QTemporaryDir>

#include "schedule/Evaluation.h"
#include "schedule/Holiday.h"
#include "schedule/Profile.h"

// One evaluation of the schedule, as the engine runs it every second: a large installation with
// the statutory holidays of 1901 to 2099 (2,189), 1,000 barriers and 1,000 shifts of every date
// type, sorted as the editors keep them.

namespace {

struct CLargeSchedule
{
    CHolidaysArray holidays;
    CBarrageArray barriers;
    CShiftArray shifts;

    explicit CLargeSchedule(int records)
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
};

void BM_EvaluateSchedule(benchmark::State& state)
{
    const CLargeSchedule schedule(int(state.range(0)));
    const CScheduleLists lists { schedule.holidays, kWorkDaysMonToFri, schedule.shifts, schedule.barriers };
    // A working day in the middle of the holiday list, and a holiday.
    const CDateTime moment
        = state.range(1) ? CDateTime(2000, 12, 25, 10, 0, 0) : CDateTime(2000, 6, 14, 10, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(EvaluateSchedule(lists, moment));
}
BENCHMARK(BM_EvaluateSchedule)->Args({ 1000, 0 })->Args({ 1000, 1 })->Unit(benchmark::kMicrosecond);

// Loading the real record lists from a configuration file that holds them all, cold (the file
// changed on disk since the last read), and saving the holiday list.
void BM_LoadScheduleLists(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelvaris.cfg"));
    {
        CLargeSchedule schedule(int(state.range(0)));
        CProfile profile(path);
        CProfile::Batch batch(profile);
        schedule.holidays.SetModified();
        schedule.barriers.SetModified();
        schedule.shifts.SetModified();
        schedule.holidays.Save(profile);
        schedule.barriers.Save(profile);
        schedule.shifts.Save(profile);
    }
    CProfile profile(path);
    for (auto _ : state) {
        state.PauseTiming();
        CProfile::DropCachedFiles();
        state.ResumeTiming();
        CHolidaysArray holidays;
        CBarrageArray barriers;
        CShiftArray shifts;
        holidays.Load(profile);
        barriers.Load(profile);
        shifts.Load(profile);
        benchmark::DoNotOptimize(holidays.size() + barriers.size() + shifts.size());
        if (holidays.size() != 2189 || barriers.size() != state.range(0) || shifts.size() != state.range(0))
            state.SkipWithError("lists not loaded in full");
    }
}
BENCHMARK(BM_LoadScheduleLists)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveHolidayList(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kelvaris.cfg"));
    CLargeSchedule schedule(0);
    CProfile profile(path);
    for (auto _ : state) {
        schedule.holidays.SetModified();
        benchmark::DoNotOptimize(schedule.holidays.Save(profile));
    }
}
BENCHMARK(BM_SaveHolidayList)->Unit(benchmark::kMillisecond);

} // namespace
