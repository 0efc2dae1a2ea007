// The coverage check over 1,000 receivers with a year of ranges each (a morning and a night duty
// on alternate days) and 200 groups of five members, 14 days ahead, in Berlin's zone.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include "schedule/Coverage.h"
#include "schedule/PageTarget.h"

#include "YearTargets.h"

namespace {

void BM_GroupCoverage(benchmark::State& state)
{
    const CPageTargetArray& targets = YearTargets();
    const qint64 from = QDateTime(QDate(2026, 3, 20), QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    const qint64 to = from + 14 * 86'400'000LL;
    const QTimeZone zone("Europe/Berlin");
    for (auto _ : state) {
        const CZoneOffsets offsets(zone, from, to);
        benchmark::DoNotOptimize(GroupCoverage(targets, offsets, from, to, 1));
    }
}
BENCHMARK(BM_GroupCoverage)->Unit(benchmark::kMillisecond);

// One group, as after one dispatch file changed.
void BM_OneGroupCoverage(benchmark::State& state)
{
    const CPageTargetArray& targets = YearTargets();
    const qint64 from = QDateTime(QDate(2026, 3, 20), QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    const qint64 to = from + 14 * 86'400'000LL;
    const CZoneOffsets offsets(QTimeZone("Europe/Berlin"), from, to);
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupCoverage(targets, offsets, from, to, 1, QStringLiteral("g117")));
}
BENCHMARK(BM_OneGroupCoverage)->Unit(benchmark::kMillisecond);

// The engine's kept cover (nine days) after one receiver's dispatch file changed: only its groups
// are recomputed.
void BM_CoverageAfterOneFileChanged(benchmark::State& state)
{
    CPageTargetArray targets = YearTargets();
    const qint64 from = QDateTime(QDate(2026, 3, 20), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    const qint64 to = from + 9 * 86'400'000LL;
    const QTimeZone zone("Europe/Berlin");
    CCoverageCache cache;
    cache.Update(targets, zone, from, to);
    int round = 0;
    for (auto _ : state) {
        CPageTarget& receiver = targets[(round++ * 7) % kYearReceivers];
        receiver.m_ranges.AddFromText(QStringLiteral("20260322=15:30-16:00"));
        if (cache.Update(targets, zone, from, to) != 1)
            state.SkipWithError("more than the one group recomputed");
    }
}
BENCHMARK(BM_CoverageAfterOneFileChanged)->Unit(benchmark::kMillisecond);

} // namespace
