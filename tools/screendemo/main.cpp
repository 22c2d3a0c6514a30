// Draws a stretched background and a colour-keyed picture on the back buffer, flips the screen and writes
// the picture on show to a 24-bit TGA file. Run it with SDL_VIDEODRIVER=offscreen to do it headless.
//   screendemo OUTPUT.tga

#include "foundation/assets/Bitmap.h"
#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Screen.h"
#include "platform/gfx2d/SdlPresenter.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "platform/window/SdlWindow.h"
#include "render/SurfaceMan.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

using namespace zentrix;

namespace {

using plat::gfx2d::Rect;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

struct Rgb {
    std::uint8_t r, g, b;
};

/// A 24-bit TGA image, bottom row first, built from a colour function of (x, y) with y = 0 at the top.
template <class ColourAt> std::vector<std::uint8_t> MakeTga(int width, int height, ColourAt colourAt) {
    std::vector<std::uint8_t> tga(18, 0);
    tga[2] = 2;
    tga[12] = static_cast<std::uint8_t>(width);
    tga[13] = static_cast<std::uint8_t>(width >> 8);
    tga[14] = static_cast<std::uint8_t>(height);
    tga[15] = static_cast<std::uint8_t>(height >> 8);
    tga[16] = 24;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const Rgb c = colourAt(x, y);
            tga.insert(tga.end(), {c.b, c.g, c.r});
        }
    }
    return tga;
}

/// An 8 x 6 field of colours, one per block of the screen once stretched.
std::vector<std::uint8_t> BackgroundImage() {
    return MakeTga(8, 6, [](int x, int y) {
        return Rgb{static_cast<std::uint8_t>(x * 32), static_cast<std::uint8_t>(y * 48),
                   static_cast<std::uint8_t>((x + y) % 2 ? 200 : 40)};
    });
}

/// A 32 x 24 ring on magenta, the colour that keyed blits leave out.
std::vector<std::uint8_t> KeyedImage() {
    return MakeTga(32, 24, [](int x, int y) {
        const int dx = 2 * x - 31;
        const int dy = 2 * y - 23;
        const int d2 = dx * dx + dy * dy;
        if (d2 > 22 * 22 || d2 < 10 * 10)
            return Rgb{255, 0, 255};
        return Rgb{255, static_cast<std::uint8_t>(x * 8), 0};
    });
}

/// Writes a 5-6-5 picture as a run-length encoded 24-bit TGA, bottom row first.
bool WriteTga(const char* path, const plat::gfx2d::SurfaceView& picture) {
    const int width = picture.size.width;
    const int height = picture.size.height;
    std::vector<std::uint8_t> out(18, 0);
    out[2] = 10;
    out[12] = static_cast<std::uint8_t>(width);
    out[13] = static_cast<std::uint8_t>(width >> 8);
    out[14] = static_cast<std::uint8_t>(height);
    out[15] = static_cast<std::uint8_t>(height >> 8);
    out[16] = 24;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint16_t* row = picture.Row16(y);
        for (int x = 0; x < width;) {
            int run = 1;
            while (x + run < width && run < 128 && row[x + run] == row[x])
                ++run;
            const std::uint16_t p = row[x];
            const auto r = static_cast<std::uint8_t>(((p >> 11) & 31) * 255 / 31);
            const auto g = static_cast<std::uint8_t>(((p >> 5) & 63) * 255 / 63);
            const auto b = static_cast<std::uint8_t>((p & 31) * 255 / 31);
            out.insert(out.end(), {static_cast<std::uint8_t>(0x80 | (run - 1)), b, g, r});
            x += run;
        }
    }
    std::FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}

std::unique_ptr<CBitmap> LoadBitmap(CSurfaceMan& surfaces, std::vector<std::uint8_t> tga) {
    const int width = tga[12] | (tga[13] << 8);
    const int height = tga[14] | (tga[15] << 8);
    auto surface = surfaces.CreateDDSurface(width, height, nullptr, true, false);
    if (!surface || !surfaces.LoadTGAToSurface(std::move(tga), surface.get()))
        return nullptr;
    return std::make_unique<CBitmap>(std::move(surface));
}

int Run(const char* outputPath) {
    plat::window::SdlWindow window("screendemo", kScreenWidth, kScreenHeight);
    if (!window.IsOpen())
        return 1;
    auto screen =
        plat::gfx2d::Screen::Create({kScreenWidth, kScreenHeight},
                                    plat::gfx2d::SdlPresenter::Create(window, {kScreenWidth, kScreenHeight}));
    plat::gfx2d::MemorySurfaceFactory factory;
    CSurfaceMan surfaces(factory);
    auto background = LoadBitmap(surfaces, BackgroundImage());
    auto ring = LoadBitmap(surfaces, KeyedImage());
    if (!screen || !background || !ring) {
        std::fprintf(stderr, "screendemo: cannot set up the screen or the pictures\n");
        return 1;
    }
    plat::gfx2d::Surface& back = screen->BackBuffer();
    const Rect whole = Rect::FromSize(screen->GetSize());
    const Rect small = Rect::At({100, 100}, {32, 24});
    const Rect large = Rect::At({300, 200}, {128, 96});
    const bool drawn =
        back.Blt(&whole, background->GetSurface(), nullptr, 0) == plat::gfx2d::Result::Ok &&
        back.Blt(&small, ring->GetSurface(), nullptr, plat::gfx2d::kBltKeySource) ==
            plat::gfx2d::Result::Ok &&
        back.Blt(&large, ring->GetSurface(), nullptr, plat::gfx2d::kBltKeySource) == plat::gfx2d::Result::Ok;
    int status = 1;
    plat::gfx2d::SurfaceView shown;
    if (drawn && screen->Flip() == plat::gfx2d::Result::Ok &&
        screen->Primary().Lock(shown) == plat::gfx2d::Result::Ok) {
        status = WriteTga(outputPath, shown) ? 0 : 1;
        screen->Primary().Unlock();
    }
    if (status != 0)
        std::fprintf(stderr, "screendemo: drawing or writing %s failed\n", outputPath);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: screendemo OUTPUT.tga\n");
        return 2;
    }
    const int status = Run(argv[1]);
    SDL_Quit();
    return status;
}
