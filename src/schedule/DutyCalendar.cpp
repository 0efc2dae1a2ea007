#include "schedule/DutyCalendar.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include <QCoreApplication>
#include <QStringList>
#include <QTimeZone>
#include <QUuid>

#include "schedule/DutyTimeline.h"
#include "schedule/PageTarget.h"
#include "schedule/Profile.h"
#include "support/Trace.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr qsizetype kMaxLineOctets = 75;

constexpr qint64 kMsPerDay = 86'400'000;
constexpr qint64 kWeekMs = 7 * kMsPerDay;
// Monday 1970-01-05 00:00 UTC: the seven-day marks long spans are cut at.
constexpr qint64 kWeekMarkMs = 4 * kMsPerDay;

qint64 WeekMarkAtOrBefore(qint64 ms)
{
    qint64 weeks = (ms - kWeekMarkMs) / kWeekMs;
    if ((ms - kWeekMarkMs) % kWeekMs < 0)
        --weeks;
    return kWeekMarkMs + weeks * kWeekMs;
}

// The first real moment whose wall-clock date is `date` or later (midnight, or the end of a
// skipped midnight).
qint64 StartOfDate(const CZoneOffsets& offsets, QDate date)
{
    const qint64 wallMidnight = (date.toJulianDay() - 2440588) * kMsPerDay;
    qint64 best = std::numeric_limits<qint64>::max();
    for (const CZoneOffsets::CPeriod& period : offsets.Periods()) {
        const qint64 at = std::max(wallMidnight - qint64(period.offsetSeconds) * 1000, period.startMs);
        // The wall clock there is midnight or later on that date when the period's offset holds.
        if (at + qint64(offsets.OffsetAt(at)) * 1000 >= wallMidnight)
            best = std::min(best, at);
    }
    return best;
}

QDateTime UtcFromMs(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

void AppendTwoDigits(QByteArray& out, int value)
{
    out.append(char('0' + value / 10));
    out.append(char('0' + value % 10));
}

// yyyyMMddTHHmmssZ of a UTC moment.
void AppendUtcStamp(QByteArray& out, const QDateTime& utc)
{
    const QDate date = utc.date();
    const QTime time = utc.time();
    const int year = date.year();
    AppendTwoDigits(out, year / 100);
    AppendTwoDigits(out, year % 100);
    AppendTwoDigits(out, date.month());
    AppendTwoDigits(out, date.day());
    out.append('T');
    AppendTwoDigits(out, time.hour());
    AppendTwoDigits(out, time.minute());
    AppendTwoDigits(out, time.second());
    out.append('Z');
}

// A TEXT value: backslash, semicolon and comma escaped, a line break (CR LF, LF or CR) as "\n",
// other control characters left out.
void AppendText(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const qsizetype size = utf8.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        switch (c) {
        case '\\':
        case ';':
        case ',':
            out.append('\\');
            out.append(c);
            break;
        case '\r':
            if (i + 1 < size && utf8[i + 1] == '\n')
                ++i;
            out.append("\\n", 2);
            break;
        case '\n':
            out.append("\\n", 2);
            break;
        default:
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
                break;
            out.append(c);
        }
    }
}

bool IsUtf8Continuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Appends one content line with CR LF, folded so that no physical line exceeds 75 octets (a
// continuation line starts with one space); a fold never splits a UTF-8 sequence.
void AppendFolded(QByteArray& out, const QByteArray& line)
{
    const char* data = line.constData();
    const qsizetype size = line.size();
    qsizetype pos = 0;
    qsizetype room = kMaxLineOctets;
    while (size - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos && IsUtf8Continuation(data[cut]))
            --cut;
        if (cut == pos) // not UTF-8 after all: cut where the room ends
            cut = pos + room;
        out.append(data + pos, cut - pos);
        out.append("\r\n ", 3);
        pos = cut;
        room = kMaxLineOctets - 1;
    }
    out.append(data + pos, size - pos);
    out.append("\r\n", 2);
}

} // namespace

