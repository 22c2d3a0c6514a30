#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

/// A colour of a test picture.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// A picture with its rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};

/// An uncompressed 24-bit TGA of the picture, stored bottom row first with an empty ID field.
std::vector<std::uint8_t> MakeTga24(const Image& image);

/// The same picture run-length encoded (type 10), each run within one row: small for flat pictures.
std::vector<std::uint8_t> MakeTga24Rle(const Image& image);

/// A TGA header alone, for a picture of any depth.
std::vector<std::uint8_t> MakeTgaHeader(int width, int height, int depth);

/// Reads an uncompressed or run-length encoded 24-bit TGA file; false when it is not one or is cut short.
bool ReadTga24(const std::string& path, Image& out);

} // namespace testsupport
