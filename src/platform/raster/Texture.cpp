#include "platform/raster/Texture.h"

#include <algorithm>

namespace plat::raster {

namespace {
constexpr int kMaxSize = 4096;
}

Texture::Texture(int width, int height, PixelFormat format)
    : width_(std::clamp(width, 1, kMaxSize)), height_(std::clamp(height, 1, kMaxSize)),
      format_(format.IsValid() ? format : kArgb8888), pitch_(width_ * format_.BytesPerPixel()),
      stored_(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height_)),
      argb_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)),
      wrapped_(static_cast<std::size_t>(width_ + 1) * static_cast<std::size_t>(height_ + 1)) {
    Unlock();
}

Texture::Lock Texture::LockPixels() {
    return {stored_.data(), pitch_};
}

void Texture::Unlock() {
    const int bpp = format_.BytesPerPixel();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src =
            stored_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch_);
        std::uint32_t* dst = argb_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        for (int x = 0; x < width_; ++x, src += bpp) {
            std::uint32_t p = 0;
            for (int i = 0; i < bpp; ++i)
                p |= std::uint32_t{src[i]} << (8 * i);
            dst[x] = format_.ToArgb(p);
        }
    }
    const auto pitch = static_cast<std::size_t>(WrappedPitch());
    for (int y = 0; y <= height_; ++y) {
        const std::uint32_t* src =
            argb_.data() + static_cast<std::size_t>(y % height_) * static_cast<std::size_t>(width_);
        std::uint32_t* dst = wrapped_.data() + static_cast<std::size_t>(y) * pitch;
        std::copy(src, src + width_, dst);
        dst[width_] = src[0];
    }
}

void Texture::SetArgb(const std::vector<std::uint32_t>& argb) {
    const int bpp = format_.BytesPerPixel();
    const std::size_t n = std::min(argb.size(), argb_.size());
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t p = format_.FromArgb(argb[i]);
        std::size_t y = i / static_cast<std::size_t>(width_), x = i % static_cast<std::size_t>(width_);
        std::uint8_t* dst =
            stored_.data() + y * static_cast<std::size_t>(pitch_) + x * static_cast<std::size_t>(bpp);
        for (int b = 0; b < bpp; ++b)
            dst[b] = static_cast<std::uint8_t>(p >> (8 * b));
    }
    Unlock();
}

} // namespace plat::raster
