#include "platform/raster/Texture.h"

#include <algorithm>
#include <initializer_list>

namespace plat::raster {

namespace {
constexpr int kMaxSize = 4096;
}

bool IsTextureFormat(const gfx2d::PixelFormat& format) {
    const int bits = format.bitCount;
    if (bits != 16 && bits != 24 && bits != 32)
        return false;
    const std::uint64_t limit = (std::uint64_t{1} << bits) - 1;
    for (std::uint32_t m : {format.redMask, format.greenMask, format.blueMask, format.alphaMask})
        if (m > limit)
            return false;
    return format.redMask != 0 && format.greenMask != 0 && format.blueMask != 0;
}

Texture::Texture(int width, int height, gfx2d::PixelFormat format)
    : m_width(std::clamp(width, 1, kMaxSize)), m_height(std::clamp(height, 1, kMaxSize)),
      m_format(IsTextureFormat(format) ? format : gfx2d::kFormatArgb8888),
      m_pitch(m_width * m_format.BytesPerPixel()),
      m_stored(static_cast<std::size_t>(m_pitch) * static_cast<std::size_t>(m_height)),
      m_argb(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)),
      m_wrapped(static_cast<std::size_t>(m_width + 1) * static_cast<std::size_t>(m_height + 1)) {
    Unlock();
}

Texture::Lock Texture::LockPixels() {
    return {m_stored.data(), m_pitch};
}

void Texture::Unlock() {
    const int bpp = m_format.BytesPerPixel();
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* src =
            m_stored.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_pitch);
        std::uint32_t* dst = m_argb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width);
        for (int x = 0; x < m_width; ++x, src += bpp) {
            std::uint32_t p = 0;
            for (int i = 0; i < bpp; ++i)
                p |= std::uint32_t{src[i]} << (8 * i);
            dst[x] = m_format.ToArgb(p);
        }
    }
    const auto pitch = static_cast<std::size_t>(WrappedPitch());
    for (int y = 0; y <= m_height; ++y) {
        const std::uint32_t* src =
            m_argb.data() + static_cast<std::size_t>(y % m_height) * static_cast<std::size_t>(m_width);
        std::uint32_t* dst = m_wrapped.data() + static_cast<std::size_t>(y) * pitch;
        std::copy(src, src + m_width, dst);
        dst[m_width] = src[0];
    }
}

void Texture::SetArgb(const std::vector<std::uint32_t>& argb) {
    const int bpp = m_format.BytesPerPixel();
    const std::size_t n = std::min(argb.size(), m_argb.size());
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t p = m_format.FromArgb(argb[i]);
        std::size_t y = i / static_cast<std::size_t>(m_width), x = i % static_cast<std::size_t>(m_width);
        std::uint8_t* dst =
            m_stored.data() + y * static_cast<std::size_t>(m_pitch) + x * static_cast<std::size_t>(bpp);
        for (int b = 0; b < bpp; ++b)
            dst[b] = static_cast<std::uint8_t>(p >> (8 * b));
    }
    Unlock();
}

} // namespace plat::raster
