// One clock for the whole site: whatever zone the process runs in, the socket's time-less answer,
// the on-call document, the board and the calendars say the same of every moment, the nights the
// clocks change included.
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <random>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include "engine/DutyReports.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "schedule/DutyCalendar.h"
#include "schedule/SiteClock.h"
#include "webui/Board.h"

#include "ConfigLocationScope.h"
#include "FakeServerCommand.h"

namespace {

std::atomic<qint64> g_now { 0 };
qint64 TestNow()
{
    return g_now.load();
}

// The process's own zone for the scope's lifetime, as TZ sets it for a service.
class CProcessZone
{
public:
    explicit CProcessZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~CProcessZone()
    {
        if (m_old.empty())
            unsetenv("TZ");
        else
            setenv("TZ", m_old.c_str(), 1);
        tzset();
    }

private:
    std::string m_old;
};

qint64 Utc(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

} // namespace

TEST(OneClockTest, SocketOncallBoardAndCalendarsAgreeWhateverTheProcessZone)
{
    struct CDirection
    {
        const char* process;
        const char* site;
    };
    const CDirection directions[] = {
        { "UTC", "America/New_York" },
        { "America/New_York", "UTC" },
        { "Pacific/Auckland", "Europe/Berlin" },
    };
    // Days around the clock changes of 2027 in the zones above.
    const char* const changes[] = { "2027-03-14T12:00:00Z", "2027-03-28T12:00:00Z", "2027-04-04T12:00:00Z",
        "2027-09-26T12:00:00Z", "2027-10-31T12:00:00Z", "2027-11-07T12:00:00Z" };
    std::mt19937 random(20271107);

    // Five receivers with random quarter-hour duties on the three days around each change, among
    // them the hours the clocks skip and repeat; a group without ranges, one with its own plan.
    CPageTargetArray targets;
    for (int r = 0; r < 5; ++r) {
        CPageTarget receiver;
        receiver.m_id = QString::number(100 + r);
        receiver.m_name = QStringLiteral("R%1").arg(r);
        for (const char* change : changes) {
            const QDate middle = QDateTime::fromString(QString::fromLatin1(change), Qt::ISODate).date();
            for (int day = -1; day <= 1; ++day) {
                for (int piece = 0; piece < 3; ++piece) {
                    const int from = int(random() % 96) * 15;
                    const int to = std::min(24 * 60, from + int(1 + random() % 16) * 15);
                    receiver.m_ranges.AddFromText(
                        QStringLiteral("%1=%2:%3-%4:%5")
                            .arg(middle.addDays(day).toString(QStringLiteral("yyyyMMdd")))
                            .arg(from / 60, 2, 10, QLatin1Char('0'))
                            .arg(from % 60, 2, 10, QLatin1Char('0'))
                            .arg(to / 60, 2, 10, QLatin1Char('0'))
                            .arg(to % 60, 2, 10, QLatin1Char('0')));
                }
            }
        }
        targets.append(receiver);
    }
    CPageTarget always;
    always.m_id = QStringLiteral("900");
    always.m_name = QStringLiteral("Always");
    always.m_number = -1;
    always.m_members = QStringLiteral("R0;R1");
    targets.append(always);
    CPageTarget day = always;
    day.m_id = QStringLiteral("901");
    day.m_name = QStringLiteral("Days");
    day.m_ranges = targets.at(2).m_ranges;
    targets.append(day);

    SetRealTimeSource(&TestNow);
    int compared = 0;
    for (const CDirection& direction : directions) {
        SCOPED_TRACE(std::string(direction.process) + " / " + direction.site);
        const CProcessZone process(direction.process);
        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("kelvaris.cfg"));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Settings]\r\nTimeZone=") + direction.site + "\r\n");
        file.close();
        const CConfigLocationScope location(config);
        CFakeServerCommandFactory server;
        CRightsCheck rights;
        CKelvarisDoc doc(server, rights);
        ASSERT_TRUE(doc.Initialise());
        ASSERT_EQ(doc.SiteZone().id(), QByteArray(direction.site));
        doc.PageTargets() = targets;
        CCalendarOptions calendar;
        calendar.zone = QTimeZone(direction.site);
        CBoardBuilder board;

        for (int i = 0; i < 700; ++i) {
            // A random second within a day and a half around one of the changes.
            const qint64 middle = Utc(changes[random() % std::size(changes)]);
            const qint64 at = middle - 36 * 3'600'000LL + qint64(random() % (72 * 3600)) * 1000;
            g_now = at;
            const CMoment moment = MomentAt(doc.SiteZone(), at);
            const QJsonObject oncall = OncallReport(doc.PageTargets(), moment, QString(), false, {}).json;
            const CBoard shown = board.Build(doc, at);
            for (const CPageTarget& target : targets) {
                SCOPED_TRACE(QStringLiteral("%1 at %2").arg(target.m_name, moment.IsoText()).toStdString());
                const bool socket = doc.CheckDispatching(target.m_id, QString(), QString(), 0) == 0;
                bool listed = false;
                for (const char* kind : { "receivers", "groups" }) {
                    for (const QJsonValue& item : oncall.value(QLatin1String(kind)).toArray())
                        listed
                            = listed || item.toObject().value(QStringLiteral("id")).toString() == target.m_id;
                }
                bool onBoard = false;
                for (const CBoardReceiver& receiver : shown.receivers)
                    onBoard = onBoard || receiver.id == target.m_id;
                for (const CBoardGroup& group : shown.groups)
                    onBoard = onBoard || (group.id == target.m_id && group.onDuty);
                bool inCalendar = false;
                const QDate date = moment.wall.ToQDate();
                for (const SDutyEvent& event :
                    DutyEvents(target, date.addDays(-1), date.addDays(1), calendar))
                    inCalendar = inCalendar
                        || (event.m_startUtc.toMSecsSinceEpoch() <= at
                            && at < event.m_endUtc.toMSecsSinceEpoch());
                EXPECT_EQ(listed, socket);
                EXPECT_EQ(onBoard, socket);
                EXPECT_EQ(inCalendar, socket);
                ++compared;
            }
        }
    }
    SetRealTimeSource(nullptr);
    SetSiteClockZone(QTimeZone());
    EXPECT_GE(compared, 2000 * 3);
}
