#include "support/PanelDoubles.h"

#include "foundation/assets/Bitmap.h"
#include "platform/gfx2d/SurfaceView.h"
#include "render/SubOverlay.h"

#include <algorithm>
#include <stdexcept>

using namespace zentrix;

namespace testsupport {

RecordingPanelServices::RecordingPanelServices() {
    SetOverlayServices(this);
    for (int i = 0; i < 4; ++i)
        fonts.push_back(fontLibrary.CreateFont("font" + std::to_string(i), 16));
}

void RecordingPanelServices::SetPieces(int panelId, const std::vector<plat::gfx2d::Rect>& pieces) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const plat::gfx2d::Rect& piece = pieces[i];
        const int row[6] = {piece.left, piece.top, piece.left, piece.top, piece.Width(), piece.Height()};
        for (int k = 0; k < 6; ++k)
            SetInt(panelId, CCompoundOverlay::kFieldShownX + k, row[k], static_cast<int>(i));
    }
}

bool RecordingPanelServices::IsLive(const COverlay* overlay) const {
    return std::find(deleted.begin(), deleted.end(), overlay) == deleted.end();
}

std::uint16_t RecordingPanelServices::Pixel(int x, int y) const {
    for (const auto& piece : LastOverlay()->GetPieces()) {
        if (!piece->AreaContains(x, y))
            continue;
        plat::gfx2d::Surface* surface = piece->GetSurface();
        plat::gfx2d::SurfaceView view;
        surface->Lock(view);
        std::uint16_t pixel = view.Row16(y - piece->GetY())[x - piece->GetX()];
        surface->Unlock();
        return pixel;
    }
    return 0;
}

bool RecordingPanelServices::GetInt(int assetId, int dataId, int& out, int element) {
    auto it = ints.find({assetId, dataId, element});
    if (it == ints.end())
        return false;
    out = it->second;
    return true;
}

bool RecordingPanelServices::GetVector(int assetId, int dataId, CVector& out, int element) {
    auto it = vectors.find({assetId, dataId, element});
    if (it == vectors.end())
        return false;
    out = it->second;
    return true;
}

std::unique_ptr<CBitmap> RecordingPanelServices::GetBitmap(int assetId) {
    std::vector<std::uint8_t> data;
    if (!GetAssetData(assetId, data))
        return nullptr;
    const Image& image = pictures[assetId];
    auto surface = surfaces.CreateDDSurface(image.width, image.height, nullptr, true, false);
    surfaces.LoadTGAToSurface(data, surface.get());
    return std::make_unique<CBitmap>(std::move(surface));
}

bool RecordingPanelServices::LoadAssetIntoString(int assetId, std::string& out) {
    auto it = texts.find(assetId);
    if (it == texts.end())
        return false;
    out = it->second;
    return true;
}

plat::text::Font* RecordingPanelServices::GetFont(int index) {
    return index >= 0 && index < static_cast<int>(fonts.size()) ? fonts[static_cast<std::size_t>(index)].get()
                                                                : nullptr;
}

CCompoundOverlay* RecordingPanelServices::CreateCompoundOverlay(int resourceId, int pictureId) {
    log.push_back("overlay " + std::to_string(resourceId));
    overlays.push_back(std::make_unique<CCompoundOverlay>(resourceId, pictureId));
    return overlays.back().get();
}

void RecordingPanelServices::DeleteOverlay(COverlay* overlay) {
    log.push_back("delete overlay");
    deleted.push_back(overlay);
}

void RecordingPanelServices::UpdateEngine() {
    log.push_back("engine update");
    if (onUpdateEngine)
        onUpdateEngine();
}

void RecordingPanelServices::PlayHelp(int helpId, int mode) {
    log.push_back("help " + std::to_string(helpId) + " " + std::to_string(mode));
}

bool RecordingPanelServices::GetLatestMessage(int type, CMessage& out) {
    auto it = latest.find(type);
    if (it == latest.end())
        return false;
    out = it->second;
    latest.erase(it);
    return true;
}

std::unique_ptr<plat::gfx2d::Surface> RecordingPanelServices::CreateDDSurface(int width, int height) {
    auto surface = surfaces.CreateDDSurface(width, height, nullptr, false, false);
    if (!surface)
        throw std::runtime_error("no surface");
    return surface;
}

bool RecordingPanelServices::GetAssetData(int assetId, std::vector<std::uint8_t>& out) {
    auto it = pictures.find(assetId);
    if (it == pictures.end())
        return false;
    out = MakeTga24(it->second);
    return true;
}

} // namespace testsupport
