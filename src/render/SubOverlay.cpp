#include "render/SubOverlay.h"

#include "render/ClippedBlt.h"

namespace zentrix {

using plat::gfx2d::Rect;
using plat::gfx2d::Surface;

CSubOverlay::CSubOverlay(int shownX, int shownY, int hiddenX, int hiddenY, int width, int height)
    : COverlay(width, height), m_shownX(shownX), m_shownY(shownY), m_hiddenX(hiddenX), m_hiddenY(hiddenY) {
    ++s_liveCount;
    SetPosition(hiddenX, hiddenY);
}

CSubOverlay::~CSubOverlay() {
    --s_liveCount;
}

bool CSubOverlay::BlitTo(int x, int y, Surface* destination) {
    return CopyOut(x - m_shownX, y - m_shownY, destination, 0);
}

bool CSubOverlay::BlitFrom(int x, int y, Surface* source, bool keyed, const Rect* sourceRect) {
    return COverlay::BlitFrom(x - m_shownX, y - m_shownY, source, keyed, sourceRect);
}

bool CSubOverlay::FillRect(std::uint32_t colour, const Rect& rect) {
    return COverlay::FillRect(colour, rect.Offset({-m_shownX, -m_shownY}));
}

bool CSubOverlay::IsTransparentAt(int x, int y) {
    return COverlay::IsTransparentAt(x - m_shownX, y - m_shownY);
}

void CSubOverlay::SetSlideFraction(float f) {
    int dx, dy;
    if (f >= 1.0f) {
        dx = m_shownX;
        dy = m_shownY;
    } else if (!(f > 0.0f)) { // a fraction that is not a number counts as hidden
        dx = m_hiddenX;
        dy = m_hiddenY;
    } else {
        dx = static_cast<int>(m_shownX * f + m_hiddenX * (1.0f - f));
        dy = static_cast<int>(m_shownY * f + m_hiddenY * (1.0f - f));
    }
    SetPosition(dx + m_x, dy + m_y);
}

bool CSubOverlay::AreaContains(int x, int y) const {
    return x >= m_shownX && x < m_shownX + m_width && y >= m_shownY && y < m_shownY + m_height;
}

} // namespace zentrix
