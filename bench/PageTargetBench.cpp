// Page target lookups and the current target read of the dispatch check, which the alarm server
// asks for many times a second. Budgets (median): FindById and FindByName in a list of 10,000
// targets within 1 us each; ReadCurrentTargetId of an unchanged dispatch file within 5 us.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>

#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kTargets = 10'000;

CPageTargetArray MakeTargets()
{
    CPageTargetArray targets;
    targets.reserve(kTargets);
    for (int i = 0; i < kTargets; ++i) {
        CPageTarget target;
        target.m_id = QString::number(1000 + i);
        target.m_name = QStringLiteral("Receiver %1").arg(i);
        target.m_number = i % 10 == 0 ? -1 : i;
        targets.append(std::move(target));
    }
    return targets;
}

// Looks up every 97th ID in turn, so that the keys vary and a miss is part of the mix.
void BM_FindById(benchmark::State& state)
{
    const CPageTargetArray targets = MakeTargets();
    QStringList keys;
    for (int i = 0; i < kTargets; i += 97)
        keys.append(QString::number(1000 + i));
    keys.append(QStringLiteral("no such ID"));
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(targets.FindById(keys.at(next)));
        next = next + 1 == keys.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_FindById)->Unit(benchmark::kNanosecond);

void BM_FindByName(benchmark::State& state)
{
    const CPageTargetArray targets = MakeTargets();
    QStringList keys;
    for (int i = 0; i < kTargets; i += 97)
        keys.append(QStringLiteral("Receiver %1").arg(i));
    keys.append(QStringLiteral("receiver 5"));
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(targets.FindByName(keys.at(next)));
        next = next + 1 == keys.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_FindByName)->Unit(benchmark::kNanosecond);

// A group's dispatch file with a year of ranges, its time set back beyond the two seconds in
// which the profile cache would compare the content as well.
void BM_ReadCurrentTargetIdUnchanged(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString savedConfig = ConfigLocation().ConfigPath();
    const QString savedMaster = ConfigLocation().MasterPath();
    ConfigLocation().SetPaths(dir.filePath(QStringLiteral("kelvaris.cfg")), QString());

    CPageTarget group;
    group.m_id = QStringLiteral("40");
    group.m_name = QStringLiteral("Service North");
    group.m_number = -3;
    group.m_takeover = true;
    for (int day = 0; day < 365; ++day) {
        const QDate date = QDate(2024, 1, 1).addDays(day);
        group.m_ranges.AddFromText(
            date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("=07:00-15:30"));
    }
    if (!group.SaveDispatchFile() || !group.WriteCurrentTargetId(QStringLiteral("17"))) {
        state.SkipWithError("cannot write the dispatch file");
        return;
    }
    const QByteArray path = QFile::encodeName(group.DispatchFilePath());
    const timespec times[2] = { { 1'700'000'000, 0 }, { 1'700'000'000, 0 } };
    ::utimensat(AT_FDCWD, path.constData(), times, 0);
    if (group.ReadCurrentTargetId() != QStringLiteral("17"))
        state.SkipWithError("current target missing");

    for (auto _ : state)
        benchmark::DoNotOptimize(group.ReadCurrentTargetId());

    ConfigLocation().SetPaths(savedConfig, savedMaster);
}
BENCHMARK(BM_ReadCurrentTargetIdUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace
