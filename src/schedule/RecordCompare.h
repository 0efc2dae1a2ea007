#pragma once

#include <algorithm>

#include <QList>

#include "schedule/DateTime.h"
#include "schedule/DateType.h"

// Helpers shared by the barrier and shift records: change detection and the list order.

// Whether two dates look the same in a date display (day, month and year): a value that is not
// valid, or the zero value, shows nothing; any other value shows its day.
inline bool SameDisplayDate(const CDateTime& a, const CDateTime& b)
{
    const bool shownA = a.IsValid() && !a.IsZero();
    const bool shownB = b.IsValid() && !b.IsZero();
    if (shownA != shownB)
        return false;
    return !shownA || a.DayNumber() == b.DayNumber();
}

// Whether two times look the same in a time display with seconds: a value that is not valid
// shows nothing; any other value shows its time of day (the zero value shows 00:00:00).
inline bool SameDisplayTime(const CDateTime& a, const CDateTime& b)
{
    if (a.IsValid() != b.IsValid())
        return false;
    return !a.IsValid() || a.SecondOfDay() == b.SecondOfDay();
}

// Orders a barrier or shift list (records with m_dateType, m_date and m_startTime) the way the
// editors have always sorted it: three stable passes of adjacent exchange, first by date, then by
// date-type rank, then by start time between neighbours of the same date type.
//
// The same result in O(n log n): the first two passes are a stable sort by (rank, date). The third
// pass only exchanges neighbours of equal date type, so the date type found at each position never
// changes and a record never leaves its run of equal date types; each such run ends up stably
// sorted by start time. For the date types 0 to 13 the rank identifies the type, so the runs are
// the rank groups and the result is ordered by rank, start time and date. Types outside 0 to 13
// share the last rank; their runs are sorted each on its own, exactly as the exchange passes
// leave them. Start times compare by time of day, dates by their moment.
template <class Record>
void SortScheduleRecords(QList<Record>& list)
{
    if (list.size() < 2)
        return;
    std::stable_sort(list.begin(), list.end(), [](const Record& a, const Record& b) {
        const int rankA = DateTypeRank(a.m_dateType);
        const int rankB = DateTypeRank(b.m_dateType);
        if (rankA != rankB)
            return rankA < rankB;
        return a.m_date.SecondsSinceBase() < b.m_date.SecondsSinceBase();
    });
    const auto end = list.end();
    for (auto run = list.begin(); run != end;) {
        const int dateType = run->m_dateType;
        const auto runEnd
            = std::find_if(run + 1, end, [dateType](const Record& r) { return r.m_dateType != dateType; });
        if (runEnd - run > 1) {
            std::stable_sort(run, runEnd, [](const Record& a, const Record& b) {
                return a.m_startTime.SecondOfDay() < b.m_startTime.SecondOfDay();
            });
        }
        run = runEnd;
    }
}
