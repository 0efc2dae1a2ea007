#include "support/Regex.h"

#include <gtest/gtest.h>
#include <string>

TEST(Regex, FullAndPartialMatchWithCaptures)
{
    const CRegex digits("[0-9]+");
    EXPECT_TRUE(digits.FullMatch("20240131"));
    EXPECT_FALSE(digits.FullMatch("2024-01-31"));
    EXPECT_TRUE(digits.PartialMatch("x12y"));

    const CRegex command(R"(\[(.*)\((.*)\)\])");
    std::string name, args;
    ASSERT_TRUE(command.FullMatch("[setshift(3)]", &name, &args));
    EXPECT_EQ(name, "setshift");
    EXPECT_EQ(args, "3");
}

TEST(Regex, InvalidPatternNeverMatches)
{
    const CRegex broken("([0-9]+");
    EXPECT_FALSE(broken.IsValid());
    EXPECT_FALSE(broken.FullMatch("123"));
    EXPECT_FALSE(broken.PartialMatch("123"));
}

TEST(Regex, HostileInputIsLinear)
{
    // A pattern that backtracking engines take exponential time on; RE2 answers at once.
    const CRegex nested("(a+)+b");
    const std::string text(10000, 'a');
    EXPECT_FALSE(nested.FullMatch(text));
    std::string withNul("12\0"
                        "34",
        5);
    EXPECT_FALSE(CRegex("[0-9]+").FullMatch(withNul));
}
