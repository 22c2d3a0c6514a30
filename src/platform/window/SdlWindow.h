#pragma once

#include "platform/window/Window.h"

#include <SDL.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plat::window {

/// The game's window over SDL2: turns SDL's events into the window events the game handles, in game
/// pixels of a fixed-size picture however large the window is.
class SdlWindow final : public Window {
public:
    /// Creates the window titled `title` for a picture of `gameWidth` x `gameHeight` pixels; `flags` are
    /// SDL window flags (full screen on the desktop by default). Check IsOpen afterwards.
    SdlWindow(const std::string& title, int gameWidth, int gameHeight,
              std::uint32_t flags = SDL_WINDOW_FULLSCREEN_DESKTOP);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    /// The game's main window: full screen on the desktop, the picture scaled to fill it; a window of the
    /// picture's size when `windowed` or when full screen cannot be had or is not granted (no window
    /// manager). Check IsOpen, and OpenError for why not.
    static std::unique_ptr<SdlWindow> OpenMain(const std::string& title, int gameWidth, int gameHeight,
                                               bool windowed);
    /// Whether the environment asks for a window instead of full screen (ZENTRIX_WINDOWED set to
    /// anything but "" or "0"; for development).
    static bool IsWindowedRequested();

    /// Whether the window exists.
    bool IsOpen() const { return m_window != nullptr; }
    /// Why the window could not be opened (empty while it is open).
    const std::string& OpenError() const { return m_openError; }
    /// The SDL window, for the code that presents pictures in it.
    SDL_Window* Handle() const { return m_window; }
    /// Sets the rectangle of the window (in window coordinates) that shows the game picture; until it is
    /// set, and while it is empty, the picture fills the whole window.
    void SetViewport(const gfx2d::Rect& viewport);
    /// Receives the joystick events that pass through the window's queue.
    void SetJoystickHandler(std::function<void(const SDL_Event&)> handler) {
        m_joystick = std::move(handler);
    }
    /// Runs just before the SDL window goes, so that what draws into it (a renderer) can let go first;
    /// an empty function removes it.
    void SetCloseHandler(std::function<void()> handler) { m_close = std::move(handler); }

    bool HasEvent() override;
    bool NextEvent(Event& event) override;
    void PostQuit() override;
    gfx2d::Point CursorPosition() const override;
    bool IsButtonDown(int button) const override;
    bool IsMinimised() const override;
    void ShowMaximised() override;
    /// An SdlPresenter drawing in this window.
    std::unique_ptr<gfx2d::Presenter> CreatePresenter(gfx2d::Size pictureSize) override;
    /// An SdlInputSystem whose foreground devices follow this window's focus.
    std::unique_ptr<input::InputSystem> CreateInputSystem() override;

    /// Turns a point in window coordinates into game pixels, kept inside the picture.
    gfx2d::Point ToGamePixels(int windowX, int windowY) const;
    /// The window events one SDL event stands for (none, one or two), appended to `out`.
    void Translate(const SDL_Event& sdl, std::vector<Event>& out);

private:
    /// Moves SDL's waiting events into our queue until it holds one, or all of them when `all` is set.
    void Fill(bool all);
    /// SDL's own idea of the window's size.
    gfx2d::Size SdlSize() const;
    /// Waits a little for the answer to the full-screen request; a window the display leaves at another
    /// size than SDL took for it is made a window of the size it has (LeaveFullScreen).
    void SettleFullScreen();
    /// After a change of size: a full-screen window the display shows at another size than SDL's is left
    /// as a window of the size it has.
    void CheckFullScreenSize();
    /// Leaves full screen for a window of the size the display gives it, so that SDL, the picture and the
    /// mouse all work with that size, and says so.
    void LeaveFullScreen(gfx2d::Size displayed);

    SDL_Window* m_window = nullptr;
    std::string m_openError;
    int m_gameWidth;
    int m_gameHeight;
    bool m_haveViewport = false;
    gfx2d::Rect m_viewport;
    std::deque<Event> m_pending;
    bool m_sizeCheckDue = false;
    std::function<void(const SDL_Event&)> m_joystick;
    std::function<void()> m_close;
};

} // namespace plat::window
