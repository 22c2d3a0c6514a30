#include "AudioFixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace zentrix;
using audiotest::SampleAudio;

constexpr int kEngine = 57001;                                              // 500 ms
constexpr int kClick = 50100;                                               // 60 ms
constexpr int kHelp = 54001;                                                // 150 ms
constexpr int kStunt = 51120;                                               // 300 ms
constexpr int kSlide = 51055;                                               // 400 ms
constexpr int kBumps[] = {51074, 51075, 51076, 51077, 51078, 51094, 51095}; // 80 ms, then 300 ms
constexpr int kMissing = 40001;

class GameSoundController : public ::testing::Test {
protected:
    void SetUp() override { audio.controller.Start(); }
    audiotest::OfflineSoundController& Controller() { return audio.controller; }
    CSoundManager& Manager() { return *audio.controller.GetSoundManager(); }
    bool Playing(int channel) { return Manager().IsChannelPlaying(channel); }
    int Volume(int channel) { return audio.controller.Mixer().GetVolume(channel); }

    SampleAudio audio;
};

struct LevelCase {
    const char* name;
    CVector position;
    CVector listener;
    float level;
};

TEST_F(GameSoundController, TheLevelFallsLinearlyToNothingAtNinetyUnits) {
    const LevelCase cases[] = {
        {"at the listener", {3, 4, 5}, {3, 4, 5}, 1.0f},
        {"45 units along x", {45, 0, 0}, {0, 0, 0}, 0.5f},
        {"45 units across two axes", {27, -36, 0}, {0, 0, 0}, 0.5f},
        {"89.9 units", {0, 0, 189.9f}, {0, 0, 100}, 1.0f - 89.9f / 90.0f},
        {"90 units", {0, 90, 0}, {0, 0, 0}, 0.0f},
        {"far off", {-1000, 0, 0}, {0, 0, 0}, 0.0f},
    };
    for (const LevelCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(Controller().GetDistanceLevel(c.position, c.listener), c.level, 1e-4f);
    }
    EXPECT_NEAR(Controller().GetDistanceLevel({89.9f, 0, 0}, {}), 0.0011f, 1e-4f);
    EXPECT_EQ(Controller().GetHearingDistance(), 90.0f);
    Controller().Stop();
    EXPECT_EQ(Controller().GetDistanceLevel({}, {}), 0.0f);
}

struct PlaceCase {
    const char* name;
    std::function<void(CGameSoundController&)> run;
    std::vector<int> slots; ///< the sound id in positional slots 0..3
    int channels;           ///< game-sound channels playing
    int firstVolume;        ///< of channel 3 (-1: not checked)
};

TEST_F(GameSoundController, PositionalSoundsTakeTheHighestFreeSlotOnceEachWithinHearing) {
    using C = CGameSoundController&;
    const CVector at{10, 0, 0};
    // clang-format off
    const PlaceCase cases[] = {
        {"the listening car starts one", [&](C c) { c.PlaySoundAt(kBumps[0], at, false, 0); },
         {-1, -1, -1, kBumps[0]}, 1, -1},
        {"another driver slot starts nothing", [&](C c) { c.PlaySoundAt(kBumps[0], at, false, 1); },
         {-1, -1, -1, -1}, 0, -1},
        {"the same id twice plays once", [&](C c) {
             c.PlaySoundAt(kBumps[0], at, false, 0); c.PlaySoundAt(kBumps[0], {}, true, 0); },
         {-1, -1, -1, kBumps[0]}, 1, -1},
        {"a fifth is dropped", [&](C c) { for (int i = 0; i < 5; ++i) c.PlaySoundAt(kBumps[i], at, false, 0); },
         {kBumps[3], kBumps[2], kBumps[1], kBumps[0]}, 4, -1},
        {"90 units away starts nothing", [&](C c) { c.PlaySoundAt(kBumps[0], {0, 0, -90}, false, 0); },
         {-1, -1, -1, -1}, 0, -1},
        {"a sound that does not play takes no slot", [&](C c) { c.PlaySoundAt(kMissing, at, false, 0); },
         {-1, -1, -1, -1}, 0, -1},
        {"45 units away at half the level", [&](C c) { c.PlaySoundAt(kBumps[0], {0, 45, 0}, false, 0); },
         {-1, -1, -1, kBumps[0]}, 1, 4095},
    };
    // clang-format on
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        SampleAudio fresh;
        fresh.controller.Start();
        c.run(fresh.controller);
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(fresh.controller.GetPositionalSoundId(slot), c.slots[static_cast<std::size_t>(slot)])
                << slot;
        int playing = 0;
        for (int channel = CSoundManager::kFirstEffectChannel; channel < CSoundManager::kChannelCount;
             ++channel)
            playing += fresh.controller.GetSoundManager()->IsChannelPlaying(channel);
        EXPECT_EQ(playing, c.channels);
        if (c.firstVolume >= 0)
            EXPECT_EQ(fresh.controller.Mixer().GetVolume(3), c.firstVolume);
    }
}

