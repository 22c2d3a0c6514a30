#include "support/PanelDoubles.h"

#include "platform/gfx2d/PixelFormat.h"
#include "platform/gfx2d/SurfaceView.h"
#include "render/Bitmap.h"

#include <algorithm>

using plat::gfx2d::Rect;

namespace testsupport {

namespace {

std::unique_ptr<plat::gfx2d::Surface> MakeSurface(int width, int height, std::uint16_t fill) {
    auto surface = plat::gfx2d::Surface::Create({width, height}, plat::gfx2d::kFormat565);
    surface->SetSourceColorKey(RecordingPanelServices::kMagenta);
    surface->Fill(nullptr, fill);
    return surface;
}

} // namespace

MemoryPanelOverlay::MemoryPanelOverlay(int width, int height, std::vector<Rect> pieces)
    : m_pSurface(MakeSurface(width, height, RecordingPanelServices::kMagenta)), m_Pieces(std::move(pieces)) {}

int MemoryPanelOverlay::GetWidth() const {
    return m_pSurface->GetSize().width;
}

int MemoryPanelOverlay::GetHeight() const {
    return m_pSurface->GetSize().height;
}

void MemoryPanelOverlay::GetPieceRects(std::vector<Rect>& out) const {
    out.clear();
    for (const Rect& piece : m_Pieces)
        out.push_back(piece.Offset(m_Position));
}

std::uint16_t MemoryPanelOverlay::Pixel(int x, int y) {
    plat::gfx2d::SurfaceView view;
    m_pSurface->Lock(view);
    std::uint16_t pixel = view.Row16(y)[x];
    m_pSurface->Unlock();
    return pixel;
}

bool MemoryPanelOverlay::IsTransparentAt(int x, int y) {
    if (!Rect::FromSize(m_pSurface->GetSize()).Contains(plat::gfx2d::Point{x, y}))
        return true;
    return Pixel(x, y) == RecordingPanelServices::kMagenta;
}

bool MemoryPanelOverlay::BlitFrom(int x, int y, plat::gfx2d::Surface* source, bool keyed,
                                  const Rect* sourceRect) {
    if (log)
        log->push_back("blit");
    if (!source)
        return false;
    Rect src = sourceRect ? *sourceRect : Rect::FromSize(source->GetSize());
    Rect dst{x, y, x + src.Width(), y + src.Height()};
    return m_pSurface->Blt(&dst, source, &src, keyed ? plat::gfx2d::kBltKeySource : 0u) ==
           plat::gfx2d::Result::Ok;
}

bool MemoryPanelOverlay::BlitTo(int x, int y, plat::gfx2d::Surface* destination) {
    Rect dst = Rect::FromSize(destination->GetSize());
    Rect src = dst.Offset({x, y});
    return destination->Blt(&dst, m_pSurface.get(), &src, 0u) == plat::gfx2d::Result::Ok;
}

bool RecordingPanelServices::IsLive(const IPanelOverlay* overlay) const {
    return std::find(deleted.begin(), deleted.end(), overlay) == deleted.end();
}

bool RecordingPanelServices::GetInt(int assetId, int dataId, int& out, int element) {
    auto it = ints.find({assetId, dataId, element});
    if (it == ints.end())
        return false;
    out = it->second;
    return true;
}

bool RecordingPanelServices::GetVector(int assetId, int dataId, CVector& out, int) {
    auto it = vectors.find({assetId, dataId});
    if (it == vectors.end())
        return false;
    out = it->second;
    return true;
}

std::unique_ptr<CBitmap> RecordingPanelServices::GetBitmap(int assetId) {
    auto it = pictures.find(assetId);
    if (it == pictures.end())
        return nullptr;
    return std::make_unique<CBitmap>(MakeSurface(it->second.width, it->second.height, it->second.pixel));
}

IPanelOverlay* RecordingPanelServices::CreateCompoundOverlay(int resourceId, int) {
    log.push_back("overlay " + std::to_string(resourceId));
    auto it = shapes.find(resourceId);
    OverlayShape shape = it != shapes.end() ? it->second : OverlayShape{64, 32, {{0, 0, 64, 32}}};
    overlays.push_back(std::make_unique<MemoryPanelOverlay>(shape.width, shape.height, shape.pieces));
    overlays.back()->log = &log;
    if (paint)
        paint(*overlays.back());
    return overlays.back().get();
}

void RecordingPanelServices::DeleteOverlay(IPanelOverlay* overlay) {
    log.push_back("delete overlay");
    deleted.push_back(overlay);
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

} // namespace testsupport
