#include "platform/gfx2d/Screen.h"
#include "platform/gfx2d/SdlPresenter.h"
#include "platform/input/InputSystem.h"
#include "platform/window/ScriptedWindow.h"
#include "platform/window/SdlWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using namespace plat::gfx2d;

/// A presenter that keeps a copy of every picture it is shown, or refuses them.
class RecordingPresenter final : public Presenter {
public:
    explicit RecordingPresenter(bool accept = true) : m_accept(accept) {}
    bool Present(const SurfaceView& picture) override {
        std::vector<std::uint16_t> copy;
        for (int y = 0; y < picture.size.height; ++y)
            copy.insert(copy.end(), picture.Row16(y), picture.Row16(y) + picture.size.width);
        shown.push_back(std::move(copy));
        return m_accept;
    }
    std::vector<std::vector<std::uint16_t>> shown;

private:
    bool m_accept;
};

std::vector<std::uint16_t> Pixels(Surface& surface) {
    SurfaceView view;
    EXPECT_EQ(surface.Lock(view), Result::Ok);
    std::vector<std::uint16_t> out;
    for (int y = 0; y < view.size.height; ++y)
        out.insert(out.end(), view.Row16(y), view.Row16(y) + view.size.width);
    surface.Unlock();
    return out;
}

void DrawPattern(Surface& surface, std::uint16_t seed) {
    SurfaceView view;
    ASSERT_EQ(surface.Lock(view), Result::Ok);
    for (int y = 0; y < view.size.height; ++y)
        for (int x = 0; x < view.size.width; ++x)
            view.Row16(y)[x] = static_cast<std::uint16_t>(seed + 37 * y + x);
    surface.Unlock();
}

TEST(Gfx2dScreen, FlipShowsTheBackBufferAndKeepsIt) {
    auto presenter = std::make_unique<RecordingPresenter>();
    RecordingPresenter* seen = presenter.get();
    auto screen = Screen::Create({7, 5}, std::move(presenter));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->BackBuffer().Format(), kFormat565);
    EXPECT_EQ(screen->Primary().Format(), kFormat565);

    DrawPattern(screen->BackBuffer(), 11);
    const std::vector<std::uint16_t> drawn = Pixels(screen->BackBuffer());
    ASSERT_EQ(screen->Flip(), Result::Ok);
    ASSERT_EQ(seen->shown.size(), 1u);
    EXPECT_EQ(seen->shown[0], drawn);
    EXPECT_EQ(Pixels(screen->Primary()), drawn);
    EXPECT_EQ(Pixels(screen->BackBuffer()), drawn);

    // The next picture replaces the shown one only at the next flip.
    DrawPattern(screen->BackBuffer(), 500);
    EXPECT_EQ(Pixels(screen->Primary()), drawn);
    ASSERT_EQ(screen->Flip(), Result::Ok);
    EXPECT_EQ(seen->shown[1], Pixels(screen->BackBuffer()));
    EXPECT_NE(seen->shown[1], drawn);
}

TEST(Gfx2dScreen, FlipRefusesLockedSurfaces) {
    auto presenter = std::make_unique<HeadlessPresenter>();
    HeadlessPresenter* headless = presenter.get();
    auto screen = Screen::Create({4, 4}, std::move(presenter));
    DrawPattern(screen->BackBuffer(), 3);
    SurfaceView view;
    ASSERT_EQ(screen->BackBuffer().Lock(view), Result::Ok);
    EXPECT_EQ(screen->Flip(), Result::Busy);
    screen->BackBuffer().Unlock();
    ASSERT_EQ(screen->Primary().Lock(view), Result::Ok);
    EXPECT_EQ(screen->Flip(), Result::Busy);
    screen->Primary().Unlock();
    EXPECT_EQ(headless->PresentCount(), 0);
    for (std::uint16_t p : Pixels(screen->Primary()))
        EXPECT_EQ(p, 0);
    EXPECT_EQ(screen->Flip(), Result::Ok);
    EXPECT_EQ(headless->PresentCount(), 1);
}

