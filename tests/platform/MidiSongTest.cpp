#include "platform/midi/Song.h"

#include "support/MidiBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using namespace plat::midi;
using namespace miditest;

/// The events as "tick:status data1 data2" (tempo changes as "tick:tempo us").
std::string Describe(const Song& song) {
    std::string out;
    for (const SongEvent& e : song.events) {
        char text[48];
        if (e.status == kTempoStatus)
            std::snprintf(text, sizeof text, "%u:tempo %u ", e.tick, e.tempo);
        else
            std::snprintf(text, sizeof text, "%u:%02x %02x %02x ", e.tick, e.status, e.data1, e.data2);
        out += text;
    }
    return out + "| " + std::to_string(song.length);
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

struct SongCase {
    const char* name;
    Bytes file;
    const char* expected; ///< the events and length, or the start of the error
};

TEST(MidiSong, ReadsWhatItPlaysAndRefusesTheRest) {
    // clang-format off
    const SongCase cases[] = {
        {"format 0, running status, a program change, end-of-track delta in the length",
         Smf(0, 96, {Join({Tempo(0, 120), {0x00, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00,
                                            0x30, 0xFF, 0x2F, 0x00}})}),
         "0:tempo 500000 0:c0 05 00 0:90 3c 64 96:90 3c 00 | 144"},
        {"format 1 merges the tracks, an earlier track first at the same tick",
         Smf(1, 480, {Join({Tempo(0, 150), {0x83, 0x60, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}, kEnd}),
                      {0x00, 0x99, 0x24, 0x40, 0x83, 0x60, 0x89, 0x24, 0x00, 0x00, 0xFF, 0x2F, 0x00}}),
         "0:tempo 400000 0:99 24 40 480:tempo 500000 480:89 24 00 | 480"},
        {"sysex, other meta events and unknown chunks are stepped over",
         Join({Chunk("MThd", {0, 0, 0, 1, 0, 96}), Chunk("XTRA", {1, 2, 3}),
               Chunk("MTrk", {0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x00, 0xFF, 0x03, 0x02, 'h', 'i', 0x10, 0xF7, 0x01,
                              0x00, 0x00, 0xE0, 0x00, 0x40, 0x00, 0xFF, 0x2F, 0x00})}),
         "16:e0 00 40 | 16"},
        {"a track without an end ends at its last event; pressure, controller and bend pass",
         Smf(0, 96, {{0x00, 0xB0, 0x07, 0x64, 0x05, 0xA0, 0x3C, 0x10, 0x05, 0xD0, 0x20}}),
         "0:b0 07 64 5:a0 3c 10 10:d0 20 00 | 10"},
        {"a four-byte delta", Smf(0, 96, {{0xFF, 0xFF, 0xFF, 0x7F, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}}),
         "268435455:80 3c 00 | 268435455"},
        {"format 2", Smf(2, 96, {kEnd}), "only formats 0 and 1"},
        {"SMPTE timing", Smf(0, 0xE728, {kEnd}), "SMPTE"},
        {"a division of 0", Smf(0, 0, {kEnd}), "a division of 0"},
        {"no tracks", Smf(0, 96, {}), "no tracks"},
        {"a song of 0 ticks", Smf(0, 96, {{0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00}}), "a song of 0 ticks"},
        {"a header chunk past the end", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 60, 0, 0, 0, 1, 0, 96}, "a chunk goes past"},
        {"a track chunk past the end", [] { Bytes b = Smf(0, 96, {kEnd}); b[21] = 9; return b; }(), "a chunk goes past"},
        {"a header of 5 bytes", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 5, 0, 0, 0, 1, 0, 96}, "a header of fewer"},
        {"not a MIDI file", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "not a Standard MIDI File"},
        {"a delta of five bytes", Smf(0, 96, {{0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x64}}), "track 1: a variable-length"},
        {"a meta length of five bytes", Smf(0, 96, {{0x00, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x00}}), "track 1: a variable-length"},
        {"a data byte of 0x80", Smf(0, 96, {{0x00, 0x90, 0x3C, 0x80, 0x00, 0xFF, 0x2F, 0x00}}), "track 1: a data byte"},
        {"running status with no status yet", Smf(0, 96, {{0x00, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00}}), "track 1: running status"},
        {"a tempo of 0", Smf(0, 96, {{0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x60, 0xFF, 0x2F, 0x00}}), "track 1: a tempo of 0"},
        {"a tempo of two bytes", Smf(0, 96, {{0x00, 0xFF, 0x51, 0x02, 1, 0, 0x60, 0xFF, 0x2F, 0x00}}), "track 1: a tempo event"},
        {"a system message", Smf(0, 96, {{0x00, 0xF2, 0x00, 0x00, 0x60, 0xFF, 0x2F, 0x00}}), "track 1: a system message"},
        {"a sysex past its track", Smf(0, 96, {{0x00, 0xF0, 0x05, 0x01, 0xF7}}), "track 1: an event goes past"},
        {"a second track missing", [] { Bytes b = Smf(1, 96, {{0x60, 0xFF, 0x2F, 0x00}}); b[11] = 2; return b; }(),
         "the file ends before track 2 of 2"},
        {"a song beyond 32 bits of ticks", [] {
             Bytes track; // 17 empty texts, each 2^28 - 1 ticks after the one before
             for (int i = 0; i < 17; ++i)
                 track.insert(track.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00});
             return Smf(0, 96, {track});
         }(), "track 1: the song is too long"},
    };
    // clang-format on
    for (const SongCase& c : cases) {
        SCOPED_TRACE(c.name);
        Song song;
        std::string error;
        const bool ok = ReadSong(c.file.data(), c.file.size(), song, error);
        if (ok)
            EXPECT_EQ(Describe(song), c.expected);
        else
            EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
    }
}

TEST(MidiSong, EveryCutOfAFileIsRefused) {
    const Bytes file =
        Smf(1, 96,
            {Join({Tempo(0, 177), {0x00, 0xC0, 0x21, 0x00, 0x90, 0x3C, 0x64, 0x60, 0x3C, 0x00}, kEnd}),
             {0x00, 0xF0, 0x01, 0xF7, 0x00, 0x99, 0x24, 0x64, 0x60, 0x24, 0x00, 0x00, 0xFF, 0x2F, 0x00}});
    Song song;
    std::string error;
    ASSERT_TRUE(ReadSong(file.data(), file.size(), song, error)) << error;
    for (std::size_t size = 0; size < file.size(); ++size) {
        // Each cut is its own allocation, so the sanitizer sees a read past it.
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ReadSong(cut.data(), cut.size(), song, error)) << size;
        EXPECT_TRUE(song.events.empty()) << size;
    }
}

} // namespace