namespace {
QString Description(const CPageTarget& target, const CCalendarOptions& options)
{
    if (!target.IsGroup())
        return QCoreApplication::translate("DutyCalendar", "Number: %1").arg(target.m_number);
    QStringList lines;
    QStringList members;
    for (const QString& member : target.m_members.split(u';', Qt::SkipEmptyParts)) {
        if (!member.trimmed().isEmpty())
            members << member.trimmed();
    }
    lines
        << QCoreApplication::translate("DutyCalendar", "Members: %1").arg(members.join(QStringLiteral(", ")));
    if (target.m_takeover) {
        const QString holderId = target.ReadCurrentTargetId();
        if (!holderId.isEmpty()) {
            const CPageTarget* holder = options.targets ? options.targets->FindById(holderId) : nullptr;
            lines << QCoreApplication::translate("DutyCalendar", "Holder when written: %1")
                         .arg(holder ? holder->m_name : holderId);
        }
    }
    return lines.join(u'\n');
}
} // namespace

QList<SDutyEvent> DutyEvents(const CPageTarget& target, QDate from, QDate to, const CCalendarOptions& options)
{
    QList<SDutyEvent> events;
    if (!from.isValid() || !to.isValid() || from > to)
        return events;
    // The dates in real time, then widened to seven-day marks at least a week beyond both ends:
    // an event is found whole (or cut at a mark) wherever the dates start and end.
    const qint64 roughFrom = (from.toJulianDay() - 2440588) * kMsPerDay;
    const qint64 roughTo = (to.toJulianDay() + 1 - 2440588) * kMsPerDay;
    const CZoneOffsets offsets(options.zone, roughFrom - 2 * kWeekMs, roughTo + 2 * kWeekMs);
    const qint64 windowFrom = StartOfDate(offsets, from);
    const qint64 windowTo = StartOfDate(offsets, to.addDays(1));
    const qint64 reachFrom = WeekMarkAtOrBefore(windowFrom) - kWeekMs;
    const qint64 reachTo = WeekMarkAtOrBefore(windowTo) + 2 * kWeekMs;

    const QString summary = target.IsGroup()
        ? QCoreApplication::translate("DutyCalendar", "%1 (group)").arg(target.m_name)
        : target.m_name;
    const QString description = Description(target, options);
    for (const CDutySpan& span : DutyTimeline(target.m_ranges, offsets, reachFrom, reachTo)) {
        // A span longer than seven days is cut at every mark in it: where the cuts fall does not
        // depend on how far the span reaches beyond the dates.
        const bool cut = span.endMs - span.startMs > kWeekMs;
        qint64 start = span.startMs;
        while (start < span.endMs) {
            const qint64 end = cut ? std::min(span.endMs, WeekMarkAtOrBefore(start) + kWeekMs) : span.endMs;
            // Only pieces that meet the dates.
            if (end > windowFrom && start < windowTo)
                events.append({ target.m_id, summary, description, UtcFromMs(start), UtcFromMs(end) });
            start = end;
        }
    }
    return events;
}

namespace {
// "+0100" of an offset in seconds.
QByteArray OffsetText(int seconds)
{
    QByteArray text(seconds < 0 ? "-" : "+");
    const int minutes = std::abs(seconds) / 60;
    AppendTwoDigits(text, minutes / 60);
    AppendTwoDigits(text, minutes % 60);
    return text;
}

// The site's zone as a VTIMEZONE: its offsets from a year before `stamp` to a year after, each
// change with its onset in the wall-clock time before it.
void AppendTimeZone(QByteArray& out, const QTimeZone& zone, const QDateTime& stamp)
{
    const qint64 at = stamp.toMSecsSinceEpoch();
    const CZoneOffsets offsets(zone, at - 366 * kMsPerDay, at + 366 * kMsPerDay);
    QByteArray line = "TZID:";
    AppendText(line, QString::fromUtf8(zone.id()));
    out.append("BEGIN:VTIMEZONE\r\n");
    AppendFolded(out, line);
    const QList<CZoneOffsets::CPeriod>& periods = offsets.Periods();
    for (qsizetype i = 0; i < periods.size(); ++i) {
        const int before = i == 0 ? periods[i].offsetSeconds : periods[i - 1].offsetSeconds;
        const int after = periods[i].offsetSeconds;
        const qint64 onset = i == 0 ? at - 366 * kMsPerDay : periods[i].startMs;
        const bool daylight = zone.isDaylightTime(UtcFromMs(onset));
        out.append(daylight ? "BEGIN:DAYLIGHT\r\nDTSTART:" : "BEGIN:STANDARD\r\nDTSTART:");
        QByteArray local;
        AppendUtcStamp(local, UtcFromMs(onset + qint64(before) * 1000));
        local.chop(1); // a local time: no "Z"
        out.append(local);
        out.append("\r\nTZOFFSETFROM:" + OffsetText(before) + "\r\nTZOFFSETTO:" + OffsetText(after) + "\r\n");
        out.append(daylight ? "END:DAYLIGHT\r\n" : "END:STANDARD\r\n");
    }
    out.append("END:VTIMEZONE\r\n");
}
} // namespace

