// The blits the game runs every frame: the background stretched over the screen, panel pieces and
// pictures copied with the colour key, and the flip.

#include "platform/gfx2d/Presenter.h"
#include "platform/gfx2d/Screen.h"
#include "platform/gfx2d/Surface.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace plat::gfx2d;

std::unique_ptr<Surface> Patterned(Size size) {
    auto surface = Surface::Create(size, kFormat565);
    SurfaceView view;
    surface->Lock(view);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            view.Row16(y)[x] = static_cast<std::uint16_t>(((x / 8 + y / 8) % 3 == 0) ? 0xF81F : x * 31 + y);
    surface->Unlock();
    surface->SetSourceColorKey(0xF81F);
    return surface;
}

void StretchedBackground(benchmark::State& state) {
    auto source = Patterned({320, 240});
    auto back = Surface::Create({640, 480}, kFormat565);
    for (auto _ : state)
        benchmark::DoNotOptimize(back->Blt(nullptr, source.get(), nullptr, 0));
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(StretchedBackground);

void KeyedPanel(benchmark::State& state) {
    auto source = Patterned({256, 192});
    auto back = Surface::Create({640, 480}, kFormat565);
    const Rect to = Rect::At({100, 100}, {256, 192});
    for (auto _ : state)
        benchmark::DoNotOptimize(back->Blt(&to, source.get(), nullptr, kBltKeySource));
    state.SetItemsProcessed(state.iterations() * 256 * 192);
}
BENCHMARK(KeyedPanel);

void PlainCopy(benchmark::State& state) {
    auto source = Patterned({640, 480});
    auto back = Surface::Create({640, 480}, kFormat565);
    for (auto _ : state)
        benchmark::DoNotOptimize(back->Blt(nullptr, source.get(), nullptr, 0));
    state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(PlainCopy);

void Flip(benchmark::State& state) {
    auto screen = Screen::Create({640, 480}, std::make_unique<HeadlessPresenter>());
    for (auto _ : state)
        benchmark::DoNotOptimize(screen->Flip());
}
BENCHMARK(Flip);

} // namespace
