#include "schedule/DutyTimeline.h"

#include <array>
#include <gtest/gtest.h>
#include <ostream>
#include <random>

#include <QDateTime>
#include <QTimeZone>

#include "schedule/PageTarget.h"

// Spans as UTC times in failure messages.
void PrintTo(const CDutySpan& span, std::ostream* out)
{
    *out << QDateTime::fromMSecsSinceEpoch(span.startMs, Qt::UTC).toString(Qt::ISODate).toStdString() << "/"
         << QDateTime::fromMSecsSinceEpoch(span.endMs, Qt::UTC).toString(Qt::ISODate).toStdString();
}

namespace {

qint64 Utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC).toMSecsSinceEpoch();
}

// Dispatch file lines; "|" separates lines.
CDispatchRangeArray Plan(const char* lines)
{
    CDispatchRangeArray ranges;
    for (const QString& line : QString::fromLatin1(lines).split(u'|'))
        ranges.AddFromText(line);
    return ranges;
}

bool InTimeline(const QList<CDutySpan>& spans, qint64 ms)
{
    for (const CDutySpan& span : spans) {
        if (span.startMs <= ms && ms < span.endMs)
            return true;
    }
    return false;
}

// What the dispatch decision answers at a real moment: the wall clock there (by Qt's own zone
// arithmetic), then the plan's rule.
bool DecisionSays(const CDispatchRangeArray& ranges, const QTimeZone& zone, qint64 ms)
{
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(ms, zone);
    const QDate date = wall.date();
    const QTime time = wall.time();
    const CDateTime moment(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second());
    return ranges.isEmpty() || ranges.Covers(moment);
}

} // namespace

// The clock-change nights of 2027 in Berlin: a range inside the skipped hour has no duty, one
// across it is on duty from the change, and one in the repeated hour is on duty in both passes.
TEST(DutyTimelineTest, ClockChangeNightsFollowTheDecisionsRule)
{
    const QTimeZone berlin("Europe/Berlin");
    const qint64 from = Utc(2027, 3, 27, 0, 0);
    const qint64 to = Utc(2027, 11, 1, 0, 0);
    struct CCase
    {
        const char* line;
        QList<CDutySpan> expected;
    };
    const CCase cases[] = {
        { "20270328=02:00-02:45", {} },
        { "20270328=02:15-04:00", { { Utc(2027, 3, 28, 1, 0), Utc(2027, 3, 28, 2, 0) } } },
        { "20270328=01:00-03:30", { { Utc(2027, 3, 28, 0, 0), Utc(2027, 3, 28, 1, 30) } } },
        { "20271031=02:30-03:00",
            { { Utc(2027, 10, 31, 0, 30), Utc(2027, 10, 31, 1, 0) },
                { Utc(2027, 10, 31, 1, 30), Utc(2027, 10, 31, 2, 0) } } },
        { "20271031=01:00-04:00", { { Utc(2027, 10, 30, 23, 0), Utc(2027, 10, 31, 3, 0) } } },
        // A night duty across midnight is one span.
        { "20271030=22:00-24:00|20271031=00:00-06:00",
            { { Utc(2027, 10, 30, 20, 0), Utc(2027, 10, 31, 5, 0) } } },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(DutyTimeline(Plan(c.line), CZoneOffsets(berlin, from, to), from, to), c.expected);
    }
    // No ranges: on duty all the time; the span is cut to what was asked.
    EXPECT_EQ(DutyTimeline(CDispatchRangeArray(), CZoneOffsets(berlin, from, to), from, to),
        (QList<CDutySpan> { { from, to } }));
    EXPECT_EQ(DutyTimeline(Plan("20270328=00:00-24:00"), CZoneOffsets(berlin, from, to),
                  Utc(2027, 3, 28, 12, 0), Utc(2027, 3, 28, 13, 0)),
        (QList<CDutySpan> { { Utc(2027, 3, 28, 12, 0), Utc(2027, 3, 28, 13, 0) } }));
}

// The timeline and the decision agree at random moments, most of them on clock-change nights, in
// three zones (northern and southern changes), for random plans that touch those nights.
TEST(DutyTimelineTest, AgreesWithTheDecisionAtRandomMoments)
{
    std::mt19937_64 random(20261208);
    const char* const zones[] = { "Europe/Berlin", "America/New_York", "Australia/Sydney" };
    int compared = 0;
    for (const char* zoneName : zones) {
        const QTimeZone zone(zoneName);
        ASSERT_TRUE(zone.isValid()) << zoneName;
        const qint64 from = Utc(2026, 1, 1, 0, 0);
        const qint64 to = Utc(2029, 1, 1, 0, 0);
        // The days of the clock changes, where the plans and the moments crowd.
        QList<qint64> nights;
        for (const QTimeZone::OffsetData& change : zone.transitions(
                 QDateTime::fromMSecsSinceEpoch(from, Qt::UTC), QDateTime::fromMSecsSinceEpoch(to, Qt::UTC)))
            nights.append(change.atUtc.toMSecsSinceEpoch());
        ASSERT_GE(nights.size(), 6) << zoneName;
        const CZoneOffsets offsets(zone, from, to);
        for (int plan = 0; plan < 40; ++plan) {
            CDispatchRangeArray ranges;
            const qint64 night = nights.at(qsizetype(random() % quint64(nights.size())));
            const QDate day = QDateTime::fromMSecsSinceEpoch(night, zone).date();
            for (int n = int(random() % 6); n > 0; --n) {
                const QDate date = day.addDays(qint64(random() % 3) - 1);
                CDispatchRange range;
                range.m_year = date.year();
                range.m_month = date.month();
                range.m_day = date.day();
                range.m_from = int(random() % (24 * 60));
                range.m_to = range.m_from + int(random() % (24 * 60 - range.m_from + 1));
                ranges.append(range);
            }
            const QList<CDutySpan> spans = DutyTimeline(ranges, offsets, from, to);
            for (int moment = 0; moment < 100; ++moment) {
                // Within six hours of the change, on whole minutes and just before or after them.
                qint64 ms = night + qint64(random() % (12 * 3600)) * 1000 - 6 * 3600 * 1000;
                ms += std::array<qint64, 4> { 0, -1, 1, 30'000 }[random() % 4];
                ASSERT_EQ(InTimeline(spans, ms), DecisionSays(ranges, zone, ms))
                    << zoneName << " at "
                    << QDateTime::fromMSecsSinceEpoch(ms, zone).toString(Qt::ISODateWithMs).toStdString()
                    << " plan of " << ranges.size() << " ranges";
                ++compared;
            }
        }
    }
    EXPECT_GE(compared, 10'000);
}