QByteArray WriteCalendar(const QList<SDutyEvent>& events, const QString& name, const QDateTime& stamp,
    const CCalendarOptions& options)
{
    QByteArray out;
    // About 400 octets per event: reserve once, so the calendar is built without regrowing.
    out.reserve(600 + events.size() * 400);
    QByteArray line;
    line.reserve(256);

    out.append("BEGIN:VCALENDAR\r\n"
               "VERSION:2.0\r\n");
    line = "PRODID:-//Kelvaris//Kelvaris " KELVARIS_VERSION "//EN";
    AppendFolded(out, line);
    out.append("CALSCALE:GREGORIAN\r\n");
    line = "X-WR-CALNAME:";
    AppendText(line, name);
    AppendFolded(out, line);
    const QString zoneName = QString::fromUtf8(options.zone.id());
    if (!zoneName.isEmpty()) {
        line = "X-WR-TIMEZONE:";
        AppendText(line, zoneName);
        AppendFolded(out, line);
    }
    // Subscribers look again every hour: plans change.
    out.append("REFRESH-INTERVAL;VALUE=DURATION:PT1H\r\n"
               "X-PUBLISHED-TTL:PT1H\r\n");

    QByteArray stampText;
    AppendUtcStamp(stampText, stamp.toUTC());
    QByteArray uidEnd = "@";
    if (!options.installationId.isEmpty()) {
        AppendText(uidEnd, options.installationId);
        uidEnd.append('.');
    }
    uidEnd.append("kelvaris");

    qsizetype written = 0;
    for (const SDutyEvent& event : events) {
        // A moment that is not valid has no text in a calendar.
        if (!event.m_startUtc.isValid() || !event.m_endUtc.isValid())
            continue;
        ++written;
        const QDateTime start = event.m_startUtc.toUTC();
        out.append("BEGIN:VEVENT\r\n");

        line.truncate(0);
        line.append("UID:");
        AppendText(line, event.m_targetId);
        line.append('-');
        AppendUtcStamp(line, start);
        line.append(uidEnd);
        AppendFolded(out, line);

        out.append("DTSTAMP:");
        out.append(stampText);
        out.append("\r\nDTSTART:");
        AppendUtcStamp(out, start);
        out.append("\r\nDTEND:");
        AppendUtcStamp(out, event.m_endUtc.toUTC());
        // Duty is time one can be reached in, not time one is busy.
        out.append("\r\nTRANSP:TRANSPARENT\r\n");

        line.truncate(0);
        line.append("SUMMARY:");
        AppendText(line, event.m_summary);
        AppendFolded(out, line);
        if (!event.m_description.isEmpty()) {
            line.truncate(0);
            line.append("DESCRIPTION:");
            AppendText(line, event.m_description);
            AppendFolded(out, line);
        }

        out.append("END:VEVENT\r\n");
    }
    // A calendar holds at least one component.
    if (written == 0 && options.zone.isValid())
        AppendTimeZone(out, options.zone, stamp);
    out.append("END:VCALENDAR\r\n");
    return out;
}

CCalendarOptions SiteCalendarOptions(const QString& configPath, const CPageTargetArray* targets, bool create)
{
    CCalendarOptions options;
    options.zone = SiteTimeZone(
        CProfile(configPath).ReadString(QStringLiteral("Settings"), QStringLiteral("TimeZone"), QString()));
    options.installationId = InstallationId(configPath, create);
    options.targets = targets;
    return options;
}

QString InstallationId(const QString& configPath, bool create)
{
    static const QString kSettings = QStringLiteral("Settings");
    static const QString kKey = QStringLiteral("InstallationId");
    CProfile profile(configPath);
    QString id = profile.ReadString(kSettings, kKey, QString()).trimmed();
    if (!id.isEmpty() || !create)
        return id;
    id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!configPath.isEmpty() && !profile.WriteString(kSettings, kKey, id))
        qCWarning(lcConfig).noquote() << "cannot store the installation ID in" << configPath
                                      << "- calendar UIDs change until it can be stored";
    return id;
}

std::pair<QDate, QDate> DefaultCalendarSpan(QDate today)
{
    return { today.addDays(-4 * 7), today.addDays(13 * 7) };
}
