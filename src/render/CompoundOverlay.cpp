#include "render/CompoundOverlay.h"

#include "render/ClippedBlt.h"
#include "render/OverlayServices.h"
#include "render/SubOverlay.h"
#include "render/SurfaceMan.h"

#include <algorithm>
#include <cstdio>

namespace zentrix {

using plat::gfx2d::Rect;
using plat::gfx2d::Surface;

namespace {

/// More rows or pictures than any panel has; a record that never ends its lists stops here.
constexpr int kMaxListEntries = 1024;

int ReadField(IOverlayServices& services, int panelId, int field, int index) {
    int value = 0;
    if (!services.GetInt(panelId, field, value, index))
        return 0;
    return value;
}

} // namespace

CCompoundOverlay::CCompoundOverlay(int panelId, int /*pictureId*/) {
    ++s_liveCount;
    ReadPieces(panelId);
    SetSlideFraction(0.0f);
    FillPieces(panelId);
}

CCompoundOverlay::~CCompoundOverlay() {
    --s_liveCount;
}

void CCompoundOverlay::ReadPieces(int panelId) {
    IOverlayServices* services = GetOverlayServices();
    if (!services)
        return;
    for (int i = 0; i < kMaxListEntries; ++i) {
        const int width = ReadField(*services, panelId, kFieldWidth, i);
        const int height = ReadField(*services, panelId, kFieldHeight, i);
        if (width == 0 && height == 0)
            break;
        const int shownX = ReadField(*services, panelId, kFieldShownX, i);
        const int shownY = ReadField(*services, panelId, kFieldShownY, i);
        const int hiddenX = ReadField(*services, panelId, kFieldHiddenX, i);
        const int hiddenY = ReadField(*services, panelId, kFieldHiddenY, i);
        m_pieces.push_back(std::make_unique<CSubOverlay>(shownX + m_x, shownY + m_y, hiddenX + m_x,
                                                         hiddenY + m_y, width, height));
    }
}

void CCompoundOverlay::FillPieces(int panelId) {
    IOverlayServices* services = GetOverlayServices();
    CSurfaceMan* surfaces = services ? services->GetSurfaceMan() : nullptr;
    std::vector<std::unique_ptr<Surface>> pictures;
    bool sized = false;
    for (int i = 0; services && i < kMaxListEntries; ++i) {
        const int id = ReadField(*services, panelId, kFieldPictures, i);
        if (id == 0)
            break;
        std::vector<std::uint8_t> data;
        int width = 0, height = 0;
        if (!services->GetAssetData(id, data) || !ReadTgaSize(data, width, height)) {
            std::fprintf(stderr, "CCompoundOverlay: panel %d picture %d not found or unreadable\n", panelId,
                         id);
            continue;
        }
        std::unique_ptr<Surface> picture =
            surfaces ? surfaces->CreateDDSurface(width, height, nullptr, false, false) : nullptr;
        if (!picture || !surfaces->LoadTGAToSurface(std::move(data), picture.get())) {
            std::fprintf(stderr, "CCompoundOverlay: panel %d picture %d cannot be loaded\n", panelId, id);
            continue;
        }
        // The first picture that loads gives the panel its size.
        if (!sized) {
            m_width = width;
            m_height = height;
            sized = true;
        }
        pictures.push_back(std::move(picture));
    }
    if (m_pieces.empty())
        m_pieces.push_back(std::make_unique<CSubOverlay>(m_x, m_y, m_x, m_y, m_width, m_height));
    if (pictures.empty())
        return;
    for (std::size_t k = 0; k < m_pieces.size(); ++k) {
        CSubOverlay& piece = *m_pieces[k];
        const Surface* picture = pictures[std::min(k, pictures.size() - 1)].get();
        const plat::gfx2d::Size size{piece.GetWidth(), piece.GetHeight()};
        Rect area = Rect::At({piece.GetX(), piece.GetY()}, size);
        if (!Rect::FromSize(picture->GetSize()).Contains(area))
            area = Rect::FromSize(size);
        Surface* own = piece.GetSurface();
        if (own)
            ClippedBlt(own, nullptr, picture, &area, 0);
    }
}

void CCompoundOverlay::SetPosition(int x, int y) {
    for (auto& piece : m_pieces)
        piece->SetPosition(x, y);
    COverlay::SetPosition(x, y);
}

Surface* CCompoundOverlay::GetSurface() {
    return m_pieces.empty() ? nullptr : m_pieces.front()->GetSurface();
}

void CCompoundOverlay::GetOverlayList(std::vector<COverlay*>& out) {
    out.clear();
    for (auto& piece : m_pieces)
        out.push_back(piece.get());
}

bool CCompoundOverlay::Blit(Surface* destination) {
    bool all = true;
    for (auto& piece : m_pieces)
        all = piece->Blit(destination) && all;
    return all;
}

CSubOverlay* CCompoundOverlay::PieceAt(int x, int y) const {
    for (const auto& piece : m_pieces)
        if (piece->AreaContains(x, y))
            return piece.get();
    return nullptr;
}

bool CCompoundOverlay::BlitTo(int x, int y, Surface* destination) {
    CSubOverlay* piece = PieceAt(x, y);
    return piece && piece->BlitTo(x, y, destination);
}

bool CCompoundOverlay::BlitFrom(int x, int y, Surface* source, bool keyed, const Rect* sourceRect) {
    CSubOverlay* piece = PieceAt(x, y);
    return piece && piece->BlitFrom(x, y, source, keyed, sourceRect);
}

bool CCompoundOverlay::FillRect(std::uint32_t colour, const Rect& rect) {
    CSubOverlay* piece = PieceAt(rect.left, rect.top);
    return piece && piece->FillRect(colour, rect);
}

bool CCompoundOverlay::IsTransparentAt(int x, int y) {
    CSubOverlay* piece = PieceAt(x, y);
    return !piece || piece->IsTransparentAt(x, y);
}

std::uint16_t CCompoundOverlay::ColourToPixel(std::uint32_t colour) {
    return m_pieces.empty() ? 0 : m_pieces.front()->ColourToPixel(colour);
}

void CCompoundOverlay::SetSlideFraction(float f) {
    for (auto& piece : m_pieces)
        piece->SetSlideFraction(f);
}

} // namespace zentrix
