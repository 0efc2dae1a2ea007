// All receivers' duty calendar: 1,000 receivers with ranges on every working day of 2026 (day
// shifts for most, night shifts across midnight for every fourth), the default span around
// 10 March 2026 (17 weeks, across the spring clock change in zones that have one): DutyEvents for
// every receiver, then one WriteCalendar. Budget (median): within 1 s.
// Run with TZ=Europe/Berlin to include the clock change.

#include <benchmark/benchmark.h>

#include <QDateTime>
#include <QTimeZone>

#include "schedule/DutyCalendar.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kReceivers = 1000;

CPageTargetArray MakeReceivers()
{
    CPageTargetArray targets;
    targets.reserve(kReceivers);
    for (int i = 0; i < kReceivers; ++i) {
        CPageTarget target;
        target.m_number = i + 1;
        target.m_id = QString::number(1000 + i);
        target.m_name = QStringLiteral("Receiver %1, Rettungswache Süd").arg(i);
        for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1)) {
            if (date.dayOfWeek() > 5)
                continue;
            CDispatchRange range;
            range.m_year = date.year();
            range.m_month = date.month();
            range.m_day = date.day();
            if (i % 4 == 3) { // 22:00 until 06:00 the next day
                range.m_from = 22 * 60;
                range.m_to = 24 * 60;
                target.m_ranges.append(range);
                const QDate next = date.addDays(1);
                range.m_year = next.year();
                range.m_month = next.month();
                range.m_day = next.day();
                range.m_from = 0;
                range.m_to = 6 * 60;
            } else {
                range.m_from = 7 * 60 + (i % 8) * 15;
                range.m_to = range.m_from + 8 * 60 + 30;
            }
            target.m_ranges.append(range);
        }
        targets.append(std::move(target));
    }
    return targets;
}

void BM_CalendarOfAllReceivers(benchmark::State& state)
{
    const CPageTargetArray targets = MakeReceivers();
    const auto [from, to] = DefaultCalendarSpan(QDate(2026, 3, 10));
    const QDateTime stamp(QDate(2026, 3, 10), QTime(12, 0), QTimeZone::utc());
    qsizetype events = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        QList<SDutyEvent> all;
        for (const CPageTarget& target : targets)
            all += DutyEvents(target, from, to);
        const QByteArray calendar = WriteCalendar(all, QStringLiteral("All receivers"), stamp);
        benchmark::DoNotOptimize(calendar.constData());
        events = all.size();
        bytes = calendar.size();
    }
    state.counters["events"] = double(events);
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_CalendarOfAllReceivers)->Unit(benchmark::kMillisecond);

} // namespace
