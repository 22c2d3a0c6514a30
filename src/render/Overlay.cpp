#include "render/Overlay.h"

#include "engine/DisplayDevice.h"
#include "render/ClippedBlt.h"
#include "render/OverlayServices.h"
#include "render/SurfaceMan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zentrix {

using plat::gfx2d::MaskBitCount;
using plat::gfx2d::Rect;
using plat::gfx2d::Result;
using plat::gfx2d::Surface;
using plat::gfx2d::SurfaceDescription;
using plat::gfx2d::SurfaceView;

bool ReadTgaSize(const std::vector<std::uint8_t>& data, int& width, int& height) {
    if (data.size() < CSurfaceMan::kTgaHeaderSize)
        return false;
    width = data[12] | (data[13] << 8);
    height = data[14] | (data[15] << 8);
    return true;
}

COverlay::COverlay() {
    ++s_liveCount;
}

COverlay::COverlay(int imageId) : COverlay() {
    IOverlayServices* services = GetOverlayServices();
    std::vector<std::uint8_t> data;
    if (!services || !services->GetAssetData(imageId, data)) {
        std::fprintf(stderr, "COverlay: picture %d not found\n", imageId);
        return;
    }
    LoadImage(data);
}

COverlay::COverlay(int width, int height) : COverlay() {
    m_width = width;
    m_height = height;
    m_surface = CreateSurface(width, height);
}

COverlay::~COverlay() {
    --s_liveCount;
}

void COverlay::LoadImage(const std::vector<std::uint8_t>& data) {
    m_surface.reset();
    m_width = m_height = 0;
    int width = 0, height = 0;
    if (!ReadTgaSize(data, width, height)) {
        std::fprintf(stderr, "COverlay: picture of %zu bytes has no complete header\n", data.size());
        return;
    }
    std::unique_ptr<Surface> surface = CreateSurface(width, height);
    IOverlayServices* services = GetOverlayServices();
    CSurfaceMan* surfaces = services ? services->GetSurfaceMan() : nullptr;
    // A picture that cannot be held is left out whole, so that no later use asks the display for a
    // surface of its size again.
    if (!surface || !surfaces || !surfaces->LoadTGAToSurface(data, surface.get())) {
        std::fprintf(stderr, "COverlay: %d x %d picture cannot be loaded\n", width, height);
        return;
    }
    m_width = width;
    m_height = height;
    m_surface = std::move(surface);
}

void COverlay::SetPosition(int x, int y) {
    m_x = x;
    m_y = y;
}

Surface* COverlay::GetSurface() {
    if (!m_surface) {
        IOverlayServices* services = GetOverlayServices();
        // No size, or one no surface can have (from a damaged panel record): nothing to ask the display
        // for, whose refusal would end the game.
        if (m_width <= 0 || m_height <= 0 || m_width > Surface::kMaxSide || m_height > Surface::kMaxSide ||
            !services)
            return nullptr;
        m_surface = services->CreateDDSurface(m_width, m_height);
    }
    if (m_surface && m_surface->IsLost())
        m_surface->Restore();
    return m_surface.get();
}

void COverlay::GetOverlayList(std::vector<COverlay*>& out) {
    out.clear();
    out.push_back(this);
}

void COverlay::Draw(CDisplayDevice* device) {
    if (device)
        Blit(device->GetDeviceBackBuffer());
}

namespace {

// Cuts a one-to-one copy to a destination of `size`, moving the source rectangle's edges by as much
// as the destination's.
void ClipOneToOne(Rect& dst, Rect& src, plat::gfx2d::Size size) {
    if (dst.right > size.width) {
        src.right -= dst.right - size.width;
        dst.right = size.width;
    }
    if (dst.bottom > size.height) {
        src.bottom -= dst.bottom - size.height;
        dst.bottom = size.height;
    }
    if (dst.left < 0) {
        src.left -= dst.left;
        dst.left = 0;
    }
    if (dst.top < 0) {
        src.top -= dst.top;
        dst.top = 0;
    }
}

} // namespace

bool COverlay::Blit(Surface* destination) {
    Surface* own = GetSurface();
    if (!own)
        return false;
    const plat::gfx2d::Size size = destination ? destination->GetSize() : plat::gfx2d::Size{};
    Rect dst{m_x, m_y, m_x + m_width, m_y + m_height};
    Rect src{0, 0, m_width, m_height};
    ClipOneToOne(dst, src, size);
    return ClippedBlt(destination, &dst, own, &src, plat::gfx2d::kBltKeySource);
}

