#include "mkdata/ScriptCheck.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

TEST(MkDataScripts, AreCheckedWithTheGamesParser) {
    testsupport::TempFolder folder;
    folder.MakeFolder("scripts");
    mkdata::Sources sources;
    sources.folder = folder.Native();
    const std::string good =
        "[event_begin] AlwaysTrigger<> [then] CarCrazyFX<Type=2,Time=3000> [event_end]\n";
    const std::pair<std::string, std::string> cases[] = {
        {good, ""},
        {"[event_begin]PulsedTimerTrigger<TimeLimit=-5>[then]CarCrazyFX<>[event_end]",
         "/scripts/x.msc: Data out of range from data element 2 in Trigger/Effect number 1 from Event number "
         "1"},
        {"no events here", "/scripts/x.msc: No Initial event_begin from Event number 0"},
        {std::string("[event_begin]AlwaysTrigger<>[then]CarCrazyFX<>[event_end]\0", 58),
         "/scripts/x.msc: holds a NUL byte, where the game stops reading"},
        {"", "/scripts/x.msc: cannot be read"},
    };
    for (const auto& [text, expected] : cases) {
        folder.Write("scripts/x.msc", text);
        mkdata::Asset asset;
        asset.args = {"scripts/x.msc"};
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_EQ(mkdata::MakeScript(sources, asset, bytes, error), expected.empty()) << text;
        if (expected.empty())
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text);
        else
            EXPECT_EQ(error, folder.Native() + expected) << text;
    }
}

} // namespace
