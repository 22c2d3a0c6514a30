#pragma once

#include <memory>
#include <string>

namespace plat::window {
class Window;
struct Event;
} // namespace plat::window

namespace zentrix {

/// The game's one window and its window procedure: turns pointer, button, key and close events into
/// application messages and calls of the panel manager.
class CWin {
public:
    /// Title of the game's window.
    static constexpr const char* kTitle = "KAVO Zentrix";

    /// Owns `window`; null when it could not be created (the handle is then null, and `openError` says
    /// why).
    explicit CWin(std::unique_ptr<plat::window::Window> window, std::string openError = {});
    /// The game's window on the player's display for a picture of `width` x `height`: full screen, or a
    /// window when full screen cannot be had or the environment asks for one.
    static std::unique_ptr<CWin> OpenMain(int width, int height);
    virtual ~CWin();
    CWin(const CWin&) = delete;
    CWin& operator=(const CWin&) = delete;

    /// The window, or null when there is none.
    plat::window::Window* GetHwnd() const { return m_window.get(); }
    /// Why there is no window (empty while there is one).
    const std::string& GetOpenError() const { return m_openError; }
    /// The last pointer position, clamped to the limits of the video mode (-1 before the first move).
    int GetMouseX() const { return m_mouseX; }
    /// See GetMouseX.
    int GetMouseY() const { return m_mouseY; }
    /// Largest pointer x in 640 x 480 (and 1024 x 768).
    static int GetMaxMouseX() { return 620; }
    /// Largest pointer y in 640 x 480 (and 1024 x 768).
    static int GetMaxMouseY() { return 460; }
    /// Largest pointer x in 800 x 600.
    static int GetMaxMouseX800() { return 770; }
    /// Largest pointer y in 800 x 600.
    static int GetMaxMouseY800() { return 570; }

    /// The window procedure: handles one event of the window. It acts only while the application runs.
    void WindowProc(const plat::window::Event& event);

private:
    std::unique_ptr<plat::window::Window> m_window;
    std::string m_openError;
    int m_mouseX = -1;
    int m_mouseY = -1;
};

} // namespace zentrix
