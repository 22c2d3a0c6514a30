#include "platform/gfx2d/SdlPresenter.h"

#include <SDL.h>

#include <cstdio>

namespace plat::gfx2d {

std::unique_ptr<SdlPresenter> SdlPresenter::Create(SDL_Window* window, Size pictureSize) {
    if (!window || pictureSize.width < 1 || pictureSize.height < 1)
        return nullptr;
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
        std::fprintf(stderr, "gfx2d: cannot go full screen: %s\n", SDL_GetError());
    RendererPtr renderer(SDL_CreateRenderer(window, -1, 0));
    if (!renderer) {
        std::fprintf(stderr, "gfx2d: cannot create a renderer: %s\n", SDL_GetError());
        return nullptr;
    }
    if (SDL_RenderSetLogicalSize(renderer.get(), pictureSize.width, pictureSize.height) != 0)
        std::fprintf(stderr, "gfx2d: cannot set the logical size: %s\n", SDL_GetError());
    TexturePtr texture(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                         pictureSize.width, pictureSize.height));
    if (!texture) {
        std::fprintf(stderr, "gfx2d: cannot create the screen texture: %s\n", SDL_GetError());
        return nullptr;
    }
    return std::unique_ptr<SdlPresenter>(
        new SdlPresenter(std::move(renderer), std::move(texture), pictureSize));
}

void SdlPresenter::RendererDeleter::operator()(SDL_Renderer* renderer) const {
    SDL_DestroyRenderer(renderer);
}

void SdlPresenter::TextureDeleter::operator()(SDL_Texture* texture) const {
    SDL_DestroyTexture(texture);
}

SdlPresenter::SdlPresenter(RendererPtr renderer, TexturePtr texture, Size size)
    : m_renderer(std::move(renderer)), m_texture(std::move(texture)), m_size(size) {}

SdlPresenter::~SdlPresenter() = default;

bool SdlPresenter::Present(const SurfaceView& picture) {
    if (picture.size != m_size || picture.format != kFormat565 || !picture.pixels)
        return false;
    if (SDL_UpdateTexture(m_texture.get(), nullptr, picture.pixels, picture.pitch) != 0)
        return false;
    SDL_RenderClear(m_renderer.get());
    SDL_RenderCopy(m_renderer.get(), m_texture.get(), nullptr, nullptr);
    SDL_RenderPresent(m_renderer.get());
    return true;
}

} // namespace plat::gfx2d
