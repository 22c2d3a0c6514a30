#pragma once

namespace plat::gfx2d {
class Surface;
struct Rect;
} // namespace plat::gfx2d

namespace zentrix {

/// How the editor's panel prints the view: whether a printer can be had, and a picture of a rectangle of
/// a surface sent to it in landscape. The print manager fills it; without one nothing can be printed.
class IConstructPrinter {
public:
    virtual ~IConstructPrinter() = default;

    virtual bool IsPrintingAvailable() = 0;
    /// Queues the picture; false when it is refused.
    virtual bool PrintLandscape(const plat::gfx2d::Surface* surface, const plat::gfx2d::Rect& rect) = 0;
};

} // namespace zentrix
