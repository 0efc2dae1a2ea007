#include "schedule/DutyCalendar.h"

#include <algorithm>

#include <QCoreApplication>
#include <QTimeZone>

#include "schedule/PageTarget.h"

namespace {

constexpr int kMinutesPerDay = 24 * 60;
constexpr qsizetype kMaxLineOctets = 75;

// A range as minutes since the day number 0 began, end exclusive.
struct SMinuteSpan
{
    qint64 m_from;
    qint64 m_to;
};

QDateTime LocalMinuteToUtcIfValid(qint64 minute, const QTimeZone& zone)
{
    // Floor division: day numbers before 1899-12-30 are negative.
    qint64 day = minute / kMinutesPerDay;
    int minuteOfDay = int(minute % kMinutesPerDay);
    if (minuteOfDay < 0) {
        minuteOfDay += kMinutesPerDay;
        --day;
    }
    const QDate date = QDate::fromJulianDay(day + kBaseJulianDay);
    const QDateTime local(date, QTime(minuteOfDay / 60, minuteOfDay % 60), zone);
    // toUTC() of an invalid moment would be a valid one, at the wall-clock time
    return local.isValid() ? local.toUTC() : QDateTime();
}

// Local minutes since day number 0 to UTC. A wall-clock time the clocks skipped (Qt gives no valid
// moment for it) is taken as the last valid minute before it plus the distance: the offset in
// force before the change. Gaps are at most a day long (a skipped calendar day); null beyond.
QDateTime LocalMinuteToUtc(qint64 minute, const QTimeZone& zone)
{
    QDateTime utc = LocalMinuteToUtcIfValid(minute, zone);
    for (int back = 1; !utc.isValid() && back <= 2 * kMinutesPerDay; ++back) {
        const QDateTime before = LocalMinuteToUtcIfValid(minute - back, zone);
        if (before.isValid())
            return before.addSecs(back * 60);
    }
    return utc;
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

QList<SDutyEvent> DutyEvents(const CPageTarget& target, QDate from, QDate to)
{
    QList<SDutyEvent> events;
    if (!from.isValid() || !to.isValid() || from > to)
        return events;
    const qint64 firstDay = from.toJulianDay() - kBaseJulianDay;
    const qint64 lastDay = to.toJulianDay() - kBaseJulianDay;

    QList<SMinuteSpan> spans;
    for (const CDispatchRange& range : target.m_ranges) {
        const qint64 day = range.DayNumber();
        if (day == CDispatchRange::kNoDay || day < firstDay || day > lastDay)
            continue;
        const int begin = std::max(range.m_from, 0);
        const int end = std::min(range.m_to, kMinutesPerDay);
        if (begin >= end)
            continue;
        spans.append({ day * kMinutesPerDay + begin, day * kMinutesPerDay + end });
    }
    if (spans.isEmpty())
        return events;
    std::sort(spans.begin(), spans.end(),
        [](const SMinuteSpan& a, const SMinuteSpan& b) { return a.m_from < b.m_from; });

    const QString summary = target.IsGroup()
        ? QCoreApplication::translate("DutyCalendar", "%1 (group)").arg(target.m_name)
        : target.m_name;
    const QTimeZone zone = QTimeZone::systemTimeZone();
    auto addSpan = [&](const SMinuteSpan& span) {
        QDateTime start = LocalMinuteToUtc(span.m_from, zone);
        QDateTime end = LocalMinuteToUtc(span.m_to, zone);
        if (!start.isValid() || !end.isValid() || end <= start)
            return; // only wall-clock times the clocks skipped
        events.append({ target.m_id, summary, std::move(start), std::move(end) });
    };

    SMinuteSpan current = spans.first();
    for (qsizetype i = 1; i < spans.size(); ++i) {
        const SMinuteSpan& next = spans.at(i);
        if (next.m_from <= current.m_to) {
            current.m_to = std::max(current.m_to, next.m_to);
        } else {
            addSpan(current);
            current = next;
        }
    }
    addSpan(current);
    return events;
}

QByteArray WriteCalendar(const QList<SDutyEvent>& events, const QString& name, const QDateTime& stamp)
{
    QByteArray out;
    // About 260 octets per event: reserve once, so the calendar is built without regrowing.
    out.reserve(300 + events.size() * (260 + 2 * 40));
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

    QByteArray stampText;
    AppendUtcStamp(stampText, stamp.toUTC());

    for (const SDutyEvent& event : events) {
        // A moment that is not valid has no text in a calendar.
        if (!event.m_startUtc.isValid() || !event.m_endUtc.isValid())
            continue;
        const QDateTime start = event.m_startUtc.toUTC();
        out.append("BEGIN:VEVENT\r\n");

        line.truncate(0);
        line.append("UID:");
        AppendText(line, event.m_targetId);
        line.append('-');
        AppendUtcStamp(line, start);
        line.append("@kelvaris");
        AppendFolded(out, line);

        out.append("DTSTAMP:");
        out.append(stampText);
        out.append("\r\nDTSTART:");
        AppendUtcStamp(out, start);
        out.append("\r\nDTEND:");
        AppendUtcStamp(out, event.m_endUtc.toUTC());
        out.append("\r\n");

        line.truncate(0);
        line.append("SUMMARY:");
        AppendText(line, event.m_summary);
        AppendFolded(out, line);

        out.append("END:VEVENT\r\n");
    }
    out.append("END:VCALENDAR\r\n");
    return out;
}

std::pair<QDate, QDate> DefaultCalendarSpan(QDate today)
{
    return { today.addDays(-4 * 7), today.addDays(13 * 7) };
}
