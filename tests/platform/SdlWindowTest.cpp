#include "platform/window/SdlWindow.h"
#include "platform/gfx2d/SdlPresenter.h"
#include "platform/window/DisplayedSize.h"
#include "platform/window/Video.h"

#include "support/XvfbDisplay.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using plat::window::Event;
using plat::window::EventKind;
using plat::window::SdlWindow;

class SdlWindowTest : public testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<SdlWindow>("test", 640, 480, 0);
        ASSERT_TRUE(window->IsOpen());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        Event e;
        while (window->NextEvent(e)) {
        }
        // The picture fills a window twice the game's size.
        window->SetViewport({0, 0, 1280, 960});
    }

    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
    static void PushKey(SDL_Keycode key, SDL_Scancode scancode) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scancode;
        Push(e);
    }
    static void PushText(const char* text) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::strncpy(e.text.text, text, sizeof e.text.text - 1);
        Push(e);
    }
    static void PushMouse(Uint32 type, int x, int y, Uint8 button = 0) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.x = x;
            e.button.y = y;
            e.button.button = button;
        }
        Push(e);
    }
    static void PushWindowEvent(Uint8 what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        Push(e);
    }
    static void PushWheel(int y, Uint32 direction) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = direction;
        Push(e);
    }

    std::vector<Event> Drain() {
        std::vector<Event> events;
        Event e;
        while (window->NextEvent(e))
            events.push_back(e);
        return events;
    }

    std::unique_ptr<SdlWindow> window;
};

TEST_F(SdlWindowTest, EventsComeOutInOrderWithCharactersAfterTheirKeys) {
    PushKey(SDLK_a, SDL_SCANCODE_A);
    PushText("a");
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN);
    PushMouse(SDL_MOUSEMOTION, 101, 51);
    PushMouse(SDL_MOUSEBUTTONUP, 2000, -30, SDL_BUTTON_RIGHT);
    PushMouse(SDL_MOUSEBUTTONDOWN, 10, 10, SDL_BUTTON_MIDDLE);
    PushWheel(1, SDL_MOUSEWHEEL_NORMAL);
    PushWheel(-2, SDL_MOUSEWHEEL_FLIPPED);
    PushWheel(1000, SDL_MOUSEWHEEL_NORMAL);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    ASSERT_TRUE(window->HasEvent());

    std::vector<Event> events = Drain();
    std::vector<EventKind> kinds;
    for (const Event& e : events)
        kinds.push_back(e.kind);
    ASSERT_EQ(kinds, (std::vector<EventKind>{EventKind::Key, EventKind::Char, EventKind::Key, EventKind::Char,
                                             EventKind::MouseMove, EventKind::ButtonUp, EventKind::Wheel,
                                             EventKind::Wheel, EventKind::Wheel, EventKind::Activated,
                                             EventKind::Close}));
    EXPECT_EQ(events[0].key, 0x41);
    EXPECT_EQ(events[1].character, 'a');
    EXPECT_EQ(events[2].key, 0x0D);
    EXPECT_EQ(events[3].character, 13);
    EXPECT_EQ(events[4].x, 50);
    EXPECT_EQ(events[4].y, 25);
    EXPECT_EQ(events[5].x, 639) << "kept inside the picture";
    EXPECT_EQ(events[5].y, 0);
    EXPECT_EQ(events[5].button, plat::window::kButtonRight);
    EXPECT_EQ(events[6].wheelDelta, 120);
    EXPECT_EQ(events[7].wheelDelta, 240);
    EXPECT_EQ(events[8].wheelDelta, 32767);
    EXPECT_FALSE(window->HasEvent());
}

TEST_F(SdlWindowTest, APostedQuitFollowsTheEventsAlreadyWaiting) {
    PushKey(SDLK_x, SDL_SCANCODE_X);
    window->PostQuit();
    PushKey(SDLK_y, SDL_SCANCODE_Y);
    std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].key, 0x58);
    EXPECT_EQ(events[1].kind, EventKind::Quit);
    EXPECT_EQ(events[2].key, 0x59);
}

TEST_F(SdlWindowTest, SdlsQuitIsACloseRequest) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    std::vector<Event> events = Drain();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Close);
    EXPECT_TRUE(window->IsOpen()) << "the window stays until the game destroys it";
}

