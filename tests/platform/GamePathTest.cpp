#include "platform/fs/GamePath.h"

#include <gtest/gtest.h>

namespace {

using plat::fs::FoldFullPath;
using plat::fs::MatchesWildcard;

TEST(Wildcard, FollowsTheWindowsRules) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    };
    const Case cases[] = {
        {"*.*", "track.trk", true},
        {"*.*", "README", true}, // no dot, still every name
        {"*.*", ".hidden", true},
        {"*", "a.b.c", true},
        {"*.trk", "Track01.TRK", true}, // letter case does not count
        {"*.trk", "track.trk.bak", false},
        {"*.trk", "trk", false},
        {"?.txt", "a.txt", true},
        {"?.txt", "ab.txt", false},
        {"?.txt", ".txt", false}, // "?" is exactly one character
        {"a*b*c", "aXXbYYbZZc", true},
        {"a*b*c", "aXXbYYbZZ", false},
        {"save.*", "save", true}, // a final ".*" also matches a name without extension
        {"save.*", "save.1", true},
        {"save.*", "saved", false},
        {"GAME????.RFH", "game0001.rfh", true},
        {"GAME????.RFH", "game001.rfh", false},
        {"", "", true},
        {"", "a", false},
        {"x", "", false},
        {"**", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " vs " + c.name);
        EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.match);
    }
}

TEST(Wildcard, ManyStarsStayFast) {
    // A pattern that makes naive backtracking exponential.
    std::string pattern(40, '*');
    pattern += "b";
    std::string name(4000, 'a');
    EXPECT_FALSE(MatchesWildcard(pattern, name));
}

TEST(FoldFullPath, MakesAbsoluteGameForm) {
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"Data\\Game", "\\home\\u\\game\\Data\\Game"},
        {"Data/Game/", "\\home\\u\\game\\Data\\Game\\"},
        {".", "\\home\\u\\game"},
        {"..\\other", "\\home\\u\\other"},
        {"a\\.\\b\\..\\c", "\\home\\u\\game\\a\\c"},
        {"\\etc\\x", "\\etc\\x"},
        {"/etc//x", "\\etc\\x"},
        {"\\..\\..\\x", "\\x"}, // never above the root
        {"\\", "\\"},
        {"", "\\home\\u\\game"},
        {"a:\\x\\..\\y", "a:\\y"},
        {"C:", "C:\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FoldFullPath(c.path, "\\home\\u\\game"), c.expected);
    }
}

} // namespace
