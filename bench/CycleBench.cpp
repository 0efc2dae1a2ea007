// One engine cycle with nothing changed, as the window's timer runs it every second: 2,189
// holidays, 1,000 barriers and 1,000 shifts of every date type. Budget (median): 50 us.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <random>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "schedule/Holiday.h"
#include "schedule/ConfigLocation.h"
#include "server/ServerCommand.h"

namespace {

// An alarm server that answers every command with an empty text at once.
class CQuietServer : public CServerCommandFactory
{
    class CCommand : public CServerCommand
    {
    public:
        bool ExecuteCommand(const QString&, QString& result) override
        {
            result.clear();
            return true;
        }
    };

public:
    std::unique_ptr<CServerCommand> Create() override { return std::make_unique<CCommand>(); }
};

CDateTime FixedNow()
{
    return CDateTime(2024, 6, 12, 10, 30, 15);
}

void BM_CycleWithoutChange(benchmark::State& state)
{
    QTemporaryDir dir;
    ConfigLocation().SetPaths(dir.filePath(QStringLiteral("kelvaris.cfg")), QString());
    SetCurrentTimeSource(&FixedNow);
    CQuietServer server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    doc.Initialise();

    GenerateStatutoryHolidays(doc.m_holidays, 1901, 2099);
    std::mt19937 random(4711);
    std::uniform_int_distribution<int> dateType(1, 13);
    std::uniform_int_distribution<int> second(0, 86399);
    for (int i = 0; i < 1000; ++i) {
        const int a = second(random);
        const int b = second(random);
        CBarrage barrier;
        barrier.m_name = QStringLiteral("Barrier %1").arg(i);
        barrier.m_dateType = dateType(random);
        barrier.m_date = CDateTime(2020 + i % 10, 1 + i % 12, 1 + i % 28, 0, 0, 0);
        barrier.m_startTime = CDateTime::FromSecondsSinceBase(std::min(a, b));
        barrier.m_endTime = CDateTime::FromSecondsSinceBase(std::max(a, b));
        barrier.m_barrierType = 1 + i % 3;
        doc.m_barriers.append(barrier);
        CShift shift;
        shift.m_name = QStringLiteral("Shift %1").arg(i);
        shift.m_dateType = dateType(random);
        shift.m_date = barrier.m_date;
        shift.m_startTime = barrier.m_startTime;
        shift.m_endTime = barrier.m_endTime;
        shift.m_shiftNumber = 1 + i % 9;
        doc.m_shifts.append(shift);
    }
    doc.m_barriers.Sort();
    doc.m_shifts.Sort();
    doc.Activate();
    doc.Cycle(); // the first cycle pushes; the measured ones find nothing changed

    for (auto _ : state)
        doc.Cycle();
    SetCurrentTimeSource(nullptr);
}
BENCHMARK(BM_CycleWithoutChange)->Unit(benchmark::kMicrosecond);

} // namespace
