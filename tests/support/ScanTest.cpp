#include "support/Scan.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

#include <QString>

// The message bag, the configuration file's long values and the editors all read integers here.
TEST(ScanLong, AutoBaseReadsLikeStrtolWithBaseZero)
{
    const struct
    {
        const char* text;
        long value;
    } cases[] = { { "0x10", 16 }, { "010", 8 }, { "08", 0 }, { "0x", 0 }, { "0xg", 0 }, { "-0X1f", -31 },
        { " \t\n-7", -7 }, { "+5", 5 }, { "+-5", 0 }, { "--5", 0 }, { "- 5", 0 }, { "12abc", 12 }, { "", 0 },
        { "99999999999999999999999", LONG_MAX }, { "-99999999999999999999", LONG_MIN },
        { "-9223372036854775808", LONG_MIN }, { "-9223372036854775807", -LONG_MAX },
        { "9223372036854775807", LONG_MAX }, { "9223372036854775808", LONG_MAX },
        { "0xFFFFFFFFFFFFFFFFFF", LONG_MAX } };
    for (const auto& c : cases) {
        EXPECT_EQ(ScanLong(std::string_view(c.text)), c.value) << c.text;
        EXPECT_EQ(ScanLong(QString::fromLatin1(c.text)), c.value) << c.text;
    }
    // Texts that are not NUL-terminated are read to their end, never past it.
    EXPECT_EQ(ScanLong(std::string_view("123456", 3)), 123);
    EXPECT_EQ(ScanLong(std::string_view("12\0"
                                        "34",
                  5)),
        12);
    EXPECT_EQ(ScanLong(std::string(100000, '9')), LONG_MAX);
    // Nothing outside ASCII is a digit or white space.
    EXPECT_EQ(ScanLong(QStringLiteral("4\u0662")), 4);
    EXPECT_EQ(ScanLong(QStringLiteral("\u00a05")), 0);
}

TEST(ScanLong, DecimalOrHexSkipsNothingAndHasNoOctal)
{
    EXPECT_EQ(ScanLong(u"010", EIntegerForm::DecimalOrHex), 10);
    EXPECT_EQ(ScanLong(u"-0x1f", EIntegerForm::DecimalOrHex), -31);
    EXPECT_EQ(ScanLong(u"0x", EIntegerForm::DecimalOrHex), 0);
    EXPECT_EQ(ScanLong(u" 5", EIntegerForm::DecimalOrHex), 0);
    EXPECT_EQ(ScanLong(u"-12abc", EIntegerForm::DecimalOrHex), -12);
    EXPECT_EQ(ScanLong(u"99999999999999999999999", EIntegerForm::DecimalOrHex), LONG_MAX);
}
