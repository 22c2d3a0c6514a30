#include "platform/mixer/Mixer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using namespace plat::mixer;

constexpr int kRate = 22050;
constexpr int kChannels = 21;

using Bytes = std::vector<std::uint8_t>;

/// 16-bit little-endian samples.
Bytes Pcm16(const std::vector<int>& samples) {
    Bytes out;
    for (int s : samples) {
        out.push_back(static_cast<std::uint8_t>(s & 0xFF));
        out.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
    }
    return out;
}

/// `frames` frames of the same sample (both sides when stereo gives two values).
Bytes Steady16(std::vector<int> frame, int frames) {
    std::vector<int> samples;
    for (int i = 0; i < frames; ++i)
        samples.insert(samples.end(), frame.begin(), frame.end());
    return Pcm16(samples);
}

/// 100, 200, 300, ...: a sample's value tells where in the wave it is.
Bytes Ramp16(int frames) {
    std::vector<int> samples;
    for (int i = 1; i <= frames; ++i)
        samples.push_back(100 * i);
    return Pcm16(samples);
}

WaveFormat Format(std::uint16_t channels = 1, std::uint16_t bits = 16, std::uint32_t rate = kRate,
                  std::uint16_t tag = kFormatPcm) {
    WaveFormat format;
    format.formatTag = tag;
    format.channels = channels;
    format.samplesPerSecond = rate;
    format.bitsPerSample = bits;
    return format;
}

std::unique_ptr<Mixer> Offline() {
    return Mixer::Open(kRate, kChannels, Output::kOffline);
}

struct Frames {
    std::vector<std::int16_t> data;
    int Left(int i) const { return data[static_cast<std::size_t>(2 * i)]; }
    int Right(int i) const { return data[static_cast<std::size_t>(2 * i + 1)]; }
    int Count() const { return static_cast<int>(data.size() / 2); }
    /// Number of frames from the start that are not silent; -1 when a silent frame is followed by sound.
    int Sounding() const {
        int n = 0;
        while (n < Count() && (Left(n) != 0 || Right(n) != 0))
            ++n;
        for (int i = n; i < Count(); ++i)
            if (Left(i) != 0 || Right(i) != 0)
                return -1;
        return n;
    }
};

Frames Render(Mixer& mixer, int frames) {
    Frames out;
    out.data.resize(static_cast<std::size_t>(2 * frames));
    mixer.Render(out.data.data(), frames);
    return out;
}

// ---- mixing: level, sides, speed, length, loops, clamps ----

struct PlayCase {
    const char* name;
    WaveFormat format;
    Bytes wave;
    int volume, hz, loops, render;
    int left, right;            ///< level of the first frame
    int sounding;               ///< frames before silence
    std::vector<int> leftStart; ///< first left samples, when the wave is a ramp
};

TEST(Mixer, PlaysEachWaveAtItsLevelSpeedAndLength) {
    // clang-format off
    const PlayCase cases[] = {
        {"16-bit mono at half volume", Format(), Steady16({20000}, 100), 16383, kRate, 0, 300, 9999, 9999, 100, {}},
        {"stereo keeps its sides", Format(2), Steady16({20000, -10000}, 100), 32767, kRate, 0, 300, 20000, -10000, 100, {}},
        {"8-bit at 11025 Hz lasts twice as long", Format(1, 8, 11025), Bytes(100, 0xC0), 32767, 11025, 0, 300, 16384, 16384, 200, {}},
        {"twice the frequency, half the length", Format(), Steady16({1000}, 100), 32767, 2 * kRate, 0, 300, 1000, 1000, 50, {}},
        {"loops 2 plays three passes", Format(), Steady16({1000}, 100), 32767, kRate, 2, 500, 1000, 1000, 300, {}},
        {"loops -1 never ends", Format(), Steady16({1000}, 100), 32767, kRate, -1, 20000, 1000, 1000, 20000, {}},
        {"frequency 0 is silent", Format(), Steady16({1000}, 100), 32767, 0, 0, 300, 0, 0, 0, {}},
        {"frequency clamped to 8 times", Format(), Steady16({1000}, 100), 32767, 1000000, 0, 300, 1000, 1000, 13, {}},
        {"ramp at the output rate", Format(), Ramp16(100), 32767, kRate, 0, 300, 100, 100, 100, {100, 200, 300}},
        {"ramp at half speed is interpolated", Format(), Ramp16(100), 32767, kRate / 2, 0, 300, 100, 100, 200, {100, 150, 200, 250}},
        {"ramp at twice the speed skips", Format(), Ramp16(100), 32767, 2 * kRate, 0, 300, 100, 100, 50, {100, 300, 500}},
    };
    // clang-format on
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mixer = Offline();
        ASSERT_TRUE(mixer);
        const WaveHandle wave = mixer->OpenWave(c.format, c.wave.data(), c.wave.size());
        ASSERT_TRUE(wave);
        mixer->SetVolume(4, c.volume);
        mixer->SetFrequency(4, c.hz);
        ASSERT_EQ(mixer->Play(4, wave, c.loops, false), kOk);
        const Frames out = Render(*mixer, c.render);
        EXPECT_NEAR(out.Left(0), c.left, 1);
        EXPECT_NEAR(out.Right(0), c.right, 1);
        EXPECT_EQ(out.Sounding(), c.sounding);
        for (std::size_t i = 0; i < c.leftStart.size(); ++i)
            EXPECT_EQ(out.Left(static_cast<int>(i)), c.leftStart[i]) << "frame " << i;
        // Whatever was mixed, the play lasts for the game until a poll takes its end.
        EXPECT_TRUE(mixer->IsPlaying(4));
        mixer->Poll();
        EXPECT_EQ(mixer->IsPlaying(4), c.loops == -1 || c.hz == 0);
    }
}

