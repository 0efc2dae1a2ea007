#pragma once

#include <utility>

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include "schedule/DateTime.h"
#include "schedule/DutyTimeline.h"

// A moment both as the site's wall clock shows it and in real time.
struct CMoment
{
    CDateTime wall;
    qint64 utcMs = 0;
    int offsetSeconds = 0;
    // ISO 8601 with the true offset, "2027-03-28T03:30:00+02:00" (never "Z").
    QString IsoText() const;
    // The wall clock as a QDateTime whose fields read as the site's clock (kept in UTC).
    QDateTime WallDateTime() const;
};

// An offset from UTC as ISO 8601 writes it: "+01:00", "-03:30".
QString OffsetText(int offsetSeconds);

// The wall-clock texts (FormatDateTime with `parts`) of a span's start and end; where the zone's
// offset differs between the two (the clocks change within the span) each names its offset, as
// "01:00 (+01:00)" and "03:00 (+02:00)".
std::pair<QString, QString> SpanClockTexts(
    const CZoneOffsets& offsets, qint64 startMs, qint64 endMs, int parts);

// The moment a real time (UTC milliseconds) is, on the zone's wall clock.
CMoment MomentAt(const QTimeZone& zone, qint64 utcMs);

// Now on the site's clock (schedule/SiteClock.h): its wall clock and real time together. Where a
// test's source stands in for the clock, its wall clock and the real moment that shows it.
CMoment SiteNow();

// A moment from a text, in the zone: ISO 8601 with "T" or a blank, minutes with or without seconds,
// with "Z" or an offset, or any form of the date parser. A local time the clocks skip in the zone
// is an error naming the zone and the change; one they repeat is its first pass. False with
// `error` set when the text names no moment.
bool MomentFromText(const QString& text, const QTimeZone& zone, CMoment& moment, QString& error);
