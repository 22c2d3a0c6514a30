#include "platform/window/SdlWindow.h"

#include "platform/gfx2d/SdlPresenter.h"
#include "platform/input/SdlInputSystem.h"
#include "platform/window/DisplayedSize.h"
#include "platform/window/KeyTranslation.h"
#include "platform/window/Video.h"

#include <algorithm>
#include <cstdio>

namespace plat::window {

SdlWindow::SdlWindow(const std::string& title, int gameWidth, int gameHeight, std::uint32_t flags)
    : m_gameWidth(gameWidth), m_gameHeight(gameHeight) {
    // The close button must reach the game as a request, never end the program behind its back.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (!StartVideo(m_openError))
        return;
    m_window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, gameWidth,
                                gameHeight, flags);
    if (!m_window) {
        m_openError = std::string("SDL cannot create the window: ") + SDL_GetError();
        StopVideo();
        return;
    }
    // The game draws its own pointer.
    SDL_ShowCursor(SDL_DISABLE);
    SDL_RaiseWindow(m_window);
    SDL_StartTextInput();
}

SdlWindow::~SdlWindow() {
    if (m_close)
        m_close();
    if (m_window) {
        SDL_StopTextInput();
        SDL_DestroyWindow(m_window);
        StopVideo();
    }
}

std::unique_ptr<SdlWindow> SdlWindow::OpenMain(const std::string& title, int gameWidth, int gameHeight,
                                               bool windowed) {
    std::unique_ptr<SdlWindow> full;
    if (!windowed) {
        // Switching away (Alt+Tab) gives the desktop back, as a game that owns the whole screen does;
        // coming back is the window's activation.
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
        full = std::make_unique<SdlWindow>(title, gameWidth, gameHeight, SDL_WINDOW_FULLSCREEN_DESKTOP);
        if (full->IsOpen()) {
            full->SettleFullScreen();
            return full;
        }
    }
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    auto window = std::make_unique<SdlWindow>(title, gameWidth, gameHeight, SDL_WINDOW_SHOWN);
    if (full && window->IsOpen())
        std::fprintf(stderr, "window: full screen cannot be had (%s); playing in a window\n",
                     full->OpenError().c_str());
    return window;
}

gfx2d::Size SdlWindow::SdlSize() const {
    gfx2d::Size size;
    SDL_GetWindowSize(m_window, &size.width, &size.height);
    return size;
}

void SdlWindow::SettleFullScreen() {
    // A window manager grants full screen in its own time (and its size then becomes SDL's); without one
    // nobody does, and the window keeps its size while SDL goes on as if it filled the desktop.
    constexpr Uint32 kAnswerWaitMs = 1000;
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        SDL_PumpEvents();
        const std::optional<gfx2d::Size> displayed = DisplayedSize(m_window);
        if (!displayed || *displayed == SdlSize())
            return;
        if (SDL_GetTicks() - start >= kAnswerWaitMs) {
            LeaveFullScreen(*displayed);
            return;
        }
        SDL_Delay(10);
    }
}

void SdlWindow::CheckFullScreenSize() {
    if (!m_window || (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) == 0)
        return;
    // The size a change left is compared once every change in flight has reached SDL.
    SDL_PumpEvents();
    const std::optional<gfx2d::Size> displayed = DisplayedSize(m_window);
    SDL_PumpEvents();
    if (displayed && *displayed != SdlSize())
        LeaveFullScreen(*displayed);
}

void SdlWindow::LeaveFullScreen(gfx2d::Size displayed) {
    std::fprintf(stderr,
                 "window: full screen was not granted (the window is %d x %d, not %d x %d); playing in a "
                 "window\n",
                 displayed.width, displayed.height, SdlSize().width, SdlSize().height);
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetWindowFullscreen(m_window, 0);
    SDL_SetWindowSize(m_window, displayed.width, displayed.height);
}

bool SdlWindow::IsWindowedRequested() {
    const char* value = SDL_getenv("ZENTRIX_WINDOWED");
    return value && *value && SDL_strcmp(value, "0") != 0;
}

void SdlWindow::SetViewport(const gfx2d::Rect& viewport) {
    m_viewport = viewport;
    m_haveViewport = !viewport.IsEmpty();
}

gfx2d::Point SdlWindow::ToGamePixels(int windowX, int windowY) const {
    gfx2d::Rect view = m_viewport;
    if (!m_haveViewport) {
        gfx2d::Size window{m_gameWidth, m_gameHeight};
        if (m_window)
            SDL_GetWindowSize(m_window, &window.width, &window.height);
        if (window.width <= 0 || window.height <= 0)
            window = {m_gameWidth, m_gameHeight};
        view = gfx2d::Rect::FromSize(window);
    }
    auto scale = [](int v, int origin, int size, int game) {
        long long scaled = static_cast<long long>(v - origin) * game / size;
        return static_cast<int>(std::clamp<long long>(scaled, 0, game - 1));
    };
    return {scale(windowX, view.left, view.Width(), m_gameWidth),
            scale(windowY, view.top, view.Height(), m_gameHeight)};
}

