#include "AudioFixtures.h"

#include "audio/WaveImage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zentrix;
using audiotest::FakeSoundController;
using audiotest::SampleSound;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

struct Chunk {
    std::string id;
    Bytes data;
    std::int64_t statedSize = -1; ///< the size field when it differs from the data's
};

/// A "fmt " chunk: `size` 16, 18 or more (zeros after the 16 bytes of the record).
Chunk Fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, int size = 16) {
    Bytes data;
    Put16(data, tag);
    Put16(data, channels);
    Put32(data, rate);
    Put32(data, rate * channels * bits / 8);
    Put16(data, static_cast<std::uint32_t>(channels * bits / 8));
    Put16(data, bits);
    data.resize(static_cast<std::size_t>(size), 0);
    return {"fmt ", data};
}

Chunk Data(const Bytes& samples, std::int64_t statedSize = -1) {
    return {"data", samples, statedSize};
}

Bytes Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE", const char* riff = "RIFF") {
    Bytes out(riff, riff + 4);
    Put32(out, 0); // the size of the rest is not read
    out.insert(out.end(), form, form + 4);
    for (const Chunk& chunk : chunks) {
        out.insert(out.end(), chunk.id.begin(), chunk.id.end());
        Put32(out, static_cast<std::uint32_t>(chunk.statedSize >= 0 ? chunk.statedSize : chunk.data.size()));
        out.insert(out.end(), chunk.data.begin(), chunk.data.end());
    }
    return out;
}

const Bytes kTwoFrames = {0xD2, 0x04, 0xD2, 0x04}; // 1234, 1234

struct ImageCase {
    const char* name;
    Bytes image;
    bool loads;
    std::uint32_t rate = 0;
    int firstSample = 0; ///< the first frame heard at full volume
};

TEST(Sound, LoadsPcmImagesAndRefusesTheRest) {
    const Chunk pcm = Fmt(1, 1, 22050, 16);
    const ImageCase cases[] = {
        {"16-bit mono", Riff({pcm, Data(kTwoFrames)}), true, 22050, 1234},
        {"an even chunk before \"fmt \"", Riff({{"LIST", Bytes(6, 'x')}, pcm, Data(kTwoFrames)}), true, 22050,
         1234},
        {"a chunk between \"fmt \" and \"data\"", Riff({pcm, {"fact", Bytes(4, 0)}, Data(kTwoFrames)}), true,
         22050, 1234},
        {"\"fmt \" of 18 bytes", Riff({Fmt(1, 1, 44100, 16, 18), Data(kTwoFrames)}), true, 44100, 1234},
        {"8-bit stereo at 11025 Hz", Riff({Fmt(1, 2, 11025, 8), Data({0xC0, 0x40})}), true, 11025, 16384},
        {"bytes after the data", Riff({pcm, Data(kTwoFrames), {"LIST", Bytes(2, 0), 900}}), true, 22050,
         1234},
        {"\"fmt \" of 20 bytes", Riff({Fmt(1, 1, 22050, 16, 20), Data(kTwoFrames)}), false},
        {"\"fmt \" of 12 bytes", Riff({Fmt(1, 1, 22050, 16, 12), Data(kTwoFrames)}), false},
        {"no \"data\"", Riff({pcm}), false},
        {"\"data\" before \"fmt \"", Riff({Data(kTwoFrames), pcm}), false},
        {"11 bytes", Bytes(11, 'R'), false},
        {"not RIFF", Riff({pcm, Data(kTwoFrames)}, "WAVE", "RIFX"), false},
        {"not WAVE", Riff({pcm, Data(kTwoFrames)}, "AVI "), false},
        {"a \"data\" size past the end", Riff({pcm, Data(kTwoFrames, 5)}), false},
        {"a chunk size that would wrap", Riff({{"LIST", Bytes(8, 0), 0xFFFFFFF8}, pcm, Data(kTwoFrames)}),
         false},
        {"not PCM", Riff({Fmt(3, 1, 22050, 16), Data(kTwoFrames)}), false},
        {"three channels", Riff({Fmt(1, 3, 22050, 16), Data(Bytes(6, 0))}), false},
        {"12 bits", Riff({Fmt(1, 1, 22050, 12), Data(kTwoFrames)}), false},
        {"rate 0", Riff({Fmt(1, 1, 0, 16), Data(kTwoFrames)}), false},
        {"rate above 192000", Riff({Fmt(1, 1, 192001, 16), Data(kTwoFrames)}), false},
        {"no whole frame", Riff({pcm, Data({0xD2})}), false},
        {"empty", Bytes{}, false},
    };
    FakeSoundController controller;
    ASSERT_EQ(controller.Start(), 0);
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.name);
        SWaveImage image;
        std::string error;
        EXPECT_EQ(ReadWaveImage(c.image.data(), c.image.size(), image, error), c.loads) << error;
        EXPECT_EQ(error.empty(), c.loads);
        CSound sound(controller);
        sound.Load(40100, c.image, -1);
        ASSERT_EQ(sound.IsLoaded(), c.loads);
        if (!c.loads)
            continue;
        EXPECT_EQ(sound.GetSamplingRate(), c.rate);
        EXPECT_EQ(controller.manager->PlayOnChannel(3, sound, 0, false, -1, -1), 0);
        std::vector<std::int16_t> out(4);
        controller.Mixer().Render(out.data(), 2);
        EXPECT_EQ(out[0], c.firstSample);
        controller.Mixer().Stop(3);
    }
}

