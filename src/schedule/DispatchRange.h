#pragma once

#include <limits>

#include <QDate>
#include <QList>
#include <QString>

#include "schedule/DateTime.h"

// Calendar arithmetic on day numbers (days since 1899-12-30, the day numbers of
// CDateTime::DayNumber) through QDate's Julian days; nothing is allocated.
inline constexpr qint64 kBaseJulianDay = 2415019; // 1899-12-30

inline qint64 DayNumberFromCivil(int year, int month, int day)
{
    return QDate(year, month, day).toJulianDay() - kBaseJulianDay;
}

inline void CivilFromDayNumber(qint64 dayNumber, int& year, int& month, int& day)
{
    QDate::fromJulianDay(dayNumber + kBaseJulianDay).getDate(&year, &month, &day);
}

// One time range of duty on one date. `m_from` is the first minute of duty after midnight,
// `m_to` the end of duty (exclusive, up to 1440); a range never spans midnight. Edited files may
// hold any numbers: a range with m_from >= m_to never matches, and a date that is not a calendar
// date (month 13, 30 February) lies in no period.
class CDispatchRange
{
public:
    // The day number of a date that is not a calendar date of the years 100 to 9999.
    static constexpr qint64 kNoDay = std::numeric_limits<qint64>::min();

    // The storage line "YYYYMMDD=HH:MM-HH:MM".
    QString ToText() const;

    // The day number of the range's date, or kNoDay.
    qint64 DayNumber() const;
    bool IsOnDate(int year, int month, int day) const
    {
        return m_day == day && m_month == month && m_year == year;
    }
    // Keeps the times; the date must be valid.
    void SetDate(const CDateTime& date) { date.GetDate(m_year, m_month, m_day); }

    bool operator==(const CDispatchRange&) const = default;

    int m_day = 0;
    int m_month = 0;
    int m_year = 0;
    int m_from = 0;
    int m_to = 0;
};

// The dispatch plan of one page target, in the order in which the ranges were added (the order
// has no meaning for the duty test). Ranges of one date may overlap; nothing merges them.
//
// The period operations compare dates at day level and include both ends. Arguments that are
// not valid moments select nothing.
class CDispatchRangeArray : public QList<CDispatchRange>
{
public:
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    // Appends the ranges of one storage line "YYYYMMDD=H:M-H:M[;H:M-H:M...]" (split at "=" and
    // ";" outside double quotes). A line without exactly one "=" or whose date does not scan is
    // ignored, and so is every range item that does not scan; the numbers are not checked.
    // Returns the number of ranges appended.
    qsizetype AddFromText(const QString& line);

    // Removes every range of that date; returns their number.
    qsizetype RemoveDate(int day, int month, int year);
    // The earliest / latest date (at midnight) that has a range; the zero value when there is none.
    CDateTime FirstDate() const;
    CDateTime LastDate() const;
    // The number of ranges whose date lies in [first, last].
    qsizetype CountInPeriod(const CDateTime& first, const CDateTime& last) const;
    // Removes the ranges whose date lies in [first, last]; returns their number.
    qsizetype RemovePeriod(const CDateTime& first, const CDateTime& last);
    // Appends a copy of every range of the source date, moved to the target date with the same
    // times. Only the ranges present before the call are copied, also when both dates are the
    // same day. Returns the number copied.
    qsizetype CopyDate(const CDateTime& source, const CDateTime& target);
    // One CopyDate per target day from targetFirst to targetLast, from a source day that starts
    // at sourceFirst, advances one day per target day and returns to sourceFirst after
    // sourceLast (a source that ends before it starts is its first day alone). Copies landing on
    // a later source day are copied again from there, as the day-by-day copies would do.
    // Returns the total copied.
    qsizetype CopyPeriod(const CDateTime& sourceFirst, const CDateTime& sourceLast,
        const CDateTime& targetFirst, const CDateTime& targetLast);

    // Whether some range has the moment's date and from <= minute of the day < to. An invalid
    // moment lies in no range. Allocates nothing.
    bool Covers(const CDateTime& moment) const;

private:
    bool m_modified = false;
};
