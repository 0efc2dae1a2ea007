#include "schedule/Holiday.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <utility>

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "schedule/DayContext.h"
#include "schedule/Profile.h"
#include "support/Trace.h"

#include "fakes/WarningCapture.h"

namespace {

CDateTime Day(int year, int month, int day)
{
    return CDateTime(year, month, day, 0, 0, 0);
}

QString Text(const char* text)
{
    return QString::fromUtf8(text);
}

// The flags of a context as one comparable text: H holiday, W working day, E weekend, B day
// before holiday, A day after holiday; "-" for a clear flag.
std::string Flags(const CDayContext& context)
{
    std::string flags;
    flags += context.m_holiday ? 'H' : '-';
    flags += context.m_workingDay ? 'W' : '-';
    flags += context.m_weekend ? 'E' : '-';
    flags += context.m_dayBeforeHoliday ? 'B' : '-';
    flags += context.m_dayAfterHoliday ? 'A' : '-';
    return flags;
}

std::string Classified(const CHolidaysArray& holidays, int workDays, const CDateTime& moment)
{
    CDayContext context(moment);
    ClassifyDay(holidays, workDays, context);
    return Flags(context);
}

CHolidaysArray Holidays(std::initializer_list<CDateTime> dates)
{
    CHolidaysArray holidays;
    for (const CDateTime& date : dates)
        holidays.append(CHoliday(Text("Holiday"), date));
    return holidays;
}

// "name@YYYY-MM-DD" of every record, for comparing whole lists.
QStringList Listed(const CHolidaysArray& holidays)
{
    QStringList list;
    for (const CHoliday& holiday : holidays)
        list.append(holiday.m_name + u'@' + DateToText(holiday.m_date));
    return list;
}

CDateTime FixedNow()
{
    return CDateTime(2024, 5, 15, 10, 20, 30);
}

class HolidayStorage : public ::testing::Test
{
protected:
    void SetUp() override { SetCurrentTimeSource(&FixedNow); }
    void TearDown() override
    {
        SetCurrentTimeSource(nullptr);
        QLocale::setDefault(m_locale);
    }

    QString NewFile(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("holidays.cfg"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QByteArray Bytes(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QLocale m_locale;
};

// Easter Sunday as the day of March (32 = 1 April) by Lichtenberg's form of Gauss's method, a
// formulation independent of the one in the program.
int LichtenbergEaster(int year)
{
    const int k = year / 100;
    const int m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
    const int s = 2 - (3 * k + 3) / 4;
    const int a = year % 19;
    const int d = (19 * a + m) % 30;
    const int r = (d + a / 11) / 29;
    const int og = 21 + d - r;
    const int sz = 7 - (year + year / 4 + s) % 7;
    const int oe = 7 - (og - sz) % 7;
    return og + oe;
}

// Gauss's short rule for the years 1900 to 2099, without its two exceptions.
int ShortRuleEaster(int year)
{
    const int d = (19 * (year % 19) + 24) % 30;
    const int e = (2 * (year % 4) + 4 * (year % 7) + 6 * d + 5) % 7;
    return 22 + d + e;
}

int DayOfMarch(const QDate& date)
{
    return date.month() == 3 ? date.day() : date.month() == 4 ? 31 + date.day() : 0;
}

} // namespace

// --- classification ---------------------------------------------------------------------------

TEST(HolidayClassification, NeighbouringHolidaysMarkTheDayBetweenBothWays)
{
    const CHolidaysArray holidays = Holidays({ Day(2024, 12, 24), Day(2024, 12, 26) });

    CDayContext christmas(CDateTime(2024, 12, 25, 23, 59, 59));
    EXPECT_FALSE(holidays.MarkHoliday(christmas));
    EXPECT_TRUE(holidays.MarkDayBefore(christmas));
    EXPECT_TRUE(holidays.MarkDayAfter(christmas));
    EXPECT_TRUE(MarkWorkingDay(kWorkDaysMonToFri, christmas)); // a Wednesday
    EXPECT_EQ(Flags(christmas), "-W-BA");

    // Each holiday is only the neighbour of the day next to it.
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, Day(2024, 12, 23)), "-W-B-");
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, Day(2024, 12, 24)), "H----");
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, Day(2024, 12, 25)), "-W-BA");
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, CDateTime(2024, 12, 26, 12, 0, 0)), "H----");
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, Day(2024, 12, 27)), "-W--A");
    EXPECT_EQ(Classified(holidays, kWorkDaysMonToFri, Day(2024, 12, 28)), "--E--");

    // Across the turn of a year.
    const CHolidaysArray newYear = Holidays({ Day(2025, 1, 1) });
    EXPECT_EQ(Classified(newYear, kWorkDaysMonToFri, CDateTime(2024, 12, 31, 23, 59, 59)), "-W-B-");
    EXPECT_EQ(Classified(newYear, kWorkDaysMonToFri, Day(2025, 1, 2)), "-W--A");
}

