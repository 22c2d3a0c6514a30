#include "AudioFixtures.h"

#include "foundation/math/Random.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace zentrix;
using audiotest::SampleSound;
using audiotest::ScopedEnv;

constexpr int kEngine = 57900;   // 500 ms
constexpr int kClick = 50100;    // 60 ms
constexpr int kBump = 51074;     // 80 ms
constexpr int kShort = 50102;    // 40 ms
constexpr int kEightBit = 49910; // 11025 Hz

class SoundManager : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(sample.controller.Start(), 0); }
    CSoundManager& Manager() { return *sample.controller.manager; }
    plat::mixer::Mixer& Mixer() { return sample.controller.Mixer(); }

    SampleSound sample;
};

struct VolumeCase {
    const char* name;
    std::function<void(CSoundManager&, plat::mixer::Mixer&)> run;
    int channel, volume, frequency;
};

TEST(SoundManagerVolume, SendsVolumesAndFrequenciesAtFiftyPercent) {
    using S = CSoundManager&;
    using X = plat::mixer::Mixer&;
    // clang-format off
    const VolumeCase cases[] = {
        {"interface sound", [](S m, X) { m.PlayFrontEndSound(kClick); }, 0, 16383, 22050},
        {"help item", [](S m, X) { m.PlayHelpSound(54001, true); }, 1, 16383, 22050},
        {"playlist sample", [](S m, X) { m.StartPlaylist({kEightBit}); }, 2, 7372, 11025},
        {"engine at level 1.0 as it starts", [](S m, X) { m.PlaySound(kEngine, 1.0f, true); }, 3, 8191, 22050},
        {"engine after the next level update",
         [](S m, X) { m.PlaySound(kEngine, 1.0f, true); m.SetChannelLevel(3, 1.0f); }, 3, 16383, 22050},
        {"engine level update on a reused channel", [](S m, X) {
             m.PlaySound(kEngine, 1.0f, true); m.SetChannelLevel(3, 1.0f); m.StopChannel(3);
             m.PlaySound(kEngine, 1.0f, true); m.SetChannelLevel(3, 1.0f); }, 3, 16383, 22050},
        {"pitch update on a reused channel", [](S m, X) {
             m.PlaySound(kEngine, 1.0f, true); m.SetChannelFrequencyFactor(3, 1.5f); m.StopChannel(3);
             m.PlaySound(kEngine, 1.0f, true); m.SetChannelFrequencyFactor(3, 1.5f); }, 3, 8191, 33075},
        {"a sound at 45 units", [](S m, X) { m.PlaySound(kBump, 0.5f, false); }, 3, 4095, 22050},
        {"the volume a channel has is not sent again", [](S m, X mixer) {
             m.PlaySound(kEngine, 1.0f, true); mixer.SetVolume(3, 100);
             EXPECT_EQ(m.SetChannelVolume(8191, 3), 0); }, 3, 100, 22050},
        {"the factor a channel has is not sent again", [](S m, X mixer) {
             m.PlaySound(kEngine, 1.0f, true); mixer.SetFrequency(3, 100);
             EXPECT_EQ(m.SetChannelFrequencyFactor(3, 1.0f), 0); }, 3, 8191, 100},
        {"a second game sound takes the next channel", [](S m, X) {
             m.PlaySound(kEngine, 1.0f, true); EXPECT_EQ(m.PlaySound(kBump, 1.0f, false), 4); }, 4, 8191, 22050},
        {"a percent of 300 is full volume",
         [](S m, X) { m.SetVolumePercent(300); m.PlayFrontEndSound(kClick); }, 0, 32767, 22050},
        {"a percent of -5 is silence", [](S m, X) { m.SetVolumePercent(-5); m.PlayFrontEndSound(kClick); }, 0, 0, 22050},
    };
    // clang-format on
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.name);
        SampleSound fresh; // sounds open their waves in the mixer of this manager
        ASSERT_EQ(fresh.controller.Start(), 0);
        CSoundManager& manager = *fresh.controller.manager;
        manager.SetVolumePercent(50);
        EXPECT_EQ(manager.GetMasterVolume(), 16383);
        c.run(manager, fresh.controller.Mixer());
        EXPECT_TRUE(manager.IsChannelPlaying(c.channel));
        EXPECT_EQ(fresh.controller.Mixer().GetVolume(c.channel), c.volume);
        EXPECT_EQ(fresh.controller.Mixer().GetFrequency(c.channel), c.frequency);
    }
}

TEST_F(SoundManager, TheMixersLastErrorGoesToTheErrorLogWithItsText) {
    EXPECT_FALSE(Manager().ReportMixerError());
    Manager().StopChannel(CSoundManager::kChannelCount); // no such channel
    EXPECT_TRUE(Manager().ReportMixerError());
    Manager().StopChannel(0); // a call that works clears it
    EXPECT_FALSE(Manager().ReportMixerError());
    EXPECT_EQ(sample.controller.errors, std::vector<std::string>{"no such channel"});
}

