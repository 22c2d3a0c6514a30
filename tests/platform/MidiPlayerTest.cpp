#include "platform/midi/MusicPlayer.h"
#include "platform/midi/RecordingSynth.h"
#include "platform/midi/Sequencer.h"
#include "platform/mixer/Mixer.h"

#include "support/MidiBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using namespace plat::midi;
using namespace miditest;

constexpr int kRate = 22050;

Song Read(const Bytes& file) {
    Song song;
    std::string error;
    EXPECT_TRUE(ReadSong(file.data(), file.size(), song, error)) << error;
    return song;
}

/// The frames at which a message went out, in order.
std::vector<std::int64_t> FramesOf(const RecordingSynth& synth, const std::string& what) {
    std::vector<std::int64_t> frames;
    for (const RecordingSynth::Entry& entry : synth.log)
        if (entry.what == what)
            frames.push_back(entry.frame);
    return frames;
}

/// Renders frame by frame until `what` has gone out `count` times (at most `limit` frames).
void RenderUntil(Sequencer& sequencer, RecordingSynth& synth, const std::string& what, std::size_t count,
                 int limit = 200000) {
    float out[2];
    for (int i = 0; i < limit && FramesOf(synth, what).size() < count; ++i)
        sequencer.Render(synth, out, 1);
}

struct TimingCase {
    const char* name;
    Bytes file;
    std::function<void(Sequencer&, RecordingSynth&)> run; ///< after Play
    const char* message;
    std::vector<std::int64_t> frames; ///< when the message goes out, +/-1
};

TEST(MidiSequencer, SendsEachEventAtTheFrameItFallsDueAt) {
    const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};
    const Bytes note = {0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00};
    auto render = [](int frames) {
        return [frames](Sequencer& s, RecordingSynth& synth) {
            std::vector<float> out(2 * static_cast<std::size_t>(frames));
            s.Render(synth, out.data(), frames);
        };
    };
    // clang-format off
    const TimingCase cases[] = {
        {"96 ticks a beat at the file's 177 beats a minute", Smf(0, 96, {Join({Tempo(0, 177), note, kEnd})}),
         render(16000), "80 3c 00", {7475, 14950}},
        {"the same tempo fixed after the start", Smf(0, 96, {Join({note, kEnd})}),
         [&](Sequencer& s, RecordingSynth& synth) { s.SetTempo(177); render(8000)(s, synth); }, "80 3c 00", {7475}},
        {"120 beats a minute until the first tempo event", Smf(0, 96, {Join({note, Tempo(0, 240), note, kEnd})}),
         render(20000), "90 3c 64", {0, 11025, 16538}},
        {"the loop takes the end-of-track delta in, and the fixed tempo stays across loops",
         Smf(0, 96, {Join({Tempo(0, 60), note, {0x60, 0xFF, 0x2F, 0x00}})}),
         [&](Sequencer& s, RecordingSynth& synth) { s.SetTempo(197); render(30000)(s, synth); }, "90 3c 64",
         {0, 13432, 26863}},
    };
    // clang-format on
    for (const TimingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Song song = Read(c.file);
        Sequencer sequencer(kRate);
        RecordingSynth synth;
        sequencer.Play(song, synth);
        c.run(sequencer, synth);
        const std::vector<std::int64_t> frames = FramesOf(synth, c.message);
        ASSERT_EQ(frames.size(), c.frames.size());
        for (std::size_t i = 0; i < frames.size(); ++i)
            EXPECT_NEAR(frames[i], c.frames[i], 1) << i;
        EXPECT_EQ(synth.log.front().what, "reset");
    }
}

TEST(MidiSequencer, TheClosingNoteOffsGoOutBeforeTheNextPassBegins) {
    const Song song =
        Read(Smf(0, 96, {{0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}}));
    Sequencer sequencer(kRate);
    RecordingSynth synth;
    sequencer.Play(song, synth);
    std::vector<float> out(2 * 12000);
    sequencer.Render(synth, out.data(), 12000);
    ASSERT_EQ(synth.log.size(), 4u);
    EXPECT_EQ(synth.log[2].what, "80 3c 00");
    EXPECT_EQ(synth.log[3].what, "90 3c 64");
    EXPECT_EQ(synth.log[3].frame, synth.log[2].frame);
    // The synthesizer sounds while the note is on and falls silent at the stop.
    EXPECT_EQ(out[2 * 11999], 0.125f);
    sequencer.Stop(synth);
    sequencer.Render(synth, out.data(), 64);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(synth.log.back().what, "off");
}