TEST(HolidayClassification, HolidayIsNeitherWorkingDayNorWeekend)
{
    // 28 December 2024 is a Saturday; also with every weekday a working day.
    const CHolidaysArray holidays = Holidays({ Day(2024, 12, 28) });
    for (const int workDays : { kWorkDaysMonToFri, kWorkDaysMask, 0 }) {
        CDayContext context(CDateTime(2024, 12, 28, 8, 0, 0));
        context.m_workingDay = context.m_weekend = true;
        EXPECT_TRUE(holidays.MarkHoliday(context));
        EXPECT_FALSE(context.m_workingDay || context.m_weekend);
        EXPECT_FALSE(MarkWorkingDay(workDays, context));
        EXPECT_EQ(Flags(context), "H----") << workDays;
        EXPECT_EQ(Classified(holidays, workDays, Day(2024, 12, 28)), "H----") << workDays;
    }
}

TEST(HolidayClassification, WorkDayMaskDecidesBetweenWorkingDayAndWeekend)
{
    const CHolidaysArray none;
    const auto week = [&none](int workDays) {
        std::string days; // 2 to 8 December 2024, Monday to Sunday
        for (int day = 2; day <= 8; ++day)
            days += Classified(none, workDays, Day(2024, 12, day))[1] == 'W' ? 'W' : 'E';
        return days;
    };
    EXPECT_EQ(week(kWorkDaysMonToFri), "WWWWWEE");
    EXPECT_EQ(week(0), "EEEEEEE");
    EXPECT_EQ(week(kWorkDaysMask), "WWWWWWW");
    EXPECT_EQ(week(kWorkDaysMonToFri & ~0x04), "WWEWWEE"); // Wednesday cleared: a weekend day
    EXPECT_EQ(week(0x40), "EEEEEEW"); // bit 6 is Sunday

    CDayContext wednesday(Day(2024, 12, 4));
    EXPECT_FALSE(MarkWorkingDay(kWorkDaysMonToFri & ~0x04, wednesday));
    EXPECT_TRUE(wednesday.m_weekend);
    EXPECT_FALSE(wednesday.m_workingDay);
}

