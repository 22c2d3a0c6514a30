#pragma once

#include <cstdint>

namespace zentrix {

/// Engine pixel formats: the hexadecimal digits give the bits of alpha (or X), red, green and blue.
enum TextureFormatCode : std::uint32_t {
    kFormat4444 = 0x4444, // A4 R4 G4 B4
    kFormat5550 = 0x5550, // X1 R5 G5 B5, magenta keyed
    kFormat5551 = 0x5551, // A1 R5 G5 B5
    kFormat5650 = 0x5650, // R5 G6 B5, magenta keyed
    kFormat8880 = 0x8880, // bytes B, G, R, magenta keyed
    kFormat8888 = 0x8888, // bytes B, G, R, A
};

/// Engine texture flags.
enum TextureFlags : std::uint32_t {
    kTexTranslucent = 0x4,
    kTexKeyed = 0x10, // the image holds colour-keyed pixels
    kTexAlphaLevel = 0x40,
    kTexMultiplicative = 0x80,
    kTexClamp = 0x100,
    kTexAdditive = 0x200,
    kTexRenderTarget = 0x800,
    kTexNeverCompress = 0x1000,
    kTexAlwaysCompress = 0x2000,
    kTexDynamic = 0x8000,
    kTexCubeMap = 0x100000,
};

/// One pixel's channels, 0-255 each.
struct TexelRgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const TexelRgba&, const TexelRgba&) = default;
};

/// Bytes per pixel of an engine format: 2, 3 or 4. Any other code ends the program.
int GetTextureBPP(std::uint32_t format);

/// Reads pixel (x, y) of an image `width` pixels wide, widening every channel to 8 bits; the keyed
/// colour of the formats without alpha reads as (255, 0, 255) with alpha 0. Any other format code ends
/// the program.
void GetTexturePixel(int x, int y, int width, const std::uint8_t* pixels, std::uint32_t format,
                     std::uint8_t& red, std::uint8_t& green, std::uint8_t& blue, std::uint8_t& alpha);

/// Writes pixel (x, y); alpha 0 writes the colour key in the formats without alpha. Any other format
/// code ends the program.
void SetTexturePixel(int x, int y, int width, std::uint8_t* pixels, std::uint32_t format, std::uint8_t red,
                     std::uint8_t green, std::uint8_t blue, std::uint8_t alpha);

} // namespace zentrix
