#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Presenter.h"

#include <memory>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace plat::gfx2d {

/// Shows pictures in an SDL window: the window goes full screen on the desktop and the picture is
/// scaled to it with a fixed logical size, so mouse positions arrive in the picture's coordinates.
class SdlPresenter final : public Presenter {
public:
    /// A presenter for the window (not owned; it must outlive the presenter) showing pictures of the
    /// given size; null, with the reason on stderr, when SDL cannot set it up.
    static std::unique_ptr<SdlPresenter> Create(SDL_Window* window, Size pictureSize);

    ~SdlPresenter() override;
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    /// Uploads a 5-6-5 picture of the presenter's size and shows it; false for any other picture.
    bool Present(const SurfaceView& picture) override;

private:
    struct RendererDeleter {
        void operator()(SDL_Renderer* renderer) const;
    };
    struct TextureDeleter {
        void operator()(SDL_Texture* texture) const;
    };
    using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
    using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

    SdlPresenter(RendererPtr renderer, TexturePtr texture, Size size);

    // The texture belongs to the renderer, so it is declared after it and destroyed first.
    RendererPtr m_renderer;
    TexturePtr m_texture;
    Size m_size;
};

} // namespace plat::gfx2d
