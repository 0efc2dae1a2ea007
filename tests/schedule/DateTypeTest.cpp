#include "schedule/DateType.h"

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <vector>

#include "schedule/DayContext.h"
#include "schedule/Holiday.h"

namespace {

CDateTime Day(int year, int month, int day)
{
    return CDateTime(year, month, day, 0, 0, 0);
}

// A day of the week 23 to 29 December 2024 (Monday to Sunday), with holidays on the 25th and 26th,
// classified with Monday to Friday as working days.
CDayContext ChristmasWeek(int day, int hour = 12)
{
    CHolidaysArray holidays;
    holidays.append(CHoliday(QStringLiteral("Christmas Day"), Day(2024, 12, 25)));
    holidays.append(CHoliday(QStringLiteral("Boxing Day"), Day(2024, 12, 26)));
    CDayContext context(CDateTime(2024, 12, day, hour, 0, 0));
    ClassifyDay(holidays, kWorkDaysMonToFri, context);
    return context;
}

// The date types (1 to 13) that match the context, each tested on a fresh copy.
std::vector<int> Matching(const CDayContext& context, const CDateTime& recordDate = CDateTime())
{
    std::vector<int> types;
    for (int type = DATETYPE_SPECIAL; type <= DATETYPE_LAST; ++type) {
        CDayContext copy = context;
        if (MatchesDateType(type, recordDate, copy))
            types.push_back(type);
    }
    return types;
}

} // namespace

TEST(DateType, RankOrdersSpecialHolidayNeighboursWeekdaysThenWorkingDayAndWeekend)
{
    std::vector<int> types;
    for (int type = 0; type <= DATETYPE_LAST; ++type)
        types.push_back(type);
    std::stable_sort(
        types.begin(), types.end(), [](int a, int b) { return DateTypeRank(a) < DateTypeRank(b); });
    EXPECT_EQ(types, (std::vector<int> { 0, 1, 2, 12, 13, 3, 4, 5, 6, 7, 8, 9, 10, 11 }));

    // Every rank is distinct; a type outside 0 to 13 sorts after all of them.
    for (const int outside : { -1, 14, 99, INT_MIN, INT_MAX }) {
        for (int type = 0; type <= DATETYPE_LAST; ++type)
            EXPECT_GT(DateTypeRank(outside), DateTypeRank(type)) << outside << " after " << type;
    }
}

TEST(DateType, SpecialDateMatchesItsDayAndLeavesTheMarker)
{
    CDayContext evening(CDateTime(2024, 12, 24, 23, 59, 59));
    EXPECT_TRUE(MatchesDateType(DATETYPE_SPECIAL, CDateTime(2024, 12, 24, 8, 30, 0), evening));
    EXPECT_TRUE(evening.m_specialDateMatched);
    EXPECT_FALSE(evening.m_weekdayMatched);

    for (const CDateTime& other :
        { Day(2024, 12, 25), Day(2023, 12, 24), CDateTime(), CDateTime::Invalid(), CDateTime::Null() }) {
        CDayContext context(CDateTime(2024, 12, 24, 0, 0, 0));
        EXPECT_FALSE(MatchesDateType(DATETYPE_SPECIAL, other, context)) << DateToText(other).toStdString();
        EXPECT_FALSE(context.m_specialDateMatched);
    }
    // A record without a valid date matches no moment, not even one on the base date.
    CDayContext baseDay { CDateTime() };
    EXPECT_FALSE(MatchesDateType(DATETYPE_SPECIAL, CDateTime::Invalid(), baseDay));
    EXPECT_TRUE(MatchesDateType(DATETYPE_SPECIAL, CDateTime(), baseDay));
}

TEST(DateType, WeekdayTypesMatchByDayOfWeekAlsoOnHolidays)
{
    for (int day = 23; day <= 29; ++day) {
        const int weekdayType = DATETYPE_MONDAY + (day - 23);
        CDayContext context = ChristmasWeek(day);
        EXPECT_TRUE(MatchesDateType(weekdayType, CDateTime(), context)) << day;
        EXPECT_TRUE(context.m_weekdayMatched);
        EXPECT_FALSE(context.m_specialDateMatched);
        for (int other = DATETYPE_MONDAY; other <= DATETYPE_SUNDAY; ++other) {
            CDayContext copy = ChristmasWeek(day);
            EXPECT_EQ(MatchesDateType(other, CDateTime(), copy), other == weekdayType) << day << " " << other;
            EXPECT_EQ(copy.m_weekdayMatched, other == weekdayType);
        }
    }
}

