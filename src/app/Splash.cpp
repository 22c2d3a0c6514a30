#include "app/Splash.h"

#include "platform/window/SplashWindow.h"

namespace zentrix {

CSplash::CSplash(std::unique_ptr<plat::window::SplashWindow> window) : m_window(std::move(window)) {}

CSplash::CSplash() = default;

CSplash::~CSplash() = default;

void CSplash::Repaint() {
    if (m_window)
        m_window->Repaint();
}

} // namespace zentrix
