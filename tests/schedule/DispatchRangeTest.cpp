#include "schedule/DispatchRange.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

CDateTime Day(int year, int month, int day)
{
    return CDateTime(year, month, day, 0, 0, 0);
}

CDispatchRange Range(int year, int month, int day, int from, int to)
{
    return CDispatchRange { .m_day = day, .m_month = month, .m_year = year, .m_from = from, .m_to = to };
}

// The ranges of one date, in array order.
QList<CDispatchRange> RangesOn(const CDispatchRangeArray& ranges, int year, int month, int day)
{
    QList<CDispatchRange> out;
    for (const CDispatchRange& range : ranges) {
        if (range.IsOnDate(year, month, day))
            out.append(range);
    }
    return out;
}

} // namespace

TEST(DispatchRangeTest, DayNumbersAgreeWithDateTime)
{
    // Every 97th day across the representable years, and the leap days around century years.
    for (qint64 dayNumber = Day(100, 1, 1).DayNumber(); dayNumber <= Day(9999, 12, 31).DayNumber();
         dayNumber += 97) {
        const CDateTime date = CDateTime::FromSecondsSinceBase(dayNumber * 86400);
        int year = 0;
        int month = 0;
        int day = 0;
        CivilFromDayNumber(dayNumber, year, month, day);
        ASSERT_EQ(year, date.GetYear()) << dayNumber;
        ASSERT_EQ(month, date.GetMonth()) << dayNumber;
        ASSERT_EQ(day, date.GetDay()) << dayNumber;
        ASSERT_EQ(DayNumberFromCivil(year, month, day), dayNumber);
    }
    EXPECT_EQ(Range(2000, 2, 29, 0, 1).DayNumber(), Day(2000, 2, 29).DayNumber());
    EXPECT_EQ(Range(1900, 2, 29, 0, 1).DayNumber(), CDispatchRange::kNoDay);
    EXPECT_EQ(Range(2024, 13, 1, 0, 1).DayNumber(), CDispatchRange::kNoDay);
    EXPECT_EQ(Range(2024, 4, 31, 0, 1).DayNumber(), CDispatchRange::kNoDay);
    EXPECT_EQ(Range(99, 12, 31, 0, 1).DayNumber(), CDispatchRange::kNoDay);
}

TEST(DispatchRangeTest, StorageLinesAreReadLeniently)
{
    CDispatchRangeArray ranges;
    EXPECT_EQ(ranges.AddFromText(QStringLiteral("20240304=8:0-12:0;13:00-17:00")), 2);
    ASSERT_EQ(ranges.size(), 2);
    EXPECT_EQ(ranges[0], Range(2024, 3, 4, 480, 720));
    EXPECT_EQ(ranges[1], Range(2024, 3, 4, 780, 1020));
    EXPECT_EQ(ranges[0].ToText(), QStringLiteral("20240304=08:00-12:00"));
    EXPECT_EQ(Range(2024, 3, 5, 0, 1440).ToText(), QStringLiteral("20240305=00:00-24:00"));

    // Lines without a date, with more than one "=", or without "=" add nothing.
    for (const char* line : { "Name=Service North", "CurrentTargetID=17", "[Settings]", "20240304",
             "20240304=08:00-09:00=x", "x20240304=08:00-09:00", "" })
        EXPECT_EQ(ranges.AddFromText(QString::fromUtf8(line)), 0) << line;
    EXPECT_EQ(ranges.size(), 2);

    // Items that do not scan are skipped, the others kept; quotes around an item are removed.
    ranges.clear();
    EXPECT_EQ(ranges.AddFromText(QStringLiteral("20240306=x;09:00-10:00;9:00;;\"10:00-11:00\"")), 2);
    ASSERT_EQ(ranges.size(), 2);
    EXPECT_EQ(ranges[0], Range(2024, 3, 6, 540, 600));
    EXPECT_EQ(ranges[1], Range(2024, 3, 6, 600, 660));

    // Nothing limits the numbers; huge ones saturate instead of overflowing, and what the
    // program writes reads back the same.
    ranges.clear();
    EXPECT_EQ(ranges.AddFromText(QStringLiteral("20241399=99999999999:99-0:-30")), 1);
    ASSERT_EQ(ranges.size(), 1);
    EXPECT_EQ(ranges[0].m_month, 13);
    EXPECT_EQ(ranges[0].m_day, 99);
    EXPECT_EQ(ranges[0].m_from, INT_MAX);
    EXPECT_EQ(ranges[0].m_to, -30);
    CDispatchRangeArray again;
    EXPECT_EQ(again.AddFromText(ranges[0].ToText()), 1);
    EXPECT_EQ(again, ranges);
}

