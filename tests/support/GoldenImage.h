#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

/// An 8-bit RGB picture, row by row.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // 3 bytes per pixel

    /// Channel c (0 red, 1 green, 2 blue) of pixel (x, y).
    int At(int x, int y, int c) const { return rgb[static_cast<std::size_t>((y * width + x) * 3 + c)]; }
};

/// Writes a binary PPM (P6); false when the file cannot be written.
bool WritePpm(const std::string& path, const RgbImage& image);
/// Reads a binary PPM (P6, maxval 255); false on any malformed or short file.
bool ReadPpm(const std::string& path, RgbImage& image);

/// Widens a 16-bit 5-6-5 picture (pitch in bytes) to 8-bit RGB.
RgbImage FromRgb565(const std::uint16_t* pixels, int pitchBytes, int width, int height);

/// How far a channel may lie from its golden value: one 5-bit step, as a change of rounding moves a channel.
constexpr int kGoldenTolerance = 12;

/// Compares `actual` with tests/golden/<name>.ppm (or <name>.tga, run-length encoded, where the golden is
/// kept as a TGA file):
/// every channel within kGoldenTolerance. On a mismatch the actual picture and a difference picture go to
/// the build tree and the message lists the worst pixels. With ZENTRIX_UPDATE_GOLDENS=1 in the environment
/// the golden is (re)written instead.
::testing::AssertionResult MatchesGolden(const std::string& name, const RgbImage& actual);

} // namespace testsupport
