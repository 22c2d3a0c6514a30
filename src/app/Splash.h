#pragma once

#include <memory>

namespace plat::window {
class SplashWindow;
}

namespace zentrix {

/// The splash window shown while the managers start; closing it is deleting it.
class CSplash {
public:
    /// Width and height of the splash window.
    static constexpr int kWidth = 525;
    static constexpr int kHeight = 321;

    /// A splash with nothing to show.
    CSplash();
    /// A splash over `window` (null: nothing to show).
    explicit CSplash(std::unique_ptr<plat::window::SplashWindow> window);
    virtual ~CSplash();
    CSplash(const CSplash&) = delete;
    CSplash& operator=(const CSplash&) = delete;

    /// Paints the splash again between two start-up steps.
    virtual void Repaint();

private:
    std::unique_ptr<plat::window::SplashWindow> m_window;
};

} // namespace zentrix