TEST(MidiSequencer, AFixedTempoTakesOverFromWhereTheSongIs) {
    // Markers at ticks 182 and 192 of a song at 177 beats a minute.
    const Song song = Read(Smf(0, 96,
                               {Join({Tempo(0, 177),
                                      {0x81, 0x36, 0xB0, 0x10, 0x01, 0x0A, 0xB0, 0x10, 0x02},
                                      {0x81, 0x00, 0xFF, 0x2F, 0x00}})}));
    Sequencer sequencer(kRate);
    RecordingSynth synth;
    sequencer.Play(song, synth);
    RenderUntil(sequencer, synth, "b0 10 01", 1);
    const std::int64_t at182 = synth.frames;
    EXPECT_NEAR(at182, 182 * 22050.0 * 60 / (177 * 96), 2);
    sequencer.SetTempo(197);
    RenderUntil(sequencer, synth, "b0 10 02", 1);
    // Ten ticks at 197 beats a minute, not at 177 (778 frames).
    EXPECT_NEAR(synth.frames - at182, 10 * 22050.0 * 60 / (197 * 96), 2);
}

TEST(MidiSequencer, AFrameCostsBoundedWorkWhateverTheSong) {
    // A pass of one tick at the fastest tempo (one microsecond a beat), holding 2000 note-ons.
    Bytes track = {0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x01};
    for (int i = 0; i < 2000; ++i)
        track.insert(track.end(), {0x00, 0x90, static_cast<std::uint8_t>(i % 128), 0x64});
    track.insert(track.end(), {0x01, 0xFF, 0x2F, 0x00});
    const Song song = Read(Smf(0, 0x7FFF, {track}));
    Sequencer sequencer(kRate);
    RecordingSynth synth;
    sequencer.Play(song, synth);
    std::vector<float> out(2 * 512);
    sequencer.Render(synth, out.data(), 512);
    // At most 16 events a frame (the tempo changes among them), yet every event in turn, pass after pass.
    EXPECT_LE(synth.log.size(), 1u + 512u * Sequencer::kEventsPerFrame);
    EXPECT_GE(synth.log.size(), 512u * (Sequencer::kEventsPerFrame - 1));
    int expected = 0;
    for (std::size_t i = 1; i < synth.log.size(); ++i, expected = (expected + 1) % 2000) {
        char text[16];
        std::snprintf(text, sizeof text, "90 %02x 64", expected % 128);
        ASSERT_EQ(synth.log[i].what, text) << i;
    }
}

TEST(MidiPlayer, PlaysItsSongsThroughTheMixerAtItsGain) {
    auto mixer = plat::mixer::Mixer::Open(kRate, 21, plat::mixer::Output::kOffline);
    EXPECT_EQ(MusicPlayer::Open(nullptr, std::make_unique<RecordingSynth>()), nullptr);
    auto first = MusicPlayer::Open(mixer.get(), std::make_unique<RecordingSynth>());
    auto bank = std::make_unique<RecordingSynth>();
    bank->acceptBanks = false;
    // The player opened last sounds through the mixer.
    auto player = MusicPlayer::Open(mixer.get(), std::move(bank));
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->LoadBank(nullptr, 0));

    const Bytes file =
        Smf(0, 96, {{0x00, 0x90, 0x3C, 0x64, 0x00, 0x90, 0x40, 0x64, 0x83, 0x00, 0xFF, 0x2F, 0x00}});
    EXPECT_FALSE(player->LoadSong(file.data(), file.size() - 1));
    const SongHandle theirs = first->LoadSong(file.data(), file.size());
    const SongHandle mine = player->LoadSong(file.data(), file.size());
    ASSERT_TRUE(mine);
    EXPECT_FALSE(player->Play(theirs));
    player->ReleaseSong(theirs); // not this player's: ignored
    EXPECT_TRUE(first->Play(theirs));

    auto renderOne = [&] {
        std::int16_t out[2];
        mixer->Render(out, 1);
        return static_cast<int>(out[0]);
    };
    ASSERT_TRUE(player->Play(mine));
    EXPECT_EQ(player->GetSong(), mine);
    player->SetGain(0.5f);
    EXPECT_EQ(renderOne(), static_cast<int>(2 * 0.125f * 0.5f * 32767)); // two notes on
    player->SetGain(-3.0f);
    EXPECT_EQ(renderOne(), 0);
    player->SetGain(1.0f);
    player->SetTempo(0); // ignored
    EXPECT_EQ(renderOne(), static_cast<int>(2 * 0.125f * 32767));
    player->ReleaseSong(mine); // the song playing is stopped first
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FALSE(player->GetSong());
    EXPECT_EQ(renderOne(), 0);
    EXPECT_FALSE(player->Play(mine));

    // A player may go before its mixer, or after it.
    ASSERT_TRUE(player->Play(player->LoadSong(file.data(), file.size())));
    player.reset();
    EXPECT_EQ(renderOne(), 0);
    mixer.reset();
    first->Stop();
    EXPECT_TRUE(first->Play(theirs));
}

} // namespace
