#pragma once

// Raw video files made in memory and written into a temporary folder.

#include "support/TempFolder.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace videotest {

using Bytes = std::vector<std::uint8_t>;

inline void Put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

/// Pixel `j` of frame `i` of the test videos: the two tell apart every pixel of every frame.
inline std::uint16_t PixelOf(int frame, int j) {
    return static_cast<std::uint16_t>(0x8000 | frame << 8 | j);
}

/// A raw video with the given header fields; `frames` frames of width x height are written (whatever
/// the header says), followed by `extra` bytes.
inline Bytes Video(std::uint32_t count, std::int32_t width, std::int32_t height, int frames,
                   std::int32_t bits = 16, const char* magic = "VORN_VIDEO 1", std::size_t extra = 0) {
    Bytes out(20, 0);
    std::memcpy(out.data(), magic, std::strlen(magic));
    Put32(out, count);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put32(out, static_cast<std::uint32_t>(bits));
    for (int f = 0; f < frames; ++f)
        for (int j = 0; j < width * height; ++j) {
            const std::uint16_t p = PixelOf(f, j);
            out.push_back(static_cast<std::uint8_t>(p));
            out.push_back(static_cast<std::uint8_t>(p >> 8));
        }
    out.resize(out.size() + extra, 0);
    return out;
}

struct VideoFiles {
    testsupport::TempFolder folder;
    /// Writes `bytes` as a file and gives its name in the game's form.
    std::string Write(const Bytes& bytes, const std::string& name = "video.mvd") {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return folder.Game(name);
    }
};

} // namespace videotest
