#include "ScratchFolder.h"

#include "foundation/resources/LibraryCodec.h"
#include "foundation/resources/LibraryPacker.h"
#include "foundation/resources/ResourceConfig.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(ResourceConfig, ParsesWhitespaceSeparatedPairs) {
    const std::string longToken(450, 'x');
    struct Case {
        const char* name;
        std::string text;
        Pairs expect;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"blank", " \r\n\t ", {}},
        {"pairs over lines",
         "[Library] Data\\Game\\\r\n[ResourcePath]\tres\n",
         {{"[Library]", "Data\\Game\\"}, {"[ResourcePath]", "res"}}},
        {"odd last token is its own value", "a b lonely", {{"a", "b"}, {"lonely", "lonely"}}},
        {"over-long token is cut and the rest skipped",
         "[Library] " + longToken + " [Library2] two",
         {{"[Library]", std::string(399, 'x')}, {"[Library2]", "two"}}},
        {"token of exactly 399 characters", "n " + std::string(399, 'y'), {{"n", std::string(399, 'y')}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CResourceConfig::ParseText(c.text), c.expect);
    }
}

TEST(ResourceConfig, LaterPairWinsAndLibrariesOpenOnce) {
    ScratchFolder scratch;
    for (const char* lib : {"old", "new"}) {
        CLibraryPacker packer(scratch.Game() + lib, 1);
        ASSERT_TRUE(packer.Add("which.txt", std::vector<std::uint8_t>(lib, lib + 3), 1, LibraryCodec::kZlib));
        std::string error;
        ASSERT_TRUE(packer.Write(error)) << error;
    }
    scratch.Write("resource.cfg", "[Library] " + scratch.Game() + "old\n[ResourcePath] res\n[Library] " +
                                      scratch.Game() + "new\\\n");
    CResourceConfig config(scratch.Game() + "resource.cfg");
    ASSERT_NE(config.GetValue("[library]"), nullptr);
    EXPECT_STREQ(config.GetValue("[LIBRARY]"), (scratch.Game() + "new\\").c_str());
    EXPECT_STREQ(config.GetValue("[resourcepath]"), "res");
    EXPECT_EQ(config.GetValue("[Library2]"), nullptr);

    CResourceLibrary* library = config.OpenLibrary("[Library]");
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->Extract("which.txt"), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(config.OpenLibrary("[Library]"), library);
    EXPECT_NE(config.OpenLibrary("[Library]", "key"), library);
    EXPECT_EQ(config.OpenLibrary("[library]"), nullptr); // opening matches names case-sensitively
    EXPECT_EQ(config.OpenLibrary("[Library7]"), nullptr);

    config.CloseLibrary(library);
    CResourceLibrary stranger;
    config.CloseLibrary(&stranger); // not ours: nothing happens
    EXPECT_NE(config.OpenLibrary("[Library]"), nullptr);
}

TEST(ResourceConfig, MissingFileHasNoPairs) {
    ScratchFolder scratch;
    CResourceConfig config(scratch.Game() + "resource.cfg");
    EXPECT_EQ(config.GetValue("[Library]"), nullptr);
    EXPECT_EQ(config.OpenLibrary("[Library]"), nullptr);
}

} // namespace
