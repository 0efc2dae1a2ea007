#pragma once

#include <compare>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// A signed span in whole seconds. Component getters follow the sign of the span (a span of
// -90 minutes has -1 hours and -30 minutes); the totals are whole units truncated toward zero.
class CDateTimeSpan
{
public:
    constexpr CDateTimeSpan() = default;
    constexpr CDateTimeSpan(qint64 days, qint64 hours, qint64 minutes, qint64 seconds)
        : m_seconds(((days * 24 + hours) * 60 + minutes) * 60 + seconds)
    { }
    static constexpr CDateTimeSpan FromSeconds(qint64 seconds)
    {
        CDateTimeSpan span;
        span.m_seconds = seconds;
        return span;
    }

    constexpr qint64 GetTotalSeconds() const { return m_seconds; }
    constexpr qint64 GetTotalMinutes() const { return m_seconds / 60; }
    constexpr qint64 GetTotalHours() const { return m_seconds / 3600; }
    constexpr qint64 GetTotalDays() const { return m_seconds / 86400; }

    constexpr qint64 GetDays() const { return m_seconds / 86400; }
    constexpr int GetHours() const { return int(m_seconds / 3600 % 24); }
    constexpr int GetMinutes() const { return int(m_seconds / 60 % 60); }
    constexpr int GetSeconds() const { return int(m_seconds % 60); }

    constexpr CDateTimeSpan operator+(CDateTimeSpan other) const
    {
        return FromSeconds(m_seconds + other.m_seconds);
    }
    constexpr CDateTimeSpan operator-(CDateTimeSpan other) const
    {
        return FromSeconds(m_seconds - other.m_seconds);
    }
    constexpr CDateTimeSpan operator-() const { return FromSeconds(-m_seconds); }
    CDateTimeSpan& operator+=(CDateTimeSpan other)
    {
        m_seconds += other.m_seconds;
        return *this;
    }
    CDateTimeSpan& operator-=(CDateTimeSpan other)
    {
        m_seconds -= other.m_seconds;
        return *this;
    }
    constexpr auto operator<=>(const CDateTimeSpan&) const = default;

private:
    qint64 m_seconds = 0;
};

// A calendar date and a time of day to the second, plus a status. Kept as seconds since the base
// date 1899-12-30 00:00:00; a time of day alone is a value on the base date, so that times compare
// as such (22:00 is later than 06:00). Years 100 to 9999 are representable; a value built from
// out-of-range parts, or pushed out of that range by arithmetic, is invalid. Invalid and null
// values hold zero seconds.
class CDateTime
{
public:
    enum class Status { Valid, Invalid, Null };

    // Midnight of the base date, valid (the "zero" value).
    constexpr CDateTime() = default;
    CDateTime(int year, int month, int day, int hour, int minute, int second);
    explicit CDateTime(const QDate& date);
    explicit CDateTime(const QDateTime& dateTime);

    // Seconds since the base date; invalid outside the representable years.
    static CDateTime FromSecondsSinceBase(qint64 seconds);
    // A time of day on the base date.
    static CDateTime TimeOfDay(int hour, int minute, int second);
    // The local wall-clock time now (or what the installed time source says, see below).
    static CDateTime GetCurrentTime();
    static CDateTime Invalid() { return CDateTime(0, Status::Invalid); }
    static CDateTime Null() { return CDateTime(0, Status::Null); }

    // Each setter returns whether the value is valid afterwards.
    bool SetDateTime(int year, int month, int day, int hour, int minute, int second);
    bool SetDate(int year, int month, int day); // at midnight
    bool SetTime(int hour, int minute, int second); // on the base date
    // Invalid and null also reset the moment to zero.
    void SetStatus(Status status);

    Status GetStatus() const { return m_status; }
    bool IsValid() const { return m_status == Status::Valid; }
    bool IsNull() const { return m_status == Status::Null; }
    // Midnight of the base date and valid.
    bool IsZero() const { return m_status == Status::Valid && m_seconds == 0; }

    // Component getters give 0 for a value that is not valid.
    void GetDate(int& year, int& month, int& day) const;
    void GetTime(int& hour, int& minute, int& second) const;
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const; // 1 ... 366

    qint64 SecondsSinceBase() const { return m_seconds; }
    // Days since the base date (floor), for cheap date comparisons.
    qint64 DayNumber() const { return FloorDiv(m_seconds, 86400); }
    int SecondOfDay() const { return int(m_seconds - DayNumber() * 86400); }
    // The date at midnight and the time of day on the base date; both keep a non-valid status.
    CDateTime DatePart() const { return CDateTime(DayNumber() * 86400, m_status); }
    CDateTime TimePart() const { return CDateTime(SecondOfDay(), m_status); }