bool COverlay::BlitTo(int x, int y, Surface* destination) {
    return CopyOut(x, y, destination, plat::gfx2d::kBltKeySource);
}

bool COverlay::CopyOut(int x, int y, Surface* destination, unsigned flags) {
    Surface* own = GetSurface();
    if (!own)
        return false;
    const plat::gfx2d::Size size = destination ? destination->GetSize() : plat::gfx2d::Size{};
    // Only the part that lies on the picture is copied (a button at the edge of a piece reaches past
    // it); the rest of the destination keeps what it held.
    const Rect src = Rect::FromSize(size).Offset({x, y}).Intersect(Rect::FromSize(own->GetSize()));
    if (src.IsEmpty())
        return false;
    const Rect dst = src.Offset({-x, -y});
    return ClippedBlt(destination, &dst, own, &src, flags);
}

bool COverlay::BlitFrom(int x, int y, Surface* source, bool keyed, const Rect* sourceRect) {
    Surface* own = GetSurface();
    if (!own || !source)
        return false;
    Rect src = sourceRect ? *sourceRect : Rect::FromSize(source->GetSize());
    Rect dst{x, y, x + src.Width(), y + src.Height()};
    const plat::gfx2d::Size size = own->GetSize();
    ClipOneToOne(dst, src, size);
    return ClippedBlt(own, &dst, source, &src, keyed ? plat::gfx2d::kBltKeySource : 0u);
}

bool COverlay::FillRect(std::uint32_t colour, const Rect& rect) {
    Surface* own = GetSurface();
    if (!own)
        return false;
    const plat::gfx2d::Size size = own->GetSize();
    if (rect.left > size.width || rect.right < 0 || rect.top > size.height || rect.bottom < 0)
        return false;
    Rect r = rect;
    r.right = std::min(r.right, size.width);
    r.bottom = std::min(r.bottom, size.height);
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    return ClippedBlt(own, &r, nullptr, nullptr, plat::gfx2d::kBltColorFill, ColourToPixel(colour));
}

std::uint16_t COverlay::ColourToPixel(std::uint32_t colour) {
    Surface* own = GetSurface();
    if (!own)
        return 0;
    const plat::gfx2d::PixelFormat& format = own->Format();
    const int rb = MaskBitCount(format.redMask), gb = MaskBitCount(format.greenMask),
              bb = MaskBitCount(format.blueMask);
    if (rb > 8 || gb > 8 || bb > 8)
        return 0;
    const unsigned r = (colour & 0xFF) >> (8 - rb);
    const unsigned g = ((colour >> 8) & 0xFF) >> (8 - gb);
    const unsigned b = ((colour >> 16) & 0xFF) >> (8 - bb);
    return static_cast<std::uint16_t>((r << (gb + bb)) + (g << bb) + b);
}

bool COverlay::IsTransparentAt(int x, int y) {
    Surface* own = GetSurface();
    if (!own)
        return false;
    const std::optional<std::uint32_t> key = own->SourceColorKey();
    if (!key)
        return false;
    SurfaceView view;
    if (own->Lock(view, plat::gfx2d::kLockWait) != Result::Ok)
        return false;
    bool transparent = true;
    if (x >= 0 && x < view.size.width && y >= 0 && y < view.size.height) {
        const std::uint8_t* p = view.RowBytes(y);
        std::uint32_t pixel = 0;
        switch (view.format.bitCount) {
        case 8:
            pixel = p[x];
            break;
        case 15:
        case 16: {
            std::uint16_t v;
            std::memcpy(&v, p + x * 2, 2);
            pixel = v;
            break;
        }
        case 24:
            pixel = p[x * 3] | (p[x * 3 + 1] << 8) | (p[x * 3 + 2] << 16);
            break;
        default: {
            std::uint32_t v;
            std::memcpy(&v, p + x * 4, 4);
            pixel = v;
            break;
        }
        }
        transparent = pixel == *key;
    }
    own->Unlock();
    return transparent;
}

std::unique_ptr<Surface> COverlay::CreateSurface(int width, int height) {
    IOverlayServices* services = GetOverlayServices();
    CSurfaceMan* surfaces = services ? services->GetSurfaceMan() : nullptr;
    if (!surfaces)
        return nullptr;
    return surfaces->CreateDDSurface(width, height, nullptr, true, false);
}

bool COverlay::GetSurfaceDesc(SurfaceDescription& out) {
    Surface* own = GetSurface();
    if (!own)
        return false;
    out = own->Describe();
    return true;
}

} // namespace zentrix