TEST(HolidayClassification, ClassifyingStartsAfreshAndMatchesTheSingleSteps)
{
    // A list with duplicates and a record without a valid date, which falls on no day (not
    // even the base date, the day number of an invalid value).
    CHolidaysArray holidays = Holidays({ Day(2024, 3, 29), Day(2024, 4, 2), Day(2024, 4, 1), Day(2024, 4, 1),
        Day(2024, 4, 3), CDateTime::Invalid() });
    EXPECT_EQ(Classified(holidays, kWorkDaysMask, Day(1899, 12, 30)), "-W---");
    EXPECT_EQ(Classified(holidays, kWorkDaysMask, Day(1899, 12, 29)), "-W---");
    CDayContext baseDay(Day(1899, 12, 30));
    EXPECT_FALSE(holidays.MarkHoliday(baseDay));
    EXPECT_FALSE(holidays.MarkDayBefore(baseDay));
    EXPECT_FALSE(holidays.MarkDayAfter(baseDay));
    CDayContext dayBefore(Day(1899, 12, 29));
    EXPECT_FALSE(holidays.MarkDayBefore(dayBefore));

    for (int day = 0; day < 14; ++day) {
        const CDateTime moment = Day(2024, 3, 27) + CDateTimeSpan(day, 7, 0, 0);
        CDayContext steps(moment);
        holidays.MarkHoliday(steps);
        holidays.MarkDayBefore(steps);
        holidays.MarkDayAfter(steps);
        MarkWorkingDay(kWorkDaysMonToFri, steps);

        // A context left over from another day, markers included, is classified anew.
        CDayContext reused(moment);
        reused.m_holiday = reused.m_dayBeforeHoliday = reused.m_dayAfterHoliday = true;
        reused.m_specialDateMatched = reused.m_weekdayMatched = true;
        ClassifyDay(holidays, kWorkDaysMonToFri, reused);
        EXPECT_EQ(Flags(reused), Flags(steps)) << DateToText(moment).toStdString();
        EXPECT_FALSE(reused.m_specialDateMatched || reused.m_weekdayMatched);

        // Holiday and working day only: no neighbour flags, the rest as before.
        CDayContext walk = reused;
        walk.m_holiday = true;
        ClassifyHolidayAndWorkingDay(holidays, kWorkDaysMonToFri, walk);
        EXPECT_EQ(Flags(walk), Flags(steps).substr(0, 3) + "--") << DateToText(moment).toStdString();
    }

    // A moment that is not valid is no day at all.
    CDayContext invalid(CDateTime::Invalid());
    ClassifyDay(holidays, kWorkDaysMask, invalid);
    EXPECT_EQ(Flags(invalid), "-----");
}

// --- work-day mask ------------------------------------------------------------------------------

TEST_F(HolidayStorage, WorkDaysFromTheOlderSectionAreMovedToSettingsOnSave)
{
    CProfile missing(m_dir.filePath(QStringLiteral("missing.cfg")));
    EXPECT_EQ(LoadWorkDays(missing), 31);

    const QString path = NewFile("[Settings]\r\nLanguage=1\r\n[WorkDays]\r\nSaturday=1\r\n[Holiday1]\r\n"
                                 "HolidayName=x\r\n");
    CProfile profile(path);
    EXPECT_EQ(LoadWorkDays(profile), 63);
    SaveWorkDays(profile, 63);
    const QByteArray bytes = Bytes(path);
    EXPECT_FALSE(bytes.contains("[WorkDays]"));
    EXPECT_TRUE(bytes.contains("[Settings]\r\nLanguage=1\r\nWorkDays=63\r\n")) << bytes.toStdString();
    EXPECT_EQ(LoadWorkDays(profile), 63);

    // The older flags: Monday to Friday default to working days, any non-zero value is set.
    CProfile older(NewFile("[WorkDays]\r\nMonday=0\r\nSunday=2\r\n"));
    EXPECT_EQ(LoadWorkDays(older), 0x5E);
    // The key in Settings wins; bits above Sunday are dropped; 0 is a mask like any other.
    CProfile both(NewFile("[WorkDays]\r\nSaturday=1\r\n[Settings]\r\nWorkDays=-1\r\n"));
    EXPECT_EQ(LoadWorkDays(both), kWorkDaysMask);
    SaveWorkDays(both, 0);
    EXPECT_EQ(LoadWorkDays(both), 0);
}

// --- Easter and generation --------------------------------------------------------------------

TEST(HolidayEaster, KnownDatesIncludingTheExceptionYears)
{
    const struct
    {
        int year, month, day;
    } known[] = {
        { 2024, 3, 31 },
        { 2025, 4, 20 },
        { 1954, 4, 18 },
        { 1981, 4, 19 },
        { 2049, 4, 18 },
        { 2076, 4, 19 },
        { 2038, 4, 25 },
        { 2099, 4, 12 },
        { 1901, 4, 7 },
        { 1913, 3, 23 },
        { 1943, 4, 25 },
        { 2000, 4, 23 },
        { 2008, 3, 23 },
        { 2011, 4, 24 },
        { 2019, 4, 21 },
        { 2285, 3, 22 },
        { 1583, 4, 10 },
    };
    for (const auto& k : known)
        EXPECT_EQ(EasterSunday(k.year), QDate(k.year, k.month, k.day)) << k.year;
    EXPECT_FALSE(EasterSunday(1582).isValid());
    EXPECT_FALSE(EasterSunday(10000).isValid());
    EXPECT_FALSE(EasterSunday(-2024).isValid());
}

