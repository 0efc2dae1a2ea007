#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>

#include <QLocale>

#include "schedule/DateTime.h"

// Readable values in failure messages.
inline void PrintTo(const CDateTime& value, std::ostream* out)
{
    static const char* const status[] = { "valid", "invalid", "null" };
    *out << DateTimeToText(value).toStdString() << " (" << status[int(value.GetStatus())] << ")";
}

namespace {

CDateTime FixedNow()
{
    return CDateTime(2024, 5, 15, 10, 20, 30);
}

// Every parser test runs against a fixed clock and an English (UK) default locale.
class DateTimeParser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetCurrentTimeSource(&FixedNow);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }
    void TearDown() override
    {
        SetCurrentTimeSource(nullptr);
        QLocale::setDefault(m_locale);
    }

    // The parse result and the value, as one comparable pair.
    static std::pair<bool, CDateTime> Parse(const QString& text)
    {
        CDateTime value(1999, 9, 9, 9, 9, 9);
        const bool ok = DateTimeFromText(text, value);
        return { ok, value };
    }
    static std::pair<bool, CDateTime> Parse(const char* text) { return Parse(QString::fromLatin1(text)); }

    static std::pair<bool, CDateTime> Ok(int y, int mo, int d, int h, int mi, int s)
    {
        return { true, CDateTime(y, mo, d, h, mi, s) };
    }
    static std::pair<bool, CDateTime> OkInvalid() { return { true, CDateTime::Invalid() }; }
    static std::pair<bool, CDateTime> Rejected() { return { false, CDateTime::Invalid() }; }

private:
    QLocale m_locale;
};

} // namespace

TEST_F(DateTimeParser, EmptyShortAndNow)
{
    EXPECT_EQ(Parse(""), std::make_pair(true, FixedNow()));
    EXPECT_EQ(Parse(QString()), std::make_pair(true, FixedNow()));
    EXPECT_EQ(Parse("DT#NOW"), std::make_pair(true, FixedNow()));
    // Shorter than three characters: false, with the current moment.
    EXPECT_EQ(Parse("12"), std::make_pair(false, FixedNow()));
    EXPECT_EQ(Parse(" 1"), std::make_pair(false, FixedNow()));
    // NOW only with the prefix, both in exact case; anything else reaches the locale parser.
    EXPECT_EQ(Parse("NOW"), Rejected());
    EXPECT_EQ(Parse("DT#now"), Rejected());
    EXPECT_EQ(Parse("dt#NOW"), Rejected());
    EXPECT_EQ(Parse("DT#NOW "), Rejected());
    EXPECT_EQ(Parse("DT#"), Rejected());
}

TEST_F(DateTimeParser, PrefixTakesTheRestUntrimmedAndWithoutSign)
{
    EXPECT_EQ(Parse("DT#2024-01-31-12:30:00"), Ok(2024, 1, 31, 12, 30, 0));
    EXPECT_EQ(Parse("DT#2024-01-31 12:30:00"), Ok(2024, 1, 31, 12, 30, 0));
    EXPECT_EQ(Parse("DT# 2024-01-31 12:30:00"), Rejected());
    EXPECT_EQ(Parse("DT#+1:30"), Rejected());
    // Without the prefix the text is trimmed.
    EXPECT_EQ(Parse("  2024-01-31 12:30:00\t"), Ok(2024, 1, 31, 12, 30, 0));
}

TEST_F(DateTimeParser, DigitsOnly)
{
    EXPECT_EQ(Parse("20240131123005"), Ok(2024, 1, 31, 12, 30, 5));
    // Digits after the fourteenth are not read.
    EXPECT_EQ(Parse("2024013112300599"), Ok(2024, 1, 31, 12, 30, 5));
    // Eight digits do not give six parts: the text falls through to the locale parser, which refuses it.
    EXPECT_EQ(Parse("20240131"), Rejected());
    EXPECT_EQ(Parse("20241331123000"), OkInvalid());
}

