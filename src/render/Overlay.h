#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Surface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CDisplayDevice;

/// A 2D picture in its own off-screen surface, blitted with the source colour key over the 3D scene at
/// a screen position. Panels, controls, help pictures and the mouse pointer draw through overlays.
class COverlay {
public:
    /// An overlay at (0, 0) of size 0 without a surface.
    COverlay();
    /// An overlay holding the TGA picture asset `imageId`; without a surface when the asset is missing
    /// or unreadable.
    explicit COverlay(int imageId);
    /// An overlay of the given size with a fresh keyed surface.
    COverlay(int width, int height);
    /// Releases the surface.
    virtual ~COverlay();

    COverlay(const COverlay&) = delete;
    COverlay& operator=(const COverlay&) = delete;

    /// Stores the screen position.
    virtual void SetPosition(int x, int y);
    /// The surface, made on first use in the screen's format; null for an overlay of no size or when no
    /// display is up. Throws std::runtime_error when the display refuses the surface.
    virtual plat::gfx2d::Surface* GetSurface();
    virtual int GetX() const { return m_x; }
    virtual int GetY() const { return m_y; }
    /// Replaces the list's contents with the overlays that draw this one.
    virtual void GetOverlayList(std::vector<COverlay*>& out);
    /// Blits onto the device's back buffer.
    virtual void Draw(CDisplayDevice* device);
    /// Blits the picture, keyed, at its position onto the destination, clipped to it; false without a
    /// surface.
    virtual bool Blit(plat::gfx2d::Surface* destination);
    /// Copies the part of the picture that starts at (x, y), keyed, over the whole destination.
    virtual bool BlitTo(int x, int y, plat::gfx2d::Surface* destination);
    /// Copies the source (or its rectangle) into the picture at (x, y), keyed when asked, clipped to the
    /// picture; false when the source cannot be described or there is no surface.
    virtual bool BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                          const plat::gfx2d::Rect* sourceRect);
    /// Fills the rectangle of the picture with the colour 0x00BBGGRR; false when it lies wholly outside
    /// or there is no surface.
    virtual bool FillRect(std::uint32_t colour, const plat::gfx2d::Rect& rect);
    /// True where the picture shows its colour key or (x, y) is outside it; false where it is opaque,
    /// when it has no key or cannot be read.
    virtual bool IsTransparentAt(int x, int y);
    /// The picture's 16-bit pixel of a colour 0x00BBGGRR (red highest, blue lowest); 0 without a surface.
    virtual std::uint16_t ColourToPixel(std::uint32_t colour);
    virtual bool GetKeyedFlag() const { return m_keyed; }
    virtual void SetKeyedFlag(bool keyed) { m_keyed = keyed; }
    /// A new keyed surface of the given size from the engine's surface manager; null when it cannot be
    /// made.
    virtual std::unique_ptr<plat::gfx2d::Surface> CreateSurface(int width, int height);

    void Show() { m_visible = true; }
    void Hide() { m_visible = false; }
    bool IsVisible() const { return m_visible; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    /// The surface's description; false without a surface.
    bool GetSurfaceDesc(plat::gfx2d::SurfaceDescription& out);

    /// How many overlays of this class exist.
    static int LiveCount() { return s_liveCount; }

protected:
    /// Replaces the picture with the TGA image in `data`; no surface (and size 0) when the data holds no
    /// complete header or the surface cannot be made or filled.
    void LoadImage(const std::vector<std::uint8_t>& data);
    /// Copies the part of the picture that starts at (x, y) over the destination, as far as the picture
    /// reaches; false when none of it lies on the picture or there is no surface.
    bool CopyOut(int x, int y, plat::gfx2d::Surface* destination, unsigned flags);
    /// The owned surface as it is now, without making one.
    plat::gfx2d::Surface* OwnSurface() const { return m_surface.get(); }

    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_height = 0;

private:
    static inline int s_liveCount = 0;

    std::unique_ptr<plat::gfx2d::Surface> m_surface;
    bool m_visible = true;
    bool m_keyed = false;
};

/// The width and height of a TGA image (bytes 12-15); false when the data holds no complete header.
bool ReadTgaSize(const std::vector<std::uint8_t>& data, int& width, int& height);

} // namespace zentrix