TEST(DateType, DayFlagsSelectHolidayNeighboursWorkingDayAndWeekend)
{
    // 24th Tuesday before Christmas, 25th and 26th holidays (Wednesday, Thursday), 27th Friday
    // after them, 28th Saturday.
    EXPECT_EQ(Matching(ChristmasWeek(24)),
        (std::vector<int> { DATETYPE_TUESDAY, DATETYPE_WORKINGDAY, DATETYPE_DAYBEFORE }));
    EXPECT_EQ(Matching(ChristmasWeek(25)),
        (std::vector<int> { DATETYPE_HOLIDAY, DATETYPE_WEDNESDAY, DATETYPE_DAYBEFORE }));
    EXPECT_EQ(Matching(ChristmasWeek(26)),
        (std::vector<int> { DATETYPE_HOLIDAY, DATETYPE_THURSDAY, DATETYPE_DAYAFTER }));
    EXPECT_EQ(Matching(ChristmasWeek(27, 0)),
        (std::vector<int> { DATETYPE_FRIDAY, DATETYPE_WORKINGDAY, DATETYPE_DAYAFTER }));
    EXPECT_EQ(Matching(ChristmasWeek(28, 23)), (std::vector<int> { DATETYPE_SATURDAY, DATETYPE_WEEKEND }));
    EXPECT_EQ(Matching(ChristmasWeek(28), Day(2024, 12, 28)),
        (std::vector<int> { DATETYPE_SPECIAL, DATETYPE_SATURDAY, DATETYPE_WEEKEND }));

    // The flag types leave no marker.
    CDayContext holiday = ChristmasWeek(25);
    for (const int type : { DATETYPE_HOLIDAY, DATETYPE_DAYBEFORE, DATETYPE_WORKINGDAY, DATETYPE_WEEKEND })
        MatchesDateType(type, CDateTime(), holiday);
    EXPECT_FALSE(holiday.m_specialDateMatched || holiday.m_weekdayMatched);
}

TEST(DateType, TypesOutsideOneToThirteenNeverMatch)
{
    CDayContext everything(CDateTime(2024, 12, 24, 0, 0, 0));
    everything.m_holiday = everything.m_workingDay = everything.m_weekend = true;
    everything.m_dayBeforeHoliday = everything.m_dayAfterHoliday = true;
    for (const int type : { int(DATETYPE_NONE), -1, 14, 99, INT_MIN, INT_MAX }) {
        EXPECT_FALSE(MatchesDateType(type, Day(2024, 12, 24), everything)) << type;
        EXPECT_TRUE(DateTypeText(type).isEmpty()) << type;
    }
    EXPECT_FALSE(everything.m_specialDateMatched || everything.m_weekdayMatched);
    // A moment that is not valid is no day of the week.
    CDayContext invalid(CDateTime::Invalid());
    EXPECT_TRUE(Matching(invalid).empty());
}

TEST(DateType, TextsAreTheItemsOfTheResourceList)
{
    EXPECT_EQ(DateTypeText(DATETYPE_SPECIAL), QStringLiteral("Special date"));
    EXPECT_EQ(DateTypeText(DATETYPE_MONDAY), QStringLiteral("Monday"));
    EXPECT_EQ(DateTypeText(DATETYPE_SUNDAY), QStringLiteral("Sunday"));
    EXPECT_EQ(DateTypeText(DATETYPE_WEEKEND), QStringLiteral("Weekend"));
    EXPECT_EQ(DateTypeText(DATETYPE_DAYBEFORE), QStringLiteral("Day before holiday"));
    EXPECT_EQ(DateTypeText(DATETYPE_DAYAFTER), QStringLiteral("Day after Holiday"));
}
