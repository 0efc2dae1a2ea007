#pragma once

#include <QList>
#include <QString>

#include "schedule/DateTime.h"
#include "schedule/RecordArray.h"
#include "schedule/RecordCompare.h"

class CProfile;
class CSection;
struct CDayContext;

// A shift: a daily time window with the shift number told to the alarm server, on the days chosen
// by its date type. Start and end are times of day, both inclusive; all second counts use the
// times of day only, so a record that runs past midnight (possible only in an edited file) gives
// negative counts and is never current. A rotating shift advances its number by one each ISO
// week through a cycle of weeks.
class CShift
{
public:
    // A new record: the date is the current moment, start and end its time of day.
    CShift()
        : CShift(CDateTime::GetCurrentTime())
    { }
    explicit CShift(const CDateTime& now)
        : m_date(now)
        , m_startTime(now.TimePart())
        , m_endTime(now.TimePart())
    { }

    QString m_name;
    int m_dateType = 0;
    CDateTime m_date; // the day of a special-date shift
    CDateTime m_startTime;
    CDateTime m_endTime;
    int m_shiftNumber = 0; // 0: no shift
    bool m_rotating = false;
    int m_startingWeek = 0; // index of the ISO week the rotation starts in: 0 is week 1
    int m_weekCycle = 0; // length of the rotation in weeks

    // Reads section Shift<index>. False (the end of the list) for a missing or empty name, or a
    // date, start or end text that does not parse.
    bool Load(CProfile& profile, int index);
    // Deletes the sections index and index + 1, writes the keys into section index and records
    // the configuration file's time.
    bool Save(CProfile& profile, int index) const;
    void WriteKeys(CSection& section) const;
    static QString BaseName() { return QStringLiteral("Shift"); }
    // A name and valid dates and times: the record loads back.
    bool IsStorable() const
    {
        return !m_name.isEmpty() && m_date.IsValid() && m_startTime.IsValid() && m_endTime.IsValid();
    }

    // The moment's time of day lies between start and end time, both included.
    bool IsActiveAt(const CDateTime& moment) const { return IsActiveAtSecond(moment.SecondOfDay()); }
    bool IsActiveAtSecond(int secondOfDay) const
    {
        return secondOfDay >= m_startTime.SecondOfDay() && secondOfDay <= m_endTime.SecondOfDay();
    }
    // End time minus the moment's time of day, in seconds.
    qint64 RemainingSeconds(const CDateTime& moment) const
    {
        return qint64(m_endTime.SecondOfDay()) - moment.SecondOfDay();
    }
    QString RemainingSecondsText(const CDateTime& moment) const;
    // End time minus start time, in seconds.
    qint64 LengthSeconds() const { return qint64(m_endTime.SecondOfDay()) - m_startTime.SecondOfDay(); }
    QString LengthText() const;

    // The number in force in the moment's ISO week. Not rotating, or number 0: the number. With W
    // the week number, S the starting week index and C the cycle, d = W - (S + 1) and the number
    // advances by d modulo C (0 to C - 1, also for weeks before the start). A cycle of 0 or less
    // does not rotate.
    int EffectiveNumber(const CDateTime& moment) const;

    // Change detection: name (case-sensitive), date type, the displayed date, start and end, and
    // the shift number; the rotation fields are not compared. Two records with empty names and
    // date type 0 are the same.
    bool IsSameAs(const CShift& other) const;
};

// The shift list, kept sorted like the barrier list, with the editors' modified flag.
// Load and Save: sections Shift1, Shift2, ... (see CRecordArray).
// A list merged with another program's changes keeps the editors' order.
inline void SortMergedRecords(QList<CShift>& list)
{
    SortScheduleRecords(list);
}

class CShiftArray : public CRecordArray<CShift>
{
public:
    // Ordered by date-type rank, then start time, then date (see SortScheduleRecords).
    void Sort();

    // The first record in list order that applies on the context's day and is current at its
    // moment. A record whose date type is not 1 to 13 ends the search with no shift. `out`
    // receives name, date type, date, start and end; its shift number and `effectiveNumber` are
    // the number in force at the moment, and its rotation fields are cleared (the number is
    // already rotated).
    bool FindCurrent(CDayContext& context, CShift& out, int& effectiveNumber) const;
};
