#include "app/CommandLineParser.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

TEST(CommandLineParser, FindsItsWordsAnywhereWithTheirCase) {
    struct Case {
        const char* line;
        bool freeForm;
        bool restart;
    };
    const Case cases[] = {
        {"", false, false},
        {"/freeform", false, false},
        {"XRESTARTY", false, true},
        {"/FREEFORM RESTART", true, true},
        {"a/FREEFORMb", true, false},
        {" restart", false, false},
        {" RESTART RESTART", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CCommandLineParser parser;
        parser.Parse(c.line);
        EXPECT_EQ(parser.IsFreeForm(), c.freeForm);
        EXPECT_EQ(parser.IsRestart(), c.restart);
        EXPECT_FALSE(parser.UseGameTimer());
    }
}

} // namespace
