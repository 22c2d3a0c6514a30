// The one TGA decoder that the engine's textures and the 2D pictures share.

#include "platform/gfx2d/TgaImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using plat::gfx2d::TgaImage;
using Bytes = std::vector<std::uint8_t>;
using Result = TgaImage::Result;

// A TGA file: header, an image-ID field of `id` bytes (0xEE), then `body`.
Bytes File(int type, int width, int height, int depth, int descriptor, int id, const Bytes& body) {
    Bytes b(TgaImage::kHeaderSize, 0);
    b[0] = static_cast<std::uint8_t>(id);
    b[2] = static_cast<std::uint8_t>(type);
    b[12] = static_cast<std::uint8_t>(width), b[13] = static_cast<std::uint8_t>(width >> 8);
    b[14] = static_cast<std::uint8_t>(height), b[15] = static_cast<std::uint8_t>(height >> 8);
    b[16] = static_cast<std::uint8_t>(depth);
    b[17] = static_cast<std::uint8_t>(descriptor);
    b.insert(b.end(), static_cast<std::size_t>(id), 0xEE);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// The file without its last `n` bytes.
Bytes Cut(Bytes b, std::size_t n) {
    b.resize(b.size() - n);
    return b;
}

TEST(TgaImage, DecodesEveryStorageToTheSameTopFirstRows) {
    // A 2 x 2 picture of 16-bit pixels: top row 1, 2; bottom row 3, 4 (low bytes; high bytes 0x80).
    const Bytes topFirst = {1, 0x80, 2, 0x80, 3, 0x80, 4, 0x80};
    struct Case {
        const char* what;
        Bytes file;
    };
    const Case cases[] = {
        {"raw, bottom row first", File(2, 2, 2, 16, 0, 0, {3, 0x80, 4, 0x80, 1, 0x80, 2, 0x80})},
        {"raw, top row first", File(2, 2, 2, 16, 0x20, 0, topFirst)},
        {"raw, after a 5-byte image ID", File(2, 2, 2, 15, 0x20, 5, topFirst)},
        {"run-length: a literal pair, then runs",
         File(10, 2, 2, 16, 0x20, 1, {0x01, 1, 0x80, 2, 0x80, 0x00, 3, 0x80, 0x80, 4, 0x80})},
        {"run-length, a run longer than the image",
         File(10, 2, 1, 16, 0x20, 0, {0x80, 1, 0x80, 0xFF, 2, 0x80})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TgaImage image;
        ASSERT_EQ(image.Decode(c.file.data(), c.file.size(), 4096), Result::Ok);
        EXPECT_EQ(image.BytesPerPixel(), 2);
        const Bytes expected = image.height == 2 ? topFirst : Bytes{1, 0x80, 2, 0x80};
        EXPECT_EQ(image.pixels, expected);
    }
}

TEST(TgaImage, RefusesWhatItCannotReadInOrder) {
    struct Case {
        const char* what;
        Bytes file;
        int maxSide;
        Result result;
    };
    const Case cases[] = {
        {"no data", {}, 64, Result::NoHeader},
        {"a header cut short", Bytes(17, 0), 64, Result::NoHeader},
        {"wider than allowed", File(2, 65, 1, 24, 0, 0, {}), 64, Result::TooLarge},
        {"taller than allowed, and no pixels", File(2, 1, 65, 24, 0, 0, {}), 64, Result::TooLarge},
        {"an image ID past the end", Cut(File(2, 1, 1, 24, 0, 9, {}), 1), 64, Result::Truncated},
        {"a colour-mapped image", File(1, 1, 1, 24, 0, 0, {1, 2, 3}), 64, Result::Unsupported},
        {"grey levels", File(3, 1, 1, 8, 0, 0, {1}), 64, Result::Unsupported},
        {"an 8-bit true-colour depth", File(2, 1, 1, 8, 0, 0, {1}), 64, Result::Unsupported},
        {"raw pixels cut short", File(2, 2, 1, 24, 0, 0, {1, 2, 3, 4, 5}), 64, Result::Truncated},
        {"a run packet without its pixel", File(10, 2, 1, 32, 0, 0, {0x81, 1, 2, 3}), 64, Result::Truncated},
        {"packets ending early", File(10, 2, 1, 24, 0, 0, {0x80, 1, 2, 3}), 64, Result::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TgaImage image;
        EXPECT_EQ(image.Decode(c.file.data(), c.file.size(), c.maxSide), c.result);
        EXPECT_TRUE(image.pixels.empty());
    }
    // Every prefix of a whole run-length image is refused, without reading past it.
    const Bytes whole = File(10, 3, 2, 24, 0, 2, {0x82, 1, 2, 3, 0x02, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    for (std::size_t n = 0; n < whole.size(); ++n) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        TgaImage image;
        EXPECT_EQ(image.Decode(cut.data(), cut.size(), 64),
                  n < TgaImage::kHeaderSize ? Result::NoHeader : Result::Truncated)
            << n;
    }
    TgaImage image;
    ASSERT_EQ(image.Decode(whole.data(), whole.size(), 64), Result::Ok);
    EXPECT_EQ(image.pixels, (Bytes{4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
}

} // namespace
