#include "schedule/DateTime.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string_view>

#include <QLocale>

// Readable values in failure messages.
inline void PrintTo(const CDateTime& value, std::ostream* out)
{
    static const char* const status[] = { "valid", "invalid", "null" };
    *out << DateTimeToText(value).toStdString() << " (" << status[int(value.GetStatus())] << ")";
}

namespace {

// Sets the default locale for one test and puts the previous one back.
class CLocaleScope
{
public:
    explicit CLocaleScope(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~CLocaleScope() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

CDateTime FixedNow()
{
    return CDateTime(2024, 5, 15, 10, 20, 30);
}

const QString kEnglishUnits
    = QStringLiteral("year,year,month,months,week,weeks,day,days,hour,hours,minute,minutes,second,seconds");

} // namespace

TEST(DateTimeValue, PartsOutOfRangeGiveAnInvalidValue)
{
    EXPECT_TRUE(CDateTime().IsZero());
    EXPECT_EQ(DateTimeToText(CDateTime()), QStringLiteral("1899-12-30 00:00:00"));

    const CDateTime value(2024, 1, 31, 12, 30, 5);
    ASSERT_TRUE(value.IsValid());
    EXPECT_EQ(value.GetYear(), 2024);
    EXPECT_EQ(value.GetMonth(), 1);
    EXPECT_EQ(value.GetDay(), 31);
    EXPECT_EQ(value.GetHour(), 12);
    EXPECT_EQ(value.GetMinute(), 30);
    EXPECT_EQ(value.GetSecond(), 5);

    EXPECT_TRUE(CDateTime(100, 1, 1, 0, 0, 0).IsValid());
    EXPECT_TRUE(CDateTime(9999, 12, 31, 23, 59, 59).IsValid());
    EXPECT_TRUE(CDateTime(2024, 2, 29, 0, 0, 0).IsValid());
    for (const CDateTime& bad :
        { CDateTime(99, 12, 31, 0, 0, 0), CDateTime(10000, 1, 1, 0, 0, 0), CDateTime(2024, 13, 1, 0, 0, 0),
            CDateTime(2024, 0, 1, 0, 0, 0), CDateTime(2023, 2, 29, 0, 0, 0), CDateTime(2024, 4, 31, 0, 0, 0),
            CDateTime(2024, 1, 1, 24, 0, 0), CDateTime(2024, 1, 1, 0, 60, 0), CDateTime(2024, 1, 1, 0, 0, 60),
            CDateTime(2024, 1, 1, -1, 0, 0) }) {
        EXPECT_EQ(bad.GetStatus(), CDateTime::Status::Invalid);
        EXPECT_EQ(bad.SecondsSinceBase(), 0);
        EXPECT_EQ(bad.GetYear(), 0);
        EXPECT_EQ(bad.GetDayOfWeek(), 0);
    }

    const CDateTime time = CDateTime::TimeOfDay(22, 0, 0);
    EXPECT_EQ(DateTimeToText(time), QStringLiteral("1899-12-30 22:00:00"));
    EXPECT_FALSE(CDateTime::TimeOfDay(22, 60, 0).IsValid());

    CDateTime value2 = value;
    EXPECT_FALSE(value2.SetDate(2024, 2, 30));
    EXPECT_TRUE(value2.SetTime(6, 0, 0));
    EXPECT_EQ(value2, CDateTime::TimeOfDay(6, 0, 0));
    value2.SetStatus(CDateTime::Status::Null);
    EXPECT_TRUE(value2.IsNull());
    EXPECT_EQ(value2.SecondsSinceBase(), 0);
}

TEST(DateTimeValue, DayNumbersWeekdaysAndParts)
{
    // The base date was a Saturday; the day before it has day number -1, not 0.
    EXPECT_EQ(CDateTime(1899, 12, 30, 0, 0, 0).GetDayOfWeek(), 7);
    EXPECT_EQ(CDateTime(1899, 12, 31, 0, 0, 0).GetDayOfWeek(), 1);
    const CDateTime before(1899, 12, 29, 23, 0, 0);
    EXPECT_EQ(before.DayNumber(), -1);
    EXPECT_EQ(before.SecondOfDay(), 23 * 3600);
    EXPECT_EQ(before.GetDayOfWeek(), 6);
    EXPECT_EQ(before.GetHour(), 23);
    EXPECT_EQ(before.DatePart(), CDateTime(1899, 12, 29, 0, 0, 0));
    EXPECT_EQ(before.TimePart(), CDateTime::TimeOfDay(23, 0, 0));

    const CDateTime value(2024, 12, 31, 18, 45, 10);
    EXPECT_EQ(value.GetDayOfYear(), 366);
    EXPECT_EQ(value.DatePart() + CDateTimeSpan::FromSeconds(value.TimePart().SecondsSinceBase()), value);
    EXPECT_EQ(CDateTime::Invalid().DatePart().GetStatus(), CDateTime::Status::Invalid);

    // Weekdays agree with Qt's (Monday = 1 ... Sunday = 7) over centuries on both sides of the base.
    for (QDate date(1601, 1, 1); date.year() < 2200; date = date.addDays(13)) {
        const CDateTime day(date);
        ASSERT_EQ(day.GetDayOfWeek(), date.dayOfWeek() % 7 + 1) << date.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(day.ToQDate(), date);
        ASSERT_EQ(day.DayNumber(), date.toJulianDay() - QDate(1899, 12, 30).toJulianDay());
    }
}

TEST(DateTimeValue, ArithmeticOrderingAndEquality)
{
    const CDateTime value(2024, 2, 28, 23, 30, 0);
    EXPECT_EQ(value + CDateTimeSpan(1, 1, 0, 0), CDateTime(2024, 3, 1, 0, 30, 0));
    EXPECT_EQ(value - CDateTimeSpan(0, 0, 0, 1), CDateTime(2024, 2, 28, 23, 29, 59));
    EXPECT_EQ((CDateTime(2024, 3, 1, 0, 30, 0) - value).GetTotalSeconds(), 25 * 3600);
    EXPECT_EQ((value - CDateTime(2024, 3, 1, 0, 30, 0)).GetTotalHours(), -25);

    // Leaving the representable years, or starting from a value that is not valid.
    EXPECT_FALSE((CDateTime(9999, 12, 31, 23, 59, 59) + CDateTimeSpan(0, 0, 0, 1)).IsValid());
    EXPECT_FALSE((CDateTime(100, 1, 1, 0, 0, 0) - CDateTimeSpan(0, 0, 0, 1)).IsValid());
    EXPECT_FALSE((value + CDateTimeSpan::FromSeconds(std::numeric_limits<qint64>::max())).IsValid());
    EXPECT_EQ((CDateTime::Invalid() + CDateTimeSpan(1, 0, 0, 0)).GetStatus(), CDateTime::Status::Invalid);
    EXPECT_TRUE((CDateTime::Null() + CDateTimeSpan(1, 0, 0, 0)).IsNull());
    EXPECT_EQ((value - CDateTime::Invalid()).GetTotalSeconds(), 0);

    // Times of day compare as such; dates first, then times.
    EXPECT_LT(CDateTime::TimeOfDay(6, 0, 0), CDateTime::TimeOfDay(22, 0, 0));
    EXPECT_LT(CDateTime(2024, 1, 1, 23, 0, 0), CDateTime(2024, 1, 2, 1, 0, 0));
    EXPECT_GE(value, value);
    EXPECT_GT(CDateTime(1899, 12, 30, 0, 0, 1), CDateTime(1899, 12, 29, 23, 59, 59));

    // Equality includes the status: an invalid value is not the zero value, nor null.
    EXPECT_NE(CDateTime::Invalid(), CDateTime());
    EXPECT_NE(CDateTime::Invalid(), CDateTime::Null());
    EXPECT_EQ(CDateTime::Invalid(), CDateTime(2024, 13, 1, 0, 0, 0));
    EXPECT_LT(CDateTime(), CDateTime::Invalid());
}

TEST(DateTimeSpan, TotalsAndComponentsFollowTheSign)
{
    const CDateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784);
    EXPECT_EQ(span.GetTotalMinutes(), 1563);
    EXPECT_EQ(span.GetTotalHours(), 26);
    EXPECT_EQ(span.GetTotalDays(), 1);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 2);
    EXPECT_EQ(span.GetMinutes(), 3);
    EXPECT_EQ(span.GetSeconds(), 4);

