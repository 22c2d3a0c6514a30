#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Presenter.h"
#include "platform/gfx2d/Surface.h"

#include <memory>

namespace plat::gfx2d {

/// The display's pair of surfaces: the game draws the next picture on the back buffer and Flip shows it.
/// The primary surface holds the picture last shown, so it can be read back (and cleared) like any
/// other surface. Both are 16-bit 5-6-5.
class Screen {
public:
    /// A screen of the given size showing its pictures through the presenter; null when the size is
    /// not a valid surface size or no presenter is given.
    static std::unique_ptr<Screen> Create(Size size, std::unique_ptr<Presenter> presenter);

    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    Size GetSize() const { return m_primary->GetSize(); }

    /// The surface holding the picture on show.
    Surface& Primary() { return *m_primary; }
    /// The surface the next picture is drawn on.
    Surface& BackBuffer() { return *m_back; }

    /// Shows the back buffer's picture: it becomes the primary surface's and goes to the presenter;
    /// the back buffer keeps its picture. Busy when either surface is locked; PresentFailed when the
    /// presenter refused the picture.
    Result Flip();

private:
    Screen(std::unique_ptr<Surface> primary, std::unique_ptr<Surface> back,
           std::unique_ptr<Presenter> presenter);

    std::unique_ptr<Surface> m_primary;
    std::unique_ptr<Surface> m_back;
    std::unique_ptr<Presenter> m_presenter;
};

} // namespace plat::gfx2d
