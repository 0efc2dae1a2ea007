#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

#include "schedule/DateTime.h"

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

// The moment a real time (UTC milliseconds) is, on the zone's wall clock.
CMoment MomentAt(const QTimeZone& zone, qint64 utcMs);

// A moment from a text, in the zone: ISO 8601 with "T" or a blank, minutes with or without seconds,
// with "Z" or an offset, or any form of the date parser. A local time the clocks skip in the zone
// is an error naming the zone and the change; one they repeat is its first pass. False with
// `error` set when the text names no moment.
bool MomentFromText(const QString& text, const QTimeZone& zone, CMoment& moment, QString& error);