TEST(HolidayEaster, AgreesWithAnIndependentComputusInEveryYear)
{
    for (int year = 1583; year <= 9999; ++year) {
        const QDate easter = EasterSunday(year);
        ASSERT_TRUE(easter.isValid()) << year;
        EXPECT_EQ(easter.dayOfWeek(), Qt::Sunday) << year;
        EXPECT_EQ(DayOfMarch(easter), LichtenbergEaster(year)) << year;
        EXPECT_GE(DayOfMarch(easter), 22) << year;
        EXPECT_LE(DayOfMarch(easter), 56) << year;
    }
    // Gauss's short rule is a week late in exactly four of the years the generator accepts.
    for (int year = 1901; year <= 2099; ++year) {
        const int late = ShortRuleEaster(year) - DayOfMarch(EasterSunday(year));
        const bool exception = year == 1954 || year == 1981 || year == 2049 || year == 2076;
        EXPECT_EQ(late, exception ? 7 : 0) << year;
    }
}

TEST(HolidayGeneration, OneYearGivesElevenHolidaysInDateOrder)
{
    CHolidaysArray holidays;
    EXPECT_TRUE(GenerateStatutoryHolidays(holidays, 2024, 2024));
    EXPECT_TRUE(holidays.IsModified());
    EXPECT_EQ(Listed(holidays),
        QStringList({ Text("New Year@2024-01-01"), Text("Good Friday@2024-03-29"),
            Text("Easter Sunday@2024-03-31"), Text("Easter Monday@2024-04-01"), Text("Labour Day@2024-05-01"),
            Text("Ascension Day @2024-05-09"), Text("Whitsunday@2024-05-19"), Text("Whitmonday@2024-05-20"),
            Text("German Unification Day@2024-10-03"), Text("Christmas Day@2024-12-25"),
            Text("Boxing Day@2024-12-26") }));
    for (const CHoliday& holiday : holidays)
        EXPECT_EQ(holiday.m_date.SecondOfDay(), 0);
    // A year listed already adds only what is missing (same day and name): a renamed or deleted one.
    holidays.removeAt(3);
    holidays[0].m_name = Text("Neujahr");
    EXPECT_TRUE(GenerateStatutoryHolidays(holidays, 2024, 2025));
    EXPECT_EQ(holidays.size(), 10 + 2 + 11);

    // In 2008 Ascension Day falls on Labour Day: the sort keeps the order of equal days.
    CHolidaysArray early;
    EXPECT_TRUE(GenerateStatutoryHolidays(early, 2008, 2008));
    EXPECT_EQ(early[4].m_name, Text("Labour Day"));
    EXPECT_EQ(early[5].m_name, Text("Ascension Day "));
    EXPECT_EQ(DateToText(early[5].m_date), Text("2008-05-01"));
    EXPECT_EQ(DateToText(early[1].m_date), Text("2008-03-21"));

    // Appending a year of its own leaves the list unsorted and unflagged.
    CHolidaysArray appended = Holidays({ Day(2030, 1, 1) });
    EXPECT_TRUE(appended.AddStatutoryHolidays(2024));
    EXPECT_EQ(appended.size(), 12);
    EXPECT_EQ(DateToText(appended[1].m_date), Text("2024-01-01"));
    EXPECT_FALSE(appended.IsModified());
    EXPECT_FALSE(appended.AddStatutoryHolidays(1500));
    EXPECT_EQ(appended.size(), 12);
}

