#include "support/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, Utf8IsReadAsUtf8)
{
    const QByteArray utf8 = QByteArray("Stra\xc3\x9f"
                                       "e \xe2\x82\xac");
    EXPECT_TRUE(IsValidUtf8(utf8));
    EXPECT_EQ(DecodeText(utf8), QString::fromUtf8(utf8));
    EXPECT_EQ(DecodeText(QByteArray("\xef\xbb\xbf"
                                    "abc")),
        QStringLiteral("abc"));
    EXPECT_EQ(EncodeText(QStringLiteral("Stra\u00dfe")),
        QByteArray("Stra\xc3\x9f"
                   "e"));
}

TEST(TextEncoding, InvalidUtf8IsReadAsWindows1252)
{
    // "Müller – 5 €" as a Windows installation wrote it.
    const QByteArray cp1252("M\xfcller \x96 5 \x80");
    EXPECT_FALSE(IsValidUtf8(cp1252));
    EXPECT_EQ(DecodeText(cp1252), QStringLiteral("M\u00fcller \u2013 5 \u20ac"));
    // The bytes Windows-1252 leaves undefined map to the C1 control of the same value.
    EXPECT_EQ(DecodeWindows1252(QByteArray("\x81\x8d")), QString(QChar(0x81)) + QChar(0x8d));
    // A truncated UTF-8 sequence is not UTF-8.
    EXPECT_FALSE(IsValidUtf8(QByteArray("ab\xc3")));
}

// Which bytes are text, in which form, and whether they end with a line end.
TEST(TextEncoding, CheckTextTellsTextFromOtherBytes)
{
    struct CCase
    {
        QByteArray bytes;
        ETextForm form;
        const char* problem; // the start of the problem, or "" for text
        bool unfinished;
    };
    const CCase cases[] = {
        { "[Settings]\r\n", ETextForm::Utf8, "", false },
        { "a\tb\nc\f\r", ETextForm::Utf8, "", false },
        { "[Settings]\r\nName=Ha", ETextForm::Utf8, "", true },
        { "", ETextForm::Utf8, "", true },
        { "\xEF\xBB\xBFStra\xC3\x9F"
          "e\n",
            ETextForm::Utf8Bom, "", false },
        { "M\xFCller \x80\r\n", ETextForm::Utf8, "", false }, // Windows-1252
        { "M\xFCller \x81\r\n", ETextForm::Utf8, "not text: neither UTF-8 nor Windows-1252", false },
        { QByteArray("a\0b\n", 4), ETextForm::Utf8, "not text: the control character 0x00 at byte 1", false },
        { "a\x1b[31m\n", ETextForm::Utf8, "not text: the control character 0x1b", false },
        { QByteArray("\xFF\xFE"
                     "a\0\n\0",
              6),
            ETextForm::Utf16LE, "", false },
        { QByteArray("\xFE\xFF\0a\0\n", 6), ETextForm::Utf16BE, "", false },
        { QByteArray("\xFF\xFE"
                     "a\0b\0",
              6),
            ETextForm::Utf16LE, "", true },
        { QByteArray("\xFF\xFE"
                     "a\0\n",
              5),
            ETextForm::Utf16LE, "not text: UTF-16 with an odd", false },
        { QByteArray("\xFF\xFE\x00\xD8\n\0", 6), ETextForm::Utf16LE, "not text: invalid UTF-16", false },
        { QByteArray("\xFF\xFE\x01\0\n\0", 6), ETextForm::Utf16LE, "not text: the control character 0x01",
            false },
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        const CTextCheck check = CheckText(c.bytes);
        EXPECT_EQ(check.form, c.form);
        EXPECT_EQ(check.problem.isEmpty(), *c.problem == 0);
        if (*c.problem)
            EXPECT_TRUE(check.problem.startsWith(QLatin1String(c.problem))) << check.problem.toStdString();
        if (check.problem.isEmpty())
            EXPECT_EQ(check.unfinished, c.unfinished);
    }
    // Written back in the form read.
    EXPECT_EQ(EncodeUtf8As("\xC3\xBC\r\n", ETextForm::Utf16BE), QByteArray("\xFE\xFF\0\xFC\0\r\0\n", 8));
    EXPECT_EQ(DecodeTextAs(QByteArray("\xFE\xFF\0\xFC", 4), ETextForm::Utf16BE), QStringLiteral("\u00FC"));
    EXPECT_EQ(EncodeUtf8As("a", ETextForm::Utf8Bom),
        "\xEF\xBB\xBF"
        "a");
}
