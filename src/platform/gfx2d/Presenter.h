#pragma once

#include "platform/gfx2d/SurfaceView.h"

namespace plat::gfx2d {

/// Shows a finished picture to the player.
class Presenter {
public:
    virtual ~Presenter() = default;

    /// Shows the picture; false when the display refused it.
    virtual bool Present(const SurfaceView& picture) = 0;
};

/// The presenter of runs without a display: it shows nothing and counts the pictures it was given.
class HeadlessPresenter final : public Presenter {
public:
    bool Present(const SurfaceView& picture) override;

    /// How many pictures were presented.
    int PresentCount() const { return m_count; }

private:
    int m_count = 0;
};

} // namespace plat::gfx2d
