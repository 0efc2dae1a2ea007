// The calendars are read back with python3-icalendar (tests/schedule/check_ics.py), a parser
// written by others. Registered with TZ=Europe/Berlin: the clock changes of 2026 fall on
// 29 March (02:00 -> 03:00) and 25 October (03:00 -> 02:00).
#include "schedule/DutyCalendar.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>

#include "schedule/PageTarget.h"

namespace {

struct SParsedEvent
{
    QString uid;
    QString start;
    QString end;
    QString summary;
    bool operator==(const SParsedEvent&) const = default;
};

void PrintTo(const SParsedEvent& e, std::ostream* os)
{
    *os << qPrintable(e.uid) << " " << qPrintable(e.start) << ".." << qPrintable(e.end) << " "
        << qPrintable(e.summary);
}

class DutyCalendarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")))
            << "tzdata is missing";
        ASSERT_EQ(QTimeZone::systemTimeZoneId(), QByteArray("Europe/Berlin"))
            << "run with TZ=Europe/Berlin (ctest does)";
        ASSERT_TRUE(m_dir.isValid());
    }

    static CPageTarget Target(const QString& id, const QString& name, QStringList lines, int number = 1)
    {
        CPageTarget target;
        target.m_id = id;
        target.m_name = name;
        target.m_number = number;
        for (const QString& line : lines)
            target.m_ranges.AddFromText(line);
        return target;
    }

    // Writes the calendar to a file, parses it with python3-icalendar and returns the events.
    QList<SParsedEvent> Parse(const QByteArray& calendar, QJsonObject* document = nullptr)
    {
        const QString path = m_dir.filePath(QStringLiteral("calendar%1.ics").arg(++m_files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(calendar);
        file.close();

        QProcess python;
        // Debian's interpreter, which python3-icalendar is installed for
        python.start(QStringLiteral("/usr/bin/python3"), { QStringLiteral(KELVARIS_CHECK_ICS), path });
        EXPECT_TRUE(python.waitForFinished(30000));
        const QByteArray out = python.readAllStandardOutput();
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        const QJsonObject json = QJsonDocument::fromJson(out).object();
        if (document)
            *document = json;
        QList<SParsedEvent> events;
        for (const QJsonValue& value : json.value(QStringLiteral("events")).toArray()) {
            const QJsonObject e = value.toObject();
            events.append({ e[QStringLiteral("uid")].toString(), e[QStringLiteral("dtstart")].toString(),
                e[QStringLiteral("dtend")].toString(), e[QStringLiteral("summary")].toString() });
        }
        return events;
    }

    static QDateTime Stamp() { return QDateTime(QDate(2026, 3, 1), QTime(12, 0), QTimeZone::utc()); }

    QTemporaryDir m_dir;
    int m_files = 0;
};

TEST_F(DutyCalendarTest, ClockChangesComeOutInUtc)
{
    const CPageTarget target = Target(QStringLiteral("r7"), QStringLiteral("Anna"),
        { // last Sunday of March: 23 hours
            QStringLiteral("20260329=00:00-24:00"),
            // a Monday after the change
            QStringLiteral("20260330=08:00-09:00"),
            // last Sunday of October: 25 hours
            QStringLiteral("20261025=00:00-24:00"),
            // the hour before and after the spring change, on the day before: normal time
            QStringLiteral("20260328=08:00-16:00") });
    const auto events = Parse(WriteCalendar(
        DutyEvents(target, QDate(2026, 3, 1), QDate(2026, 10, 31)), QStringLiteral("Anna"), Stamp()));
    const QList<SParsedEvent> expected {
        { "r7-20260328T070000Z@kelvaris", "2026-03-28T07:00:00Z", "2026-03-28T15:00:00Z", "Anna" },
        { "r7-20260328T230000Z@kelvaris", "2026-03-28T23:00:00Z", "2026-03-29T22:00:00Z", "Anna" },
        { "r7-20260330T060000Z@kelvaris", "2026-03-30T06:00:00Z", "2026-03-30T07:00:00Z", "Anna" },
        { "r7-20261024T220000Z@kelvaris", "2026-10-24T22:00:00Z", "2026-10-25T23:00:00Z", "Anna" },
    };
    EXPECT_EQ(events, expected);
}

// Around the clock changes the calendar says what the dispatch decision answers: the hour the
// clocks skip has no duty, the hour they repeat is on duty in every pass the range covers.
TEST_F(DutyCalendarTest, ClockChangeNightsAgreeWithTheDecision)
{
    const CPageTarget target = Target(QStringLiteral("r1"), QStringLiteral("B"),
        { // 02:30 does not exist in spring: on duty from 03:00 summer time
            QStringLiteral("20260329=02:30-05:00"),
            // only skipped wall-clock time: no duty at all
            QStringLiteral("20260329=02:10-02:20;02:40-03:00"),
            // 02:30 to 03:00 exists twice in autumn; 02:00 to 02:30 winter time is not in the range
            QStringLiteral("20261025=02:30-06:00") });
    QStringList spans;
    for (const SDutyEvent& event : DutyEvents(target, QDate(2026, 3, 29), QDate(2026, 10, 25)))
        spans << event.m_startUtc.toString(Qt::ISODate) + QStringLiteral("..")
                + event.m_endUtc.toString(Qt::ISODate);
    EXPECT_EQ(spans,
        QStringList({ QStringLiteral("2026-03-29T01:00:00Z..2026-03-29T03:00:00Z"),
            QStringLiteral("2026-10-25T00:30:00Z..2026-10-25T01:00:00Z"),
            QStringLiteral("2026-10-25T01:30:00Z..2026-10-25T05:00:00Z") }));
}

// What subscribers live with: an event keeps its UID as the dates move on day by day (a night
// duty across the first date, a group on duty without a plan); no event is longer than seven
// days; UIDs carry the installation; duty is free time; the calendar names its zone.
TEST_F(DutyCalendarTest, SubscribersSeeStableTransparentEvents)
{
    CCalendarOptions options;
    options.zone = QTimeZone("Europe/Berlin");
    options.installationId = QStringLiteral("3f1c-site");
    // Night duty from the 7th to the 12th of December, 22:00 to 06:00.
    QStringList nights;
    for (int day = 7; day <= 12; ++day)
        nights << QStringLiteral("202612%1=22:00-24:00").arg(day, 2, 10, QLatin1Char('0'))
               << QStringLiteral("202612%1=00:00-06:00").arg(day + 1, 2, 10, QLatin1Char('0'));
    const CPageTarget night = Target(QStringLiteral("r5"), QStringLiteral("Night"), nights, 12);
    CPageTarget always = Target(QStringLiteral("g9"), QStringLiteral("Desk"), {}, -1);
    always.m_members = QStringLiteral("Anna;Bert");
    for (const CPageTarget& target : { night, always }) {
        SCOPED_TRACE(target.m_id.toStdString());
        QMap<QString, QString> before; // UID -> start..end
        for (int day = 0; day < 3; ++day) {
            const QDate first = QDate(2026, 12, 8).addDays(day);
            const QList<SParsedEvent> events = Parse(WriteCalendar(
                DutyEvents(target, first, first.addDays(20), options), target.m_name, Stamp(), options));
            ASSERT_FALSE(events.isEmpty());
            for (const SParsedEvent& event : events) {
                EXPECT_TRUE(event.uid.endsWith(QStringLiteral("@3f1c-site.kelvaris")))
                    << event.uid.toStdString();
                const qint64 length = QDateTime::fromString(event.start, Qt::ISODate)
                                          .secsTo(QDateTime::fromString(event.end, Qt::ISODate));
                EXPECT_LE(length, 7 * 24 * 3600) << event.uid.toStdString();
                if (before.contains(event.uid)) {
                    EXPECT_EQ(before.value(event.uid), event.start + QStringLiteral("..") + event.end);
                }
            }
            if (day > 0) {
                // Every event of the day before that reaches into today's dates keeps its UID.
                for (auto it = before.cbegin(); it != before.cend(); ++it) {
                    const bool reaches
                        = QDateTime::fromString(it->section(QStringLiteral(".."), 1), Qt::ISODate)
                        > QDateTime(first, QTime(1, 0), QTimeZone::utc());
                    const bool kept = std::any_of(events.cbegin(), events.cend(),
                        [&](const SParsedEvent& e) { return e.uid == it.key(); });
                    EXPECT_TRUE(kept || !reaches) << it.key().toStdString();
                }
            }
            before.clear();
            for (const SParsedEvent& event : events)
                before.insert(event.uid, event.start + QStringLiteral("..") + event.end);
        }
    }
    // The night duty across midnight is one event, whole although it began before the dates.
    const QList<SParsedEvent> events
        = Parse(WriteCalendar(DutyEvents(night, QDate(2026, 12, 8), QDate(2026, 12, 9), options),
            QStringLiteral("Night"), Stamp(), options));
    ASSERT_EQ(events.size(), 3);
    EXPECT_EQ(events[0].start, QStringLiteral("2026-12-07T21:00:00Z"));
    EXPECT_EQ(events[0].end, QStringLiteral("2026-12-08T05:00:00Z"));

    const QByteArray calendar
        = WriteCalendar(DutyEvents(always, QDate(2026, 12, 8), QDate(2026, 12, 9), options),
            QStringLiteral("Desk"), Stamp(), options);
    for (const char* line : { "\r\nTRANSP:TRANSPARENT\r\n", "\r\nX-WR-TIMEZONE:Europe/Berlin\r\n",
             "\r\nREFRESH-INTERVAL;VALUE=DURATION:PT1H\r\n", "\r\nX-PUBLISHED-TTL:PT1H\r\n",
             "\r\nDESCRIPTION:Members: Anna\\, Bert\r\n", "\r\nSUMMARY:Desk (group)\r\n" })
        EXPECT_TRUE(calendar.contains(line)) << line << calendar.toStdString();
    EXPECT_TRUE(WriteCalendar(DutyEvents(night, QDate(2026, 12, 8), QDate(2026, 12, 9), options),
        QStringLiteral("Night"), Stamp(), options)
                    .contains("\r\nDESCRIPTION:Number: 12\r\n"));

    // No duty in the dates: the calendar still holds a component, the site's zone.
    QJsonObject document;
    const QByteArray empty = WriteCalendar(DutyEvents(night, QDate(2027, 1, 1), QDate(2027, 1, 2), options),
        QStringLiteral("Night"), Stamp(), options);
    EXPECT_TRUE(Parse(empty, &document).isEmpty());
    EXPECT_TRUE(empty.contains("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n")) << empty.toStdString();
}

TEST_F(DutyCalendarTest, TouchingAndOverlappingRangesAreOneEvent)
{
    const CPageTarget target = Target(QStringLiteral("r2"), QStringLiteral("Night"),
        { // across midnight, added in reverse order
            QStringLiteral("20260505=00:00-06:00"), QStringLiteral("20260504=22:00-24:00"),
            // overlapping and touching on one day
            QStringLiteral("20260506=08:00-12:00;10:00-11:00;12:00-13:00"),
            // a gap of one minute keeps two events
            QStringLiteral("20260507=08:00-09:00;09:01-10:00"),
            // never on duty: empty, reversed, not a date; outside the span
            QStringLiteral("20260508=10:00-10:00;12:00-11:00"), QStringLiteral("20261301=08:00-09:00"),
            QStringLiteral("20260503=08:00-09:00"), QStringLiteral("20260510=08:00-09:00"),
            // the last day of the span is included, times beyond the day clipped
            QStringLiteral("20260509=23:00-25:00") });
    const auto events = Parse(WriteCalendar(
        DutyEvents(target, QDate(2026, 5, 4), QDate(2026, 5, 9)), QStringLiteral("Night"), Stamp()));
    const QList<SParsedEvent> expected {
        { "r2-20260504T200000Z@kelvaris", "2026-05-04T20:00:00Z", "2026-05-05T04:00:00Z", "Night" },
        { "r2-20260506T060000Z@kelvaris", "2026-05-06T06:00:00Z", "2026-05-06T11:00:00Z", "Night" },
        { "r2-20260507T060000Z@kelvaris", "2026-05-07T06:00:00Z", "2026-05-07T07:00:00Z", "Night" },
        { "r2-20260507T070100Z@kelvaris", "2026-05-07T07:01:00Z", "2026-05-07T08:00:00Z", "Night" },
        { "r2-20260509T210000Z@kelvaris", "2026-05-09T21:00:00Z", "2026-05-09T22:00:00Z", "Night" },
    };
    EXPECT_EQ(events, expected);
}

TEST_F(DutyCalendarTest, TextIsEscapedAndLongLinesFolded)
{
    const QString odd = QStringLiteral("Müller, Jörg; Süd\\Ost Ærø Łódź 東京");
    const QString longName
        = QStringLiteral("Ärztlicher Bereitschaftsdienst Überörtlich ").repeated(6) + QStringLiteral("東京€");
    QList<SDutyEvent> events
        = DutyEvents(Target(QStringLiteral("a,b"), odd, { QStringLiteral("20260601=08:00-09:00") }),
            QDate(2026, 6, 1), QDate(2026, 6, 1));
    events
        += DutyEvents(Target(QStringLiteral("g1"), longName, { QStringLiteral("20260601=10:00-11:00") }, -3),
            QDate(2026, 6, 1), QDate(2026, 6, 1));
    events += DutyEvents(Target(QStringLiteral("r3"), QStringLiteral("two\nlines"),
                             { QStringLiteral("20260601=12:00-13:00") }),
        QDate(2026, 6, 1), QDate(2026, 6, 1));
    const QByteArray calendar = WriteCalendar(events, odd + longName, Stamp());

    // every physical line ends with CR LF and holds at most 75 octets; no bare LF or CR
    qsizetype lines = 0;
    for (qsizetype start = 0; start < calendar.size(); ++lines) {
        const qsizetype end = calendar.indexOf("\r\n", start);
        ASSERT_GE(end, 0) << "no CR LF at the end";
        const QByteArray line = calendar.mid(start, end - start);
        EXPECT_LE(line.size(), 75) << line.toStdString();
        EXPECT_FALSE(line.contains('\n') || line.contains('\r')) << line.toStdString();
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a fold split a character";
        start = end + 2;
    }
    EXPECT_GT(lines, 20);
    // The escapes as written (the reader takes an unescaped comma too): comma, semicolon and
    // backslash get a backslash, in the events' summaries and in the calendar's name.
    const QString unfolded = QString::fromUtf8(QByteArray(calendar).replace("\r\n ", ""));
    const QString escaped = QStringLiteral("Müller\\, Jörg\\; Süd\\\\Ost Ærø Łódź 東京");
    EXPECT_TRUE(unfolded.contains(QStringLiteral("\r\nSUMMARY:") + escaped + QStringLiteral("\r\n")))
        << unfolded.toStdString();
    EXPECT_TRUE(unfolded.contains(QStringLiteral("\r\nX-WR-CALNAME:") + escaped)) << unfolded.toStdString();

    QJsonObject document;
    const auto parsed = Parse(calendar, &document);
    ASSERT_EQ(parsed.size(), 3);
    EXPECT_EQ(parsed[0].summary, odd);
    EXPECT_EQ(parsed[0].uid, QStringLiteral("a,b-20260601T060000Z@kelvaris"));
    EXPECT_EQ(parsed[1].summary, longName + QStringLiteral(" (group)"));
    EXPECT_EQ(parsed[2].summary, QStringLiteral("two\nlines"));
    EXPECT_EQ(document[QStringLiteral("name")].toString(), odd + longName);
    EXPECT_EQ(document[QStringLiteral("version")].toString(), QStringLiteral("2.0"));
    EXPECT_TRUE(
        document[QStringLiteral("prodid")].toString().startsWith(QStringLiteral("-//Kelvaris//Kelvaris ")));
    EXPECT_TRUE(calendar.contains("DTSTAMP:20260301T120000Z\r\n"));
}

TEST_F(DutyCalendarTest, TheSameSpanGivesTheSameUids)
{
    const CPageTarget target = Target(QStringLiteral("r9"), QStringLiteral("Same"),
        { QStringLiteral("20260601=08:00-16:00"), QStringLiteral("20260602=08:00-16:00"),
            QStringLiteral("20260603=20:00-24:00"), QStringLiteral("20260604=00:00-04:00") });
    const QDateTime later = Stamp().addDays(9);
    const auto first = Parse(WriteCalendar(
        DutyEvents(target, QDate(2026, 6, 1), QDate(2026, 6, 30)), QStringLiteral("x"), Stamp()));
    const auto second = Parse(
        WriteCalendar(DutyEvents(target, QDate(2026, 5, 1), QDate(2026, 6, 4)), QStringLiteral("x"), later));
    ASSERT_EQ(first.size(), 3);
    EXPECT_EQ(first, second);

    // An event without valid times is left out, not written with made-up digits.
    QList<SDutyEvent> events = DutyEvents(target, QDate(2026, 6, 1), QDate(2026, 6, 1));
    events.append({ QStringLiteral("r9"), QStringLiteral("Same"), QString(), QDateTime(), Stamp() });
    EXPECT_EQ(WriteCalendar(events, QStringLiteral("x"), Stamp()).count("BEGIN:VEVENT"), 1);

    const auto span = DefaultCalendarSpan(QDate(2026, 6, 10));
    EXPECT_EQ(span.first, QDate(2026, 5, 13));
    EXPECT_EQ(span.second, QDate(2026, 9, 9));
    EXPECT_EQ(span.first.daysTo(span.second) + 1, 17 * 7 + 1);
}

} // namespace
