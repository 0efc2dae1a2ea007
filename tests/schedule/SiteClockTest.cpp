// The site's wall clock: the zone Settings/TimeZone names, whatever zone the process runs in, on
// every thread, across the nights the clocks change.
#include "schedule/SiteClock.h"

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

#include <QDateTime>

namespace {

std::atomic<qint64> g_utc { 0 };
qint64 TestUtc()
{
    return g_utc.load();
}

qint64 Utc(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

QString Now()
{
    return FormatDateTime(CDateTime::GetCurrentTime(), DTF_DATE | DTF_FULLYEAR | DTF_TIME);
}

} // namespace

TEST(SiteClockTest, ShowsTheSitesZoneWhateverTheProcessRunsIn)
{
    const char* const old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    SetRealTimeSource(&TestUtc);
    QLocale::setDefault(QLocale::c());

    struct CCase
    {
        const char* setting;
        const char* utc;
        const char* wall; // as FormatDateTime writes it in the C locale
    };
    const CCase cases[] = {
        // No zone named, or one unknown here: the process's own.
        { "", "2027-03-28T00:59:59Z", "28 Mar 2027 09:59:59" },
        { "Mars/Olympus", "2027-03-28T00:59:59Z", "28 Mar 2027 09:59:59" },
        // Berlin's spring-forward night: 01:59:59 is followed by 03:00:00.
        { "Europe/Berlin", "2027-03-28T00:59:59Z", "28 Mar 2027 01:59:59" },
        { "Europe/Berlin", "2027-03-28T01:00:00Z", "28 Mar 2027 03:00:00" },
        // The autumn night: 02:30 twice.
        { "Europe/Berlin", "2027-10-31T00:30:00Z", "31 Oct 2027 02:30:00" },
        { "Europe/Berlin", "2027-10-31T01:30:00Z", "31 Oct 2027 02:30:00" },
        { " America/New_York ", "2027-01-01T04:59:59Z", "31 Dec 2026 23:59:59" },
    };
    for (const CCase& test : cases) {
        SCOPED_TRACE(std::string(test.setting) + " " + test.utc);
        bool unknown = false;
        const QTimeZone zone = SetSiteClockZoneFrom(QString::fromLatin1(test.setting), &unknown);
        EXPECT_EQ(unknown, QByteArray(test.setting) == "Mars/Olympus");
        EXPECT_EQ(zone.id(), SiteClockZone().id());
        g_utc = Utc(test.utc);
        EXPECT_EQ(Now(), QString::fromLatin1(test.wall));
        // "Now" in the texts the alarm server sends is the same clock.
        CDateTime parsed;
        EXPECT_TRUE(DateTimeFromText(QStringLiteral("DT#NOW"), parsed));
        EXPECT_EQ(FormatDateTime(parsed, DTF_DATE | DTF_FULLYEAR | DTF_TIME), QString::fromLatin1(test.wall));
    }

    // Another thread's cached offset follows a new zone and the change of offset.
    SetSiteClockZoneFrom(QStringLiteral("Europe/Berlin"));
    g_utc = Utc("2027-03-28T00:59:00Z");
    QString before;
    QString after;
    std::atomic<int> step { 0 };
    std::thread other([&] {
        before = Now();
        step = 1;
        while (step != 2)
            std::this_thread::yield();
        after = Now();
    });
    while (step != 1)
        std::this_thread::yield();
    SetSiteClockZoneFrom(QStringLiteral("Asia/Tokyo"));
    g_utc = Utc("2027-03-28T01:00:00Z");
    step = 2;
    other.join();
    EXPECT_EQ(before, QStringLiteral("28 Mar 2027 01:59:00"));
    EXPECT_EQ(after, QStringLiteral("28 Mar 2027 10:00:00"));

    SetSiteClockZone(QTimeZone());
    SetRealTimeSource(nullptr);
    QLocale::setDefault(QLocale::system());
    if (saved.empty())
        unsetenv("TZ");
    else
        setenv("TZ", saved.c_str(), 1);
    tzset();
}