    const CDateTimeSpan back = -CDateTimeSpan(0, 1, 30, 0);
    EXPECT_EQ(back.GetTotalMinutes(), -90);
    EXPECT_EQ(back.GetHours(), -1);
    EXPECT_EQ(back.GetMinutes(), -30);
    EXPECT_EQ(back + CDateTimeSpan::FromSeconds(5400), CDateTimeSpan());
    EXPECT_LT(back, CDateTimeSpan());
    EXPECT_EQ(span - span, CDateTimeSpan());
}

TEST(DateTimeValue, QtConversions)
{
    const CDateTime value(2024, 1, 31, 12, 30, 5);
    EXPECT_EQ(value.ToQDate(), QDate(2024, 1, 31));
    EXPECT_EQ(value.ToQTime(), QTime(12, 30, 5));
    EXPECT_EQ(CDateTime(value.ToQDateTime()), value);
    EXPECT_EQ(CDateTime(QDate(2024, 1, 31)), value.DatePart());
    EXPECT_FALSE(CDateTime(QDate()).IsValid());
    EXPECT_FALSE(CDateTime(QDateTime()).IsValid());
    EXPECT_FALSE(CDateTime(QDate(50, 1, 1)).IsValid());
    EXPECT_FALSE(CDateTime::Invalid().ToQDate().isValid());
    EXPECT_FALSE(CDateTime::Null().ToQDateTime().isValid());
}

