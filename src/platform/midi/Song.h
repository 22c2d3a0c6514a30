#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat::midi {

/// Status of a tempo change in a song's events (the meta-event status of the file).
constexpr std::uint8_t kTempoStatus = 0xFF;
/// Microseconds per quarter note until a song's first tempo change: 120 beats per minute.
constexpr std::uint32_t kDefaultTempo = 500000;

/// One event of a song at its absolute tick: a channel message (status 0x80..0xEF and its data bytes)
/// or a tempo change (status kTempoStatus, microseconds per quarter note in `tempo`).
struct SongEvent {
    std::uint32_t tick = 0;
    std::uint32_t tempo = 0;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};

/// A Standard MIDI File as the sequencer plays it: every track's channel messages and tempo changes
/// merged in time order, and the length of one pass.
struct Song {
    int ticksPerQuarter = 96;
    /// By tick; events of the same tick keep the order of their tracks and, within a track, of the file.
    std::vector<SongEvent> events;
    /// Ticks of one pass: the latest end of a track (its end-of-track event, else its last event).
    std::uint32_t length = 0;
};

/// Reads a Standard MIDI File of `size` bytes: format 0 or 1, ticks per quarter note, running status;
/// system-exclusive and meta events other than the tempo are skipped. False with the reason in `error`
/// for anything else: format 2, SMPTE or zero division, a chunk or track that goes past the end, a
/// variable-length number of more than 4 bytes, a data byte of 0x80 or more, running status before any
/// status, a system message, a tempo of 0 or a song of 0 ticks. Nothing outside the bytes is read, and
/// the events take at most a fixed multiple of the file's size.
bool ReadSong(const std::uint8_t* bytes, std::size_t size, Song& song, std::string& error);

} // namespace plat::midi
