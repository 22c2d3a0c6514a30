#include "platform/window/SplashWindow.h"

#include "platform/window/Video.h"

#include <cstdio>

namespace plat::window {

SplashWindow::SplashWindow(const std::string& title, int width, int height) {
    // Without a display there is no splash; the game's window then says why it cannot open.
    std::string why;
    if (!StartVideo(why))
        return;
    m_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                SDL_WINDOW_BORDERLESS | SDL_WINDOW_SHOWN);
    if (!m_window) {
        std::fprintf(stderr, "splash: cannot create the window: %s\n", SDL_GetError());
        StopVideo();
        return;
    }
    Repaint();
}

SplashWindow::~SplashWindow() {
    if (m_window) {
        SDL_DestroyWindow(m_window);
        StopVideo();
    }
}

void SplashWindow::Repaint() {
    if (!m_window)
        return;
    // Let the desktop see that the program is alive; the events stay queued for the game's window.
    SDL_PumpEvents();
    // A plain fill needs no accelerated framebuffer, and a software one loads no graphics driver.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (!surface)
        return;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 24, 40, 72));
    SDL_UpdateWindowSurface(m_window);
}

} // namespace plat::window