TEST(CurrentTime, SourceIsInjectableAndRestorable)
{
    SetCurrentTimeSource(&FixedNow);
    EXPECT_EQ(CDateTime::GetCurrentTime(), FixedNow());
    SetCurrentTimeSource(nullptr);
    const CDateTime now = CDateTime::GetCurrentTime();
    ASSERT_TRUE(now.IsValid());
    // The system clock is the local wall-clock time that Qt reports too.
    const QDateTime qtNow = QDateTime::currentDateTime();
    EXPECT_LE(std::abs((CDateTime(qtNow) - now).GetTotalSeconds()), 5);
    EXPECT_LE(std::abs((SystemCurrentTime() - now).GetTotalSeconds()), 5);
}

TEST(DateTimeText, StorageFormsAndRoundTrip)
{
    EXPECT_EQ(DateTimeToText(CDateTime(2024, 1, 31, 12, 30, 5)), QStringLiteral("2024-01-31 12:30:05"));
    EXPECT_EQ(DateTimeToText(CDateTime(100, 1, 1, 0, 0, 0)), QStringLiteral("0100-01-01 00:00:00"));
    EXPECT_EQ(DateToText(CDateTime(2024, 1, 31, 12, 30, 5)), QStringLiteral("2024-01-31"));
    EXPECT_EQ(DateToText(CDateTime::Invalid()), QStringLiteral("0000-00-00"));
    EXPECT_EQ(DateToText(CDateTime::Null()), QStringLiteral("0000-00-00"));
    EXPECT_EQ(DateTimeToText(CDateTime::Invalid()), QStringLiteral("0000-00-00 00:00:00"));

    for (const CDateTime& value : { CDateTime(2024, 1, 31, 12, 30, 5), CDateTime::TimeOfDay(22, 0, 0),
             CDateTime(), CDateTime(9999, 12, 31, 23, 59, 59), CDateTime(1850, 6, 1, 0, 0, 1) }) {
        CDateTime back;
        ASSERT_TRUE(DateTimeFromText(DateTimeToText(value), back));
        EXPECT_EQ(back, value);
        ASSERT_TRUE(DateTimeFromText(DateToText(value), back));
        EXPECT_EQ(back, value.DatePart());
    }
    // A value that was not valid when written reads back as not valid, without ending a list.
    CDateTime back;
    EXPECT_TRUE(DateTimeFromText(DateTimeToText(CDateTime::Invalid()), back));
    EXPECT_FALSE(back.IsValid());
    EXPECT_TRUE(DateTimeFromText(DateToText(CDateTime::Invalid()), back));
    EXPECT_FALSE(back.IsValid());
}

