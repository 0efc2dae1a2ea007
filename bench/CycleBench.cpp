// One engine cycle with nothing changed, as the window's timer runs it every second: 2,189
// holidays, 1,000 barriers and 1,000 shifts of every date type. Budget (median): 50 us.

#include <benchmark/benchmark.h>
#include <random>

#include <QTemporaryDir>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "schedule/ConfigLocation.h"
#include "schedule/Holiday.h"
#include "server/ServerCommand.h"

#include "BenchServers.h"
#include "LargeSchedule.h"

namespace {

CDateTime FixedNow()
{
    return CDateTime(2024, 6, 12, 10, 30, 15);
}

void BM_CycleWithoutChange(benchmark::State& state)
{
    QTemporaryDir dir;
    ConfigLocation().SetPaths(dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
    SetCurrentTimeSource(&FixedNow);
    CTakingServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    doc.Initialise();

    FillLargeSchedule(doc.m_holidays, doc.m_barriers, doc.m_shifts, 1000);
    doc.Activate();
    doc.Cycle(); // the first cycle pushes; the measured ones find nothing changed

    for (auto _ : state)
        doc.Cycle();
    SetCurrentTimeSource(nullptr);
}
BENCHMARK(BM_CycleWithoutChange)->Unit(benchmark::kMicrosecond);

} // namespace
