// The edit journal: the time of one journaled plan edit, and the size a busy site's year of edits
// takes (100 plan edits a day on 50 receivers that each have a year of ranges). The answer
// journal: the writer's time per answer, and the size of a year of 50,000 answers a day.
#include <benchmark/benchmark.h>
#include <random>

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include "engine/JournalKeeper.h"
#include "journal/AnswerJournal.h"
#include "schedule/PageTarget.h"

namespace {

constexpr int kTargets = 50;

QList<CPageTarget> YearPlans()
{
    QList<CPageTarget> targets;
    for (int t = 0; t < kTargets; ++t) {
        CPageTarget target;
        target.m_id = QString::number(100 + t);
        target.m_name = QStringLiteral("Receiver %1").arg(t);
        for (QDate date(2026, 1, 1); date.year() == 2026; date = date.addDays(1))
            target.m_ranges.AddFromText(date.toString(QStringLiteral("yyyyMMdd"))
                + ((date.day() + t) % 2 ? QStringLiteral("=07:00-15:30") : QStringLiteral("=22:00-24:00")));
        targets.append(target);
    }
    return targets;
}

// One edit of a plan with a year of ranges, journaled (one SQLite transaction, synchronous).
void BM_JournalPlanEdit(benchmark::State& state)
{
    QTemporaryDir dir;
    CJournalKeeper keeper(QStringLiteral("window"));
    keeper.SetFolder(dir.path());
    QList<CPageTarget> targets = YearPlans();
    for (const CPageTarget& target : targets)
        keeper.RecordPlan(target, QStringLiteral("Plan of action"));
    int round = 0;
    for (auto _ : state) {
        CPageTarget& target = targets[round % kTargets];
        target.m_ranges.AddFromText(
            QStringLiteral("20260315=%1:00-%1:30").arg(round % 24, 2, 10, QLatin1Char('0')));
        keeper.RecordPlan(target, QStringLiteral("Plan of action"));
        ++round;
    }
}
BENCHMARK(BM_JournalPlanEdit)->Unit(benchmark::kMicrosecond);

// A year of a busy site: 365 x 100 plan edits, each adding or removing a range. Reports the size
// of the journal file (bytes) and the entries.
void BM_JournalYearOfEdits(benchmark::State& state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        qint64 now = 1'767'225'600'000LL; // 2026-01-01
        CJournalKeeper keeper(QStringLiteral("window"));
        keeper.SetFolder(dir.path());
        keeper.SetClock([&now] { return now; });
        QList<CPageTarget> targets = YearPlans();
        for (const CPageTarget& target : targets)
            keeper.RecordPlan(target, QStringLiteral("Plan of action"));
        std::mt19937 random(2026);
        for (int day = 0; day < 365; ++day) {
            for (int edit = 0; edit < 100; ++edit) {
                now += 864'000; // 100 a day
                CPageTarget& target = targets[int(random() % kTargets)];
                if (random() % 2 && !target.m_ranges.isEmpty())
                    target.m_ranges.removeAt(qsizetype(random() % quint32(target.m_ranges.size())));
                else
                    target.m_ranges.AddFromText(
                        QDate(2026, 1, 1).addDays(random() % 365).toString(QStringLiteral("yyyyMMdd"))
                        + QStringLiteral("=12:00-13:00"));
                keeper.RecordPlan(target, QStringLiteral("Plan of action"));
            }
        }
        keeper.SetFolder(QString()); // closed: the write-ahead log goes into the file
        state.counters["bytes"] = double(QFileInfo(CJournal::PathIn(dir.path())).size());
        state.counters["entries"] = 365.0 * 100 + kTargets;
    }
}
BENCHMARK(BM_JournalYearOfEdits)->Unit(benchmark::kSecond)->Iterations(1);

// Answers of 1,000 receivers through 200 groups (every second one through a group), as the socket
// queues them; an iteration is one answer queued and written (the writer's whole cost per answer).
void BM_AnswerJournalWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    CAnswerJournal journal(CJournal::PathIn(dir.path()));
    qint64 at = 1'796'000'000'000LL;
    qint64 n = 0;
    for (auto _ : state) {
        journal.Add({ at + n / 8, 1000, QString::number(1000 + n % 1000),
            n % 2 ? QString::number(5000 + n % 200) : QString(), int(n % 4 == 3) * 3, 1'796'000'000 });
        if (++n % 4096 == 0)
            journal.Flush();
    }
    journal.Flush();
}
BENCHMARK(BM_AnswerJournalWrite)->Unit(benchmark::kMicrosecond);

// A year of a busy site's answers: 365 x 50,000, spread over each day, with the keys (times) they
// would have. Reports the size of the database file (bytes) and the answers kept.
void BM_AnswerJournalYear(benchmark::State& state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = CJournal::PathIn(dir.path());
        qint64 n = 0;
        {
            // Kept two years: nothing of the generated year is pruned.
            CAnswerJournal journal(path, 2 * 366);
            std::mt19937 random(2026);
            const qint64 start = QDateTime::currentMSecsSinceEpoch() - 365 * 86'400'000LL;
            for (int day = 0; day < 365; ++day) {
                for (int i = 0; i < 50'000; ++i, ++n) {
                    const quint32 r = random();
                    journal.Add({ start + day * 86'400'000LL + qint64(i) * 1728, 1000 + qint64(r % 3),
                        QString::number(1000 + r % 1000), r % 2 ? QString::number(5000 + r % 200) : QString(),
                        (r >> 12) % 4 == 3 ? 3 : 0, 1'796'000'000 + day * 86'400 });
                }
                journal.Flush();
            }
        }
        state.counters["bytes"] = double(QFileInfo(path).size());
        state.counters["answers"] = double(n);
    }
}
BENCHMARK(BM_AnswerJournalYear)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
