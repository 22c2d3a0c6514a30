#pragma once

#include "foundation/base/Message.h"
#include "platform/gfx2d/Geometry.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "platform/text/RecordingFontLibrary.h"
#include "render/CompoundOverlay.h"
#include "render/OverlayServices.h"
#include "render/SurfaceMan.h"
#include "support/Tga.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

using namespace zentrix;

namespace testsupport {

/// Panel services over records, pictures and texts held in memory, with four recording fonts named
/// "font0" to "font3"; they serve the overlays too while they exist. Calls that reach other managers (help,
/// sounds, the engine's frame, overlays made and deleted) are written to `log`. Deleted overlays are kept
/// until the end, so tests can still look at them.
class RecordingPanelServices : public IPanelServices, public IOverlayServices {
public:
    RecordingPanelServices();
    /// The help panel the panels share: none unless a test gives one.
    IHelpPanel* GetHelpPanel() override { return helpPanel; }
    ~RecordingPanelServices() override { SetOverlayServices(nullptr); }

    /// Integer field `dataId` of record `assetId` at `element`.
    void SetInt(int assetId, int dataId, int value, int element = 0) {
        ints[{assetId, dataId, element}] = value;
    }
    void SetVector(int assetId, int dataId, float x, float y) {
        SetVector(assetId, dataId, CVector(x, y, 0));
    }
    /// Vector field `dataId` of record `assetId` at `element`.
    void SetVector(int assetId, int dataId, CVector value, int element = 0) {
        vectors[{assetId, dataId, element}] = value;
    }
    /// Picture `id`: a width x height block of one colour.
    void AddPicture(int id, int width, int height, Rgb colour) {
        pictures[id] =
            Image{width, height, std::vector<Rgb>(static_cast<std::size_t>(width * height), colour)};
    }
    /// Cuts the picture of panel `panelId` into pieces that stand where they lie in it, shown or hidden.
    void SetPieces(int panelId, const std::vector<plat::gfx2d::Rect>& pieces);
    /// The overlay made last (null before the first).
    CCompoundOverlay* LastOverlay() const { return overlays.empty() ? nullptr : overlays.back().get(); }
    /// Whether an overlay is still in the drawing list.
    bool IsLive(const COverlay* overlay) const;
    /// Pixel (x, y) of the picture of the overlay made last, from the piece whose area holds it; 0 when
    /// none does.
    std::uint16_t Pixel(int x, int y) const;

    int GetVideoMode() const override { return videoMode; }
    bool GetInt(int assetId, int dataId, int& out, int element) override;
    bool GetVector(int assetId, int dataId, CVector& out, int element) override;
    std::unique_ptr<CBitmap> GetBitmap(int assetId) override;
    bool LoadAssetIntoString(int assetId, std::string& out) override;
    plat::text::Font* GetFont(int index) override;
    CCompoundOverlay* CreateCompoundOverlay(int resourceId, int pictureId) override;
    void DeleteOverlay(COverlay* overlay) override;
    void AddRenderObject(COverlay*) override {}
    plat::gfx2d::Point GetMousePosition() const override { return mouse; }
    void UpdateEngine() override;
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

    CSurfaceMan* GetSurfaceMan() override { return &surfaces; }
    std::unique_ptr<plat::gfx2d::Surface> CreateDDSurface(int width, int height) override;
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) override;

    int videoMode = 0;
    IHelpPanel* helpPanel = nullptr;
    std::map<std::tuple<int, int, int>, int> ints;
    std::map<std::tuple<int, int, int>, CVector> vectors;
    std::map<int, Image> pictures;
    std::map<int, std::string> texts;
    plat::text::RecordingFontLibrary fontLibrary;
    std::vector<std::unique_ptr<plat::text::Font>> fonts;
    std::vector<std::unique_ptr<CCompoundOverlay>> overlays;
    std::vector<const COverlay*> deleted;
    std::map<int, CMessage> latest;
    plat::gfx2d::Point mouse{-1000, -1000};
    plat::gfx2d::Point windowMouse;
    int heldButton = -1;
    std::vector<std::string> log;
    /// Called at each engine 2D pass.
    std::function<void()> onUpdateEngine;
    plat::gfx2d::MemorySurfaceFactory factory;
    CSurfaceMan surfaces{factory};
};

/// A screen panel that slides and presses its buttons but whose commands do nothing, as a screen's panel
/// does before its screen is built.
class PlainPanel : public CSlideOut {
public:
    using CSlideOut::CSlideOut;
    void OnControl(int) override {}
    void AttachWorld() override {}
};

/// Makes a plain panel for every index the slide-out manager asks for.
inline CSlideOutMan::PanelFactory PlainPanels() {
    return [](int, int resourceId, bool usesHelpPanel, CSlideOutMan* manager) -> std::unique_ptr<CSlideOut> {
        return std::make_unique<PlainPanel>(resourceId, manager, usesHelpPanel);
    };
}

} // namespace testsupport
