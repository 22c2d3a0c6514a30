#include "platform/fs/FileSystem.h"
#include "platform/settings/FileStore.h"
#include "platform/settings/MemoryStore.h"
#include "platform/settings/ValueTable.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace {

using plat::settings::FileStore;
using plat::settings::ValueTable;

std::string Read(const plat::settings::Store& store, const char* name) {
    std::string value = "<missing>";
    store.Get(name, value);
    return value;
}

TEST(SettingsStore, ValuesSurviveAReopenWhateverTheyHold) {
    testsupport::TempFolder dir;
    const std::pair<const char*, std::string> values[] = {
        {"Path", "/home/player/game"},      {"Empty", ""},
        {"Lines", "one\ntwo\r\nthree"},     {"Escapes", "back\\slash = equals \\n not a break"},
        {"Latin", "caf\xE9 \x80"},          {"Long", std::string(5000, 'x')},
        {"Na=me", "separator in the name"},
    };
    {
        FileStore store(dir / "settings.txt");
        for (const auto& [name, value] : values)
            ASSERT_TRUE(store.Set(name, value)) << name;
    }
    FileStore reopened(dir / "settings.txt");
    for (const auto& [name, value] : values)
        EXPECT_EQ(Read(reopened, name), value) << name;
    // Every value is one line of the file.
    std::string text = testsupport::ReadTextFile(dir / "settings.txt");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(std::size(values)));
}

TEST(SettingsStore, NamesMatchWithoutCaseAndTextEndsAtNul) {
    testsupport::TempFolder dir;
    FileStore store(dir / "s.txt");
    ASSERT_TRUE(store.Set("Volume", "40"));
    ASSERT_TRUE(store.Set("VOLUME", "60"));
    ASSERT_TRUE(store.Set("Name", std::string_view("abc\0def", 7)));
    EXPECT_EQ(Read(store, "volume"), "60");
    EXPECT_EQ(Read(store, "name"), "abc");
    EXPECT_FALSE(store.Set("", "x"));
    FileStore reopened(dir / "s.txt");
    EXPECT_EQ(Read(reopened, "vOlUmE"), "60");
}