TEST_F(GameSoundController, ALoopStopsOutOfHearingWhileAOneShotPlaysOnSilently) {
    Controller().PlaySoundAt(kSlide, {10, 0, 0}, true, 0);
    Controller().PlaySoundAt(kStunt, {-10, 0, 0}, false, 0);
    Controller().SetCarPosition(0, {20, 0, 0}, 1.0f); // loop at 10, one-shot at 30 units
    Controller().RenderAndUpdate(16);
    EXPECT_EQ(Volume(3), static_cast<int>(16383 * static_cast<double>(1.0f - 10.0f / 90.0f)));
    EXPECT_EQ(Volume(4), static_cast<int>(16383 * static_cast<double>(1.0f - 30.0f / 90.0f)));
    Controller().SetCarPosition(0, {100, 0, 0}, 1.0f); // loop at 90 units, one-shot at 110
    Controller().RenderAndUpdate(16);
    EXPECT_FALSE(Playing(3));
    EXPECT_EQ(Controller().GetPositionalSoundId(3), -1);
    EXPECT_TRUE(Playing(4));
    EXPECT_EQ(Volume(4), 0);
    EXPECT_EQ(Controller().GetPositionalSoundId(2), kStunt);
    Controller().RenderAndUpdate(22050 * 3 / 10);
    EXPECT_EQ(Controller().GetPositionalSoundId(2), -1);
}

TEST_F(GameSoundController, PauseHoldsEveryGameSoundInItsSlotAndLetsTheFrontEndPlayOn) {
    audio.assets->SetWorld(3, 0);
    Controller().PlayUiSound(kClick);
    Controller().PlayHelpSound(kHelp, false);
    Controller().StartConstructionAmbience();
    Controller().PlaySoundAt(kStunt, {}, false, 0);
    Controller().PlayCarSound(kBumps[0], 0);
    Controller().Pause(true);
    Controller().RenderAndUpdate(8000); // past the click, the help item and both game sounds
    EXPECT_FALSE(Playing(0));
    EXPECT_FALSE(Controller().IsHelpSoundPlaying());
    EXPECT_TRUE(Playing(2)); // the ambience, 2 s
    EXPECT_TRUE(Playing(3));
    EXPECT_TRUE(Playing(4));
    EXPECT_EQ(Controller().GetPositionalSoundId(3), kStunt);
    Controller().PlaySoundAt(kBumps[1], {}, false, 0); // no channel while paused: no slot
    EXPECT_EQ(Controller().GetPositionalSoundId(2), -1);
    Controller().Pause(false);
    Controller().RenderAndUpdate(8000);
    EXPECT_FALSE(Playing(3));
    EXPECT_EQ(Controller().GetPositionalSoundId(3), -1);
}

TEST_F(GameSoundController, CarsSoundAtTheirDistanceAndPitch) {
    Controller().SetCarPosition(1, {45, 0, 0}, 0.5f);
    Controller().StartCarSound(1, kEngine);
    EXPECT_EQ(Volume(3), 4095);
    Controller().StartCarLoop(1, kSlide);
    ASSERT_TRUE(Playing(4));
    Controller().StartCarLoop(1, kMissing); // keeps the running loop
    Controller().StartCarSound(4, kEngine); // no such car slot
    EXPECT_FALSE(Playing(5));
    Controller().SetCarPosition(1, {0, 0, 0}, 1.5f);
    Controller().RenderAndUpdate(16);
    EXPECT_EQ(Volume(3), 16383);
    EXPECT_EQ(Volume(4), 16383);
    EXPECT_EQ(audio.controller.Mixer().GetFrequency(3), 33075);
    Controller().StopCarLoop(1);
    EXPECT_FALSE(Playing(4));
    Controller().StartCarSound(1, kEngine); // replaces the engine sound
    EXPECT_TRUE(Playing(3));
    EXPECT_FALSE(Playing(4));

    // One-shots: six slots, each id once, none out of hearing.
    for (int i = 0; i < 7; ++i)
        Controller().PlayCarSound(kBumps[i], 1);
    Controller().PlayCarSound(kBumps[0], 1);
    int playing = 0;
    for (int channel = 4; channel < CSoundManager::kChannelCount; ++channel)
        playing += Playing(channel);
    EXPECT_EQ(playing, 6);
    Controller().SetCarPosition(2, {0, 0, 90}, 1.0f);
    Controller().RenderAndUpdate(22050 / 10); // the 80 ms bumps end and free their slots
    Controller().PlayCarSound(kStunt, 2);
    EXPECT_FALSE(Playing(4));
    Controller().PlayCarSound(kStunt, 1);
    EXPECT_TRUE(Playing(4));

    // The race's end stops the engines; the cars' one-shots play out.
    Controller().EndRace();
    EXPECT_FALSE(Playing(3));
    EXPECT_TRUE(Playing(4));
}

