#include "platform/gfx2d/SdlPresenter.h"

#include "platform/window/SdlWindow.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace plat::gfx2d {

Rect Letterbox(Size picture, Size target) {
    if (picture.width < 1 || picture.height < 1 || target.width < 1 || target.height < 1)
        return {};
    // Compared by cross-multiplication: the side that limits the scale is filled exactly.
    long long width = target.width;
    long long height = target.height;
    if (static_cast<long long>(target.width) * picture.height <=
        static_cast<long long>(target.height) * picture.width)
        height = static_cast<long long>(target.width) * picture.height / picture.width;
    else
        width = static_cast<long long>(target.height) * picture.width / picture.height;
    const int left = static_cast<int>((target.width - width) / 2);
    const int top = static_cast<int>((target.height - height) / 2);
    return Rect::At({left, top}, {static_cast<int>(width), static_cast<int>(height)});
}

std::uint64_t PaceDelayUs(std::uint64_t sinceLastUs, std::uint64_t intervalUs) {
    // A present that waited for the display itself comes a whole interval after the last, give or take
    // the clock's jitter; sleeping off that jitter could miss the display's next refresh.
    constexpr std::uint64_t kToleranceUs = 2000;
    return sinceLastUs + kToleranceUs < intervalUs ? intervalUs - sinceLastUs : 0;
}

PictureFit FitPicture(Size picture, Size target) {
    PictureFit fit;
    fit.area = Letterbox(picture, target);
    if (fit.area.IsEmpty())
        return fit;
    fit.wholeScale = std::max(1, std::min(target.width / picture.width, target.height / picture.height));
    return fit;
}

std::unique_ptr<SdlPresenter> SdlPresenter::Create(plat::window::SdlWindow& window, Size pictureSize) {
    if (!window.IsOpen() || pictureSize.width < 1 || pictureSize.height < 1)
        return nullptr;
    // In step with the display where the renderer can be; SDL paces a renderer that cannot (and a
    // hidden or minimised window) at the display's refresh rate itself.
    RendererPtr renderer(SDL_CreateRenderer(window.Handle(), -1, SDL_RENDERER_PRESENTVSYNC));
    if (!renderer)
        renderer.reset(SDL_CreateRenderer(window.Handle(), -1, 0));
    if (!renderer) {
        std::fprintf(stderr, "gfx2d: cannot create a renderer: %s\n", SDL_GetError());
        return nullptr;
    }
    TexturePtr texture(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                         pictureSize.width, pictureSize.height));
    if (!texture) {
        std::fprintf(stderr, "gfx2d: cannot create the screen texture: %s\n", SDL_GetError());
        return nullptr;
    }
    return std::unique_ptr<SdlPresenter>(
        new SdlPresenter(window, std::move(renderer), std::move(texture), pictureSize));
}

namespace {

std::uint64_t MicrosecondsSince(std::uint64_t counter) {
    const std::uint64_t ticks = SDL_GetPerformanceCounter() - counter;
    const std::uint64_t frequency = std::max<std::uint64_t>(1, SDL_GetPerformanceFrequency());
    return ticks / frequency * 1000000u + ticks % frequency * 1000000u / frequency;
}

} // namespace

void SdlPresenter::RendererDeleter::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}

void SdlPresenter::TextureDeleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

SdlPresenter::SdlPresenter(plat::window::SdlWindow& window, RendererPtr renderer, TexturePtr texture,
                           Size size)
    : m_window(&window), m_renderer(std::move(renderer)), m_texture(std::move(texture)), m_size(size) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(m_renderer.get(), &info) == 0)
        m_canEnlarge = (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(m_window->Handle());
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0)
        m_refreshUs = 1000000u / static_cast<std::uint64_t>(mode.refresh_rate);
    // The window may close first (the game deletes its window before its display): the renderer and
    // its textures go with it, and later pictures are not shown.
    m_window->SetCloseHandler([this] { Detach(); });
}

SdlPresenter::~SdlPresenter() {
    if (m_window)
        m_window->SetCloseHandler({});
}

void SdlPresenter::Detach() {
    m_enlarged.reset();
    m_texture.reset();
    m_renderer.reset();
    m_window = nullptr;
}

Rect SdlPresenter::PictureArea() const {
    if (!m_window)
        return {};
    Size window;
    SDL_GetWindowSize(m_window->Handle(), &window.width, &window.height);
    return Letterbox(m_size, window);
}

SDL_Texture* SdlPresenter::Enlarged(int scale) {
    if (!m_canEnlarge)
        return nullptr;
    if (m_enlarged && m_enlargedScale == scale)
        return m_enlarged.get();
    m_enlarged.reset(SDL_CreateTexture(m_renderer.get(), SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_TARGET,
                                       m_size.width * scale, m_size.height * scale));
    m_enlargedScale = m_enlarged ? scale : 0;
    if (m_enlarged)
        SDL_SetTextureScaleMode(m_enlarged.get(), SDL_ScaleModeLinear);
    return m_enlarged.get();
}

void SdlPresenter::Draw(const PictureFit& fit) {
    SDL_Renderer* renderer = m_renderer.get();
    const SDL_Rect target{fit.area.left, fit.area.top, fit.area.Width(), fit.area.Height()};
    if (fit.IsSharp(m_size)) {
        SDL_SetTextureScaleMode(m_texture.get(), SDL_ScaleModeNearest);
        SDL_RenderCopy(renderer, m_texture.get(), nullptr, &target);
        return;
    }
    // Whole pixels first, then smoothed the rest of the way: crisp, and filling the screen.
    SDL_Texture* enlarged = fit.wholeScale > 1 ? Enlarged(fit.wholeScale) : nullptr;
    if (enlarged && SDL_SetRenderTarget(renderer, enlarged) == 0) {
        SDL_SetTextureScaleMode(m_texture.get(), SDL_ScaleModeNearest);
        SDL_RenderCopy(renderer, m_texture.get(), nullptr, nullptr);
        SDL_SetRenderTarget(renderer, nullptr);
        SDL_RenderCopy(renderer, enlarged, nullptr, &target);
        return;
    }
    SDL_SetTextureScaleMode(m_texture.get(), SDL_ScaleModeLinear);
    SDL_RenderCopy(renderer, m_texture.get(), nullptr, &target);
}

bool SdlPresenter::Present(const SurfaceView& picture) {
    if (!m_window || picture.size != m_size || picture.format != kFormat565 || !picture.pixels)
        return false;
    if (SDL_UpdateTexture(m_texture.get(), nullptr, picture.pixels, picture.pitch) != 0)
        return false;
    Size output;
    if (SDL_GetRendererOutputSize(m_renderer.get(), &output.width, &output.height) != 0)
        return false;
    SDL_SetRenderDrawColor(m_renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(m_renderer.get());
    const PictureFit fit = FitPicture(m_size, output);
    if (!fit.area.IsEmpty())
        Draw(fit);
    // Renderers that claim to wait for the display may not (a software framebuffer, a compositor that
    // lets presents through): a picture that comes early is held back, asleep, to the refresh interval.
    if (m_lastPresent != 0) {
        const std::uint64_t delay = PaceDelayUs(MicrosecondsSince(m_lastPresent), m_refreshUs);
        if (delay > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
    }
    SDL_RenderPresent(m_renderer.get());
    m_lastPresent = SDL_GetPerformanceCounter();
    // The window may have changed size since the last picture; mouse positions follow the picture.
    m_window->SetViewport(PictureArea());
    return true;
}

} // namespace plat::gfx2d
