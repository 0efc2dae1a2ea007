// The coverage check over 1,000 receivers with a year of ranges each (a morning and a night duty
// on alternate days) and 200 groups of five members, 14 days ahead, in Berlin's zone.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include "schedule/Coverage.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kReceivers = 1000;
constexpr int kGroups = 200;

const CPageTargetArray& Targets()
{
    static const CPageTargetArray targets = [] {
        CPageTargetArray made;
        for (int r = 0; r < kReceivers; ++r) {
            CPageTarget receiver;
            receiver.m_id = QString::number(r);
            receiver.m_name = QStringLiteral("Receiver %1").arg(r);
            for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1)) {
                const QString day = date.toString(QStringLiteral("yyyyMMdd"));
                receiver.m_ranges.AddFromText((date.day() + r) % 2 ? day + QStringLiteral("=07:00-15:30")
                                                                   : day + QStringLiteral("=22:00-24:00"));
            }
            made.append(std::move(receiver));
        }
        for (int g = 0; g < kGroups; ++g) {
            CPageTarget group;
            group.m_id = QStringLiteral("g%1").arg(g);
            group.m_name = QStringLiteral("Group %1").arg(g);
            group.m_number = -1 - g;
            QStringList members;
            for (int m = 0; m < 5; ++m)
                members << QStringLiteral("Receiver %1").arg(5 * g + m);
            group.m_members = members.join(u';');
            made.append(std::move(group));
        }
        return made;
    }();
    return targets;
}

void BM_GroupCoverage(benchmark::State& state)
{
    const CPageTargetArray& targets = Targets();
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
    const CPageTargetArray& targets = Targets();
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
    CPageTargetArray targets = Targets();
    const qint64 from = QDateTime(QDate(2026, 3, 20), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    const qint64 to = from + 9 * 86'400'000LL;
    const QTimeZone zone("Europe/Berlin");
    CCoverageCache cache;
    cache.Update(targets, zone, from, to);
    int round = 0;
    for (auto _ : state) {
        CPageTarget& receiver = targets[(round++ * 7) % kReceivers];
        receiver.m_ranges.AddFromText(QStringLiteral("20260322=15:30-16:00"));
        if (cache.Update(targets, zone, from, to) != 1)
            state.SkipWithError("more than the one group recomputed");
    }
}
BENCHMARK(BM_CoverageAfterOneFileChanged)->Unit(benchmark::kMillisecond);

} // namespace