TEST(Gfx2dScreen, ARefusedPictureIsReported) {
    auto screen = Screen::Create({4, 4}, std::make_unique<RecordingPresenter>(false));
    EXPECT_EQ(screen->Flip(), Result::PresentFailed);
}

TEST(Gfx2dScreen, CreationNeedsASizeAndAPresenter) {
    EXPECT_EQ(Screen::Create({640, 480}, nullptr), nullptr);
    EXPECT_EQ(Screen::Create({0, 480}, std::make_unique<HeadlessPresenter>()), nullptr);
}

TEST(Gfx2dScreen, LetterboxKeepsThePictureShape) {
    struct Case {
        Size target;
        Rect area;
    };
    const Case cases[] = {
        {{640, 480}, {0, 0, 640, 480}},   {{1920, 1080}, {240, 0, 1680, 1080}},
        {{800, 800}, {0, 100, 800, 700}}, {{1280, 960}, {0, 0, 1280, 960}},
        {{641, 480}, {0, 0, 640, 480}},   {{0, 480}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target.width << " x " << c.target.height);
        EXPECT_EQ(Letterbox({640, 480}, c.target), c.area);
    }
}

TEST(Gfx2dScreen, ThePictureFillsTheScreenWithWholePixelsFirst) {
    struct Case {
        Size target;
        Rect area;
        int wholeScale;
        bool sharp; // the whole scale fills the area: nothing is smoothed
    };
    const Case cases[] = {
        {{640, 480}, {0, 0, 640, 480}, 1, true},        {{1280, 1024}, {0, 32, 1280, 992}, 2, true},
        {{2560, 1440}, {320, 0, 2240, 1440}, 3, true},  {{1920, 1080}, {240, 0, 1680, 1080}, 2, false},
        {{3840, 2160}, {480, 0, 3360, 2160}, 4, false}, {{1366, 768}, {171, 0, 1195, 768}, 1, false},
        {{320, 200}, {27, 0, 293, 200}, 1, false},      {{0, 0}, {}, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.target.width << " x " << c.target.height);
        const PictureFit fit = FitPicture({640, 480}, c.target);
        EXPECT_EQ(fit.area, c.area);
        EXPECT_EQ(fit.wholeScale, c.wholeScale);
        EXPECT_EQ(fit.IsSharp({640, 480}), c.sharp);
    }
}

TEST(Gfx2dScreen, APictureThatComesEarlyIsHeldBackToTheRefresh) {
    const struct {
        std::uint64_t since, interval, delay;
    } cases[] = {
        {1000, 16666, 15666}, {0, 6944, 6944}, {14000, 16666, 2666}, {15000, 16666, 0}, {40000, 16666, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(PaceDelayUs(c.since, c.interval), c.delay) << c.since << " of " << c.interval;
}

/// The game window under SDL's offscreen driver unless another driver is chosen.
std::unique_ptr<plat::window::SdlWindow> OpenWindow() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    return std::make_unique<plat::window::SdlWindow>("test", 640, 480);
}

TEST(Gfx2dScreen, SdlPresenterShowsPicturesWhereTheMouseMapsToThem) {
    auto window = OpenWindow();
    ASSERT_TRUE(window->IsOpen()) << SDL_GetError();
    {
        // The window makes the presenter suited to it.
        std::unique_ptr<Presenter> presenter = plat::window::CreatePresenterFor(window.get(), {640, 480});
        auto* sdl = dynamic_cast<SdlPresenter*>(presenter.get());
        ASSERT_NE(sdl, nullptr);
        EXPECT_NE(plat::window::CreateInputSystemFor(window.get()), nullptr);

        auto wrong = Surface::Create({320, 240}, kFormat565);
        SurfaceView view;
        ASSERT_EQ(wrong->Lock(view), Result::Ok);
        EXPECT_FALSE(presenter->Present(view));
        wrong->Unlock();

        auto screen = Screen::Create({640, 480}, std::move(presenter));
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->BackBuffer().Fill(nullptr, 0xF800), Result::Ok);
        EXPECT_EQ(screen->Flip(), Result::Ok);

        Size size;
        SDL_GetWindowSize(window->Handle(), &size.width, &size.height);
        const Rect area = sdl->PictureArea();
        EXPECT_EQ(area, Letterbox({640, 480}, size));
        EXPECT_EQ(window->ToGamePixels(area.left, area.top), (plat::gfx2d::Point{0, 0}));
        EXPECT_EQ(window->ToGamePixels(area.right - 1, area.bottom - 1), (plat::gfx2d::Point{639, 479}));
    }
    window.reset();
    SDL_Quit();
}

