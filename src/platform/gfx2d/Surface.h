#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/SurfaceView.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace plat::gfx2d {

/// What a surface operation reports.
enum class Result {
    Ok,
    /// A rectangle is empty, inverted or not wholly inside its surface.
    InvalidRect,
    /// A copy was asked for without a source surface.
    NoSource,
    /// Source and destination pixels have different formats.
    FormatMismatch,
    /// The surface (or the source) is locked.
    Busy,
    /// Unlock of a surface that is not locked.
    NotLocked,
    /// A value that the surface's pixels cannot hold.
    InvalidParams,
    /// The display refused to show a picture.
    PresentFailed,
};

/// Flags of Surface::Lock. Both are accepted; a memory surface is never busy drawing.
enum LockFlags : unsigned {
    kLockWait = 1u << 0,
    kLockNoWait = 1u << 1,
};

/// Flags of Surface::Blt.
enum BltFlags : unsigned {
    /// Skip source pixels equal to the source's colour key.
    kBltKeySource = 1u << 0,
    /// Write the fill value into the destination rectangle; no source is read.
    kBltColorFill = 1u << 1,
    /// Accepted for the callers' sake: a memory blit never has to wait.
    kBltWait = 1u << 2,
    kBltDoNotWait = 1u << 3,
};

/// The description of a surface: its size, its row pitch in bytes and its pixel format.
struct SurfaceDescription {
    Size size;
    int pitch = 0;
    PixelFormat format;
};

/// A picture in memory: pixels of one format, rows a pitch apart, locked for direct access and
/// copied with blits. Surfaces start zero-filled and are never lost.
class Surface {
public:
    /// Widths and heights above this are refused, so that no picture header can ask for a huge block.
    static constexpr int kMaxSide = 4096;

    /// A new zero-filled surface; null when the size is not 1..kMaxSide on each side or the format's
    /// bit count is not 8, 16, 24 or 32.
    static std::unique_ptr<Surface> Create(Size size, const PixelFormat& format);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    /// The size, pitch and pixel format.
    SurfaceDescription Describe() const { return {m_size, m_pitch, m_format}; }
    Size GetSize() const { return m_size; }
    const PixelFormat& Format() const { return m_format; }

    /// Gives the whole surface for direct access until Unlock; Busy when it is already locked.
    Result Lock(SurfaceView& out, unsigned flags = kLockWait);
    /// Ends direct access; NotLocked when the surface was not locked.
    Result Unlock();
    bool IsLocked() const { return m_locked; }

    /// A memory surface never loses its pixels.
    bool IsLost() const { return false; }
    /// Nothing to restore; always succeeds.
    Result Restore() { return Result::Ok; }

    /// Sets the source colour key that keyed blits from this surface skip; InvalidParams when the value
    /// does not fit the pixel.
    Result SetSourceColorKey(std::uint32_t key);
    /// Removes the source colour key.
    void ClearSourceColorKey() { m_colorKey.reset(); }
    /// The source colour key, or nothing when none is set.
    std::optional<std::uint32_t> SourceColorKey() const { return m_colorKey; }

    /// Copies source rectangle sourceRect of source onto destinationRect of this surface (either null
    /// means the whole surface), stretching by nearest neighbour when the sizes differ; with
    /// kBltKeySource the source's key pixels are skipped (a source without a key copies every pixel).
    /// With kBltColorFill the raw fillValue is written into the destination rectangle instead.
    /// Writes nothing and fails when a rectangle is empty, inverted or not inside its surface, the
    /// source is missing, the formats differ, or either surface is locked.
    Result Blt(const Rect* destinationRect, const Surface* source, const Rect* sourceRect, unsigned flags,
               std::uint32_t fillValue = 0);

    /// Writes the raw pixel value into r (null: the whole surface); the colour-fill blit.
    Result Fill(const Rect* r, std::uint32_t value) { return Blt(r, nullptr, nullptr, kBltColorFill, value); }

private:
    Surface(Size size, int pitch, const PixelFormat& format);

    SurfaceView View() const;

    Size m_size;
    int m_pitch;
    PixelFormat m_format;
    std::unique_ptr<std::uint8_t[]> m_pixels;
    std::optional<std::uint32_t> m_colorKey;
    bool m_locked = false;
};

} // namespace plat::gfx2d
