#include "AudioFixtures.h"

#include "audio/Music.h"
#include "audio/RaceMusicLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using namespace zentrix;
using audiotest::SampleAudio;

using Log = std::vector<std::string>;

struct LastLap : IRaceMusicLink {
    bool IsLastLap() const override { return lastLap; }
    bool lastLap = false;
};

TEST(MusicManager, EachGameStateHasItsCategory) {
    const int expected[] = {0, 0, 0, 2, -1, 2, -1, -1, -1, -1, -1, -1, -1, 0, -1, 1, 1, -1, 1, 0, -1, -1, -1};
    for (int state = 0; state < 23; ++state)
        EXPECT_EQ(CMusicManager::CategoryForState(state), expected[state]) << state;
    EXPECT_EQ(CMusicManager::SegmentFor(1, 3, false), 49923);
    EXPECT_EQ(CMusicManager::SegmentFor(1, 3, true), 49922);
    EXPECT_EQ(CMusicManager::TempoFor(2, 0, false), 153);
    EXPECT_EQ(CMusicManager::SegmentFor(0, 4, false), -1);
    EXPECT_EQ(CMusicManager::TempoFor(-1, 0, false), -1);
}

struct Scene {
    const char* name;
    std::function<void(SampleAudio&, LastLap&)> run; ///< after the start and a first frame at state 21
    Log expected;                                    ///< the wrapper's calls, from the run on
    int key;                                         ///< the first note's key of the piece heard, -1 none
};

TEST(MusicManager, PicksThePieceAndTempoByStateThemeAndLap) {
    auto frame = [](SampleAudio& a, int state) {
        a.music.state = state;
        a.music.Update(16);
    };
    using A = SampleAudio&;
    using L = LastLap&;
    // clang-format off
    const Scene scenes[] = {
        {"the front end", [&](A a, L) { frame(a, 0); }, {"stop", "play 49936", "tempo 140"}, 60},
        {"race end and start-up pictures are silent", [&](A a, L) { frame(a, 0); frame(a, 17); frame(a, 21); },
         {"stop", "play 49936", "tempo 140", "stop"}, -1},
        {"a test drive in the city plays at once, faster from the last lap on", [&](A a, L race) {
             a.music.theme = 3; a.music.mode = 1; frame(a, 15); frame(a, 16); race.lastLap = true; frame(a, 18); },
         {"stop", "play 49923", "tempo 177", "tempo 197"}, 72},
        {"a race waits for the race world, which resumes it from the start", [&](A a, L) {
             a.music.theme = 1; a.music.mode = 3; frame(a, 15); a.music.Pause(false); },
         {"stop", "play 49932", "tempo 160", "pause", "resume", "play 49932", "tempo 160"}, 65},
        {"the last lap is forgotten a frame into the front end", [&](A a, L race) {
             a.music.mode = 1; race.lastLap = true; frame(a, 15); frame(a, 15); frame(a, 0); frame(a, 0);
             race.lastLap = false; frame(a, 15); },
         {"stop", "play 49934", "tempo 170", "tempo 190", "stop", "play 49936", "tempo 140", "stop", "play 49934",
          "tempo 170"}, 62},
        {"the editor follows a theme change within a frame", [&](A a, L) {
             frame(a, 3); a.music.theme = 2; frame(a, 5); frame(a, 5); },
         {"stop", "play 49933", "tempo 153", "stop", "play 49927", "tempo 160"}, 71},
        {"Balance 10 stops the music and keeps it off", [&](A a, L) {
             frame(a, 0); a.options.SetOption(CGameOptions::OPTION_BALANCE, 10); frame(a, 1); frame(a, 3); },
         {"stop", "play 49936", "tempo 140", "stop", "volume 10"}, -1},
        {"Balance 11 turns it on and restarts the piece", [&](A a, L) {
             a.options.SetOption(CGameOptions::OPTION_BALANCE, 10); frame(a, 0);
             a.options.SetOption(CGameOptions::OPTION_BALANCE, 11); },
         {"stop", "volume 10", "stop", "play 49936", "tempo 140", "volume 11"}, 60},
        {"Balance 250 is 100", [&](A a, L) { frame(a, 2); a.options.SetOption(CGameOptions::OPTION_BALANCE, 250); },
         {"stop", "play 49936", "tempo 140", "stop", "play 49936", "tempo 140", "volume 100"}, 60},
        {"the quit turns the music off for good", [&](A a, L) {
             frame(a, 0); a.music.SetEnabled(false); frame(a, 13); frame(a, 3); },
         {"stop", "play 49936", "tempo 140", "stop"}, -1},
    };
    // clang-format on
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.name);
        SampleAudio audio;
        LastLap race;
        audio.music.SetRaceLink(&race);
        audio.Start();
        audio.music.Update(16);
        // Started at "Balance" 50: enabled, no piece yet, then the collection.
        EXPECT_EQ(audio.log, (Log{"stop", "volume 50", "collection 49938"}));
        audio.log.clear();
        scene.run(audio, race);
        EXPECT_EQ(audio.log, scene.expected);
        plat::midi::RecordingSynth* synth = audio.music.Wrapper()->synth;
        ASSERT_NE(synth, nullptr);
        std::vector<std::int16_t> out(2 * 256);
        audio.controller.Mixer().Render(out.data(), 256);
        // The last piece started is the one heard: its first note-on since the last reset.
        int key = -1;
        for (const auto& entry : synth->log) {
            if (entry.what == "reset" || entry.what == "off")
                key = -1;
            else if (key == -1 && entry.what.rfind("90 ", 0) == 0)
                key = std::stoi(entry.what.substr(3, 2), nullptr, 16);
        }
        EXPECT_EQ(key, scene.key);
    }
}

