#include "support/Trace.h"

#include <gtest/gtest.h>

TEST(Trace, RulesSwitchOnlyNamedCategories)
{
    const QString rules = TraceRulesFor(QStringLiteral(" dispatch, Engine ,,"));
    EXPECT_EQ(rules,
        QStringLiteral("kelvaris.*.debug=false\nkelvaris.dispatch.debug=true\n"
                       "kelvaris.engine.debug=true"));
    EXPECT_TRUE(TraceRulesFor(QStringLiteral("all")).endsWith(QStringLiteral("kelvaris.*.debug=true")));
    // A value that tries to smuggle in other rules is ignored.
    EXPECT_EQ(TraceRulesFor(QStringLiteral("x.debug=true\nqt.*")), QStringLiteral("kelvaris.*.debug=false"));
}

TEST(Trace, CategoriesAreOffByDefault)
{
    EXPECT_FALSE(lcDispatch().isDebugEnabled());
    EXPECT_TRUE(lcDispatch().isInfoEnabled());
}
