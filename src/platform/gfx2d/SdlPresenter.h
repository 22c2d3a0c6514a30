#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Presenter.h"

#include <memory>

struct SDL_Renderer;
struct SDL_Texture;

namespace plat::window {
class SdlWindow;
}

namespace plat::gfx2d {

/// The largest rectangle of the picture's shape that fits the target, centred (bars on two sides).
Rect Letterbox(Size picture, Size target);

/// Shows pictures in the game's SDL window, scaled to fill as much of it as their shape allows. The
/// window is told where the picture lies, so that it turns mouse positions into picture pixels.
class SdlPresenter final : public Presenter {
public:
    /// A presenter for the window (not owned; it must outlive the presenter) showing pictures of the
    /// given size; null, with the reason on stderr, when SDL cannot set it up.
    static std::unique_ptr<SdlPresenter> Create(plat::window::SdlWindow& window, Size pictureSize);

    ~SdlPresenter() override;
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;

    /// Uploads a 5-6-5 picture of the presenter's size and shows it; false for any other picture.
    bool Present(const SurfaceView& picture) override;

    /// Where the picture lies in the window, in window coordinates.
    Rect PictureArea() const;

private:
    struct RendererDeleter {
        void operator()(SDL_Renderer* renderer) const;
    };
    struct TextureDeleter {
        void operator()(SDL_Texture* texture) const;
    };
    using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
    using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

    SdlPresenter(plat::window::SdlWindow& window, RendererPtr renderer, TexturePtr texture, Size size);
    /// Lets go of the renderer and the window as the window closes.
    void Detach();

    plat::window::SdlWindow* m_window;
    // The texture belongs to the renderer, so it is declared after it and destroyed first.
    RendererPtr m_renderer;
    TexturePtr m_texture;
    Size m_size;
};

} // namespace plat::gfx2d
