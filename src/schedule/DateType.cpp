#include "schedule/DateType.h"

#include <QCoreApplication>

#include "schedule/DayContext.h"
#include "schedule/TextList.h"

int DateTypeRank(int dateType)
{
    // Index: date type 0 to 13.
    static constexpr std::array<int, 14> kRank = { 0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13, 3, 4 };
    if (dateType < 0 || dateType > DATETYPE_LAST)
        return 14;
    return kRank[size_t(dateType)];
}

bool MatchesDateType(int dateType, const CDateTime& recordDate, CDayContext& context)
{
    switch (dateType) {
    case DATETYPE_SPECIAL:
        if (recordDate.IsValid() && context.m_moment.IsValid()
            && recordDate.DayNumber() == context.m_moment.DayNumber()) {
            context.m_specialDateMatched = true;
            return true;
        }
        return false;
    case DATETYPE_HOLIDAY:
        return context.m_holiday;
    case DATETYPE_MONDAY:
    case DATETYPE_TUESDAY:
    case DATETYPE_WEDNESDAY:
    case DATETYPE_THURSDAY:
    case DATETYPE_FRIDAY:
    case DATETYPE_SATURDAY:
    case DATETYPE_SUNDAY: {
        // Date type 3 is Monday (day of week 2) ... date type 9 is Sunday (day of week 1).
        const int dayOfWeek = dateType == DATETYPE_SUNDAY ? 1 : dateType - 1;
        if (context.m_moment.IsValid() && context.m_moment.GetDayOfWeek() == dayOfWeek) {
            context.m_weekdayMatched = true;
            return true;
        }
        return false;
    }
    case DATETYPE_WORKINGDAY:
        return context.m_workingDay;
    case DATETYPE_WEEKEND:
        return context.m_weekend;
    case DATETYPE_DAYBEFORE:
        return context.m_dayBeforeHoliday;
    case DATETYPE_DAYAFTER:
        return context.m_dayAfterHoliday;
    default:
        return false;
    }
}

QString DateTypeList()
{
    return QCoreApplication::translate("DateType",
        "Special date;Holiday;Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday;Working day;"
        "Weekend;Day before holiday;Day after Holiday;");
}

QString DateTypeText(int dateType)
{
    if (dateType < 1 || dateType > DATETYPE_LAST)
        return QString();
    return GetListItem(DateTypeList(), dateType, u';');
}