TEST(Gfx2dScreen, PicturesComeNoFasterThanTheDisplayAndFillTheWindowBetweenBars) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    auto window = plat::window::SdlWindow::OpenMain("test", 640, 480, true);
    ASSERT_TRUE(window->IsOpen()) << window->OpenError();
    SDL_SetWindowSize(window->Handle(), 1000, 600);
    {
        auto screen = Screen::Create({640, 480}, SdlPresenter::Create(*window, {640, 480}));
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->BackBuffer().Fill(nullptr, 0xF800), Result::Ok);
        // Paced at the display's refresh (60 a second when it reports none): 20 pictures take a third
        // of a second, where an unpaced software renderer shows them in a few milliseconds.
        const std::uint64_t start = SDL_GetTicks64();
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(screen->Flip(), Result::Ok);
        EXPECT_GE(SDL_GetTicks64() - start, 250u);

        // Bars left and right, the picture between them, and the mouse mapped into the picture.
        SDL_Surface* shown = SDL_GetWindowSurface(window->Handle());
        ASSERT_NE(shown, nullptr);
        auto pixel = [&](int x, int y) {
            Uint8 r = 0, g = 0, b = 0;
            const auto* row = static_cast<const std::uint8_t*>(shown->pixels) + y * shown->pitch;
            SDL_GetRGB(*reinterpret_cast<const Uint32*>(row + x * shown->format->BytesPerPixel),
                       shown->format, &r, &g, &b);
            return (r << 16) | (g << 8) | b;
        };
        ASSERT_EQ(shown->w, 1000);
        ASSERT_EQ(shown->format->BytesPerPixel, 4);
        EXPECT_EQ(pixel(50, 300), 0x000000);
        EXPECT_EQ(pixel(500, 300), 0xFF0000);
        EXPECT_EQ(pixel(950, 300), 0x000000);
        EXPECT_EQ(window->ToGamePixels(100, 0), (plat::gfx2d::Point{0, 0}));
        EXPECT_EQ(window->ToGamePixels(500, 300), (plat::gfx2d::Point{320, 240}));
        EXPECT_EQ(window->ToGamePixels(899, 599), (plat::gfx2d::Point{639, 479}));
    }
    window.reset();
    SDL_Quit();
}

TEST(Gfx2dScreen, WithoutAWindowOnTheDisplayPicturesAreShownNowhere) {
    plat::window::ScriptedWindow scripted;
    for (plat::window::Window* window :
         {static_cast<plat::window::Window*>(&scripted), static_cast<plat::window::Window*>(nullptr)}) {
        const std::unique_ptr<Presenter> presenter = plat::window::CreatePresenterFor(window, {640, 480});
        EXPECT_NE(dynamic_cast<HeadlessPresenter*>(presenter.get()), nullptr);
    }
}

TEST(Gfx2dScreen, SdlPresenterOutlivesItsWindow) {
    // The game deletes its window before its display: the screen then shows nothing and ends cleanly.
    auto window = OpenWindow();
    ASSERT_TRUE(window->IsOpen()) << SDL_GetError();
    auto screen = Screen::Create({640, 480}, SdlPresenter::Create(*window, {640, 480}));
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->Flip(), Result::Ok);
    window.reset();
    EXPECT_NE(screen->Flip(), Result::Ok);
    screen.reset();
    SDL_Quit();
}

} // namespace
