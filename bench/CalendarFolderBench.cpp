// The calendar folder after one dispatch file changed: 1,000 receivers with a range on every
// working day of the default span (17 weeks); only the changed receiver's file and
// all-receivers.ics are written (the benchmark stops with an error otherwise). The whole folder
// written at the start is measured beside it, and what the asking thread is held for when the
// calendar thread writes it.

#include <benchmark/benchmark.h>
#include <memory>

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>

#include "engine/CalendarFolder.h"
#include "engine/CalendarWriter.h"
#include "schedule/DutyCalendar.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kReceivers = 1'000;

CPageTargetArray MakeReceivers(QDate today)
{
    const auto [from, to] = DefaultCalendarSpan(today);
    CPageTargetArray targets;
    targets.reserve(kReceivers);
    for (int i = 0; i < kReceivers; ++i) {
        CPageTarget target;
        target.m_id = QString::number(1000 + i);
        target.m_name = QStringLiteral("Receiver %1").arg(i);
        target.m_number = i;
        target.m_fileTimeMemo = 1;
        for (QDate day = from; day <= to; day = day.addDays(1)) {
            if (day.dayOfWeek() <= 5)
                target.m_ranges.AddFromText(
                    day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("=07:00-15:30"));
        }
        targets.append(std::move(target));
    }
    return targets;
}

void BM_CalendarFolderOneTargetChanged(benchmark::State& state)
{
    QTemporaryDir dir;
    const QDate today = QDate::currentDate();
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    CPageTargetArray targets = MakeReceivers(today);
    CCalendarFolder folder;
    folder.SetFolder(dir.path());
    if (folder.Update(targets, today, stamp) != kReceivers + 2) {
        state.SkipWithError("the folder was not written whole");
        return;
    }
    qint64 memo = 1;
    int next = 0;
    for (auto _ : state) {
        // One receiver's dispatch file was saved (its time memo moved).
        targets[next].m_fileTimeMemo = ++memo;
        if (folder.Update(targets, today, stamp) != 2) {
            state.SkipWithError("more than the target's file and all-receivers.ics were written");
            return;
        }
        next = (next + 37) % kReceivers;
    }
}
BENCHMARK(BM_CalendarFolderOneTargetChanged)->Unit(benchmark::kMillisecond);

void BM_CalendarFolderWhole(benchmark::State& state)
{
    QTemporaryDir dir;
    const QDate today = QDate::currentDate();
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    const CPageTargetArray targets = MakeReceivers(today);
    for (auto _ : state) {
        CCalendarFolder folder;
        folder.SetFolder(dir.path());
        benchmark::DoNotOptimize(folder.Update(targets, today, stamp));
    }
}
BENCHMARK(BM_CalendarFolderWhole)->Unit(benchmark::kMillisecond);

// What the asking thread (the window's, the service's) is held for when the whole folder is to be
// written: the hand-over to the calendar thread. The writing itself is waited for outside the
// measured time.
void BM_CalendarWriterRequestWhole(benchmark::State& state)
{
    QTemporaryDir dir;
    const QDate today = QDate::currentDate();
    const QDateTime stamp = QDateTime::currentDateTimeUtc();
    const CPageTargetArray targets = MakeReceivers(today);
    for (auto _ : state) {
        state.PauseTiming();
        auto writer = std::make_unique<CCalendarWriter>();
        writer->SetFolder(dir.path());
        state.ResumeTiming();
        writer->Request(targets, today, stamp);
        state.PauseTiming();
        writer->Wait();
        writer.reset();
        state.ResumeTiming();
    }
}
// A few iterations: each also waits, untimed, for the whole folder to be written.
BENCHMARK(BM_CalendarWriterRequestWhole)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