TEST(Mixer, FullScaleChannelsClipInsteadOfWrapping) {
    auto mixer = Offline();
    const Bytes bytes = Steady16({30000, -30000}, 50);
    const WaveHandle wave = mixer->OpenWave(Format(2), bytes.data(), bytes.size());
    ASSERT_EQ(mixer->Play(3, wave, 0, false), kOk);
    ASSERT_EQ(mixer->Play(4, wave, 0, false), kOk);
    const Frames out = Render(*mixer, 10);
    EXPECT_EQ(out.Left(5), 32767);
    EXPECT_EQ(out.Right(5), -32767);
}

TEST(Mixer, VolumeAndFrequencyChangeAPlayingSoundFromTheNextFrame) {
    auto mixer = Offline();
    const Bytes bytes = Ramp16(1000);
    const WaveHandle wave = mixer->OpenWave(Format(), bytes.data(), bytes.size());
    ASSERT_EQ(mixer->Play(6, wave, -1, false), kOk);
    EXPECT_EQ(Render(*mixer, 2).Left(1), 200);
    mixer->SetVolume(6, 16384); // about half
    mixer->SetFrequency(6, 2 * kRate);
    const Frames faster = Render(*mixer, 2);
    EXPECT_NEAR(faster.Left(0), 150, 1); // frame 2 at half volume
    EXPECT_NEAR(faster.Left(1), 250, 1); // frame 4: two frames further
    mixer->SetVolume(kAllChannels, -5);
    EXPECT_EQ(mixer->GetVolume(6), 0);
    EXPECT_EQ(Render(*mixer, 1).Left(0), 0);
    EXPECT_EQ(mixer->SetFrequency(6, -3), kOk);
    EXPECT_EQ(mixer->GetFrequency(6), 0);
    EXPECT_TRUE(mixer->IsPlaying(6));
}

// ---- pause and the free-channel search ----

TEST(Mixer, PauseHoldsThePlaceAndCountsAsPlaying) {
    auto mixer = Offline();
    const Bytes bytes = Ramp16(100);
    const WaveHandle wave = mixer->OpenWave(Format(), bytes.data(), bytes.size());
    EXPECT_EQ(mixer->FindFreeChannel(3, 20), 3);
    ASSERT_EQ(mixer->Play(3, wave, 0, false), kOk);
    ASSERT_EQ(mixer->Play(4, wave, -1, false), kOk);
    EXPECT_EQ(Render(*mixer, 3).Left(2), 2 * 300);
    mixer->Pause(3);
    mixer->Stop(4);
    EXPECT_EQ(Render(*mixer, 500).Sounding(), 0);
    EXPECT_TRUE(mixer->IsPlaying(3));
    EXPECT_EQ(mixer->FindFreeChannel(3, 20), 4); // paused 3 is skipped, stopped 4 is free
    mixer->Resume(3);
    EXPECT_EQ(Render(*mixer, 1).Left(0), 400); // the next sample
    mixer->Pause(5);                           // an idle channel stays free
    for (int channel = 4; channel <= 20; ++channel) {
        EXPECT_EQ(mixer->FindFreeChannel(3, 20), channel);
        mixer->Play(channel, wave, -1, false);
    }
    EXPECT_EQ(mixer->FindFreeChannel(3, 20), -1);
    EXPECT_EQ(mixer->FindFreeChannel(0, 2), 0);
    EXPECT_EQ(mixer->FindFreeChannel(3, 21), -1);
    EXPECT_EQ(mixer->GetLastError(), kErrorChannel);
}

// ---- ends and their notices ----

struct EndCase {
    const char* name;
    std::function<void(Mixer&, WaveHandle shortWave, WaveHandle longWave)> run;
    bool playingBeforePoll;
    std::vector<int> notices;
    bool playingAfterPoll;
};