TEST(HolidayGeneration, SpanIsOrderedCheckedAndSortedOnlyWhenShort)
{
    // Years given the wrong way round; what the list held stays, sorted in.
    CHolidaysArray swapped = Holidays({ Day(2027, 6, 15) });
    EXPECT_TRUE(GenerateStatutoryHolidays(swapped, 2030, 2025));
    ASSERT_EQ(swapped.size(), 1 + 6 * 11);
    EXPECT_EQ(DateToText(swapped.front().m_date), Text("2025-01-01"));
    EXPECT_EQ(DateToText(swapped.back().m_date), Text("2030-12-26"));
    EXPECT_TRUE(std::is_sorted(swapped.cbegin(), swapped.cend(),
        [](const CHoliday& a, const CHoliday& b) { return a.m_date < b.m_date; }));

    // The first year must lie after 1900, the last before 2100.
    for (const auto& [first, last] : { std::pair(1900, 1950), std::pair(1950, 1900), std::pair(2000, 2100),
             std::pair(-5, 2000), std::pair(2100, 2100) }) {
        CHolidaysArray untouched;
        EXPECT_FALSE(GenerateStatutoryHolidays(untouched, first, last)) << first << "-" << last;
        EXPECT_TRUE(untouched.isEmpty());
        EXPECT_FALSE(untouched.IsModified());
    }
    CHolidaysArray edges;
    EXPECT_TRUE(GenerateStatutoryHolidays(edges, 1901, 1901));
    EXPECT_TRUE(GenerateStatutoryHolidays(edges, 2099, 2099));
    EXPECT_EQ(edges.size(), 22);

    // A span of 50 years stays in generation order after what the list held, one of 49 is sorted.
    CHolidaysArray fifty = Holidays({ Day(2060, 1, 1) });
    EXPECT_TRUE(GenerateStatutoryHolidays(fifty, 2000, 2050));
    ASSERT_EQ(fifty.size(), 1 + 51 * 11);
    EXPECT_EQ(DateToText(fifty[0].m_date), Text("2060-01-01"));
    EXPECT_EQ(DateToText(fifty[1].m_date), Text("2000-01-01"));
    CHolidaysArray fortyNine = Holidays({ Day(2049, 12, 31) });
    EXPECT_TRUE(GenerateStatutoryHolidays(fortyNine, 2000, 2048));
    EXPECT_EQ(DateToText(fortyNine.front().m_date), Text("2000-01-01"));
    EXPECT_EQ(DateToText(fortyNine.back().m_date), Text("2049-12-31"));

    // Generating a year twice lists it once.
    CHolidaysArray twice;
    GenerateStatutoryHolidays(twice, 2024, 2024);
    GenerateStatutoryHolidays(twice, 2024, 2024);
    ASSERT_EQ(twice.size(), 11);
    EXPECT_NE(twice[0].m_name, twice[1].m_name);
}

TEST(HolidayGeneration, SortingKeepsTheOrderOfEqualDays)
{
    // Enough records for a sort that is not stable to show it: two days, interleaved.
    CHolidaysArray holidays;
    for (int i = 0; i < 64; ++i)
        holidays.append(CHoliday(QString::number(i), CDateTime(2024, 12, i % 2 ? 24 : 26, i % 24, 0, 0)));
    holidays.SortByDate();
    QStringList expected;
    for (int i = 1; i < 64; i += 2)
        expected.append(QString::number(i) + QStringLiteral("@2024-12-24"));
    for (int i = 0; i < 64; i += 2)
        expected.append(QString::number(i) + QStringLiteral("@2024-12-26"));
    EXPECT_EQ(Listed(holidays), expected);
}

// --- storage ------------------------------------------------------------------------------------

TEST_F(HolidayStorage, SavesTheStorageFormAndReadsItBackInAnyLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString path = m_dir.filePath(QStringLiteral("saved.cfg"));
    CProfile profile(path);
    CHolidaysArray holidays;
    GenerateStatutoryHolidays(holidays, 2024, 2024);
    holidays[0].m_date = CDateTime(2024, 1, 1, 13, 14, 15); // only the day is stored
    EXPECT_TRUE(holidays.Save(profile));

    const QByteArray bytes = Bytes(path);
    EXPECT_TRUE(bytes.contains("[Holiday1]\r\nHolidayName=New Year\r\nHolidayDate=2024-01-01\r\n"));
    EXPECT_TRUE(bytes.contains("HolidayName=\"Ascension Day \"\r\nHolidayDate=2024-05-09\r\n"));
    EXPECT_TRUE(bytes.contains("[Holiday11]\r\nHolidayName=Boxing Day\r\nHolidayDate=2024-12-26\r\n"));

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CHolidaysArray loaded;
    loaded.SetModified();
    loaded.Load(profile);
    EXPECT_FALSE(loaded.IsModified());
    holidays[0].m_date = Day(2024, 1, 1);
    EXPECT_EQ(Listed(loaded), Listed(holidays));
    EXPECT_EQ(loaded[5].m_name, Text("Ascension Day "));
}