TEST(FormatDateTime, PartsInOrderWithEnglishPictures)
{
    CLocaleScope locale("en_GB");
    const CDateTime value(2024, 1, 31, 9, 5, 7);
    EXPECT_EQ(FormatDateTime(value, DTF_DATE), QStringLiteral("31/01/2024"));
    EXPECT_EQ(FormatDateTime(value, DTF_DAYMONTH), QStringLiteral("31/01"));
    EXPECT_EQ(FormatDateTime(value, DTF_YEAR | DTF_MONTH), QStringLiteral("01/2024"));
    EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("09:05:07"));
    EXPECT_EQ(FormatDateTime(value, DTF_HOUR | DTF_MINUTE), QStringLiteral("09:05"));
    EXPECT_EQ(FormatDateTime(value, DTF_DATETIME), QStringLiteral("31/01/2024 09:05:07"));
    EXPECT_EQ(
        FormatDateTime(value, DTF_WEEKDAY | DTF_ISOWEEK | DTF_DATE), QStringLiteral("Wed (05) 31/01/2024"));
    EXPECT_EQ(FormatDateTime(value, 0), QString());

    // The zero value is midnight of no date: shown as a time, never as a date.
    EXPECT_EQ(FormatDateTime(CDateTime(), DTF_TIME), QStringLiteral("00:00:00"));
    EXPECT_EQ(FormatDateTime(CDateTime(), DTF_DATE), QString());
    EXPECT_EQ(FormatDateTime(CDateTime(), DTF_DATETIME), QString());
    EXPECT_EQ(FormatDateTime(CDateTime(), DTF_WEEKDAY), QString());
    EXPECT_EQ(FormatDateTime(CDateTime::TimeOfDay(0, 0, 1), DTF_TIME), QStringLiteral("00:00:01"));
    EXPECT_EQ(FormatDateTime(CDateTime::Invalid(), DTF_TIME), QString());
    EXPECT_EQ(FormatDateTime(CDateTime::Null(), DTF_TIME), QString());
}

TEST(FormatDateTime, LocalePicturesLoseYearDayZoneAndSeconds)
{
    const CDateTime value(2024, 1, 31, 9, 5, 7);
    {
        CLocaleScope locale("de_DE");
        EXPECT_EQ(FormatDateTime(value, DTF_DATE), QStringLiteral("31.01.24"));
        EXPECT_EQ(FormatDateTime(value, DTF_DAYMONTH), QStringLiteral("31.01"));
        EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("09:05:07"));
    }
    {
        CLocaleScope locale("en_US");
        EXPECT_EQ(FormatDateTime(value, DTF_DATE), QStringLiteral("1/31/24"));
        EXPECT_EQ(FormatDateTime(value, DTF_DAYMONTH), QStringLiteral("1/31"));
        EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("9:05:07 AM"));
        EXPECT_EQ(FormatDateTime(value, DTF_HOUR | DTF_MINUTE), QStringLiteral("9:05 AM"));
    }
    {
        // Long time "H:mm:ss (t)": the zone and its brackets go.
        CLocaleScope locale("es_ES");
        EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("9:05:07"));
    }
    {
        // The zone leads the long time picture here.
        CLocaleScope locale("zh_CN");
        EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("09:05:07"));
    }
    {
        // The C locale's short time has seconds; without the seconds bit they go.
        CLocaleScope locale("C");
        EXPECT_EQ(FormatDateTime(value, DTF_HOUR | DTF_MINUTE), QStringLiteral("09:05"));
        EXPECT_EQ(FormatDateTime(value, DTF_TIME), QStringLiteral("09:05:07"));
    }
}

