#include "app/Splash.h"

#include "platform/window/SplashWindow.h"

CSplash::CSplash(std::unique_ptr<plat::window::SplashWindow> window) : m_pWindow(std::move(window)) {}

CSplash::CSplash() = default;

CSplash::~CSplash() = default;

void CSplash::Repaint() {
    if (m_pWindow)
        m_pWindow->Repaint();
}
