#pragma once

#include <QTimeZone>
#include <QtGlobal>

#include "schedule/DateTime.h"

// The site's wall clock. Real time is read from the system (or from a source a test installs) and
// shown in the site's zone: the zone Settings/TimeZone names, the system's zone without one. Every
// "now" of the program is read from it: the socket's time-less checks, the cycle's shift and
// barrier, takeover, notices, coverage, logbook lines, the board and the command-line tools, so
// they agree whatever zone the process itself runs in. Safe to use from any thread.

// The zone the clock shows; an invalid zone (the default) is the system's.
void SetSiteClockZone(const QTimeZone& zone);
// Sets the clock's zone from the TimeZone setting (an IANA name such as "Europe/Berlin") and
// returns the site's zone: the system's when the setting is empty or names no zone known here,
// which sets `unknown`.
QTimeZone SetSiteClockZoneFrom(const QString& setting, bool* unknown = nullptr);
// The zone the clock shows now (the system's when none was set).
QTimeZone SiteClockZone();

// Real time in UTC milliseconds since 1970: the system's, or the installed source's.
using RealTimeSource = qint64 (*)();
void SetRealTimeSource(RealTimeSource source);
qint64 CurrentUtcMs();

// The site's wall clock at a real moment, to the second (a leap second reads as :59).
CDateTime SiteWallClockAt(qint64 utcMs);
