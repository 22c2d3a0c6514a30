#pragma once

// Standard MIDI Files built byte by byte for the music tests.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace miditest {

using Bytes = std::vector<std::uint8_t>;

/// A chunk: its id and its length, big-endian, then the bytes.
inline Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out(id, id + 4);
    const auto n = static_cast<std::uint32_t>(body.size());
    out.insert(out.end(), {static_cast<std::uint8_t>(n >> 24), static_cast<std::uint8_t>(n >> 16),
                           static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)});
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

/// A file of `format` and `division` holding the given track bodies (the header counts them).
inline Bytes Smf(int format, int division, std::initializer_list<Bytes> tracks) {
    Bytes out =
        Chunk("MThd", {0, static_cast<std::uint8_t>(format), 0, static_cast<std::uint8_t>(tracks.size()),
                       static_cast<std::uint8_t>(division >> 8), static_cast<std::uint8_t>(division)});
    for (const Bytes& track : tracks) {
        const Bytes chunk = Chunk("MTrk", track);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

/// A tempo meta event after `delta` (one byte) of `bpm` beats per minute.
inline Bytes Tempo(std::uint8_t delta, int bpm) {
    const auto us = static_cast<std::uint32_t>(60000000 / bpm);
    return {delta,
            0xFF,
            0x51,
            0x03,
            static_cast<std::uint8_t>(us >> 16),
            static_cast<std::uint8_t>(us >> 8),
            static_cast<std::uint8_t>(us)};
}

/// Joins byte runs.
inline Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

} // namespace miditest