TEST(SettingsStore, AMissingValueLeavesTheOutValueAlone) {
    testsupport::TempFolder dir;
    FileStore store(dir / "none.txt");
    std::string out = "unchanged";
    EXPECT_FALSE(store.Get("Path", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.txt")) << "reading writes nothing";
}

TEST(SettingsStore, UnreadableLinesReadAsMissing) {
    int bad = 0;
    ValueTable table =
        ValueTable::Parse("Good=1\nno separator\nBad=\\q\nTrail=x\\\n=noname\r\nLast=2\r\n", &bad);
    EXPECT_EQ(bad, 4);
    ASSERT_NE(table.Find("good"), nullptr);
    EXPECT_EQ(*table.Find("good"), "1");
    EXPECT_EQ(*table.Find("Last"), "2");
    EXPECT_EQ(table.Find("Bad"), nullptr);
    EXPECT_EQ(table.Find("Trail"), nullptr);
}

TEST(SettingsStore, EveryPrefixOfAFileReadsWithoutHarm) {
    ValueTable full;
    full.Put("Path", "C:\\Games\\Zentrix");
    full.Put("Lines", "a\nb");
    full.Put("Volume", "50");
    std::string text = full.Format();
    for (std::size_t n = 0; n <= text.size(); ++n) {
        ValueTable part = ValueTable::Parse(std::string_view(text).substr(0, n));
        // A cut never invents a value: whatever is read is the full value or a prefix of it.
        for (const auto& [name, value] : part.Entries()) {
            const std::string* original = full.Find(name);
            ASSERT_NE(original, nullptr) << n;
            EXPECT_EQ(original->compare(0, value.size(), value), 0) << n;
        }
    }
}

TEST(SettingsStore, AFailedSaveKeepsTheOldFile) {
    testsupport::TempFolder dir;
    {
        FileStore store(dir / "settings.txt");
        ASSERT_TRUE(store.Set("Volume", "40"));
        plat::fs::ScopedWriteFailure diskFull(4);
        EXPECT_FALSE(store.Set("Volume", "90"));
        EXPECT_EQ(Read(store, "Volume"), "90") << "kept in memory for this run";
    }
    FileStore reopened(dir / "settings.txt");
    EXPECT_EQ(Read(reopened, "Volume"), "40");
}

TEST(SettingsStore, ASetThatCannotBeSavedKeepsTheValueAndSaysSo) {
    testsupport::TempFolder dir;
    testsupport::WriteTextFile(dir / "blocker", "a file where the folder should be");
    FileStore store(dir / "blocker" / "settings.txt");
    EXPECT_FALSE(store.Set("Balance", "30"));
    EXPECT_EQ(Read(store, "Balance"), "30");
}

TEST(SettingsStore, ARefusedFileIsKeptAsideNeverWrittenOver) {
    struct Case {
        const char* name;
        std::string text;
        const char* volume;  // what the store reads of it
        const char* written; // the new file before any set (null: none)
        const char* told;
    };
    const Case cases[] = {
        {"too large", "Volume=1\n" + std::string(plat::settings::kMaxSettingsFileBytes, '#'), "<missing>",
         nullptr, "larger than any settings file"},
        // Any unreadable line: the readable ones stay, in a new file at once.
        {"an unreadable line", "Volume=1\n\x9c\x01\xff no separator\r\nBad=\\q\n", "1", "Volume=1\n",
         "2 of its lines cannot be read"},
        {"nothing readable", std::string("\x01\x02\0\xfe\n\x80", 7), "<missing>", nullptr,
         "2 of its lines cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempFolder dir;
        testsupport::WriteTextFile(dir / "settings.txt", c.text);
        testsupport::WriteTextFile(dir / "settings.txt.refused", "an older one");
        testing::internal::CaptureStderr();
        {
            FileStore store(dir / "settings.txt");
            EXPECT_EQ(Read(store, "Volume"), c.volume);
            EXPECT_EQ(store.KeptAside(), dir / "settings.txt.refused.2");
            EXPECT_EQ(std::filesystem::exists(dir / "settings.txt"), c.written != nullptr);
            if (c.written)
                EXPECT_EQ(testsupport::ReadTextFile(dir / "settings.txt"), c.written);
            EXPECT_TRUE(store.Set("Balance", "70"));
        }
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_NE(told.find((dir / "settings.txt.refused.2").string()), std::string::npos) << told;
        EXPECT_NE(told.find(c.told), std::string::npos) << told;
        EXPECT_EQ(testsupport::ReadTextFile(dir / "settings.txt.refused.2"), c.text);
        EXPECT_EQ(testsupport::ReadTextFile(dir / "settings.txt.refused"), "an older one");
        FileStore reopened(dir / "settings.txt");
        EXPECT_EQ(Read(reopened, "Balance"), "70");
        EXPECT_EQ(Read(reopened, "Volume"), c.volume);
        EXPECT_EQ(reopened.KeptAside(), std::filesystem::path()) << "the new file reads whole";
    }
}

TEST(SettingsStore, ARefusedFileThatCannotBeMovedIsNotSavedOver) {
    testsupport::TempFolder dir;
    const std::string big(plat::settings::kMaxSettingsFileBytes + 1, '#');
    testsupport::WriteTextFile(dir / "settings.txt", big);
    // Every name it could be moved to is taken.
    testsupport::WriteTextFile(dir / "settings.txt.refused", "");
    for (int n = 2; n <= 100; ++n)
        testsupport::WriteTextFile(dir / ("settings.txt.refused." + std::to_string(n)), "");
    testing::internal::CaptureStderr();
    {
        FileStore store(dir / "settings.txt");
        EXPECT_FALSE(store.Set("Volume", "70"));
        EXPECT_EQ(Read(store, "Volume"), "70") << "kept for this run";
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no setting is saved"), std::string::npos);
    EXPECT_EQ(testsupport::ReadTextFile(dir / "settings.txt"), big);
}

TEST(SettingsStore, TheFolderComesFromTheEnvironment) {
    const char* savedConfig = std::getenv("ZENTRIX_CONFIG_DIR");
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    std::string keepConfig = savedConfig ? savedConfig : "";
    std::string keepXdg = savedXdg ? savedXdg : "";

    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    unsetenv("ZENTRIX_CONFIG_DIR");
    EXPECT_EQ(plat::settings::ConfigFolder(), std::filesystem::path("/xdg/zentrix"));
    setenv("ZENTRIX_CONFIG_DIR", "/override", 1);
    EXPECT_EQ(plat::settings::DefaultSettingsFile().parent_path(), std::filesystem::path("/override"));
    // A relative XDG folder is none; without HOME the account's home folder stands in.
    unsetenv("ZENTRIX_CONFIG_DIR");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    const char* savedHome = std::getenv("HOME");
    std::string keepHome = savedHome ? savedHome : "";
    unsetenv("HOME");
    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    EXPECT_EQ(plat::settings::ConfigFolder(), std::filesystem::path(account->pw_dir) / ".config" / "zentrix");
    savedHome ? setenv("HOME", keepHome.c_str(), 1) : unsetenv("HOME");

    savedConfig ? setenv("ZENTRIX_CONFIG_DIR", keepConfig.c_str(), 1) : unsetenv("ZENTRIX_CONFIG_DIR");
    savedXdg ? setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

} // namespace