TEST(Mixer, EndsAreSeenAtThePollAndNotifyOnlyNaturalEnds) {
    using M = Mixer&;
    using W = WaveHandle;
    // clang-format off
    const EndCase cases[] = {
        {"natural end with notice", [](M m, W s, W) { m.Play(7, s, 0, true); }, true, {7}, false},
        {"natural end without notice", [](M m, W s, W) { m.Play(7, s, 0, false); }, true, {}, false},
        {"last loop ends it", [](M m, W s, W) { m.Play(7, s, 3, true); }, true, {7}, false},
        {"stopped before its end", [](M m, W, W l) { m.Play(7, l, 0, true); m.Stop(7); }, false, {}, false},
        {"replaced by another play", [](M m, W s, W l) { m.Play(7, l, 0, true); m.Play(7, s, -1, false); }, true, {}, true},
        {"its wave freed", [](M m, W, W l) { m.Play(7, l, 0, true); m.FreeWave(l); }, false, {}, false},
        {"played again after its end, before the poll",
         [](M m, W s, W) { m.Play(7, s, 0, true); Render(m, 50); m.Play(7, s, -1, false); }, true, {}, true},
        {"stopped after its end, before the poll",
         [](M m, W s, W) { m.Play(7, s, 0, true); Render(m, 50); m.Stop(7); }, false, {}, false},
        {"two ends in the order they happened", // 20 frames on 7, 10 on 8
         [](M m, W s, W) { m.Play(7, s, 1, true); m.Play(8, s, 0, true); }, true, {8, 7}, false},
        {"closed instance", [](M m, W s, W) { m.Play(7, s, 0, true); m.Close(); }, false, {}, false},
    };
    // clang-format on
    for (const EndCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mixer = Offline();
        const Bytes shortBytes = Steady16({500}, 10);
        const Bytes longBytes = Steady16({500}, 5000);
        const WaveHandle shortWave = mixer->OpenWave(Format(), shortBytes.data(), shortBytes.size());
        const WaveHandle longWave = mixer->OpenWave(Format(), longBytes.data(), longBytes.size());
        c.run(*mixer, shortWave, longWave);
        Render(*mixer, 100);
        EXPECT_EQ(mixer->IsPlaying(7), c.playingBeforePoll);
        EXPECT_EQ(mixer->Poll(), c.notices);
        EXPECT_EQ(mixer->IsPlaying(7), c.playingAfterPoll);
        EXPECT_TRUE(mixer->Poll().empty()); // a notice comes once
    }
}

// ---- waves and handles ----

TEST(Mixer, OpensOnlyPlayableWavesAndOnlyItsOwnHandles) {
    struct WaveCase {
        const char* name;
        WaveFormat format;
        Bytes bytes;
        int frames; ///< frames heard, 0 when refused
    };
    const WaveCase waves[] = {
        {"16-bit mono", Format(), Pcm16({1000, 1000}), 2},
        {"a partial last frame is dropped", Format(), Bytes{0xE8, 0x03, 0xE8}, 1},
        {"stereo 8-bit", Format(2, 8), Bytes{200, 200, 200}, 1},
        {"no whole frame", Format(), Bytes{0xE8}, 0},
        {"not PCM", Format(1, 16, kRate, 3), Pcm16({1000}), 0},
    };
    for (const WaveCase& c : waves) {
        SCOPED_TRACE(c.name);
        auto mixer = Offline();
        const WaveHandle wave = mixer->OpenWave(c.format, c.bytes.data(), c.bytes.size());
        EXPECT_EQ(static_cast<bool>(wave), c.frames > 0);
        EXPECT_EQ(mixer->GetLastError(), c.frames > 0 ? kOk : kErrorFormat);
        if (wave) {
            mixer->Play(3, wave, 0, false);
            EXPECT_EQ(Render(*mixer, 10).Sounding(), c.frames);
        }
    }

    auto first = Offline();
    auto second = Offline();
    const Bytes bytes = Steady16({1000}, 10);
    const WaveHandle wave = first->OpenWave(Format(), bytes.data(), bytes.size());
    EXPECT_EQ(second->Play(3, wave, 0, false), kErrorWave);
    EXPECT_EQ(second->GetLastError(), kErrorWave);
    second->FreeWave(wave); // ignored: not its wave
    EXPECT_EQ(second->Stop(3), kOk);
    EXPECT_EQ(second->GetLastError(), kOk); // an error never sticks
    EXPECT_EQ(first->Play(30, wave, 0, false), kErrorChannel);
    first->FreeWave(wave);
    EXPECT_EQ(first->Play(3, wave, 0, false), kErrorWave);

    first->Close();
    EXPECT_FALSE(first->OpenWave(Format(), bytes.data(), bytes.size()));
    EXPECT_EQ(first->Play(3, wave, 0, false), kErrorClosed);
    EXPECT_EQ(Render(*first, 10).Sounding(), 0);
    EXPECT_STRNE(Mixer::GetErrorText(kErrorClosed), Mixer::GetErrorText(kErrorWave));
    EXPECT_FALSE(Mixer::Open(0, kChannels, Output::kOffline));
    EXPECT_FALSE(Mixer::Open(kRate, 65, Output::kOffline));
}

} // namespace
