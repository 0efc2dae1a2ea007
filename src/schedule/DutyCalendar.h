#pragma once

#include <utility>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

class CPageTarget;

// One contiguous span of duty of one page target, in UTC.
struct SDutyEvent
{
    QString m_targetId;
    QString m_summary;
    QDateTime m_startUtc;
    QDateTime m_endUtc;
};

// The contiguous duty spans of one target between the dates `from` and `to` (both included, local
// wall-clock dates): ranges that touch or overlap, across midnight too, are one span; converted from local
// time through the system time zone to UTC.
//
// Ranges with m_from >= m_to or a date that is not a calendar date are left out; times outside
// 0..1440 are clipped to the day. The summary is the target's name, for a group "<name> (group)"
// (translated in the context "DutyCalendar").
//
// Clock changes: an end at 24:00 is 0:00 of the next day. A wall-clock time that does not exist
// (skipped when the clocks go forward) is read with the offset in force before the change, so it
// lands as far after the change as it lies after the start of the gap (02:30 in a gap 02:00-03:00
// becomes 03:30): duty keeps its wall-clock length. A span that thereby ends no later than it
// starts (duty only inside the gap, such as 02:30-03:00) happens at no real time and is left out.
// A wall-clock time that exists twice (when the clocks go back) is its second occurrence, the one
// after the change, as Qt resolves it: duty until 24:00 on that day lasts 25 hours, and a
// hand-over at 02:30 leaves neither gap nor overlap.
QList<SDutyEvent> DutyEvents(const CPageTarget& target, QDate from, QDate to);

// One VCALENDAR with the events of the targets (in order), CR LF line ends, lines folded at 75 octets,
// text escaped as RFC 5545 says; `stamp` is the DTSTAMP of every event (UTC); `name` goes to X-WR-CALNAME.
//
// The UID of an event is "<target ID>-<UTC start yyyyMMddTHHmmssZ>@kelvaris": the same span of the
// same target gets the same UID in every export. Control characters other than line breaks are
// left out of text values (a calendar cannot carry them); a line break becomes "\n". An event
// without valid start and end is left out.
QByteArray WriteCalendar(const QList<SDutyEvent>& events, const QString& name, const QDateTime& stamp);

// The default span: 4 weeks back to 13 weeks ahead of `today`.
std::pair<QDate, QDate> DefaultCalendarSpan(QDate today);
