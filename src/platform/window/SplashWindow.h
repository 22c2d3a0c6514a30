#pragma once

#include <SDL.h>

#include <string>

namespace plat::window {

/// A small borderless window centred on the desktop, plainly filled, shown while the game starts.
class SplashWindow {
public:
    /// Opens a `width` x `height` window titled `title`; check IsOpen afterwards.
    SplashWindow(const std::string& title, int width, int height);
    ~SplashWindow();
    SplashWindow(const SplashWindow&) = delete;
    SplashWindow& operator=(const SplashWindow&) = delete;

    /// Whether the window exists.
    bool IsOpen() const { return m_window != nullptr; }
    /// Fills the window again and shows it.
    void Repaint();

private:
    SDL_Window* m_window = nullptr;
};

} // namespace plat::window
