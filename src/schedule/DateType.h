#pragma once

#include <array>

#include <QString>

class CDateTime;
struct CDayContext;

// The day selectors shared by barriers and shifts. Their texts are the items of one resource list
// ("Special date;Holiday;Monday;...", see DateTypeText), item n for date type n.
enum DateType : int {
    DATETYPE_NONE = 0,
    DATETYPE_SPECIAL = 1,
    DATETYPE_HOLIDAY = 2,
    DATETYPE_MONDAY = 3,
    DATETYPE_TUESDAY = 4,
    DATETYPE_WEDNESDAY = 5,
    DATETYPE_THURSDAY = 6,
    DATETYPE_FRIDAY = 7,
    DATETYPE_SATURDAY = 8,
    DATETYPE_SUNDAY = 9,
    DATETYPE_WORKINGDAY = 10,
    DATETYPE_WEEKEND = 11,
    DATETYPE_DAYBEFORE = 12,
    DATETYPE_DAYAFTER = 13,
    DATETYPE_LAST = DATETYPE_DAYAFTER,
};

// Sort rank of a date type: Special date, Holiday, Day before holiday, Day after Holiday, Monday
// to Sunday, Working day, Weekend; 0 for "none". A type outside 0 to 13 has no rank and sorts
// after every ranked type.
int DateTypeRank(int dateType);

// Whether a record of this date type (and, for a special date, this date) applies on the
// context's day. A weekday type matches by the day of week alone, also on a holiday. A match of
// a special date sets the context's special-date marker, a match of a weekday type its weekday
// marker. Types outside 1 to 13 never match.
bool MatchesDateType(int dateType, const CDateTime& recordDate, CDayContext& context);

// The translated resource list of the date type texts and the text of one type ("" for none).
QString DateTypeList();
QString DateTypeText(int dateType);
