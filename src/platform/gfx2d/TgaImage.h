#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat::gfx2d {

/// A true-colour TGA image as the game's pictures and textures are stored: the header fields that
/// matter, then (once decoded) the pixels as the file holds them (16-bit values little-endian, or B, G, R
/// and A bytes) with the rows turned top first and no padding between them. The header's image-ID
/// field is skipped; a colour map is not read.
struct TgaImage {
    /// Bytes of the header.
    static constexpr std::size_t kHeaderSize = 18;
    /// Image types read: raw and run-length encoded true colour.
    static constexpr int kTypeRaw = 2;
    static constexpr int kTypeRunLength = 10;

    enum class Result {
        Ok,
        NoHeader,    ///< fewer bytes than a header
        TooLarge,    ///< wider or taller than allowed
        Unsupported, ///< an image type or a depth that is not read (the header is still valid)
        Truncated,   ///< the data ends before the image does
    };

    int idLength = 0;
    int imageType = 0;
    int width = 0;
    int height = 0;
    int depth = 0; ///< bits per pixel
    std::uint8_t descriptor = 0;
    std::vector<std::uint8_t> pixels;

    /// Reads the header alone; false when `size` bytes cannot hold one.
    bool ReadHeader(const std::uint8_t* data, std::size_t size);
    /// Bytes a pixel takes: 2 for depths 15 and 16, 3 for 24, 4 for 32, else 0.
    int BytesPerPixel() const;
    /// True when the file stores the top row first (descriptor bit 5), else the bottom row comes first.
    bool IsTopRowFirst() const { return (descriptor & 0x20) != 0; }
    /// Reads the header and the pixels of `size` bytes of TGA data; a side above `maxSide` is refused
    /// before anything is allocated. The checks run in this order: header, size, image-ID field, type
    /// and depth, pixels. A run-length packet never writes past the image.
    Result Decode(const std::uint8_t* data, std::size_t size, int maxSide);
};

} // namespace plat::gfx2d
