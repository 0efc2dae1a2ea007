// The dispatch check, which the alarm server asks for every message it is about to deliver.
// Budget (median): 2 us per check with 1,000 page targets of which 200 are takeover groups.
// Each takeover group has a current target in its dispatch file, read through the profile cache
// on every check; the files' times are set well into the past, so the cache trusts an unchanged
// status and does not compare the content. Every receiver has a year of ranges (one a day).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include "engine/Dispatch.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kTargets = 1'000;
constexpr int kGroups = 200;
constexpr int kReceivers = kTargets - kGroups;

const QString kTime = QStringLiteral("2024-07-01 10:00:00");

QString ReceiverId(int i)
{
    return QString::number(1000 + i);
}
QString GroupId(int i)
{
    return QString::number(5000 + i);
}

struct CBenchSetup
{
    QTemporaryDir dir;
    CPageTargetArray targets;
    bool ok = false;
};

// Built once for all benchmarks; the configuration location points into its folder from then on.
CBenchSetup& Setup()
{
    static const std::unique_ptr<CBenchSetup> setup = [] {
        auto made = std::make_unique<CBenchSetup>();
        ConfigLocation().SetPaths(made->dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
        QStringList yearOfRanges;
        for (QDate date(2024, 1, 1); date.year() == 2024; date = date.addDays(1))
            yearOfRanges.append(date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("=07:00-15:30"));
        made->targets.reserve(kTargets);
        // One group after every four receivers, so groups and receivers are spread over the list.
        int receiver = 0;
        int group = 0;
        bool ok = true;
        for (int i = 0; i < kTargets; ++i) {
            CPageTarget target;
            if (i % 5 == 4) {
                target.m_id = GroupId(group);
                target.m_name = QStringLiteral("Group %1").arg(group);
                target.m_number = -1 - group;
                target.m_takeover = true;
                target.m_members
                    = QStringLiteral("Receiver %1;Receiver %2").arg(4 * group).arg(4 * group + 1);
                ok = ok && target.SaveDispatchFile() && target.WriteCurrentTargetId(ReceiverId(4 * group));
                const QByteArray path = QFile::encodeName(target.DispatchFilePath());
                const timespec times[2] = { { 1'700'000'000, 0 }, { 1'700'000'000, 0 } };
                ok = ok && ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
                ++group;
            } else {
                target.m_id = ReceiverId(receiver);
                target.m_name = QStringLiteral("Receiver %1").arg(receiver);
                target.m_number = receiver;
                for (const QString& line : yearOfRanges)
                    target.m_ranges.AddFromText(line);
                ++receiver;
            }
            made->targets.append(std::move(target));
        }
        made->ok = ok && group == kGroups && receiver == kReceivers;
        return made;
    }();
    return *setup;
}

// Through a takeover group: every other check asks for the group's current target (Send), the
// others for its second member (NotDispatched); the receiver's plan is not consulted.
void BM_CheckThroughTakeoverGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    QList<std::pair<QString, QString>> asks;
    for (int group = 0; group < kGroups; ++group) {
        asks.append({ ReceiverId(4 * group), GroupId(group) });
        asks.append({ ReceiverId(4 * group + 1), GroupId(group) });
    }
    if (!setup.ok || CheckDispatching(setup.targets, asks[0].first, asks[0].second, kTime) != kDispatchSend
        || CheckDispatching(setup.targets, asks[1].first, asks[1].second, kTime) != kDispatchNotDispatched) {
        state.SkipWithError("set-up failed");
        return;
    }
    qsizetype next = 0;
    for (auto _ : state) {
        const auto& [receiver, group] = asks.at(next);
        benchmark::DoNotOptimize(CheckDispatching(setup.targets, receiver, group, kTime));
        next = next + 1 == asks.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_CheckThroughTakeoverGroup)->Unit(benchmark::kNanosecond);

// Without a group: the receiver's year of ranges decides (on duty at 10:00).
void BM_CheckWithoutGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    QStringList receivers;
    for (int i = 0; i < kReceivers; i += 7)
        receivers.append(ReceiverId(i));
    if (!setup.ok || CheckDispatching(setup.targets, receivers[0], QString(), kTime) != kDispatchSend) {
        state.SkipWithError("set-up failed");
        return;
    }
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckDispatching(setup.targets, receivers.at(next), QString(), kTime));
        next = next + 1 == receivers.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_CheckWithoutGroup)->Unit(benchmark::kNanosecond);

// The parts of a check through a takeover group, for comparison: the current target's read
// through the profile cache, and the parse of the time text.
void BM_PartReadCurrentTargetId(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    if (!setup.ok) {
        state.SkipWithError("set-up failed");
        return;
    }
    int group = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup.targets.at(5 * group + 4).ReadCurrentTargetId());
        group = group + 1 == kGroups ? 0 : group + 1;
    }
}
BENCHMARK(BM_PartReadCurrentTargetId)->Unit(benchmark::kNanosecond);

void BM_PartParseTime(benchmark::State& state)
{
    for (auto _ : state) {
        CDateTime time;
        benchmark::DoNotOptimize(DateTimeFromText(kTime, time));
        benchmark::DoNotOptimize(time);
    }
}
BENCHMARK(BM_PartParseTime)->Unit(benchmark::kNanosecond);

} // namespace