TEST_F(SdlWindowTest, PointsMapIntoThePictureWhereverItLies) {
    window->SetViewport({100, 20, 420, 260});
    const struct {
        int wx, wy, gx, gy;
    } cases[] = {
        {100, 20, 0, 0}, {419, 259, 638, 478}, {420, 260, 639, 479}, {0, 0, 0, 0}, {260, 140, 320, 240},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wx << "," << c.wy);
        EXPECT_EQ(window->ToGamePixels(c.wx, c.wy), (plat::gfx2d::Point{c.gx, c.gy}));
    }
}

TEST(SdlMainWindow, FullScreenUnlessAWindowIsAskedFor) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    for (bool windowed : {false, true}) {
        SCOPED_TRACE(windowed);
        auto window = SdlWindow::OpenMain("test", 640, 480, windowed);
        ASSERT_TRUE(window->IsOpen()) << window->OpenError();
        const bool full = (SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                          SDL_WINDOW_FULLSCREEN_DESKTOP;
        EXPECT_EQ(full, !windowed);
        int width = 0, height = 0;
        SDL_GetWindowSize(window->Handle(), &width, &height);
        if (windowed)
            EXPECT_EQ(std::make_pair(width, height), std::make_pair(640, 480));
        // Switching away gives a full screen back to the desktop.
        EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, SDL_FALSE) == !windowed);
    }
    const struct {
        const char* value;
        bool windowed;
    } values[] = {{nullptr, false}, {"", false}, {"0", false}, {"1", true}, {"yes", true}};
    for (const auto& v : values) {
        v.value ? setenv("ZENTRIX_WINDOWED", v.value, 1) : unsetenv("ZENTRIX_WINDOWED");
        EXPECT_EQ(SdlWindow::IsWindowedRequested(), v.windowed) << (v.value ? v.value : "unset");
    }
    unsetenv("ZENTRIX_WINDOWED");
}

TEST(SdlMainWindow, AFullScreenNobodyGrantsIsAWindowDrawnAtItsRealSize) {
    // A real X display without a window manager: SDL takes the desktop's size for the full-screen
    // window, but nobody makes the window that large.
    testsupport::XvfbDisplay display;
    if (!display.IsRunning())
        GTEST_SKIP() << "no Xvfb";
    const std::string keptDriver = std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "";
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("DISPLAY", display.Name().c_str(), 1);
    {
        testing::internal::CaptureStderr();
        auto window = SdlWindow::OpenMain("test", 640, 480, false);
        const std::string told = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(window->IsOpen()) << window->OpenError();
        EXPECT_NE(told.find("full screen was not granted (the window is 640 x 480, not 1024 x 768)"),
                  std::string::npos)
            << told;
        EXPECT_EQ(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_FULLSCREEN, 0u);
        int width = 0, height = 0;
        SDL_GetWindowSize(window->Handle(), &width, &height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(640, 480));
        EXPECT_EQ(plat::window::DisplayedSize(window->Handle()), (plat::gfx2d::Size{640, 480}));

        // The picture fills the window it has, and the mouse meets it where it is drawn.
        auto presenter = plat::gfx2d::SdlPresenter::Create(*window, {640, 480});
        ASSERT_NE(presenter, nullptr);
        std::vector<std::uint16_t> pixels(640 * 480);
        const plat::gfx2d::SurfaceView picture{
            reinterpret_cast<std::uint8_t*>(pixels.data()), 640 * 2, {640, 480}, plat::gfx2d::kFormat565};
        ASSERT_TRUE(presenter->Present(picture));
        EXPECT_EQ(presenter->PictureArea(), (plat::gfx2d::Rect{0, 0, 640, 480}));
        EXPECT_EQ(window->ToGamePixels(320, 240), (plat::gfx2d::Point{320, 240}));
        EXPECT_EQ(window->ToGamePixels(639, 479), (plat::gfx2d::Point{639, 479}));
    }
    setenv("SDL_VIDEODRIVER", keptDriver.c_str(), 1);
}

TEST(SdlMainWindow, DriversThatShowNothingAreTakenOnlyWhenAskedFor) {
    const struct {
        const char* driver;
        const char* requested;
        bool usable;
    } cases[] = {
        {"x11", nullptr, true},
        {"wayland", "x11", true},
        {"offscreen", nullptr, false},
        {"dummy", "x11", false},
        {"offscreen", "offscreen", true},
        {"dummy", "x11,dummy", true},
        {"offscreen", "offscreenx", false},
        {"", nullptr, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::window::IsUsableVideoDriver(c.driver, c.requested), c.usable)
            << c.driver << " / " << (c.requested ? c.requested : "unset");
}

} // namespace