TEST_F(DateTimeParser, StorageForm)
{
    EXPECT_EQ(Parse("2024-01-31 12:30:00"), Ok(2024, 1, 31, 12, 30, 0));
    EXPECT_EQ(Parse("2024-01-31 12:30:00.750"), Ok(2024, 1, 31, 12, 30, 0));
    EXPECT_EQ(Parse("2024-1-3 4:5:6"), Ok(2024, 1, 3, 4, 5, 6));
    EXPECT_EQ(Parse("1899-12-30 22:00:00"), std::make_pair(true, CDateTime::TimeOfDay(22, 0, 0)));
    EXPECT_EQ(Parse("2024-02-30 12:00:00"), OkInvalid());
    EXPECT_EQ(Parse("2024-01-31 24:00:00"), OkInvalid());
    EXPECT_EQ(Parse("0099-01-31 12:00:00"), OkInvalid());
    EXPECT_EQ(Parse("0000-00-00 00:00:00"), OkInvalid());
}

TEST_F(DateTimeParser, DottedDateWithTimeAndTwoDigitYears)
{
    // Rule A with seconds, rule B without.
    EXPECT_EQ(Parse("24.12.24 18:00:00"), Ok(2024, 12, 24, 18, 0, 0));
    EXPECT_EQ(Parse("24.12.95 18:00:00"), Ok(1995, 12, 24, 18, 0, 0));
    EXPECT_EQ(Parse("24.12.95 18:00"), OkInvalid());
    EXPECT_EQ(Parse("24.12.89 18:00"), Ok(2089, 12, 24, 18, 0, 0));
    EXPECT_EQ(Parse("24.12.2024   18:00"), Ok(2024, 12, 24, 18, 0, 0));
    EXPECT_EQ(Parse("24.12.1850 18:00:01"), Ok(1850, 12, 24, 18, 0, 1));
    // Without a year: the current year.
    EXPECT_EQ(Parse("24.12. 18:00:05"), Ok(2024, 12, 24, 18, 0, 5));
    EXPECT_EQ(Parse("24.12. 18:00"), Ok(2024, 12, 24, 18, 0, 0));
    EXPECT_EQ(Parse("24.13.2024 18:00"), OkInvalid());
    // Matches the pattern, but no scan reads it: on to the locale parser.
    EXPECT_EQ(Parse("24.12 18:00"), Rejected());
}

