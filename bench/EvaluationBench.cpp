#include <benchmark/benchmark.h>
#include <random>

#include <QTemporaryDir>

#include "schedule/Evaluation.h"
#include "schedule/Holiday.h"
#include "schedule/Profile.h"

#include "LargeSchedule.h"

// One evaluation of the schedule, as the engine runs it every second: a large installation with
// the statutory holidays of 1901 to 2099 (2,189), 1,000 barriers and 1,000 shifts of every date
// type, sorted as the editors keep them.

namespace {

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