TEST(DispatchRangeTest, DutyTestUsesDateAndMinuteOfDay)
{
    CDispatchRangeArray ranges;
    ranges.append(Range(2024, 3, 4, 8 * 60, 16 * 60));
    ranges.append(Range(2024, 3, 5, 0, 1440));
    ranges.append(Range(2024, 3, 6, 600, 600)); // empty
    EXPECT_TRUE(ranges.Covers(CDateTime(2024, 3, 4, 8, 0, 0)));
    EXPECT_TRUE(ranges.Covers(CDateTime(2024, 3, 4, 15, 59, 59)));
    EXPECT_FALSE(ranges.Covers(CDateTime(2024, 3, 4, 16, 0, 0)));
    EXPECT_FALSE(ranges.Covers(CDateTime(2024, 3, 4, 7, 59, 59)));
    EXPECT_FALSE(ranges.Covers(CDateTime(2023, 3, 4, 9, 0, 0)));
    EXPECT_TRUE(ranges.Covers(CDateTime(2024, 3, 5, 0, 0, 0)));
    EXPECT_TRUE(ranges.Covers(CDateTime(2024, 3, 5, 23, 59, 59)));
    EXPECT_FALSE(ranges.Covers(CDateTime(2024, 3, 6, 10, 0, 0)));
    EXPECT_FALSE(ranges.Covers(CDateTime::Invalid()));
    EXPECT_FALSE(ranges.Covers(CDateTime::Null()));
}

TEST(DispatchRangeTest, PeriodOperationsIncludeBothEndsAtDayLevel)
{
    CDispatchRangeArray ranges;
    EXPECT_TRUE(ranges.FirstDate().IsZero());
    EXPECT_TRUE(ranges.LastDate().IsZero());
    EXPECT_EQ(ranges.CountInPeriod(Day(2000, 1, 1), Day(2100, 1, 1)), 0);

    ranges.append(Range(2024, 3, 10, 0, 60));
    ranges.append(Range(2024, 3, 4, 0, 60));
    ranges.append(Range(2024, 13, 1, 0, 60)); // not a date: in no period, never first or last
    ranges.append(Range(2024, 3, 4, 60, 120));
    ranges.append(Range(2024, 3, 5, 0, 60));
    ranges.append(Range(2024, 2, 29, 0, 60));
    EXPECT_EQ(ranges.FirstDate(), Day(2024, 2, 29));
    EXPECT_EQ(ranges.LastDate(), Day(2024, 3, 10));

    // The ends count whatever their time of day.
    EXPECT_EQ(ranges.CountInPeriod(CDateTime(2024, 3, 4, 18, 0, 0), CDateTime(2024, 3, 5, 6, 0, 0)), 3);
    EXPECT_EQ(ranges.CountInPeriod(Day(2024, 3, 5), Day(2024, 3, 4)), 0);
    EXPECT_EQ(ranges.CountInPeriod(CDateTime::Invalid(), Day(2024, 12, 31)), 0);
    EXPECT_EQ(ranges.RemovePeriod(CDateTime::Null(), Day(2024, 12, 31)), 0);
    EXPECT_EQ(ranges.size(), 6);

    EXPECT_EQ(ranges.RemovePeriod(Day(2024, 3, 1), CDateTime(2024, 3, 5, 23, 0, 0)), 3);
    ASSERT_EQ(ranges.size(), 3);
    EXPECT_EQ(ranges[0], Range(2024, 3, 10, 0, 60));
    EXPECT_EQ(ranges[1], Range(2024, 13, 1, 0, 60));
    EXPECT_EQ(ranges[2], Range(2024, 2, 29, 0, 60));

    // RemoveDate matches the stored numbers, so it also clears a date that is not one.
    EXPECT_EQ(ranges.RemoveDate(1, 13, 2024), 1);
    EXPECT_EQ(ranges.RemoveDate(29, 2, 2024), 1);
    EXPECT_EQ(ranges.RemoveDate(29, 2, 2024), 0);
    EXPECT_EQ(ranges.size(), 1);
}

