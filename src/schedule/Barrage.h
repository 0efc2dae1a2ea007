#pragma once

#include <QList>
#include <QString>

#include "schedule/DateTime.h"
#include "schedule/RecordArray.h"
#include "schedule/RecordCompare.h"

class CProfile;
class CSection;
struct CDayContext;

// Barrier kinds.
enum BarrierType : int {
    BARRIER_DELETE = 1, // messages are deleted during the barrier
    BARRIER_SEND_AFTER = 2, // messages are held and sent after the barrier
    BARRIER_PAUSE = 3, // pause without barrier: only the priority level applies
};

// A barrier (or pause): a daily time window, on the days chosen by its date type, in which the
// alarm server does not deliver messages normally. Start and end are times of day, both
// inclusive; all second counts use the times of day only, so a record that runs past midnight
// (possible only in an edited file) gives negative counts and is never active.
class CBarrage
{
public:
    QString m_name;
    int m_dateType = 0;
    CDateTime m_date = CDateTime::GetCurrentTime(); // the day of a special-date barrier
    CDateTime m_startTime; // 00:00:00
    CDateTime m_endTime; // 00:00:00
    int m_barrierType = 0;
    int m_priority = 1;
    // Not stored: the engine fills it in its copy of the current barrier.
    CDateTime m_delayUntil;

    // Reads section Barrage<index>. False (the end of the list) for a missing or empty name, or a
    // date, start or end text that does not parse.
    bool Load(CProfile& profile, int index);
    // Deletes the sections index and index + 1, writes the keys into section index and records
    // the configuration file's time.
    bool Save(CProfile& profile, int index) const;
    void WriteKeys(CSection& section) const;
    static QString BaseName() { return QStringLiteral("Barrage"); }
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
    // With from and to reduced to times of day: the barrier and the window share an instant.
    bool OverlapsWindow(const CDateTime& from, const CDateTime& to) const;
    // The barrier's length less the parts before `from` and after `to` (times of day).
    qint64 OverlapSeconds(const CDateTime& from, const CDateTime& to) const;
    // End time minus start time, in seconds.
    qint64 LengthSeconds() const { return qint64(m_endTime.SecondOfDay()) - m_startTime.SecondOfDay(); }
    QString LengthText() const;
    // End time minus the moment's time of day, in seconds, as text.
    QString RemainingSecondsText(const CDateTime& moment) const;

    // Change detection: name (case-sensitive), date type, the displayed date, start and end,
    // barrier type and priority. Two records with empty names and date type 0 are the same.
    bool IsSameAs(const CBarrage& other) const;
};

// The barrier list, kept sorted by date-type rank (see Sort), with the editors' modified flag.
// Load and Save: sections Barrage1, Barrage2, ... (see CRecordArray).
// A list merged with another program's changes keeps the editors' order.
inline void SortMergedRecords(QList<CBarrage>& list)
{
    SortScheduleRecords(list);
}

class CBarrageArray : public CRecordArray<CBarrage>
{
public:
    // Ordered by date-type rank, then start time, then date (see SortScheduleRecords).
    void Sort();

    // Whether record `index` applies on the context's day; leaves the match markers in the context.
    bool MatchesDateType(qsizetype index, CDayContext& context) const;

    // The first record in list order that applies on the context's day and is active at its
    // moment. `out` receives its name, date type, date, start, end, barrier type and priority.
    bool FindActive(CDayContext& context, CBarrage& out) const;

    // Seconds of the barriers of the context's day inside the time-of-day window from..to. Once a
    // record of a holiday date type (Holiday, Day before holiday, Day after Holiday) applied, the
    // first record of another type that applies ends the sum; so on such a day weekday, working-day
    // and weekend barriers do not count, while special-date barriers (which sort first) do.
    qint64 BarrierSecondsInWindow(CDayContext& context, const CDateTime& from, const CDateTime& to) const;
};
