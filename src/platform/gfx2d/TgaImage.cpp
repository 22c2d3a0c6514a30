#include "platform/gfx2d/TgaImage.h"

#include <algorithm>
#include <cstring>

namespace plat::gfx2d {

namespace {

// Expands run-length packets from data[pos] into `out` (already sized for the whole image); false when
// the data ends before the image is full.
bool ExpandRunLength(const std::uint8_t* data, std::size_t size, std::size_t pos, int bytes,
                     std::vector<std::uint8_t>& out) {
    const auto pixelBytes = static_cast<std::size_t>(bytes);
    std::size_t written = 0;
    while (written < out.size()) {
        if (pos >= size)
            return false;
        const std::uint8_t packet = data[pos++];
        std::size_t count = (packet & 0x7Fu) + 1u;
        count = std::min(count, (out.size() - written) / pixelBytes);
        if (packet & 0x80) {
            if (size - pos < pixelBytes)
                return false;
            for (std::size_t i = 0; i < count; ++i, written += pixelBytes)
                std::memcpy(out.data() + written, data + pos, pixelBytes);
            pos += pixelBytes;
        } else {
            const std::size_t n = count * pixelBytes;
            if (size - pos < n)
                return false;
            std::memcpy(out.data() + written, data + pos, n);
            written += n;
            pos += n;
        }
    }
    return true;
}

} // namespace

bool TgaImage::ReadHeader(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kHeaderSize)
        return false;
    idLength = data[0];
    imageType = data[2];
    width = data[12] | (data[13] << 8);
    height = data[14] | (data[15] << 8);
    depth = data[16];
    descriptor = data[17];
    return true;
}

int TgaImage::BytesPerPixel() const {
    switch (depth) {
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

TgaImage::Result TgaImage::Decode(const std::uint8_t* data, std::size_t size, int maxSide) {
    pixels.clear();
    if (!ReadHeader(data, size))
        return Result::NoHeader;
    if (width > maxSide || height > maxSide)
        return Result::TooLarge;
    const std::size_t start = kHeaderSize + static_cast<std::size_t>(idLength);
    if (start > size)
        return Result::Truncated;
    const int bytes = BytesPerPixel();
    if ((imageType != kTypeRaw && imageType != kTypeRunLength) || bytes == 0)
        return Result::Unsupported;

    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytes);
    std::vector<std::uint8_t> image(rowBytes * static_cast<std::size_t>(height));
    if (imageType == kTypeRunLength) {
        if (!ExpandRunLength(data, size, start, bytes, image))
            return Result::Truncated;
    } else {
        if (size - start < image.size())
            return Result::Truncated;
        if (!image.empty())
            std::memcpy(image.data(), data + start, image.size());
    }
    if (!IsTopRowFirst()) {
        const auto row = static_cast<std::ptrdiff_t>(rowBytes);
        for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(image.begin() + row * top, image.begin() + row * (top + 1),
                             image.begin() + row * bottom);
    }
    pixels = std::move(image);
    return Result::Ok;
}

} // namespace plat::gfx2d