TEST(DispatchRangeTest, CopyDateCopiesOnlyTheRangesPresentAtTheStart)
{
    CDispatchRangeArray ranges;
    ranges.append(Range(2024, 3, 4, 480, 720));
    ranges.append(Range(2024, 3, 5, 0, 60));
    ranges.append(Range(2024, 3, 4, 780, 1020));

    EXPECT_EQ(ranges.CopyDate(Day(2024, 3, 4), Day(2024, 3, 4)), 2);
    EXPECT_EQ(ranges.size(), 5);
    EXPECT_EQ(RangesOn(ranges, 2024, 3, 4).size(), 4);

    EXPECT_EQ(ranges.CopyDate(CDateTime(2024, 3, 5, 12, 0, 0), Day(2025, 1, 1)), 1);
    EXPECT_EQ(ranges.back(), Range(2025, 1, 1, 0, 60));
    EXPECT_EQ(ranges.CopyDate(Day(2024, 3, 6), Day(2025, 1, 2)), 0);
    EXPECT_EQ(ranges.CopyDate(Day(2024, 3, 4), CDateTime::Invalid()), 0);
    EXPECT_EQ(ranges.size(), 6);
}

TEST(DispatchRangeTest, CopyPeriodRepeatsTheSourceOverTheTarget)
{
    // A source week from Monday 4 March 2024: day i has i + 1 ranges.
    CDispatchRangeArray week;
    for (int i = 0; i < 7; ++i) {
        for (int k = 0; k <= i; ++k)
            week.append(Range(2024, 3, 4 + i, k * 60, k * 60 + 30));
    }
    CDispatchRangeArray ranges = week;
    EXPECT_EQ(
        ranges.CopyPeriod(Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 4, 1), Day(2024, 4, 21)), 3 * 28);
    EXPECT_EQ(ranges.size(), 4 * 28);
    for (int i = 0; i < 21; ++i) {
        const CDateTime target = Day(2024, 4, 1 + i);
        QList<CDispatchRange> expected = RangesOn(week, 2024, 3, 4 + i % 7);
        for (CDispatchRange& range : expected)
            range.SetDate(target);
        EXPECT_EQ(RangesOn(ranges, 2024, 4, 1 + i), expected) << i;
    }

    // Cut off at the target end; a source ending before it starts is its first day alone.
    ranges = week;
    EXPECT_EQ(ranges.CopyPeriod(Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 5, 1), Day(2024, 5, 10)),
        28 + 1 + 2 + 3);
    EXPECT_EQ(RangesOn(ranges, 2024, 5, 10).size(), 3);
    ranges = week;
    EXPECT_EQ(ranges.CopyPeriod(Day(2024, 3, 5), Day(2024, 3, 1), Day(2024, 5, 1), Day(2024, 5, 3)), 6);
    EXPECT_EQ(ranges.CopyPeriod(Day(2024, 3, 4), Day(2024, 3, 10), Day(2024, 5, 3), Day(2024, 5, 1)), 0);
}

TEST(DispatchRangeTest, CopyPeriodOverlappingItsSourceMatchesDayByDayCopies)
{
    CDispatchRangeArray plan;
    for (int i = 0; i < 10; ++i) {
        if (i % 3 != 1)
            plan.append(Range(2024, 3, 1 + i, i * 10, i * 10 + 5));
    }
    plan.append(Range(2024, 3, 2, 900, 960));
    struct Case
    {
        int sourceFirst, sourceLast, targetFirst, targetLast;
    };
    for (const Case c :
        { Case { 1, 4, 3, 12 }, Case { 3, 6, 1, 9 }, Case { 2, 5, 2, 5 }, Case { 1, 10, 5, 20 } }) {
        CDispatchRangeArray fast = plan;
        const qsizetype copied = fast.CopyPeriod(Day(2024, 3, c.sourceFirst), Day(2024, 3, c.sourceLast),
            Day(2024, 3, c.targetFirst), Day(2024, 3, c.targetLast));

        CDispatchRangeArray slow = plan;
        qsizetype expected = 0;
        int source = c.sourceFirst;
        for (int target = c.targetFirst; target <= c.targetLast; ++target) {
            expected += slow.CopyDate(Day(2024, 3, source), Day(2024, 3, target));
            if (++source > c.sourceLast)
                source = c.sourceFirst;
        }
        EXPECT_EQ(copied, expected) << c.sourceFirst << ".." << c.sourceLast << " onto " << c.targetFirst;
        EXPECT_EQ(fast, slow) << c.sourceFirst << ".." << c.sourceLast << " onto " << c.targetFirst;
    }
}
