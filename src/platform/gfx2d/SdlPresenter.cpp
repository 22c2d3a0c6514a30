#include "platform/gfx2d/SdlPresenter.h"

#include "platform/window/SdlWindow.h"

#include <SDL.h>

#include <cstdio>

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

std::unique_ptr<SdlPresenter> SdlPresenter::Create(plat::window::SdlWindow& window, Size pictureSize) {
    if (!window.IsOpen() || pictureSize.width < 1 || pictureSize.height < 1)
        return nullptr;
    RendererPtr renderer(SDL_CreateRenderer(window.Handle(), -1, 0));
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

void SdlPresenter::RendererDeleter::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}

void SdlPresenter::TextureDeleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

SdlPresenter::SdlPresenter(plat::window::SdlWindow& window, RendererPtr renderer, TexturePtr texture,
                           Size size)
    : m_window(&window), m_renderer(std::move(renderer)), m_texture(std::move(texture)), m_size(size) {
    // The window may close first (the game deletes its window before its display): the renderer and
    // its texture go with it, and later pictures are not shown.
    m_window->SetCloseHandler([this] { Detach(); });
}

SdlPresenter::~SdlPresenter() {
    if (m_window)
        m_window->SetCloseHandler({});
}

void SdlPresenter::Detach() {
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

bool SdlPresenter::Present(const SurfaceView& picture) {
    if (!m_window || picture.size != m_size || picture.format != kFormat565 || !picture.pixels)
        return false;
    if (SDL_UpdateTexture(m_texture.get(), nullptr, picture.pixels, picture.pitch) != 0)
        return false;
    Size output;
    if (SDL_GetRendererOutputSize(m_renderer.get(), &output.width, &output.height) != 0)
        return false;
    const Rect drawn = Letterbox(m_size, output);
    const SDL_Rect target{drawn.left, drawn.top, drawn.Width(), drawn.Height()};
    SDL_SetRenderDrawColor(m_renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(m_renderer.get());
    SDL_RenderCopy(m_renderer.get(), m_texture.get(), nullptr, &target);
    SDL_RenderPresent(m_renderer.get());
    // The window may have changed size since the last picture; mouse positions follow the picture.
    const Rect area = PictureArea();
    m_window->SetViewport(area);
    return true;
}

} // namespace plat::gfx2d