TEST_F(HolidayStorage, ReadsFourDigitYearsUnderALocaleWithTwo)
{
    for (const auto& [locale, christmas, boxing] :
        { std::tuple(QLocale(QLocale::English, QLocale::UnitedStates), "12/24/2024", "12/26/2024"),
            std::tuple(QLocale(QLocale::Spanish, QLocale::Spain), "24/12/2024", "26/12/2024") }) {
        QLocale::setDefault(locale);
        CProfile profile(NewFile(QByteArray("[Holiday1]\r\nHolidayName=Christmas Eve\r\nHolidayDate=")
            + christmas + "\r\n[Holiday2]\r\nHolidayName=Boxing Day\r\nHolidayDate=" + boxing + "\r\n"));
        CHolidaysArray holidays;
        holidays.Load(profile);
        EXPECT_EQ(Listed(holidays),
            QStringList({ Text("Christmas Eve@2024-12-24"), Text("Boxing Day@2024-12-26") }))
            << locale.name().toStdString();
    }
}

TEST_F(HolidayStorage, ReadsOlderDateFormsAndStopsAtTheFirstUnreadableRecord)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    CProfile profile(NewFile("[Holiday1]\r\nHolidayName=Dotted\r\nHolidayDate=24.12.2024\r\n"
                             "[Holiday2]\r\nHolidayName=Stored\r\nHolidayDate=2024-12-24\r\n"
                             "[Holiday3]\r\nHolidayName=Locale\r\nHolidayDate=24/12/2024\r\n"
                             "[Holiday4]\r\nHolidayName=No date\r\n"
                             "[Holiday5]\r\nHolidayName=\" padded \"\r\nHolidayDate=2024-12-26\r\n"
                             "[Holiday6]\r\nHolidayName=Bad\r\nHolidayDate=Christmas\r\n"
                             "[Holiday7]\r\nHolidayName=After\r\nHolidayDate=2024-12-31\r\n"));
    CHolidaysArray holidays = Holidays({ Day(2000, 1, 1) });
    holidays.Load(profile);
    EXPECT_EQ(Listed(holidays),
        QStringList({ Text("Dotted@2024-12-24"), Text("Stored@2024-12-24"), Text("Locale@2024-12-24"),
            Text("No date@2024-05-15"), Text(" padded @2024-12-26") }));

    // A missing or empty name, and a date that names no day, end the list as well.
    const char* enders[] = { "[Holiday2]\r\nHolidayDate=2024-12-24\r\n",
        "[Holiday2]\r\nHolidayName=\r\nHolidayDate=2024-12-24\r\n",
        "[Holiday2]\r\nHolidayName=Zero\r\nHolidayDate=0000-00-00\r\n",
        "[Holiday2]\r\nHolidayName=Leap\r\nHolidayDate=2023-02-29\r\n",
        "[Holiday3]\r\nHolidayName=Gap\r\nHolidayDate=2024-12-24\r\n" };
    for (const char* ender : enders) {
        CProfile cut(NewFile(QByteArray("[Holiday1]\r\nHolidayName=First\r\nHolidayDate=2024-01-01\r\n")
            + ender + "[Holiday3]\r\nHolidayName=Third\r\nHolidayDate=2024-01-03\r\n"));
        holidays.Load(cut);
        EXPECT_EQ(Listed(holidays), QStringList({ Text("First@2024-01-01") })) << ender;
    }
}