TEST_F(SoundManager, PauseHoldsGameSoundsAndRefusesNewOnes) {
    ASSERT_EQ(Manager().PlayFrontEndSound(kClick), 0);
    ASSERT_EQ(Manager().PlaySound(kBump, 1.0f, false), 3);
    EXPECT_TRUE(Manager().SetPaused(true));
    EXPECT_FALSE(Manager().SetPaused(true));
    EXPECT_EQ(Manager().PlaySound(kBump, 1.0f, false), -1);
    EXPECT_EQ(Manager().PlayHelpSound(kShort, false), 1); // channels 0..2 play on
    EXPECT_EQ(Manager().SetChannelVolume(5, 3), 0);
    EXPECT_EQ(Manager().SetChannelFrequencyFactor(3, 2.0f), 0);
    EXPECT_EQ(Mixer().GetVolume(3), 32767);
    EXPECT_EQ(Mixer().GetFrequency(3), 22050);
    sample.controller.RenderAndUpdate(5000); // longer than every one of the three sounds
    EXPECT_FALSE(Manager().IsChannelPlaying(0));
    EXPECT_FALSE(Manager().IsHelpChannelBusy());
    EXPECT_TRUE(Manager().IsChannelPlaying(3));
    EXPECT_TRUE(Manager().SetPaused(false));
    sample.controller.RenderAndUpdate(5000);
    EXPECT_FALSE(Manager().IsChannelPlaying(3));
}

TEST_F(SoundManager, PlaylistsDrawFromTheGamesGeneratorAndGoOnAtEachEnd) {
    Manager().StartPlaylist({});
    EXPECT_FALSE(Manager().IsChannelPlaying(2));
    sample.controller.RenderAndUpdate(1000);
    EXPECT_EQ(sample.controller.ambienceSamples, 0);

    // One id: its four draws give no notice; each end plays it again.
    Random::Seed(11);
    Manager().StartPlaylist({kShort});
    std::uint32_t state = 11;
    for (int draw = 0; draw < 4; ++draw)
        state = state * 214013u + 2531011u;
    EXPECT_EQ(Random::State(), state);
    sample.controller.RenderAndUpdate(800); // 882 frames long
    EXPECT_EQ(sample.controller.ambienceSamples, 0);
    for (int end = 1; end <= 3; ++end) {
        sample.controller.RenderAndUpdate(882);
        EXPECT_EQ(sample.controller.ambienceSamples, end);
        EXPECT_TRUE(Manager().IsChannelPlaying(2));
    }

    // Five ids: the fourth draw is the one heard, here the desert's 1000 ms sample.
    const std::vector<int> desert = {49951, 49952, 49953, 49954, 49958};
    Random::Seed(8);
    int index = 0;
    for (int draw = 0; draw < 4; ++draw)
        index = Random::Next() % 5;
    ASSERT_EQ(desert[static_cast<std::size_t>(index)], 49954);
    Random::Seed(8);
    sample.controller.ambienceSamples = 0;
    Manager().StartPlaylist(desert);
    sample.controller.RenderAndUpdate(22000);
    EXPECT_EQ(sample.controller.ambienceSamples, 0);
    sample.controller.RenderAndUpdate(100);
    EXPECT_EQ(sample.controller.ambienceSamples, 1);

    Manager().StopPlaylist();
    EXPECT_TRUE(Manager().GetPlaylist().empty());
    EXPECT_FALSE(Manager().IsChannelPlaying(2));
    sample.controller.RenderAndUpdate(100000);
    EXPECT_EQ(sample.controller.ambienceSamples, 1);
}

struct StartCase {
    const char* name;
    bool errorManager;
    plat::mixer::Output output;
    const char* driver;
    int result;
};

TEST(SoundManagerStart, RunsSilentWithoutAnErrorManagerOrADevice) {
    const StartCase cases[] = {
        {"offline", true, plat::mixer::Output::kOffline, "dummy", 0},
        {"the dummy device", true, plat::mixer::Output::kDevice, "dummy", 0},
        {"no error manager", false, plat::mixer::Output::kOffline, "dummy", 1},
        {"no audio device", true, plat::mixer::Output::kDevice, "no-such-driver", 1},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv driver("SDL_AUDIODRIVER", c.driver);
        SampleSound sample;
        sample.controller.errorManager = c.errorManager;
        ASSERT_EQ(sample.controller.Start(c.output), c.result);
        CSoundManager& manager = *sample.controller.manager;
        EXPECT_EQ(manager.IsStarted(), c.result == 0);
        EXPECT_EQ(manager.GetDirectSound() != nullptr, c.result == 0);
        const int expected = c.result == 0 ? 0 : -1;
        EXPECT_EQ(manager.PlayFrontEndSound(kClick), expected);
        EXPECT_EQ(manager.PlayHelpSound(kClick, false), c.result == 0 ? 1 : -1);
        EXPECT_EQ(manager.PlaySound(kBump, 1.0f, false), c.result == 0 ? 3 : -1);
        EXPECT_EQ(manager.SetChannelLevel(3, 0.5f), c.result);
        EXPECT_EQ(manager.IsChannelPlaying(3), c.result == 0);
        manager.StopManager();
        EXPECT_EQ(manager.GetDirectSound(), nullptr);
        EXPECT_EQ(manager.PlayFrontEndSound(kClick), -1);
    }
}

TEST(SoundManagerStart, PlaylistGoesOnUnderTheDummyDriverInRealTime) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SampleSound sample;
    ASSERT_EQ(sample.controller.Start(plat::mixer::Output::kDevice), 0);
    sample.controller.manager->StartPlaylist({kShort});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sample.controller.ambienceSamples < 2 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        sample.controller.manager->Update();
    }
    EXPECT_GE(sample.controller.ambienceSamples, 2);
}

} // namespace
