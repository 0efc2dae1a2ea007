#pragma once

#include "schedule/DateTime.h"

// A moment with the classification of its day: built by the engine (and the planning dialogs)
// with the holiday list and the work-day mask, then tested by the barrier and shift lookups.
// A holiday is neither a working day nor a weekend day; "weekend" is any other non-working day.
struct CDayContext
{
    CDayContext() = default;
    explicit CDayContext(const CDateTime& moment)
        : m_moment(moment)
    { }

    CDateTime m_moment;
    bool m_holiday = false;
    bool m_workingDay = false;
    bool m_weekend = false;
    bool m_dayBeforeHoliday = false;
    bool m_dayAfterHoliday = false;
    // Left by the date-type tests: a record of date type "Special date" (1) matched, or one of a
    // weekday type (3 to 9) matched. The engine clears them between its shift and barrier lookups.
    bool m_specialDateMatched = false;
    bool m_weekdayMatched = false;

    void ClearMarkers()
    {
        m_specialDateMatched = false;
        m_weekdayMatched = false;
    }
};