TEST_F(HolidayStorage, AListThatStopsEarlyAndASaveThatFailsAreWarnings)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const CWarningCapture warnings(lcConfig());
    CProfile profile(NewFile("[Holiday1]\r\nHolidayName=First\r\nHolidayDate=2024-01-01\r\n"
                             "[Holiday2]\r\nHolidayName=Bad\r\nHolidayDate=Christmas\r\n"
                             "[Holiday3]\r\nHolidayName=Hidden\r\nHolidayDate=2024-12-31\r\n"));
    CHolidaysArray holidays;
    holidays.Load(profile);
    EXPECT_EQ(holidays.size(), 1);
    ASSERT_EQ(warnings.Lines().size(), 1);
    EXPECT_TRUE(warnings.Lines()[0].contains(QStringLiteral("[Holiday2]")))
        << warnings.Lines()[0].toStdString();
    EXPECT_TRUE(warnings.Lines()[0].contains(profile.Path()));
    // Loading again within the minute: no second warning.
    holidays.Load(profile);
    EXPECT_EQ(warnings.Lines().size(), 1);

    // A list that simply ends is no warning.
    CProfile complete(m_dir.filePath(QStringLiteral("complete.cfg")));
    holidays.SetModified();
    ASSERT_TRUE(holidays.Save(complete));
    holidays.Load(complete);
    EXPECT_EQ(warnings.Lines().size(), 1);

    // A folder that is not there: the save fails, with the path and the reason.
    const QString lost = m_dir.filePath(QStringLiteral("gone/holidays.cfg"));
    CProfile missing(lost);
    holidays.SetModified();
    EXPECT_FALSE(holidays.Save(missing));
    ASSERT_EQ(warnings.Lines().size(), 2);
    EXPECT_TRUE(warnings.Lines()[1].contains(QStringLiteral("cannot save")))
        << warnings.Lines()[1].toStdString();
    EXPECT_TRUE(warnings.Lines()[1].contains(lost));
    EXPECT_FALSE(missing.SaveProblem().isEmpty()); // the reason travels with the file's profile
}

TEST_F(HolidayStorage, SavesOnlyWhenModifiedAndNeverARecordThatWouldEndTheList)
{
    const QString path = NewFile(
        "[Holiday1]\r\nHolidayName=Old 1\r\nHolidayDate=2020-01-01\r\n[Holiday2]\r\nHolidayName=Old 2\r\n"
        "[Holiday3]\r\nHolidayName=Old 3\r\n[Holiday4]\r\nHolidayName=Old 4\r\n");
    CProfile profile(path);
    CHolidaysArray holidays = Holidays({ Day(2024, 1, 1), CDateTime::Invalid(), Day(2024, 1, 2) });
    holidays[2].m_name = Text("Kept");
    EXPECT_TRUE(holidays.Save(profile)); // not modified: nothing written
    CHolidaysArray loaded;
    loaded.Load(profile);
    EXPECT_EQ(loaded.size(), 4);

    holidays.append(CHoliday(QString(), Day(2024, 1, 3)));
    holidays.SetModified();
    EXPECT_TRUE(holidays.Save(profile));
    loaded.Load(profile);
    EXPECT_EQ(Listed(loaded), QStringList({ Text("Holiday@2024-01-01"), Text("Kept@2024-01-02") }));
    EXPECT_FALSE(Bytes(path).contains("[Holiday3]"));
    EXPECT_TRUE(Bytes(path).contains("[Holiday4]\r\nHolidayName=Old 4")); // left over, never read

    // A single record: refused when it would not load back, the file unchanged.
    const QByteArray before = Bytes(path);
    EXPECT_FALSE(CHoliday(Text("Invalid"), CDateTime::Invalid()).Save(profile, 1));
    EXPECT_FALSE(CHoliday(QString(), Day(2024, 1, 1)).Save(profile, 1));
    EXPECT_FALSE(CHoliday(Text("Index"), Day(2024, 1, 1)).Save(profile, 0));
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(CHoliday(Text("Replaced"), Day(2024, 2, 2)).Save(profile, 1));
    loaded.Load(profile);
    EXPECT_EQ(Listed(loaded), QStringList({ Text("Replaced@2024-02-02") }));

    // An empty list removes the first record.
    CHolidaysArray empty;
    empty.SetModified();
    EXPECT_TRUE(empty.Save(profile));
    loaded.Load(profile);
    EXPECT_TRUE(loaded.isEmpty());
}
