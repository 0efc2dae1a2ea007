// Loading a group's dispatch plan into the planner grid, as the planning dialog does on every
// target change and week step. Budget (median): a group of 14 members, each with a year of
// ranges that overlap the other members' all day long, in the two-week grid within 20 ms.

#include <benchmark/benchmark.h>
#include <memory>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "planning/PlannerModel.h"
#include "planning/TimePlanner.h"
#include "server/ServerCommand.h"

#include "BenchServers.h"

namespace {

constexpr int kMembers = 14;
constexpr int kDays = 365;

void FillTargets(CKelvarisDoc& doc)
{
    CPageTargetArray& targets = doc.PageTargets();
    QStringList names;
    const CDateTime first(2024, 1, 1, 0, 0, 0);
    for (int member = 0; member < kMembers; ++member) {
        CPageTarget target;
        target.m_name = QStringLiteral("Receiver %1").arg(member);
        target.m_id = QString::number(100 + member);
        target.m_number = member + 1;
        target.m_colour = quint32(0x102030 * (member + 1)) & 0xFFFFFF;
        target.m_ranges.reserve(2 * kDays);
        for (int day = 0; day < kDays; ++day) {
            CDispatchRange range;
            range.SetDate(first + CDateTimeSpan(day, 0, 0, 0));
            // Early and late shifts that overlap every other member's.
            range.m_from = 0;
            range.m_to = 720 + 15 * member;
            target.m_ranges.append(range);
            range.m_from = 600 - 15 * member;
            range.m_to = 1440;
            target.m_ranges.append(range);
        }
        names.append(target.m_name);
        targets.append(std::move(target));
    }
    CPageTarget group;
    group.m_name = QStringLiteral("Group");
    group.m_id = QStringLiteral("900");
    group.m_number = -1;
    group.m_members = names.join(u';');
    CDispatchRange own;
    own.SetDate(CDateTime(2024, 3, 5, 0, 0, 0));
    own.m_from = 480;
    own.m_to = 1020;
    group.m_ranges.append(own);
    targets.append(std::move(group));
}

void BM_LoadGroupPlan(benchmark::State& state)
{
    CNoServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    FillTargets(doc);
    CPlannerModel model;
    CTimePlanner planner(doc, model);
    planner.SetUp(CDateTime(2024, 3, 4, 0, 0, 0), false, QSize(1600, 700));
    const qsizetype group = doc.PageTargets().size() - 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(planner.LoadPlan(group));
    state.counters["cells"] = double(model.ColumnCount() * model.RowCount());
}
BENCHMARK(BM_LoadGroupPlan)->Unit(benchmark::kMillisecond);

} // namespace