TEST(FormatDateTime, DisplayTextsReadBackInEveryLanguage)
{
    const CDateTime value(2024, 12, 24, 18, 5, 7);
    for (const char* name : { "en_GB", "en_US", "de_DE", "fr_FR", "nl_NL", "es_ES", "sv_SE", "C" }) {
        CLocaleScope locale(name);
        CDateTime back;
        // The Dutch "24-12-2024 18:05:07" is taken by the year-first storage form before the locale
        // parser sees it (and gives an invalid value), so only its date is read back.
        if (std::string_view(name) != "nl_NL") {
            ASSERT_TRUE(DateTimeFromText(FormatDateTime(value, DTF_DATETIME), back))
                << name << " " << FormatDateTime(value, DTF_DATETIME).toStdString();
            EXPECT_EQ(back, value) << name;
        }
        ASSERT_TRUE(DateTimeFromText(FormatDateTime(value, DTF_DATE), back)) << name;
        EXPECT_EQ(back, value.DatePart()) << name;
        // The short date of the locale, as holiday dates are stored.
        ASSERT_TRUE(DateTimeFromText(QLocale().toString(QDate(2030, 1, 2), QLocale::ShortFormat), back))
            << name;
        EXPECT_EQ(back, CDateTime(2030, 1, 2, 0, 0, 0)) << name;
    }
}

// The week numbers of the planner's caption, the export file names and the rotating shifts are
// QDate::weekNumber of CDateTime::ToQDate.
TEST(WeekNumber, EdgesOfTheYear)
{
    const auto week = [](int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
        return CDateTime(year, month, day, hour, minute, second).ToQDate().weekNumber();
    };
    EXPECT_EQ(week(2021, 1, 1), 53);
    EXPECT_EQ(week(2021, 1, 3, 23, 59, 59), 53);
    EXPECT_EQ(week(2021, 1, 4), 1);
    EXPECT_EQ(week(2024, 12, 31), 1);
    EXPECT_EQ(week(2020, 12, 31), 53);
    EXPECT_EQ(week(2023, 1, 1), 52);
    EXPECT_EQ(week(1899, 12, 30), 52);
    EXPECT_EQ(CDateTime::Invalid().ToQDate().weekNumber(), 0);
    EXPECT_EQ(CDateTime::Null().ToQDate().weekNumber(), 0);
    // The first representable day lies in the last week of the year 99.
    EXPECT_EQ(week(100, 1, 1), 53);
    EXPECT_EQ(week(9999, 12, 31), 52);

    EXPECT_EQ(FormatDateTime(CDateTime(2021, 1, 3, 12, 0, 0), DTF_ISOWEEK), QStringLiteral("(53)"));
    EXPECT_EQ(FormatDateTime(CDateTime(2021, 1, 4, 0, 0, 0), DTF_ISOWEEK), QStringLiteral("(01)"));
    EXPECT_TRUE(FormatDateTime(CDateTime::Invalid(), DTF_ISOWEEK).isEmpty());
}