    // An invalid QDate/QTime/QDateTime for a value that is not valid. The QDateTime is local time.
    QDate ToQDate() const;
    QTime ToQTime() const;
    QDateTime ToQDateTime() const;

    // A value that is not valid keeps its status; a result outside the representable years is
    // invalid.
    CDateTime operator+(CDateTimeSpan span) const;
    CDateTime operator-(CDateTimeSpan span) const { return *this + -span; }
    CDateTime& operator+=(CDateTimeSpan span) { return *this = *this + span; }
    CDateTime& operator-=(CDateTimeSpan span) { return *this = *this - span; }
    // Zero when either value is not valid.
    CDateTimeSpan operator-(const CDateTime& other) const;

    // Ordered by date and time, then by status (valid before invalid before null); equal only
    // with equal moment and status.
    bool operator==(const CDateTime& other) const = default;
    std::strong_ordering operator<=>(const CDateTime& other) const
    {
        if (const auto order = m_seconds <=> other.m_seconds; order != 0)
            return order;
        return int(m_status) <=> int(other.m_status);
    }

    static constexpr qint64 FloorDiv(qint64 a, qint64 b)
    {
        return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
    }

private:
    constexpr CDateTime(qint64 seconds, Status status)
        : m_seconds(status == Status::Valid ? seconds : 0)
        , m_status(status)
    { }

    qint64 m_seconds = 0;
    Status m_status = Status::Valid;
};

// The clock behind CDateTime::GetCurrentTime. Tests and fakes install their own; nullptr restores
// the site's wall clock (schedule/SiteClock.h). Safe to call from any thread.
using CurrentTimeSource = CDateTime (*)();
void SetCurrentTimeSource(CurrentTimeSource source);
// The site's wall-clock time from the real clock (schedule/SiteClock.h), whatever source is installed.
CDateTime SystemCurrentTime();
// Whether a test's source stands in for the clock.
bool HasCurrentTimeSource();

// Display flags of FormatDateTime.
enum DateTimeFormatFlags : unsigned {
    DTF_YEAR = 0x01,
    DTF_MONTH = 0x02,
    DTF_DAY = 0x04,
    DTF_ISOWEEK = 0x08, // "(NN)", the ISO 8601 week of QDate::weekNumber
    DTF_WEEKDAY = 0x10,
    DTF_HOUR = 0x20,
    DTF_MINUTE = 0x40,
    DTF_SECOND = 0x80,
    DTF_DATE = DTF_YEAR | DTF_MONTH | DTF_DAY, // 0x07
    DTF_DAYMONTH = DTF_MONTH | DTF_DAY, // 0x06
    DTF_TIME = DTF_HOUR | DTF_MINUTE | DTF_SECOND, // 0xE0
    DTF_DATETIME = DTF_DATE | DTF_TIME, // 0xE7
    // The year in four digits even where the locale's short date has two: for dates that other
    // programs read (the delay sent to the alarm server, the logbook file).
    DTF_FULLYEAR = 0x100,
};

// Unit bits of FormatDuration.
enum DurationUnits : unsigned {
    DURATION_YEAR = 0x01,
    DURATION_MONTH = 0x02,
    DURATION_WEEK = 0x04,
    DURATION_DAY = 0x08,
    DURATION_HOUR = 0x10,
    DURATION_MINUTE = 0x20,
    DURATION_SECOND = 0x40,
    DURATION_ALL = 0x7F,
};

// Reads any accepted text form (storage forms, dotted day.month.year forms, relative and time-only
// forms, the locale's date forms; "DT#NOW" and the empty text are the current moment). Returns
// false when no form accepts the text; the value is then invalid (or the current moment for a text
// too short to be a date).
bool DateTimeFromText(const QString& text, CDateTime& value);
// "YYYY-MM-DD HH:MM:SS"; a value that is not valid gives "0000-00-00 00:00:00".
QString DateTimeToText(const CDateTime& value);
// "YYYY-MM-DD"; a value that is not valid gives "0000-00-00".
QString DateToText(const CDateTime& value);
// Display text in the default locale's pictures (see DateTimeFormatFlags); empty for a value
// that is not valid, or for the zero value when any date part is asked for.
QString FormatDateTime(const CDateTime& value, unsigned flags);
// "HH:MM" of a minute of the day (0 to 1440: "24:00" is the day's end).
QString MinuteOfDayText(int minute);
// "1 hour, 2 minutes, 5 seconds". Words: comma-separated singular/plural pairs from year to second;
// empty gives the German words.
QString FormatDuration(qint64 seconds, unsigned units, const QString& words);
// "%g" text; with local set, the default locale's decimal separator replaces ".".
QString DoubleToText(double number, bool local);
// The default locale's decimal separator is taken as "."; reads the leading number like atof
// (0 when there is none).
double TextToDouble(const QString& text);
