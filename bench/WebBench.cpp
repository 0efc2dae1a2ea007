// The status board's server time: the board page (and the wall view) over 1,000 receivers with a
// year of ranges each and 200 groups of five, once with the week's timelines cached (every request
// within the hour) and once working them all out (the first request of an hour or after an edit of
// every plan); and /metrics.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "server/ServerCommand.h"
#include "webui/WebServer.h"

#include "BenchServers.h"
#include "YearTargets.h"

namespace {

struct CBoardSite
{
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc { server, rights };
    CWebServer web { doc };
    qint64 now = QDateTime(QDate(2026, 3, 20), QTime(10, 0), QTimeZone::utc()).toMSecsSinceEpoch();

    CBoardSite() { doc.PageTargets() = YearTargets(); }
};

void BM_BoardPage(benchmark::State& state)
{
    CBoardSite site;
    const bool cached = state.range(0) != 0;
    qint64 hour = 0;
    for (auto _ : state) {
        // A new hour works every timeline out again.
        if (!cached)
            ++hour;
        benchmark::DoNotOptimize(site.web.BoardHtml(site.now + hour * 3'600'000, 1).data());
    }
    state.counters["bytes"] = double(site.web.BoardHtml(site.now).size());
}
BENCHMARK(BM_BoardPage)->Arg(1)->Arg(0)->ArgName("cached")->Unit(benchmark::kMillisecond);

void BM_WallPage(benchmark::State& state)
{
    CBoardSite site;
    for (auto _ : state)
        benchmark::DoNotOptimize(site.web.BoardHtml(site.now, 0, true).data());
}
BENCHMARK(BM_WallPage)->Unit(benchmark::kMillisecond);

void BM_Metrics(benchmark::State& state)
{
    CBoardSite site;
    for (auto _ : state)
        benchmark::DoNotOptimize(site.web.MetricsText().data());
}
BENCHMARK(BM_Metrics)->Unit(benchmark::kMicrosecond);

} // namespace
