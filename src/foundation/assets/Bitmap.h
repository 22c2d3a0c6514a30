#pragma once

#include "platform/gfx2d/Surface.h"
#include "platform/gfx2d/SurfaceView.h"

#include <cstdint>
#include <memory>

namespace zentrix {

/// A 2D picture: one off-screen surface with its size and lock state.
class CBitmap {
public:
    /// Takes the surface (null makes an empty 0 x 0 bitmap that cannot be locked).
    explicit CBitmap(std::unique_ptr<plat::gfx2d::Surface> surface);
    /// Unlocks the surface when locked and releases it.
    virtual ~CBitmap();

    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    /// The surface, restored first when it reports that it was lost (its picture is not reloaded).
    plat::gfx2d::Surface* GetSurface();

    /// Locks the whole surface (unlocking it first when locked) and gives its first pixel, size and
    /// pitch; false when it cannot be locked.
    bool Lock(plat::gfx2d::SurfaceView& out, unsigned flags = plat::gfx2d::kLockWait);
    /// Unlocks the surface when locked.
    void Unlock();
    bool IsLocked() const { return m_locked; }

    /// The surface's pixel value of a colour 0x00BBGGRR.
    std::uint32_t ColorToPixel(std::uint32_t colour) const;

    /// How many bitmaps exist.
    static int LiveCount() { return s_liveCount; }

private:
    static inline int s_liveCount = 0;

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<plat::gfx2d::Surface> m_surface;
    bool m_locked = false;
};

} // namespace zentrix
