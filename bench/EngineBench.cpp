// The dispatch check, which the alarm server asks for every message it is about to deliver.
// Budget (median): 2 us per check with 1,000 page targets of which 200 are takeover groups (see
// DispatchTargets.h for the set-up).

#include <benchmark/benchmark.h>

#include "engine/Dispatch.h"
#include "schedule/DateTime.h"
#include "schedule/PageTarget.h"

#include "DispatchTargets.h"

namespace {

// Through a takeover group: every other check asks for the group's current target (Send), the
// others for its second member (NotDispatched); the receiver's plan is not consulted.
void BM_CheckThroughTakeoverGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    const QList<CDispatchAsk> asks = TakeoverGroupAsks();
    if (!setup.ok || CheckDispatching(setup.targets, asks[0].receiver, asks[0].group, kTime) != kDispatchSend
        || CheckDispatching(setup.targets, asks[1].receiver, asks[1].group, kTime)
            != kDispatchNotDispatched) {
        state.SkipWithError("set-up failed");
        return;
    }
    qsizetype next = 0;
    for (auto _ : state) {
        const CDispatchAsk& ask = asks.at(next);
        benchmark::DoNotOptimize(CheckDispatching(setup.targets, ask.receiver, ask.group, kTime));
        next = next + 1 == asks.size() ? 0 : next + 1;
    }
}
BENCHMARK(BM_CheckThroughTakeoverGroup)->Unit(benchmark::kNanosecond);

// Without a group: the receiver's year of ranges decides (on duty at 10:00).
void BM_CheckWithoutGroup(benchmark::State& state)
{
    CBenchSetup& setup = Setup();
    const QList<CDispatchAsk> asks = PlainReceiverAsks();
    if (!setup.ok || CheckDispatching(setup.targets, asks[0].receiver, QString(), kTime) != kDispatchSend) {
        state.SkipWithError("set-up failed");
        return;
    }
    qsizetype next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckDispatching(setup.targets, asks.at(next).receiver, QString(), kTime));
        next = next + 1 == asks.size() ? 0 : next + 1;
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
