#pragma once

#include "app/Message.h"
#include "platform/gfx2d/Surface.h"
#include "ui/PanelOverlay.h"
#include "ui/PanelServices.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace testsupport {

/// A panel picture in one 5-6-5 memory surface keyed magenta, its pieces at offsets from its position.
class MemoryPanelOverlay : public IPanelOverlay {
public:
    MemoryPanelOverlay(int width, int height, std::vector<plat::gfx2d::Rect> pieces);

    void SetPosition(int x, int y) override { m_Position = {x, y}; }
    void SetSlideFraction(float f) override { m_fFraction = f; }
    void Show() override { m_bVisible = true; }
    void Hide() override { m_bVisible = false; }
    bool IsVisible() const override { return m_bVisible; }
    int GetWidth() const override;
    int GetHeight() const override;
    void GetPieceRects(std::vector<plat::gfx2d::Rect>& out) const override;
    bool IsTransparentAt(int x, int y) override;
    bool BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                  const plat::gfx2d::Rect* sourceRect) override;
    bool BlitTo(int x, int y, plat::gfx2d::Surface* destination) override;

    plat::gfx2d::Surface& Surface() { return *m_pSurface; }
    /// Pixel (x, y) of the picture.
    std::uint16_t Pixel(int x, int y);
    plat::gfx2d::Point Position() const { return m_Position; }
    float Fraction() const { return m_fFraction; }
    std::vector<std::string>* log = nullptr; ///< "blit" for every BlitFrom when set

private:
    std::unique_ptr<plat::gfx2d::Surface> m_pSurface;
    std::vector<plat::gfx2d::Rect> m_Pieces;
    plat::gfx2d::Point m_Position;
    float m_fFraction = 0.0f;
    bool m_bVisible = true;
};

/// Panel services over records and pictures held in memory. Calls that reach other managers (help,
/// sounds, the engine's frame, overlays made and deleted) are written to `log`.
class RecordingPanelServices : public IPanelServices {
public:
    static constexpr std::uint16_t kMagenta = 0xF81F;

    /// Integer field `dataId` of record `assetId` at `element`.
    void SetInt(int assetId, int dataId, int value, int element = 0) {
        ints[{assetId, dataId, element}] = value;
    }
    void SetVector(int assetId, int dataId, float x, float y) {
        vectors[{assetId, dataId}] = CVector(x, y, 0);
    }
    /// Picture `id`: a width x height block of one 5-6-5 pixel value.
    void AddPicture(int id, int width, int height, std::uint16_t pixel) {
        pictures[id] = {width, height, pixel};
    }
    /// The overlay made last (null before the first).
    MemoryPanelOverlay* LastOverlay() const { return overlays.empty() ? nullptr : overlays.back().get(); }
    /// Whether an overlay is still in the drawing list.
    bool IsLive(const IPanelOverlay* overlay) const;

    int GetVideoMode() const override { return videoMode; }
    bool GetInt(int assetId, int dataId, int& out, int element) override;
    bool GetVector(int assetId, int dataId, CVector& out, int element) override;
    std::unique_ptr<CBitmap> GetBitmap(int assetId) override;
    IPanelOverlay* CreateCompoundOverlay(int resourceId, int pictureId) override;
    void DeleteOverlay(IPanelOverlay* overlay) override;
    void AddRenderObject(IPanelOverlay*) override {}
    plat::gfx2d::Point GetMousePosition() const override { return mouse; }
    void UpdateEngine() override { log.push_back("engine update"); }
    void RenderFrame() override { log.push_back("render"); }
    void PlayHelp(int helpId, int mode) override;
    void OnHover(int helpId) override { log.push_back("hover " + std::to_string(helpId)); }
    void OnHoverEnd(int helpId) override { log.push_back("hover end " + std::to_string(helpId)); }
    void CancelHover() override { log.push_back("cancel hover"); }
    void PlayUiSound(int soundId) override { log.push_back("sound " + std::to_string(soundId)); }
    void StopHelpSound() override { log.push_back("stop help"); }
    bool GetLatestMessage(int type, CMessage& out) override;
    bool IsMouseButtonDown(int button) const override { return button == heldButton; }
    plat::gfx2d::Point GetWindowMousePosition() const override { return windowMouse; }

    struct Picture {
        int width, height;
        std::uint16_t pixel;
    };
    struct OverlayShape {
        int width, height;
        std::vector<plat::gfx2d::Rect> pieces;
    };

    int videoMode = 0;
    std::map<std::tuple<int, int, int>, int> ints;
    std::map<std::pair<int, int>, CVector> vectors;
    std::map<int, Picture> pictures;
    /// Picture size and pieces by panel record; records not listed get 64 x 32 with one whole piece.
    std::map<int, OverlayShape> shapes;
    std::vector<std::unique_ptr<MemoryPanelOverlay>> overlays;
    std::vector<const IPanelOverlay*> deleted;
    std::map<int, CMessage> latest;
    plat::gfx2d::Point mouse{-1000, -1000};
    plat::gfx2d::Point windowMouse;
    int heldButton = -1;
    std::vector<std::string> log;
    /// Paints every new overlay (default: all magenta).
    std::function<void(MemoryPanelOverlay&)> paint;
};

} // namespace testsupport
