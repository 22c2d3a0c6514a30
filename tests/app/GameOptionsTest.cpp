#include "app/GameOptions.h"
#include "app/GameOptionEffects.h"
#include "foundation/base/AppSettings.h"
#include "platform/settings/MemoryStore.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

struct RecordingEffects : IGameOptionEffects {
    void SetMusicVolume(int v) override { calls.push_back("music " + std::to_string(v)); }
    void SetSoundVolume(int v) override { calls.push_back("sound " + std::to_string(v)); }
    void SetEffectsLevel(int v) override { calls.push_back("effects " + std::to_string(v)); }
    std::vector<std::string> calls;
};

class GameOptionsTest : public testing::Test {
protected:
    void SetUp() override { CGameOptions::SetSoundAudible(true); }
    void TearDown() override { CGameOptions::SetSoundAudible(true); }

    plat::settings::MemoryStore store;
    CAppSettings settings{store};
    RecordingEffects effects;
    CGameOptions options{settings, &effects};
};

TEST(AppSettings, ReadsTheLeadingNumberOfAValue) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"12", 12},
        {"-7", -7},
        {"+3", 3},
        {"  42 ", 42},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"-", 0},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"000000000000000000000000000005", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        plat::settings::MemoryStore store;
        CAppSettings settings(store);
        ASSERT_TRUE(settings.SetString("Value", c.text));
        int value = 12345;
        ASSERT_TRUE(settings.GetInt("Value", value));
        EXPECT_EQ(value, c.value);
    }
}

TEST(AppSettings, AMissingValueLeavesTheOutValueAlone) {
    plat::settings::MemoryStore store;
    CAppSettings settings(store);
    int value = 77;
    std::string text = "kept";
    EXPECT_FALSE(settings.GetInt("Missing", value));
    EXPECT_FALSE(settings.GetString("Missing", text));
    EXPECT_EQ(value, 77);
    EXPECT_EQ(text, "kept");
}

TEST(AppSettings, IntegersRoundTripAndNamesIgnoreCase) {
    plat::settings::MemoryStore store;
    CAppSettings settings(store);
    for (int v : {0, -1, 60012, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(v);
        ASSERT_TRUE(settings.SetInt("Campaign_Progress", v));
        int read = 0;
        ASSERT_TRUE(settings.GetInt("CAMPAIGN_progress", read));
        EXPECT_EQ(read, v);
    }
}

TEST(AppSettings, AnOverLongValueIsReadWhole) {
    plat::settings::MemoryStore store;
    CAppSettings settings(store);
    std::string path(5000, 'p');
    ASSERT_TRUE(settings.SetString("Path", path));
    std::string read;
    ASSERT_TRUE(settings.GetString("Path", read));
    EXPECT_EQ(read, path);
}

TEST(AppSettings, OnlyAChangedValueIsWritten) {
    plat::settings::MemoryStore store;
    CAppSettings settings(store);
    const struct {
        const char* name;
        const char* text;
        bool failing;
        int writes; // in all, after this set
    } steps[] = {
        {"NumDevices", "4", false, 1}, {"numdevices", "4", false, 1}, {"NumDevices", "5", false, 2},
        {"Path", "", false, 3},        {"Path", "", false, 3},        {"Path", "x", true, 4},
        {"Path", "x", false, 5}, // its save failed: written again
        {"Path", "x", false, 5},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(std::string(step.name) + "=" + step.text);
        store.SetSavesFail(step.failing);
        EXPECT_EQ(settings.SetString(step.name, step.text), !step.failing);
        EXPECT_EQ(store.Writes(), step.writes);
    }
    EXPECT_TRUE(settings.SetInt("NumDevices", 5));
    EXPECT_EQ(store.Writes(), 5);
}

TEST_F(GameOptionsTest, MissingOptionsGiveTheirDefaultsAndWriteNothing) {
    const int defaults[CGameOptions::OPTION_COUNT] = {0, 50, 50, 0, 4, 1, 2, 3, 0};
    for (int key = 0; key < CGameOptions::OPTION_COUNT; ++key) {
        SCOPED_TRACE(key);
        EXPECT_EQ(options.GetOption(key), defaults[key]);
    }
    EXPECT_EQ(store.Writes(), 0);
}

TEST_F(GameOptionsTest, StoredOptionsAreReadAndResolutionAlwaysReadsZero) {
    store.Set("Resolution", "1");
    store.Set("controller1", "1");
    store.Set("CONTROLLER2", "1");
    store.Set("Controller3", "2");
    store.Set("Controller4", "3");
    store.Set("Volume", "abc");
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_RESOLUTION), 0);
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_CONTROLLER1), 1);
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_CONTROLLER2), 1);
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_CONTROLLER3), 2);
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_CONTROLLER4), 3);
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_VOLUME), 0);
}

TEST_F(GameOptionsTest, SettingAnOptionStoresItAndAppliesItsEffect) {
    struct Case {
        int key;
        int value;
        const char* name;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {CGameOptions::OPTION_RESOLUTION, 1, "Resolution", {}},
        {CGameOptions::OPTION_BALANCE, 70, "Balance", {"music 70"}},
        {CGameOptions::OPTION_VOLUME, 300, "Volume", {"sound 44"}},
        {CGameOptions::OPTION_EFFECTS_LEVEL, 2, "EffectsLevel", {"effects 2"}},
        {CGameOptions::OPTION_NUM_DEVICES, 3, "NumDevices", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        effects.calls.clear();
        EXPECT_TRUE(options.SetOption(c.key, c.value));
        std::string stored;
        ASSERT_TRUE(store.Get(c.name, stored));
        EXPECT_EQ(stored, std::to_string(c.value));
        EXPECT_EQ(effects.calls, c.calls);
    }
    EXPECT_FALSE(options.SetOption(CGameOptions::OPTION_COUNT, 1));
    EXPECT_FALSE(options.SetOption(-1, 1));
}

TEST_F(GameOptionsTest, VolumeDecidesWhetherSoundIsAudible) {
    const struct {
        int volume;
        bool audible;
    } cases[] = {{5, false}, {6, true}, {0, false}, {50, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume);
        options.SetOption(CGameOptions::OPTION_VOLUME, c.volume);
        EXPECT_EQ(CGameOptions::IsSoundAudible(), c.audible);
    }
}

TEST_F(GameOptionsTest, AFailedSaveReportsFalseButTheEffectStillApplies) {
    store.SetSavesFail(true);
    EXPECT_FALSE(options.SetOption(CGameOptions::OPTION_BALANCE, 20));
    EXPECT_EQ(effects.calls, std::vector<std::string>{"music 20"});
    EXPECT_EQ(options.GetOption(CGameOptions::OPTION_BALANCE), 20);
}

} // namespace