void SdlWindow::Translate(const SDL_Event& sdl, std::vector<Event>& out) {
    Event e;
    switch (sdl.type) {
    case SDL_MOUSEMOTION: {
        gfx2d::Point p = ToGamePixels(sdl.motion.x, sdl.motion.y);
        e.kind = EventKind::MouseMove;
        e.x = p.x;
        e.y = p.y;
        out.push_back(e);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (sdl.button.button != SDL_BUTTON_LEFT && sdl.button.button != SDL_BUTTON_RIGHT)
            break;
        gfx2d::Point p = ToGamePixels(sdl.button.x, sdl.button.y);
        e.kind = sdl.type == SDL_MOUSEBUTTONDOWN ? EventKind::ButtonDown : EventKind::ButtonUp;
        e.x = p.x;
        e.y = p.y;
        e.button = sdl.button.button == SDL_BUTTON_LEFT ? kButtonLeft : kButtonRight;
        out.push_back(e);
        break;
    }
    case SDL_MOUSEWHEEL: {
        if (sdl.wheel.y == 0)
            break;
        long long delta = static_cast<long long>(sdl.wheel.y) * 120;
        if (sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            delta = -delta;
        e.kind = EventKind::Wheel;
        e.wheelDelta = static_cast<std::int16_t>(std::clamp<long long>(delta, -32768, 32767));
        out.push_back(e);
        break;
    }
    case SDL_KEYDOWN:
        TranslateKeyDown(sdl.key.keysym.sym, sdl.key.keysym.scancode, sdl.key.keysym.mod, out);
        break;
    case SDL_TEXTINPUT:
        // Text typed with Alt held belongs to the system's menu keys, not to the game.
        if ((SDL_GetModState() & KMOD_ALT) == 0)
            TranslateText(sdl.text.text, out);
        break;
    case SDL_QUIT:
        e.kind = EventKind::Close;
        out.push_back(e);
        break;
    case SDL_WINDOWEVENT:
        if (sdl.window.event == SDL_WINDOWEVENT_CLOSE) {
            e.kind = EventKind::Close;
            out.push_back(e);
        } else if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            e.kind = EventKind::Activated;
            out.push_back(e);
        } else if (sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            m_sizeCheckDue = true;
        }
        break;
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_JOYDEVICEADDED:
    case SDL_JOYDEVICEREMOVED:
        if (m_joystick)
            m_joystick(sdl);
        break;
    default:
        break;
    }
}

void SdlWindow::Fill(bool all) {
    SDL_Event sdl;
    std::vector<Event> translated;
    while ((all || m_pending.empty()) && SDL_PollEvent(&sdl)) {
        translated.clear();
        Translate(sdl, translated);
        m_pending.insert(m_pending.end(), translated.begin(), translated.end());
    }
    if (m_sizeCheckDue) {
        m_sizeCheckDue = false;
        CheckFullScreenSize();
    }
}

bool SdlWindow::HasEvent() {
    Fill(false);
    return !m_pending.empty();
}

bool SdlWindow::NextEvent(Event& event) {
    Fill(false);
    if (m_pending.empty())
        return false;
    event = m_pending.front();
    m_pending.pop_front();
    return true;
}

void SdlWindow::PostQuit() {
    // Everything already waiting comes out first, as with a posted quit message.
    Fill(true);
    Event quit;
    quit.kind = EventKind::Quit;
    m_pending.push_back(quit);
}

gfx2d::Point SdlWindow::CursorPosition() const {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    return ToGamePixels(x, y);
}

bool SdlWindow::IsButtonDown(int button) const {
    std::uint32_t state = SDL_GetMouseState(nullptr, nullptr);
    if (button == kButtonLeft)
        return (state & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
    if (button == kButtonRight)
        return (state & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
    return false;
}

bool SdlWindow::IsMinimised() const {
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) != 0;
}

void SdlWindow::ShowMaximised() {
    if (m_window) {
        SDL_RestoreWindow(m_window);
        SDL_MaximizeWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
}

std::unique_ptr<gfx2d::Presenter> SdlWindow::CreatePresenter(gfx2d::Size pictureSize) {
    return gfx2d::SdlPresenter::Create(*this, pictureSize);
}

std::unique_ptr<input::InputSystem> SdlWindow::CreateInputSystem() {
    return input::SdlInputSystem::Open(m_window);
}

} // namespace plat::window
