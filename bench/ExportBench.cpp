// Print/export of the plan: a month of 1,000 receivers read from the planner grid into the table
// and written as HTML. Budget (median): within 2 s.

#include <benchmark/benchmark.h>
#include <memory>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "planning/PlanExport.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "server/ServerCommand.h"

#include "BenchServers.h"

namespace {

constexpr int kReceivers = 1000;

// Each receiver on duty on every other day of May 2024, one shift of two to eight hours.
void FillTargets(CPageTargetArray& targets)
{
    targets.reserve(kReceivers);
    for (int i = 0; i < kReceivers; ++i) {
        CPageTarget target;
        target.m_number = i + 1;
        target.m_id = QString::number(1000 + i);
        target.m_name = QStringLiteral("Receiver %1").arg(i);
        target.m_colour = quint32(i * 2654435761u) & 0xFFFFFF;
        for (int day = 1 + i % 2; day <= 31; day += 2) {
            CDispatchRange range;
            range.m_year = 2024;
            range.m_month = 5;
            range.m_day = day;
            range.m_from = (i * 15) % 960;
            range.m_to = range.m_from + 120 + (i % 7) * 60;
            target.m_ranges.append(range);
        }
        targets.append(std::move(target));
    }
}

void BM_ExportMonthOfAllReceivers(benchmark::State& state)
{
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    FillTargets(doc.PageTargets());
    CPlannerModel model;
    CTimePlanner planner(doc, model);
    QTemporaryDir dir;

    SPlanExportRequest request;
    request.m_allTargets = true;
    request.m_period = PlanPeriodMonth;
    request.m_weekStart = CDateTime(2024, 5, 6, 0, 0, 0);
    qint64 bytes = 0;
    for (auto _ : state) {
        SPlanTable table;
        BuildPlanTable(planner, doc.PageTargets(), request, table);
        const QString path = WritePlanFile(table, dir.path());
        bytes = QFile(path).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_bytes"] = double(bytes);
}
BENCHMARK(BM_ExportMonthOfAllReceivers)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

} // namespace
