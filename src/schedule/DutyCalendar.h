#pragma once

#include <utility>

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

class CPageTarget;

class CPageTargetArray;

// One contiguous span of duty of one page target, in UTC.
struct SDutyEvent
{
    QString m_targetId;
    QString m_summary;
    // The target's number; for a group its members and its holder when written.
    QString m_description;
    QDateTime m_startUtc;
    QDateTime m_endUtc;
};

// How calendars are made at a site.
struct CCalendarOptions
{
    // The zone of the site's wall clock, the plans' times are read in.
    QTimeZone zone = QTimeZone::systemTimeZone();
    // Part of every UID, so that two installations' calendars never share one (see InstallationId).
    QString installationId;
    // The targets, to name a group's holder in its description (none: the holder's ID).
    const CPageTargetArray* targets = nullptr;
};

// The spans of duty of one target that meet the dates `from` to `to` (both included, dates of the
// site's wall clock), as the dispatch decision answers (DutyTimeline): the hour the clocks skip has
// no duty, the hour they repeat is on duty in both passes, a target without ranges is on duty all
// the time. Touching and overlapping ranges, across midnight too, are one event, with its true
// start and end also where it reaches beyond the dates, so that a calendar made a day later gives
// the event the same start (and UID). A span longer than seven days is cut at the seven-day marks
// counted from Monday 1970-01-05 00:00 UTC, so its pieces keep their starts as the dates move on.
// The summary is the target's name, for a group "<name> (group)" (translated in the context
// "DutyCalendar").
QList<SDutyEvent> DutyEvents(
    const CPageTarget& target, QDate from, QDate to, const CCalendarOptions& options = {});

// One VCALENDAR with the events of the targets (in order), CR LF line ends, lines folded at 75 octets,
// text escaped as RFC 5545 says; `stamp` is the DTSTAMP of every event (UTC); `name` goes to
// X-WR-CALNAME, the zone's name to X-WR-TIMEZONE, and subscribers are asked to look again every hour
// (REFRESH-INTERVAL, X-PUBLISHED-TTL). Every event is TRANSP:TRANSPARENT (duty is no busy time).
// A calendar without events holds the site's time zone (VTIMEZONE), as a calendar needs one
// component.
//
// The UID of an event is "<target ID>-<UTC start yyyyMMddTHHmmssZ>@<installation ID>.kelvaris"
// ("@kelvaris" without one): the same span of the same target gets the same UID in every export.
// Control characters other than line breaks are left out of text values (a calendar cannot carry
// them); a line break becomes "\n". An event without valid start and end is left out.
QByteArray WriteCalendar(const QList<SDutyEvent>& events, const QString& name, const QDateTime& stamp,
    const CCalendarOptions& options = {});

// The default span: 4 weeks back to 13 weeks ahead of `today`.
std::pair<QDate, QDate> DefaultCalendarSpan(QDate today);

// The options of the site whose configuration file is `configPath`: its zone (Settings/TimeZone,
// else the system's) and installation ID (made when `create` and there is none); `targets` name
// the holders.
CCalendarOptions SiteCalendarOptions(
    const QString& configPath, const CPageTargetArray* targets, bool create = true);

// The installation's ID (Settings/InstallationId of the configuration file); with `create`, made
// and stored when there is none. Random, so no two installations share it.
QString InstallationId(const QString& configPath, bool create = true);
