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