TEST(FormatDuration, UnitsWordsAndRemainders)
{
    EXPECT_EQ(
        FormatDuration(3725, DURATION_ALL, kEnglishUnits), QStringLiteral("1 hour, 2 minutes, 5 seconds"));
    EXPECT_EQ(FormatDuration(0, DURATION_ALL, kEnglishUnits), QStringLiteral("0 seconds"));
    EXPECT_EQ(FormatDuration(-50, DURATION_ALL, kEnglishUnits), QStringLiteral("0 seconds"));
    EXPECT_EQ(FormatDuration(7 * 86400, DURATION_ALL, kEnglishUnits), QStringLiteral("1 week"));
    EXPECT_EQ(
        FormatDuration(30 * 86400 + 60, DURATION_ALL, kEnglishUnits), QStringLiteral("1 month, 1 minute"));
    // A year is 365 days: 400 days are a year, a month and five days.
    EXPECT_EQ(
        FormatDuration(400 * 86400, DURATION_ALL, kEnglishUnits), QStringLiteral("1 year, 1 month, 5 days"));
    EXPECT_EQ(FormatDuration(2 * 31536000, DURATION_ALL, kEnglishUnits), QStringLiteral("2 year"));

    // Empty words: German. Words separated by semicolons are read as well.
    EXPECT_EQ(FormatDuration(90061, DURATION_ALL, QString()),
        QStringLiteral("1 Tag, 1 Stunde, 1 Minute, 1 Sekunde"));
    EXPECT_EQ(FormatDuration(2 * 86400 + 7200, DURATION_ALL, QString()), QStringLiteral("2 Tage, 2 Stunden"));
    EXPECT_EQ(FormatDuration(61, DURATION_ALL, QStringLiteral("a;b;c;d;e;f;g;h;i;j;min;mins;s;ss")),
        QStringLiteral("1 min, 1 s"));

    // Only the asked units: the rest is dropped; with nothing left over the last asked unit shows 0.
    EXPECT_EQ(FormatDuration(3725, DURATION_HOUR | DURATION_MINUTE, kEnglishUnits),
        QStringLiteral("1 hour, 2 minutes"));
    EXPECT_EQ(
        FormatDuration(59, DURATION_HOUR | DURATION_MINUTE, kEnglishUnits), QStringLiteral("0 minutes"));
    EXPECT_EQ(FormatDuration(3600, DURATION_MINUTE, kEnglishUnits), QStringLiteral("60 minutes"));
    EXPECT_EQ(FormatDuration(3725, 0, kEnglishUnits), QString());
}

TEST(NumberText, DecimalSeparatorOfTheLocale)
{
    CLocaleScope locale("de_DE");
    EXPECT_EQ(DoubleToText(1.5, false), QStringLiteral("1.5"));
    EXPECT_EQ(DoubleToText(1.5, true), QStringLiteral("1,5"));
    EXPECT_EQ(DoubleToText(1234567.0, false), QStringLiteral("1.23457e+06"));
    EXPECT_EQ(DoubleToText(0.0001, false), QStringLiteral("0.0001"));
    EXPECT_EQ(DoubleToText(-3.0, true), QStringLiteral("-3"));
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("1,5")), 1.5);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral(" -2,25 h")), -2.25);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QString()), 0.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("1e3")), 1000.0);

    CLocaleScope english("en_GB");
    EXPECT_EQ(DoubleToText(1.5, true), QStringLiteral("1.5"));
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("1.5")), 1.5);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("1,5")), 1.0);
    // Long or hostile texts: read like atof, never past the text.
    EXPECT_TRUE(std::isinf(TextToDouble(QString(400, u'9'))));
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("12") + QChar(u'\0') + QStringLiteral("34")), 12.0);
    // The other forms atof reads: a plus sign, white space first, underflow to zero, infinities.
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("+2.5")), 2.5);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("\t\n 3")), 3.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("+-1")), 0.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("--1")), 0.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("1e-400")), 0.0);
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("-1e999x")), -HUGE_VAL);
    EXPECT_TRUE(std::isinf(TextToDouble(QStringLiteral("infinity"))));
    EXPECT_DOUBLE_EQ(TextToDouble(QStringLiteral("2.5\u00e9")), 2.5);
}

// Under ctest every variable the test declares reaches the cases, not only the first one: the
// dates and times of these tests are read in UTC under the C.UTF-8 locale. Run by hand (without
// QT_QPA_PLATFORM) the check has nothing to compare.
TEST(TestEnvironment, EveryDeclaredVariableReachesTheCases)
{
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        GTEST_SKIP() << "not run by ctest";
    EXPECT_EQ(qgetenv("TZ"), QByteArray("UTC"));
    EXPECT_EQ(qgetenv("LC_ALL"), QByteArray("C.UTF-8"));
    EXPECT_EQ(QDateTime(QDate(2026, 7, 1), QTime(12, 0)).offsetFromUtc(), 0);
}
