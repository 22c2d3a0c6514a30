#pragma once

#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/Presenter.h"

#include <cstdint>
#include <memory>

struct SDL_Renderer;
struct SDL_Texture;

namespace plat::window {
class SdlWindow;
}

namespace plat::gfx2d {

/// The largest rectangle of the picture's shape that fits the target, centred (bars on two sides).
Rect Letterbox(Size picture, Size target);

/// How a picture fills a target: the letterboxed area it covers, and the largest whole scale that fits.
/// The picture is first enlarged by that scale with sharp pixels; only what is left to fill the area (if
/// anything) is smoothed, so pixels stay crisp at any screen size.
struct PictureFit {
    Rect area;
    int wholeScale = 1;

    /// Whether the whole scale fills the area by itself: no smoothing at all.
    bool IsSharp(Size picture) const {
        return area.Width() == picture.width * wholeScale && area.Height() == picture.height * wholeScale;
    }
};

/// The fit of `picture` on `target`; an empty area when either has no pixels.
PictureFit FitPicture(Size picture, Size target);

/// How long to hold back a picture that comes `sinceLastUs` after the last one on a display refreshing
/// every `intervalUs`, so that pictures never come faster than the display shows them: the rest of the
/// interval, or 0 when the picture is (about) due.
std::uint64_t PaceDelayUs(std::uint64_t sinceLastUs, std::uint64_t intervalUs);

/// Shows pictures in the game's SDL window, scaled to fill as much of it as their shape allows. The
/// window is told where the picture lies, so that it turns mouse positions into picture pixels.
/// Pictures are presented in step with the display's refresh (vsync where the renderer offers it, and a
/// sleep when a picture comes early all the same), so the game never draws faster than the screen shows.
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
    /// Draws the picture's texture into `area` of the output as `fit` says.
    void Draw(const PictureFit& fit);
    /// The texture of the picture enlarged `scale` times (made when first needed); null when the
    /// renderer cannot draw into textures.
    SDL_Texture* Enlarged(int scale);

    plat::window::SdlWindow* m_window;
    // The textures belong to the renderer, so they are declared after it and destroyed first.
    RendererPtr m_renderer;
    TexturePtr m_texture;
    TexturePtr m_enlarged;
    int m_enlargedScale = 0;
    Size m_size;
    bool m_canEnlarge = false;
    std::uint64_t m_refreshUs = 1000000 / 60; ///< the display's refresh interval (60 a second if unknown)
    std::uint64_t m_lastPresent = 0;          ///< SDL's performance counter after the last present
};

} // namespace plat::gfx2d
