#include "schedule/TextList.h"

#include <gtest/gtest.h>

TEST(GetListItem, CountsFromOneAndFallsBackToSemicolon)
{
    EXPECT_EQ(GetListItem(QStringLiteral("year,year,month"), 3, u','), QStringLiteral("month"));
    EXPECT_EQ(GetListItem(QStringLiteral("a;b"), 2, u','), QStringLiteral("b"));
    // A text with a comma keeps the comma as separator.
    EXPECT_EQ(GetListItem(QStringLiteral("a,b;c"), 2, u','), QStringLiteral("b;c"));
    const QString days = QStringLiteral("Monday;Tuesday;Wednesday;Thursday;Friday;Saturday;Sunday");
    EXPECT_EQ(GetListItem(days, 1), QStringLiteral("Monday"));
    EXPECT_EQ(GetListItem(days, 7), QStringLiteral("Sunday"));
    EXPECT_EQ(GetListItem(days, 8), QString());
    EXPECT_EQ(GetListItem(days, 0), QString());
    EXPECT_EQ(GetListItem(days, -1), QString());
    EXPECT_EQ(GetListItem(QStringLiteral("a;;c;"), 2), QString());
    EXPECT_EQ(GetListItem(QStringLiteral("a;;c;"), 3), QStringLiteral("c"));
    EXPECT_EQ(GetListItem(QString(), 1), QString());
}

TEST(GetListItem, QuotesProtectSeparatorsAndAreRemoved)
{
    const QString text = QStringLiteral("\"a;b\";c;\"d\"");
    EXPECT_EQ(GetListItem(text, 1, u';', true), QStringLiteral("a;b"));
    EXPECT_EQ(GetListItem(text, 2, u';', true), QStringLiteral("c"));
    EXPECT_EQ(GetListItem(text, 3, u';', true), QStringLiteral("d"));
    EXPECT_EQ(GetListItem(text, 1, u';', false), QStringLiteral("\"a"));
    // Only one quote is removed at either end.
    EXPECT_EQ(GetListItem(QStringLiteral("\"\"x\"\""), 1, u';', true), QStringLiteral("\"x\""));
    // An unclosed quote protects the rest of the text.
    EXPECT_EQ(GetListItem(QStringLiteral("\"a;b;c"), 1, u';', true), QStringLiteral("a;b;c"));
}

TEST(SplitText, AppendsEveryItem)
{
    QStringList list { QStringLiteral("kept") };
    EXPECT_EQ(SplitText(QStringLiteral("a;b;"), list, u';'), 4);
    EXPECT_EQ(list, QStringList({ "kept", "a", "b", "" }));
    EXPECT_EQ(SplitText(QString(), list, u';'), 4);

    list.clear();
    EXPECT_EQ(SplitText(QStringLiteral("\"x\ty\"\tz"), list, u'\t', true), 2);
    EXPECT_EQ(list, QStringList({ "x\ty", "z" }));

    // No comma-to-semicolon fallback here.
    list.clear();
    EXPECT_EQ(SplitText(QStringLiteral("a;b"), list, u','), 1);
}

TEST(SplitText, StringSeparator)
{
    QStringList list;
    EXPECT_EQ(SplitText(QStringLiteral("l1\r\nl2\rx\nl3\r\n"), list, QStringLiteral("\r\n")), 3);
    EXPECT_EQ(list, QStringList({ "l1", "l2\rx\nl3", "" }));

    list.clear();
    SplitText(QStringLiteral("\"a\r\nb\"\r\nc"), list, QStringLiteral("\r\n"), true);
    EXPECT_EQ(list, QStringList({ "a\r\nb", "c" }));

    list.clear();
    SplitText(QStringLiteral("a::b:c"), list, QStringLiteral("::"));
    EXPECT_EQ(list, QStringList({ "a", "b:c" }));

    list.clear();
    SplitText(QStringLiteral("abc"), list, QString());
    EXPECT_EQ(list, QStringList({ "abc" }));
}

TEST(JoinText, QuotesItemsThatHoldTheSeparator)
{
    const QStringList items { "a", "b;c", "d", "" };
    EXPECT_EQ(JoinText(items, u';'), QStringLiteral("a;b;c;d;"));
    EXPECT_EQ(JoinText(items, u';', true), QStringLiteral("a;\"b;c\";d;"));
    EXPECT_EQ(JoinText({ "say \"hi\";now", "x" }, u';', true), QStringLiteral("'say \"hi\";now';x"));
    EXPECT_EQ(JoinText({ "say \"hi\"", "x" }, u';', true), QStringLiteral("say \"hi\";x"));
    EXPECT_EQ(JoinText({}, u';', true), QString());
    EXPECT_EQ(JoinText({ "a\r\nb", "c" }, QStringLiteral("\r\n"), true), QStringLiteral("\"a\r\nb\"\r\nc"));

    // Items without double quotes survive a round trip.
    QStringList back;
    SplitText(JoinText(items, u';', true), back, u';', true);
    EXPECT_EQ(back, items);
}