TEST(Sound, EveryCutOfAnImageIsRefused) {
    // The generator's images and one of each shape it does not make.
    const Bytes images[] = {
        Riff({{"LIST", Bytes(6, 'x')}, Fmt(1, 2, 11025, 8, 18), Data(Bytes(40, 0x90))}),
        Riff({Fmt(1, 1, 22050, 16), Data(kTwoFrames), {"LIST", Bytes(4, 0)}}),
    };
    for (const Bytes& image : images) {
        SWaveImage wave;
        std::string error;
        ASSERT_TRUE(ReadWaveImage(image.data(), image.size(), wave, error)) << error;
        // The trailing chunk of the second image may go; anything that cuts the samples may not.
        const std::size_t whole = wave.dataOffset + wave.dataLength;
        for (std::size_t size = 0; size < whole; ++size)
            EXPECT_FALSE(ReadWaveImage(image.data(), size, wave, error)) << size;
    }
}

TEST(Sound, AWaveLivesAsLongAsItsSoundInTheMixerItWasOpenedIn) {
    FakeSoundController controller;
    const int live = CSound::GetLiveCount();
    const Bytes image = Riff({Fmt(1, 1, 22050, 16), Data(Bytes(2000, 0x10))});
    {
        CSound withoutMixer(controller);
        withoutMixer.Load(40100, image, 1);
        EXPECT_FALSE(withoutMixer.IsLoaded());
        EXPECT_EQ(withoutMixer.GetOwner(), 1);
        EXPECT_EQ(CSound::GetLiveCount(), live + 1);
    }
    EXPECT_EQ(CSound::GetLiveCount(), live);

    ASSERT_EQ(controller.Start(), 0);
    auto playing = std::make_unique<CSound>(controller);
    playing->Load(40100, image, -1);
    auto idle = std::make_unique<CSound>(controller);
    idle->Load(40101, Bytes(11, 0), -1); // never loads
    EXPECT_EQ(controller.manager->PlayOnChannel(4, *playing, -1, false, -1, -1), 0);
    idle.reset(); // frees only its image
    EXPECT_TRUE(controller.manager->IsChannelPlaying(4));
    playing.reset(); // the mixer stops what plays the wave, without a notice
    EXPECT_FALSE(controller.manager->IsChannelPlaying(4));
    EXPECT_TRUE(controller.Mixer().Poll().empty());

    // A sound opened before the mixer was closed and opened again names a wave the new instance refuses,
    // though the new instance numbers its own first wave alike.
    FakeSoundController restarted;
    ASSERT_EQ(restarted.Start(), 0);
    auto before = std::make_unique<CSound>(restarted);
    before->Load(40100, image, -1);
    ASSERT_EQ(restarted.Start(), 0);
    CSound after(restarted);
    after.Load(40100, image, -1);
    ASSERT_EQ(after.GetWaveHandle().wave, before->GetWaveHandle().wave);
    EXPECT_EQ(restarted.manager->PlayOnChannel(5, *before, -1, false, -1, -1), -1);
    EXPECT_EQ(restarted.manager->PlayOnChannel(5, after, -1, false, -1, -1), 0);
    before.reset();
    EXPECT_TRUE(restarted.manager->IsChannelPlaying(5));
}

TEST(Sound, TheSampleSetHoldsEverySoundTheGamePlays) {
    SampleSound sample;
    ASSERT_EQ(sample.controller.Start(), 0);
    struct Expected {
        int first, last;
        std::uint32_t rate;
    };
    const Expected ids[] = {
        {49908, 49909, 22050}, {49910, 49910, 11025}, {50100, 50102, 22050}, {50104, 50104, 22050},
        {51070, 51070, 22050}, {50024, 50024, 22050}, {50031, 50034, 22050}, {49935, 49935, 22050},
        {49940, 49942, 22050}, {49951, 49954, 22050}, {49958, 49958, 22050}, {49962, 49962, 22050},
        {50026, 50026, 22050}, {51040, 51041, 22050}, {51050, 51050, 22050}, {51055, 51055, 22050},
        {51074, 51078, 22050}, {51080, 51081, 22050}, {51083, 51087, 22050}, {51089, 51090, 22050},
        {51092, 51096, 22050}, {51120, 51120, 22050}, {51150, 51151, 22050}, {51159, 51159, 22050},
        {51161, 51161, 22050}, {51163, 51164, 22050}, {51167, 51168, 22050}, {51171, 51174, 22050},
        {55006, 55006, 22050}, {55011, 55011, 22050}, {55038, 55038, 22050}, {57900, 57900, 22050},
    };
    for (const Expected& range : ids)
        for (int id = range.first; id <= range.last; ++id) {
            CSound* sound = sample.controller.GetSound(id);
            ASSERT_NE(sound, nullptr) << id;
            EXPECT_TRUE(sound->IsLoaded()) << id;
            EXPECT_EQ(sound->GetSamplingRate(), range.rate) << id;
        }

    // The running game takes the reader's other paths too: a chunk before "fmt ", 8-bit samples.
    for (int id : {49908, 49910}) {
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(sample.assets->GetAssetData(id, bytes));
        SWaveImage image;
        std::string error;
        ASSERT_TRUE(ReadWaveImage(bytes.data(), bytes.size(), image, error)) << error;
        EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16) != "fmt ", id == 49908);
        EXPECT_EQ(image.format.bitsPerSample, id == 49910 ? 8 : 16);
    }

    // Race sounds freed by their owner stop where they play.
    CSoundManager& manager = *sample.controller.manager;
    const int channel = manager.PlaySound(57900, 1.0f, true);
    ASSERT_GE(channel, 3);
    sample.assets->FreeSoundsOwnedBy(1);
    EXPECT_FALSE(manager.IsChannelPlaying(channel));
    EXPECT_EQ(manager.PlaySound(57900, 1.0f, true), channel); // loaded again
}

} // namespace
