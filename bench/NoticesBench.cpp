// The duty notices' look once a minute (reminders due, changes over the next 48 hours, holders,
// the daily summary) over 1,000 receivers with a year of ranges each and 200 groups of five, in
// Berlin's zone: the time the engine's thread spends on it every minute.
#include <benchmark/benchmark.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>

#include "engine/DutyNotices.h"
#include "schedule/ConfigLocation.h"
#include "schedule/PageTarget.h"
#include "server/ServerCommand.h"

#include "BenchServers.h"
#include "YearTargets.h"

namespace {

void BM_NoticesMinuteLook(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("kelvaris.cfg"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write("[Settings]\r\nNoticeSummaryTargets=0\r\nNoticeSummaryTime=07:00\r\n") < 0) {
        state.SkipWithError("cannot write the configuration");
        return;
    }
    file.close();
    ConfigLocation().SetPaths(config, QString());
    const CPageTargetArray& targets = YearTargets();
    CTakingServer server;
    CDutyNotices notices;
    const QTimeZone zone("Europe/Berlin");
    qint64 now = QDateTime(QDate(2026, 3, 20), QTime(5, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    qint64 sent = 0;
    for (auto _ : state) {
        notices.Update(targets, zone, now, config, server, false, {},
            [&sent](const CNotice&, const QString&) { ++sent; });
        now += 60'000;
    }
    state.counters["notices"] = double(sent);
}
BENCHMARK(BM_NoticesMinuteLook)->Unit(benchmark::kMillisecond);

} // namespace