TEST_F(DateTimeParser, DottedDate)
{
    EXPECT_EQ(Parse("24.12.95"), Ok(1995, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("24.12.24"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("24.12.2024"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("1.1.150"), Ok(150, 1, 1, 0, 0, 0));
    EXPECT_EQ(Parse("3.10."), Ok(2024, 10, 3, 0, 0, 0));
    EXPECT_EQ(Parse("3.10"), Ok(2024, 10, 3, 0, 0, 0));
    EXPECT_EQ(Parse("31.2.2024"), OkInvalid());
    EXPECT_EQ(Parse("3.13."), OkInvalid());
}

TEST_F(DateTimeParser, TimesTodayOrRelativeToNow)
{
    EXPECT_EQ(Parse("7:5"), Ok(2024, 5, 15, 7, 5, 0));
    EXPECT_EQ(Parse("07:05:09"), Ok(2024, 5, 15, 7, 5, 9));
    EXPECT_EQ(Parse("+1:30"), Ok(2024, 5, 15, 11, 50, 30));
    EXPECT_EQ(Parse("-0:05"), Ok(2024, 5, 15, 10, 15, 30));
    EXPECT_EQ(Parse(" +0:00:45 "), Ok(2024, 5, 15, 10, 21, 15));
    EXPECT_EQ(Parse("-12:00:00"), Ok(2024, 5, 14, 22, 20, 30));
    EXPECT_EQ(Parse("25:00"), OkInvalid());
    // A relative span is not a time of day: 25 hours are fine.
    EXPECT_EQ(Parse("+25:00"), Ok(2024, 5, 16, 11, 20, 30));
    // The sign belongs to the time form only.
    EXPECT_EQ(Parse("-2024-01-31 12:30:00"), Ok(2024, 1, 31, 12, 30, 0));
}

TEST_F(DateTimeParser, DigitsWithMinuteOffset)
{
    EXPECT_EQ(Parse("20240131123000.000000+060"), Ok(2024, 1, 31, 13, 30, 0));
    EXPECT_EQ(Parse("20240131123000.123456-030"), Ok(2024, 1, 31, 12, 0, 0));
    EXPECT_EQ(Parse("20241231233000.000000+060"), Ok(2025, 1, 1, 0, 30, 0));
    EXPECT_EQ(Parse("20241331123000.000000+060"), OkInvalid());
    EXPECT_EQ(Parse("2024.5+3"), Rejected());
}

TEST_F(DateTimeParser, LocaleForms)
{
    // The stored date form, in every locale.
    for (const auto& locale : { QLocale(QLocale::English, QLocale::UnitedKingdom),
             QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates),
             QLocale(QLocale::Arabic, QLocale::Egypt), QLocale::c() }) {
        QLocale::setDefault(locale);
        EXPECT_EQ(Parse("2024-01-31"), Ok(2024, 1, 31, 0, 0, 0)) << locale.name().toStdString();
        EXPECT_EQ(Parse("1899-12-30"), std::make_pair(true, CDateTime())) << locale.name().toStdString();
        EXPECT_EQ(Parse("2024-02-30"), OkInvalid()) << locale.name().toStdString();
        EXPECT_EQ(Parse("2024-01-31x"), Rejected()) << locale.name().toStdString();
    }

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(Parse("31/01/2024"), Ok(2024, 1, 31, 0, 0, 0));
    EXPECT_EQ(Parse("31/01/2024 12:30"), Ok(2024, 1, 31, 12, 30, 0));
    EXPECT_EQ(Parse("31/01/2024 12:30:05"), Ok(2024, 1, 31, 12, 30, 5));
    EXPECT_EQ(Parse("Wednesday, 31 January 2024"), Ok(2024, 1, 31, 0, 0, 0));
    EXPECT_EQ(Parse("2024-01-31T12:30:05"), Ok(2024, 1, 31, 12, 30, 5));
    EXPECT_EQ(Parse("31/02/2024"), Rejected());
    EXPECT_EQ(Parse("yesterday"), Rejected());

    // A two-digit year of the locale's picture follows rule A, not 19xx.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Parse("1/31/24"), Ok(2024, 1, 31, 0, 0, 0));
    EXPECT_EQ(Parse("1/31/95"), Ok(1995, 1, 31, 0, 0, 0));
    EXPECT_EQ(Parse("1/31/24 6:05 PM"), Ok(2024, 1, 31, 18, 5, 0));
}

TEST_F(DateTimeParser, FourDigitYearWhereTheLocaleHasTwo)
{
    // Dates stored by installations whose short date had a four-digit year, and what this program
    // writes for other readers, read back under a locale whose short picture has two.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(Parse("12/24/2024"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("12/24/1995"), Ok(1995, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("12/24/24"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("24/12/2024"), Rejected());
    const CDateTime delay(2026, 12, 7, 13, 29, 7);
    const QString sent
        = FormatDateTime(delay, DTF_DATE | DTF_FULLYEAR) + u' ' + FormatDateTime(delay, DTF_TIME);
    EXPECT_TRUE(sent.startsWith(QStringLiteral("12/7/2026 "))) << sent.toStdString();
    EXPECT_EQ(Parse(sent), Ok(2026, 12, 7, 13, 29, 7));

    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    EXPECT_EQ(Parse("24/12/2024"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("24/12/24"), Ok(2024, 12, 24, 0, 0, 0));
    EXPECT_EQ(Parse("12/24/2024"), Rejected());
    EXPECT_EQ(FormatDateTime(delay, DTF_DATE | DTF_FULLYEAR), QStringLiteral("7/12/2026"));

    // A locale whose short date has four digits already is left as it is.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(FormatDateTime(delay, DTF_DATE | DTF_FULLYEAR), FormatDateTime(delay, DTF_DATE));
}

TEST_F(DateTimeParser, OneDigitDaysAndMonthsWhereTheLocaleHasTwo)
{
    // The short date as older installations wrote it, without leading zeros, in the five
    // languages' locales and in C; the two-digit form still reads.
    const struct
    {
        QLocale locale;
        const char* oneDigit;
        const char* twoDigits;
    } cases[] = {
        { QLocale(QLocale::Dutch, QLocale::Netherlands), "2-1-2025", "02-01-2025" },
        { QLocale(QLocale::German, QLocale::Germany), "2.1.2025", "02.01.2025" },
        { QLocale(QLocale::French, QLocale::France), "2/1/2025", "02/01/2025" },
        { QLocale(QLocale::Spanish, QLocale::Spain), "2/1/2025", "02/01/2025" },
        { QLocale(QLocale::English, QLocale::UnitedKingdom), "2/1/2025", "02/01/2025" },
        { QLocale(QLocale::English, QLocale::UnitedStates), "1/2/2025", "01/02/2025" },
        { QLocale::c(), "2 Jan 2025", "02 Jan 2025" },
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        SCOPED_TRACE(c.locale.name().toStdString());
        EXPECT_EQ(Parse(c.oneDigit), Ok(2025, 1, 2, 0, 0, 0));
        EXPECT_EQ(Parse(c.twoDigits), Ok(2025, 1, 2, 0, 0, 0));
    }
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    EXPECT_EQ(Parse("2-1-2025 7:05"), Ok(2025, 1, 2, 7, 5, 0));
}

TEST_F(DateTimeParser, HostileTextsAreBounded)
{
    // Too long to be a date: refused before any matching.
    EXPECT_EQ(Parse(QString(10240, u'1')), Rejected());
    EXPECT_EQ(Parse(QString(10000, u'9')), Rejected());
    EXPECT_EQ(Parse(QStringLiteral("2024-01-31 12:30:00") + QString(300, u' ')), Rejected());
    // The bound is inclusive.
    EXPECT_EQ(
        Parse(QStringLiteral("2024-01-31 12:30:00") + QString(256 - 19, u' ')), Ok(2024, 1, 31, 12, 30, 0));

    // An embedded NUL never lets a prefix through.
    EXPECT_EQ(Parse(QStringLiteral("2024-01-31") + QChar(u'\0') + QStringLiteral("x")), Rejected());
    EXPECT_EQ(Parse(QString(3, QChar(u'\0'))), Rejected());

    // Huge numbers within the bound saturate instead of overflowing.
    EXPECT_EQ(Parse(QString(250, u'9')), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("1:") + QString(250, u'9')), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("+") + QString(200, u'9') + QStringLiteral(":00")), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("-") + QString(200, u'9') + QStringLiteral(":59:59")), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("99990131123000.000000+") + QString(200, u'9')), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("01000131123000.000000-") + QString(200, u'9')), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("1.1.") + QString(200, u'9') + QStringLiteral(" 1:1")), OkInvalid());
    EXPECT_EQ(Parse(QStringLiteral("2024-01-31 12:30:00.") + QString(200, u'9')), Ok(2024, 1, 31, 12, 30, 0));

    // Any mix of the characters the forms use: a result, never a crash; false means invalid or,
    // for a text too short, the current moment.
    const char alphabet[] = "0123456789.:-+ T/#DNOW\xe4";
    std::uint32_t seed = 12345;
    for (int round = 0; round < 3000; ++round) {
        QString text;
        seed = seed * 1664525u + 1013904223u;
        const int length = int(seed >> 27);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1664525u + 1013904223u;
            text += QChar::fromLatin1(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
        }
        const auto [ok, value] = Parse(text);
        if (!ok) {
            EXPECT_TRUE(!value.IsValid() || (text.size() < 3 && value == FixedNow())) << text.toStdString();
        }
    }
}
