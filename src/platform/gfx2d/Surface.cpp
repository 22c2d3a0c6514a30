#include "platform/gfx2d/Surface.h"

#include "platform/gfx2d/Blitter.h"

#include <cstring>

namespace plat::gfx2d {
namespace {

/// Rows start on 8-byte boundaries, so code that assumes the pitch is width x bytes per pixel shows up.
constexpr int kPitchAlignment = 8;

/// The largest raw value a pixel of the format holds.
std::uint32_t PixelValueLimit(const PixelFormat& format) {
    return format.BytesPerPixel() >= 4 ? 0xFFFFFFFFu : (1u << (8 * format.BytesPerPixel())) - 1u;
}

} // namespace

std::unique_ptr<Surface> Surface::Create(Size size, const PixelFormat& format) {
    if (size.width < 1 || size.height < 1 || size.width > kMaxSide || size.height > kMaxSide)
        return nullptr;
    const int bytes = format.BytesPerPixel();
    if (bytes == 0)
        return nullptr;
    const int pitch = (size.width * bytes + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
    return std::unique_ptr<Surface>(new Surface(size, pitch, format));
}

Surface::Surface(Size size, int pitch, const PixelFormat& format)
    : m_size(size), m_pitch(pitch), m_format(format),
      m_pixels(new std::uint8_t[static_cast<std::size_t>(pitch) * static_cast<std::size_t>(size.height)]()) {}

SurfaceView Surface::View() const {
    return {m_pixels.get(), m_pitch, m_size, m_format};
}

Result Surface::Lock(SurfaceView& out, unsigned /*flags*/) {
    if (m_locked)
        return Result::Busy;
    m_locked = true;
    out = View();
    return Result::Ok;
}

Result Surface::Unlock() {
    if (!m_locked)
        return Result::NotLocked;
    m_locked = false;
    return Result::Ok;
}

Result Surface::SetSourceColorKey(std::uint32_t key) {
    if (key > PixelValueLimit(m_format))
        return Result::InvalidParams;
    m_colorKey = key;
    return Result::Ok;
}

Result Surface::Blt(const Rect* destinationRect, const Surface* source, const Rect* sourceRect,
                    unsigned flags, std::uint32_t fillValue) {
    const Rect dr = destinationRect ? *destinationRect : Rect::FromSize(m_size);
    if (!Rect::FromSize(m_size).Contains(dr))
        return Result::InvalidRect;
    if (flags & kBltColorFill) {
        if (m_locked)
            return Result::Busy;
        if (fillValue > PixelValueLimit(m_format))
            return Result::InvalidParams;
        FillPixels(View(), dr, fillValue);
        return Result::Ok;
    }
    if (!source)
        return Result::NoSource;
    const Rect sr = sourceRect ? *sourceRect : Rect::FromSize(source->m_size);
    if (!Rect::FromSize(source->m_size).Contains(sr))
        return Result::InvalidRect;
    if (!(source->m_format == m_format))
        return Result::FormatMismatch;
    if (m_locked || source->m_locked)
        return Result::Busy;
    const std::optional<std::uint32_t> key = (flags & kBltKeySource) ? source->m_colorKey : std::nullopt;
    if (source != this) {
        CopyPixels(View(), dr, source->View(), sr, key);
        return Result::Ok;
    }
    // A copy within one surface may overlap itself: take the source rectangle aside first.
    const int bytes = m_format.BytesPerPixel();
    const int rowBytes = sr.Width() * bytes;
    std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[static_cast<std::size_t>(rowBytes) * sr.Height()]);
    const SurfaceView from = View();
    for (int y = 0; y < sr.Height(); ++y)
        std::memcpy(copy.get() + static_cast<std::size_t>(y) * rowBytes,
                    from.RowBytes(sr.top + y) + sr.left * bytes, static_cast<std::size_t>(rowBytes));
    const SurfaceView aside{copy.get(), rowBytes, {sr.Width(), sr.Height()}, m_format};
    CopyPixels(View(), dr, aside, Rect::FromSize(aside.size), key);
    return Result::Ok;
}

} // namespace plat::gfx2d