TEST(MusicWrapper, TheVolumeIsAGainInHundredthsOfADecibel) {
    const std::pair<int, float> cases[] = {{100, 0.7499f}, {50, 0.0866f}, {11, 0.01609f}, {0, 0.01f}};
    for (const auto& [percent, gain] : cases)
        EXPECT_NEAR(CMusicWrapper::GainForVolume(percent), gain, gain * 1e-3f) << percent;
}

TEST(MusicWrapper, StartsOnlyWithTheApplicationsManagersAndTheSoundMixer) {
    struct Case {
        const char* name;
        bool canStart;
        bool soundStarted;
        int result;
        Log log;
    };
    const Case cases[] = {
        {"no error manager or window", false, true, 1, {"stop", "volume 50", "collection 49938 failed"}},
        {"no mixer",
         true,
         false,
         1,
         {"error Could not set DSound to the DMusic object!", "stop", "volume 50",
          "collection 49938 failed"}},
        {"both", true, true, 0, {"stop", "volume 50", "collection 49938"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SampleAudio audio;
        if (c.soundStarted)
            audio.controller.Start();
        audio.music.wrapperCanStart = c.canStart;
        audio.music.StartManager();
        EXPECT_EQ(audio.log, c.log);
        CMusicWrapper& wrapper = *audio.music.GetWrapper();
        EXPECT_EQ(wrapper.GetLoader() != nullptr, c.result == 0);
        EXPECT_EQ(wrapper.StartManager(), c.result);
        EXPECT_EQ(wrapper.PlaySegment(49936), c.result == 0);
        EXPECT_EQ(wrapper.GetCurrentSegmentId(), 49936);
    }
}

/// Peak of the left side over `frames` frames of the mixer.
int Peak(SampleAudio& audio, int frames) {
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>(frames));
    audio.controller.Mixer().Render(out.data(), frames);
    int peak = 0;
    for (std::size_t i = 0; i < out.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(out[i])));
    return peak;
}

TEST(MusicWrapper, PlaysTheSamplePiecesOnTheSoftwareSynthesizer) {
    SampleAudio audio;
    audio.music.softwareSynth = true;
    audio.store.Set("Balance", "100");
    audio.Start();
    ASSERT_EQ(audio.log, (Log{"collection 49938"})) << "the sample collection loads from memory";
    audio.music.state = 0;
    audio.music.Update(16);
    CMusicWrapper& wrapper = *audio.music.GetWrapper();
    ASSERT_EQ(wrapper.GetCurrentSegmentId(), 49936);
    const int loud = Peak(audio, 22050);
    // About as loud as an effect at full volume (16383).
    EXPECT_GT(loud, 12000);
    EXPECT_LT(loud, 24000);
    // A stop is silence from the next frame on; resuming starts the piece again.
    wrapper.SetPaused(true);
    EXPECT_EQ(Peak(audio, 512), 0);
    wrapper.SetPaused(false);
    EXPECT_GT(Peak(audio, 22050), 4000);
    // Every piece of the table loads.
    for (int theme = 0; theme < 4; ++theme)
        for (int category = 0; category < 3; ++category)
            for (bool last : {false, true})
                EXPECT_TRUE(wrapper.PlaySegment(CMusicManager::SegmentFor(category, theme, last)));
    audio.log.clear();
    EXPECT_FALSE(wrapper.PlaySegment(49937));
    EXPECT_EQ(audio.log, (Log{"play 49937", "error Could not load MIDI segment!"}));
    EXPECT_EQ(wrapper.GetCurrentSegmentId(), 49937);
    EXPECT_FALSE(wrapper.LoadCollection(49936)); // a MIDI file is no collection: the bank stays
    EXPECT_TRUE(wrapper.PlaySegment(49936));
    EXPECT_GT(Peak(audio, 22050), 4000);
}

TEST(Music, APieceLoadsIntoTheRunningPlayerAndItsReleaseStopsIt) {
    SampleAudio audio;
    const int live = CMusic::GetLiveCount();
    {
        CMusic early(audio.music);
        early.Load(49936, {}); // no player yet
        EXPECT_FALSE(early.IsLoaded());
    }
    audio.Start();
    CMusic bad(audio.music);
    bad.Load(49937, {'M', 'T', 'h', 'd'});
    EXPECT_FALSE(bad.IsLoaded());
    EXPECT_EQ(audio.assets->GetMusic(40010), nullptr); // a wave is no piece: not cached
    auto* piece = dynamic_cast<CMusic*>(audio.assets->GetMusic(49923));
    ASSERT_NE(piece, nullptr);
    EXPECT_TRUE(piece->IsLoaded());
    EXPECT_EQ(CMusic::GetLiveCount(), live + 2);
    audio.music.GetWrapper()->PlaySegment(49923);
    plat::midi::MusicPlayer& player = *audio.music.GetLoader();
    EXPECT_EQ(player.GetSong(), piece->GetSong());
    // The asset manager frees its pieces when it stops, the one playing among them.
    audio.assets->StopManager();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(CMusic::GetLiveCount(), live + 1);
    audio.assets->StartManager();
}

} // namespace
