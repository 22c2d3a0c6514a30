#include "platform/gfx2d/Blitter.h"

#include <cstring>
#include <vector>

namespace plat::gfx2d {
namespace {

/// One pixel of N bytes read and written as an unsigned value, low byte first.
template <int N> struct PixelIo {
    static std::uint32_t Read(const std::uint8_t* p) {
        std::uint32_t v = 0;
        for (int i = 0; i < N; ++i)
            v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
        return v;
    }
    static void Write(std::uint8_t* p, std::uint32_t v) {
        for (int i = 0; i < N; ++i)
            p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
};

template <> struct PixelIo<2> {
    static std::uint32_t Read(const std::uint8_t* p) {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    static void Write(std::uint8_t* p, std::uint32_t v) {
        const auto w = static_cast<std::uint16_t>(v);
        std::memcpy(p, &w, 2);
    }
};

template <> struct PixelIo<4> {
    static std::uint32_t Read(const std::uint8_t* p) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    static void Write(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }
};

template <int N> void Fill(const SurfaceView& dst, const Rect& r, std::uint32_t value) {
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = dst.RowBytes(y) + r.left * N;
        for (int x = r.left; x < r.right; ++x, p += N)
            PixelIo<N>::Write(p, value);
    }
}

template <int N>
void Copy(const SurfaceView& dst, const Rect& dr, const SurfaceView& src, const Rect& sr,
          std::optional<std::uint32_t> key) {
    const int width = dr.Width();
    const int height = dr.Height();
    const bool stretched = width != sr.Width() || height != sr.Height();
    if (!stretched) {
        for (int y = 0; y < height; ++y) {
            std::uint8_t* d = dst.RowBytes(dr.top + y) + dr.left * N;
            const std::uint8_t* s = src.RowBytes(sr.top + y) + sr.left * N;
            if (!key) {
                std::memcpy(d, s, static_cast<std::size_t>(width) * N);
                continue;
            }
            for (int x = 0; x < width; ++x, d += N, s += N) {
                const std::uint32_t v = PixelIo<N>::Read(s);
                if (v != *key)
                    PixelIo<N>::Write(d, v);
            }
        }
        return;
    }
    // The source columns of a stretch are the same for every row, so they are worked out once.
    std::vector<int> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = (sr.left + StretchSourceIndex(x, sr.Width(), width)) * N;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* srow = src.RowBytes(sr.top + StretchSourceIndex(y, sr.Height(), height));
        std::uint8_t* d = dst.RowBytes(dr.top + y) + dr.left * N;
        for (int x = 0; x < width; ++x, d += N) {
            const std::uint32_t v = PixelIo<N>::Read(srow + columns[static_cast<std::size_t>(x)]);
            if (!key || v != *key)
                PixelIo<N>::Write(d, v);
        }
    }
}

} // namespace

void FillPixels(const SurfaceView& destination, const Rect& r, std::uint32_t value) {
    switch (destination.format.BytesPerPixel()) {
    case 1:
        return Fill<1>(destination, r, value);
    case 2:
        return Fill<2>(destination, r, value);
    case 3:
        return Fill<3>(destination, r, value);
    case 4:
        return Fill<4>(destination, r, value);
    default:
        return;
    }
}

void CopyPixels(const SurfaceView& destination, const Rect& destinationRect, const SurfaceView& source,
                const Rect& sourceRect, std::optional<std::uint32_t> key) {
    switch (destination.format.BytesPerPixel()) {
    case 1:
        return Copy<1>(destination, destinationRect, source, sourceRect, key);
    case 2:
        return Copy<2>(destination, destinationRect, source, sourceRect, key);
    case 3:
        return Copy<3>(destination, destinationRect, source, sourceRect, key);
    case 4:
        return Copy<4>(destination, destinationRect, source, sourceRect, key);
    default:
        return;
    }
}

} // namespace plat::gfx2d
