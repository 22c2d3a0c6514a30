#include "platform/midi/Song.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plat::midi {

namespace {

constexpr std::size_t kChunkHeader = 8;

std::uint32_t Big16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0] << 8 | p[1]);
}

std::uint32_t Big32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

/// Reads one track chunk's events into the song. The chunk's bytes are [at, end).
class TrackReader {
public:
    TrackReader(const std::uint8_t* at, const std::uint8_t* end, Song& song, std::string& error)
        : m_at(at), m_end(end), m_song(song), m_error(error) {}

    /// The track's events; false with the reason in the error.
    bool Read() {
        std::uint8_t running = 0;
        while (m_at < m_end) {
            std::uint32_t delta = 0;
            if (!Number(delta))
                return false;
            m_tick += delta;
            if (m_tick > UINT32_MAX)
                return Fail("the song is too long");
            if (m_at == m_end)
                return Fail("the track ends inside an event");
            std::uint8_t status = *m_at;
            if (status >= 0x80)
                ++m_at;
            else if (running == 0)
                return Fail("running status with no status yet");
            else
                status = running;
            if (status == 0xFF) {
                bool endOfTrack = false;
                if (!Meta(endOfTrack))
                    return false;
                if (endOfTrack)
                    break;
            } else if (status == 0xF0 || status == 0xF7) {
                std::uint32_t length = 0;
                if (!Number(length) || !Skip(length))
                    return false;
            } else if (status >= 0xF0) {
                return Fail("a system message in a track");
            } else {
                if (!Channel(status))
                    return false;
                running = status;
            }
        }
        m_song.length = std::max(m_song.length, static_cast<std::uint32_t>(m_tick));
        return true;
    }

private:
    bool Fail(const char* why) {
        m_error = why;
        return false;
    }

    /// A variable-length number: at most 4 bytes of 7 bits, the high bit on all but the last.
    bool Number(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (m_at == m_end)
                return Fail("the track ends inside an event");
            const std::uint8_t byte = *m_at++;
            out = out << 7 | (byte & 0x7Fu);
            if ((byte & 0x80) == 0)
                return true;
        }
        return Fail("a variable-length number of more than 4 bytes");
    }

    bool Skip(std::uint32_t length) {
        if (static_cast<std::size_t>(m_end - m_at) < length)
            return Fail("an event goes past the end of its track");
        m_at += length;
        return true;
    }

    bool Meta(bool& endOfTrack) {
        if (m_at == m_end)
            return Fail("the track ends inside an event");
        const std::uint8_t type = *m_at++;
        std::uint32_t length = 0;
        if (!Number(length))
            return false;
        const std::uint8_t* data = m_at;
        if (!Skip(length))
            return false;
        if (type == 0x2F) {
            endOfTrack = true;
        } else if (type == 0x51) {
            if (length < 3)
                return Fail("a tempo event of fewer than 3 bytes");
            const std::uint32_t tempo = static_cast<std::uint32_t>(data[0] << 16 | data[1] << 8 | data[2]);
            if (tempo == 0)
                return Fail("a tempo of 0");
            Add(kTempoStatus, 0, 0, tempo);
        }
        return true;
    }

    bool Channel(std::uint8_t status) {
        const int kind = status & 0xF0;
        const int count = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
        std::uint8_t data[2] = {0, 0};
        for (int i = 0; i < count; ++i) {
            if (m_at == m_end)
                return Fail("the track ends inside an event");
            data[i] = *m_at++;
            if (data[i] >= 0x80)
                return Fail("a data byte of 0x80 or more");
        }
        Add(status, data[0], data[1], 0);
        return true;
    }

    void Add(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, std::uint32_t tempo) {
        SongEvent event;
        event.tick = static_cast<std::uint32_t>(m_tick);
        event.tempo = tempo;
        event.status = status;
        event.data1 = data1;
        event.data2 = data2;
        m_song.events.push_back(event);
    }

    const std::uint8_t* m_at;
    const std::uint8_t* const m_end;
    Song& m_song;
    std::string& m_error;
    std::uint64_t m_tick = 0;
};

} // namespace

namespace {

bool Read(const std::uint8_t* bytes, std::size_t size, Song& song, std::string& error) {
    if (bytes == nullptr || size < kChunkHeader + 6 || std::memcmp(bytes, "MThd", 4) != 0) {
        error = "not a Standard MIDI File";
        return false;
    }
    const std::uint32_t headerLength = Big32(bytes + 4);
    if (headerLength < 6 || headerLength > size - kChunkHeader) {
        error = headerLength < 6 ? "a header of fewer than 6 bytes" : "a chunk goes past the end of the file";
        return false;
    }
    const std::uint32_t format = Big16(bytes + 8);
    const std::uint32_t tracks = Big16(bytes + 10);
    const std::uint32_t division = Big16(bytes + 12);
    if (format > 1) {
        error = "only formats 0 and 1 are played";
        return false;
    }
    if ((division & 0x8000) != 0 || division == 0) {
        error = division == 0 ? "a division of 0 ticks" : "SMPTE timing is not played";
        return false;
    }
    if (tracks == 0) {
        error = "no tracks";
        return false;
    }
    song.ticksPerQuarter = static_cast<int>(division);
    std::size_t at = kChunkHeader + headerLength;
    for (std::uint32_t track = 0; track < tracks;) {
        if (size - at < kChunkHeader) {
            error =
                "the file ends before track " + std::to_string(track + 1) + " of " + std::to_string(tracks);
            return false;
        }
        const std::uint32_t length = Big32(bytes + at + 4);
        const std::size_t body = at + kChunkHeader;
        if (length > size - body) {
            error = "a chunk goes past the end of the file";
            return false;
        }
        // Chunks of other kinds are skipped by their length.
        if (std::memcmp(bytes + at, "MTrk", 4) == 0) {
            TrackReader reader(bytes + body, bytes + body + length, song, error);
            if (!reader.Read()) {
                error = "track " + std::to_string(track + 1) + ": " + error;
                return false;
            }
            ++track;
        }
        at = body + length;
    }
    // The tracks were read one after the other: a stable sort keeps an earlier track's events before a
    // later track's at the same tick.
    std::stable_sort(song.events.begin(), song.events.end(),
                     [](const SongEvent& a, const SongEvent& b) { return a.tick < b.tick; });
    if (song.length == 0) {
        error = "a song of 0 ticks";
        return false;
    }
    return true;
}

} // namespace

bool ReadSong(const std::uint8_t* bytes, std::size_t size, Song& song, std::string& error) {
    Song read;
    song = Song();
    if (!Read(bytes, size, read, error))
        return false;
    song = std::move(read);
    return true;
}

} // namespace plat::midi
