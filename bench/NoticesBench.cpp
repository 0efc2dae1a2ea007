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

namespace {

constexpr int kReceivers = 1000;
constexpr int kGroups = 200;

CPageTargetArray Targets()
{
    CPageTargetArray made;
    for (int r = 0; r < kReceivers; ++r) {
        CPageTarget receiver;
        receiver.m_id = QString::number(r);
        receiver.m_name = QStringLiteral("Receiver %1").arg(r);
        for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1)) {
            const QString day = date.toString(QStringLiteral("yyyyMMdd"));
            receiver.m_ranges.AddFromText((date.day() + r) % 2 ? day + QStringLiteral("=07:00-15:30")
                                                               : day + QStringLiteral("=22:00-24:00"));
        }
        made.append(std::move(receiver));
    }
    for (int g = 0; g < kGroups; ++g) {
        CPageTarget group;
        group.m_id = QStringLiteral("g%1").arg(g);
        group.m_name = QStringLiteral("Group %1").arg(g);
        group.m_number = -1 - g;
        QStringList members;
        for (int m = 0; m < 5; ++m)
            members << QStringLiteral("Receiver %1").arg(5 * g + m);
        group.m_members = members.join(u';');
        made.append(std::move(group));
    }
    return made;
}

// An alarm server that takes every command.
class CTakingServer : public CServerCommandFactory
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
    const CPageTargetArray targets = Targets();
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
