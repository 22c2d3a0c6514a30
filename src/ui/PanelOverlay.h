#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Surface.h"

#include <vector>

/// The picture of a panel as the panels and their controls use it: pieces that slide with the panel,
/// a surface to draw into and read from, and the colour key that tells the panel from what lies behind.
/// Coordinates given to it are panel-picture coordinates. The engine manager makes and owns it.
class IPanelOverlay {
public:
    virtual ~IPanelOverlay() = default;

    /// Places every piece at (x, y), the panel's screen position.
    virtual void SetPosition(int x, int y) = 0;
    /// Moves every piece by its offset at fraction f between hidden (0) and shown (1).
    virtual void SetSlideFraction(float f) = 0;
    /// Makes the picture drawn (or not) by the engine.
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool IsVisible() const = 0;
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    /// The screen rectangles where the pieces are drawn now.
    virtual void GetPieceRects(std::vector<plat::gfx2d::Rect>& out) const = 0;
    /// True where the picture shows its colour key or (x, y) lies on no piece.
    virtual bool IsTransparentAt(int x, int y) = 0;
    /// Copies the source (or its rectangle) into the picture at (x, y), keyed when asked.
    virtual bool BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                          const plat::gfx2d::Rect* sourceRect) = 0;
    /// Copies the part of the picture that starts at (x, y) over the whole destination.
    virtual bool BlitTo(int x, int y, plat::gfx2d::Surface* destination) = 0;
};