TEST_F(GameSoundController, InterfaceSoundsWaitOutASuspensionAndHelpWaitsOutARace) {
    Controller().SuspendUiSounds(2000);
    Controller().PlayUiSound(kClick);
    EXPECT_FALSE(Playing(0));
    Controller().Update(1500);
    Controller().SuspendUiSounds(2000); // does not extend it
    Controller().Update(400);
    EXPECT_TRUE(Controller().AreUiSoundsSuspended());
    Controller().Update(200);
    EXPECT_FALSE(Controller().AreUiSoundsSuspended());
    Controller().PlayUiSound(kClick);
    EXPECT_TRUE(Playing(0));
    Controller().StopUiSound();
    EXPECT_FALSE(Playing(0));

    Controller().PlayHelpSound(kHelp, true);
    Controller().PlaySoundAt(kStunt, {}, true, 0);
    Controller().BeginRace(4);
    EXPECT_FALSE(Controller().IsHelpSoundPlaying());
    EXPECT_FALSE(Playing(3));
    EXPECT_EQ(Controller().GetPositionalSoundId(3), -1);
    Controller().PlayHelpSound(kHelp, false);
    EXPECT_FALSE(Controller().IsHelpSoundPlaying());
    Controller().EndRace();
    Controller().PlayHelpSound(kHelp, false);
    EXPECT_TRUE(Controller().IsHelpSoundPlaying());
    Controller().StopHelpSound();
    EXPECT_FALSE(Controller().IsHelpSoundPlaying());
}

TEST_F(GameSoundController, TheEditorAmbienceFollowsTheThemeAndGoesOnUntilStopped) {
    for (int theme = -1; theme <= 4; ++theme) {
        SCOPED_TRACE(theme);
        audio.assets->SetWorld(theme, 0);
        Controller().StartConstructionAmbience();
        const int world = audio.assets->GetWorld();
        EXPECT_EQ(Manager().GetPlaylist(), CGameSoundController::GetAmbiencePlaylist(world));
    }
    EXPECT_EQ(CGameSoundController::GetAmbiencePlaylist(2),
              (std::vector<int>{49951, 49952, 49953, 49954, 49958}));
    EXPECT_EQ(CGameSoundController::GetAmbiencePlaylist(0), (std::vector<int>{49935}));
    EXPECT_EQ(CGameSoundController::GetAmbiencePlaylist(3), (std::vector<int>{49962}));
    EXPECT_TRUE(CGameSoundController::GetAmbiencePlaylist(4).empty());

    audio.assets->SetWorld(3, 0); // one sample of 2 s
    Controller().StartConstructionAmbience();
    for (int end = 0; end < 3; ++end) {
        Controller().RenderAndUpdate(2 * 22050 + 10);
        EXPECT_TRUE(Playing(2)) << end;
    }
    Controller().StopConstructionAmbience();
    EXPECT_FALSE(Controller().IsAmbienceOn());
    Controller().RenderAndUpdate(3 * 22050);
    EXPECT_FALSE(Playing(2));
}

TEST(GameSoundControllerStart, StartsWithTheStoredVolumeAndDoesNothingWhenStopped) {
    SampleAudio audio;
    audio.store.Set("Volume", "80");
    CGameSoundController& controller = audio.controller;
    controller.PlayUiSound(kClick); // no manager yet: nothing
    EXPECT_EQ(controller.GetDirectSound(), nullptr);
    controller.Start();
    ASSERT_NE(controller.GetSoundManager(), nullptr);
    EXPECT_EQ(controller.GetSoundManager()->GetMasterVolume(), 80 * 32767 / 100);
    EXPECT_EQ(controller.GetDirectSound(), controller.GetMixerHandle());
    controller.PlaySoundAt(kStunt, {}, true, 0);
    audio.options.SetOption(CGameOptions::OPTION_VOLUME, 20);
    EXPECT_EQ(controller.GetSoundManager()->GetVolumePercent(), 20);
    controller.Stop();
    EXPECT_EQ(controller.GetSoundManager(), nullptr);
    EXPECT_EQ(controller.GetPositionalSoundId(3), -1);
    controller.PlayHelpSound(kHelp, false);
    EXPECT_FALSE(controller.IsHelpSoundPlaying());
    controller.Update(16);
    controller.Start();
    EXPECT_EQ(controller.GetSoundManager()->GetVolumePercent(), 20);
}

} // namespace
