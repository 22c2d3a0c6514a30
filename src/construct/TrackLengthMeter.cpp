#include "construct/TrackLengthMeter.h"

#include "foundation/assets/Bitmap.h"
#include "platform/gfx2d/Geometry.h"
#include "render/CompoundOverlay.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

CTrackLengthMeter::CTrackLengthMeter(int x, int y, std::unique_ptr<CBitmap> full,
                                     std::unique_ptr<CBitmap> empty)
    : m_x(x), m_y(y), m_full(std::move(full)), m_empty(std::move(empty)) {}

CTrackLengthMeter::~CTrackLengthMeter() = default;

bool CTrackLengthMeter::SetLimit(float limit) {
    // A limit of 0 would make every track too long, and the fill a division by nothing.
    m_limit = std::isfinite(limit) && limit > 0.0f ? limit : 0.0f;
    if (!HasLimit())
        m_overLimit = false;
    return HasLimit();
}

void CTrackLengthMeter::TakeLength(float length) {
    if (!HasLimit() || length <= m_limit) {
        m_overLimit = false;
        m_value = length;
    } else {
        m_overLimit = true;
    }
}

float CTrackLengthMeter::GetFill() const {
    if (!HasLimit())
        return 0.0f;
    if (m_overLimit)
        return 1.0f;
    return std::clamp(m_value / m_limit, 0.0f, 1.0f);
}

int CTrackLengthMeter::CutRows(float fill, int height) {
    if (!(fill >= 0.0f))
        fill = 0.0f;
    const double cut = std::trunc(static_cast<double>(height) * (1.0 - std::min(fill, 1.0f)));
    return std::clamp(static_cast<int>(cut), 0, std::max(height, 0));
}

void CTrackLengthMeter::Draw(CCompoundOverlay& overlay) {
    const int height = m_full ? m_full->GetHeight() : (m_empty ? m_empty->GetHeight() : 0);
    const int cut = CutRows(GetFill(), height);
    if (m_full && cut < height) {
        const plat::gfx2d::Rect rows{0, cut, m_full->GetWidth(), height};
        overlay.BlitFrom(m_x, m_y + cut, m_full->GetSurface(), false, &rows);
    }
    if (m_empty && cut > 0) {
        const plat::gfx2d::Rect rows{0, 0, m_empty->GetWidth(), std::min(cut, m_empty->GetHeight())};
        overlay.BlitFrom(m_x, m_y, m_empty->GetSurface(), false, &rows);
    }
}

} // namespace zentrix
