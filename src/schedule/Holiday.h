#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include "schedule/DateTime.h"
#include "schedule/RecordArray.h"

class CProfile;
class CSection;
struct CDayContext;

// One holiday: a name and a day. Only the year, month and day of the date count.
//
// Stored in the configuration file in section "Holiday" followed by the record's index (from 1):
// HolidayName (quoted when it begins or ends with a blank) and HolidayDate ("YYYY-MM-DD"; older
// files may hold the date in a locale's short form, "24.12.2024", which is still read).
class CHoliday
{
public:
    // Empty name, dated at the current moment.
    CHoliday();
    CHoliday(const QString& name, const CDateTime& date);

    // False when the name is missing or empty or the date text does not give a valid date (such a
    // record ends the stored list); a missing date gives the current moment.
    bool Load(CProfile& profile, int index);
    // Deletes the sections index and index + 1, writes the keys and records the file time. A
    // record that would not load back (empty name, invalid date) is not stored at all: the
    // sections stay as they were and the result is false.
    bool Save(CProfile& profile, int index) const;
    // Writes HolidayName and HolidayDate into the section.
    void WriteKeys(CSection& section) const;
    // Whether the record would load back as it is: a name and a valid date.
    bool IsStorable() const { return !m_name.isEmpty() && m_date.IsValid(); }
    static QString BaseName() { return QStringLiteral("Holiday"); }

    QString m_name;
    CDateTime m_date;
};

// The holiday list held by the engine, in the order the operator (or generation) left it; the
// editor keeps it sorted by date. Duplicates are allowed.
// Load and Save: sections Holiday1, Holiday2, ... (see CRecordArray).
class CHolidaysArray : public CRecordArray<CHoliday>
{
public:
    // Orders the records by day; records of the same day keep their order.
    void SortByDate();
    // Appends the eleven statutory holidays of the year, each dated at midnight and named in the
    // user-interface language: New Year, Good Friday, Easter Sunday, Easter Monday, Labour Day,
    // Ascension Day, Whitsunday, Whitmonday, German Unification Day, Christmas Day, Boxing Day.
    // Appends nothing and returns false for a year outside 1583 to 9999.
    bool AddStatutoryHolidays(int year);

    // The day tests of the classification; each compares days only and allocates nothing.
    // A holiday on the context's day: sets the holiday flag, clears working day and weekend and
    // returns true. Otherwise the context is left alone.
    bool MarkHoliday(CDayContext& context) const;
    // A holiday on the following day: sets "day before holiday" and returns true.
    bool MarkDayBefore(CDayContext& context) const;
    // A holiday on the previous day: sets "day after holiday" and returns true.
    bool MarkDayAfter(CDayContext& context) const;
};

// Work-day mask: bit 0 Monday ... bit 6 Sunday; a set bit makes that weekday a working day.
constexpr int kWorkDaysMonToFri = 0x1F;
constexpr int kWorkDaysMask = 0x7F;

// The working-day step of the classification. On a holiday, clears working day and weekend and
// returns false. Otherwise sets working day and returns true when the weekday's bit is set in the
// mask, else sets weekend (any non-working weekday that is not a holiday) and returns false.
bool MarkWorkingDay(int workDays, CDayContext& context);

// Classifies the context's moment: clears the five day flags and the markers, then marks holiday,
// day before holiday, day after holiday and working day or weekend, in that order.
void ClassifyDay(const CHolidaysArray& holidays, int workDays, CDayContext& context);
// The same with holiday and working day or weekend only (the day before and after flags stay
// clear); for walks over following days that ask for nothing more.
void ClassifyHolidayAndWorkingDay(const CHolidaysArray& holidays, int workDays, CDayContext& context);

// The work-day mask from Settings/WorkDays; without that key, from the older section WorkDays
// (flags Monday to Friday, default 1, Saturday and Sunday, default 0; so 31 without either).
// Bits above Sunday are dropped.
int LoadWorkDays(CProfile& profile);
// Deletes the older section WorkDays, writes Settings/WorkDays and records the file time.
void SaveWorkDays(CProfile& profile, int workDays);

// Easter Sunday of a Gregorian year (1583 to 9999) by the complete computus; an invalid date for
// any other year.
QDate EasterSunday(int year);

// The generate command of the holiday editor and of the control tool: the years are exchanged
// when last < first; nothing happens (false) unless first > 1900 and last < 2100. Otherwise the
// statutory holidays of every year from first to last that the list does not hold yet (same day
// and name) are appended, the list is sorted by date
// when the span is shorter than 50 years (a longer one stays in generation order), the modified
// flag is set and the result is true.
bool GenerateStatutoryHolidays(CHolidaysArray& holidays, int first, int last);
