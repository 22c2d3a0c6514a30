#include "ui/SliderBar.h"

#include "foundation/math/Vector.h"
#include "foundation/assets/Bitmap.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

/// A float of the data truncated toward zero; NaN gives 0 and values beyond an int are held at its ends.
int TruncateToInt(float value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<float>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<float>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

CSliderBar::CSliderBar(CSlideOut* parent, int controlId, int ordinal) : CControl(parent, controlId) {
    IPanelServices& services = Services();
    const int panelId = m_pParent->GetId();
    int unused = 0;
    services.GetInt(panelId, kFieldUnused, unused, 0);
    CVector range(0.0f, 0.0f, 0.0f);
    if (services.GetVector(panelId, kFieldRange, range, ordinal)) {
        m_nMinimum = TruncateToInt(range.x);
        m_nMaximum = TruncateToInt(range.y);
        m_nValue = TruncateToInt(range.z);
    }
    m_pTrack = services.GetBitmap(ReadInt(kFieldTrackImage, 0));
    m_pKnob = services.GetBitmap(ReadInt(kFieldKnobImage, 0));
    m_pHoverKnob = services.GetBitmap(ReadInt(kFieldHoverKnobImage, 0));
    // Without a track the slider has no size: it takes no click and its knob cannot move.
    m_nWidth = m_pTrack ? m_pTrack->GetWidth() : 0;
    m_nHeight = m_pTrack ? m_pTrack->GetHeight() : 0;
    m_Bounds = {m_nX, m_nY, m_nX + m_nWidth, m_nY + m_nHeight};
    m_nType = kTypeSliderBar;
}

CSliderBar::~CSliderBar() = default;

int CSliderBar::GetTravel() const {
    int knob = m_pKnob ? m_pKnob->GetWidth() : 0;
    return std::max(0, m_nWidth - knob);
}

int CSliderBar::ValueAt(int x, bool clampToTrack) const {
    const int travel = GetTravel();
    std::int64_t offset = static_cast<std::int64_t>(x) - m_nX;
    if (clampToTrack)
        offset = std::clamp<std::int64_t>(offset, 0, travel);
    // With no travel every place on the slider is its start.
    const std::int64_t percent = travel > 0 ? std::clamp<std::int64_t>(offset * 100 / travel, 0, 100) : 0;
    const std::int64_t span = std::llabs(static_cast<std::int64_t>(m_nMaximum) - m_nMinimum);
    return static_cast<int>(m_nMinimum + span * percent / 100);
}

int CSliderBar::GetKnobX() const {
    // The knob's place is the inverse of ValueAt, so a click puts the knob under the pointer whatever
    // the range; an empty range or no travel leaves it at the start.
    const std::int64_t range = static_cast<std::int64_t>(m_nMaximum) - m_nMinimum;
    if (range == 0)
        return m_nX;
    const int travel = GetTravel();
    const std::int64_t offset = (static_cast<std::int64_t>(m_nValue) - m_nMinimum) * travel / range;
    return m_nX + static_cast<int>(std::clamp<std::int64_t>(offset, 0, travel));
}

void CSliderBar::SetValue(int value) {
    const std::int64_t span = std::llabs(static_cast<std::int64_t>(m_nMaximum) - m_nMinimum);
    m_nValue = static_cast<int>(std::clamp<std::int64_t>(value, m_nMinimum, m_nMinimum + span));
    Draw(false);
}

bool CSliderBar::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    m_nValue = ValueAt(x, false);
    Draw(false);
    return false;
}

bool CSliderBar::OnMouseDown(int x, int y) {
    // The press arrives in window coordinates; the slider lies in the panel's.
    const int px = x - m_pParent->GetX();
    const int py = y - m_pParent->GetY();
    if (!HitTest(px, py))
        return false;
    m_bDragging = true;
    OnMouseMove(px, py);
    return true;
}

bool CSliderBar::OnMouseUp(int /*x*/, int /*y*/) {
    m_bDragging = false;
    return true;
}

bool CSliderBar::OnMouseMove(int x, int /*y*/) {
    if (!m_bDragging)
        return false;
    m_nValue = ValueAt(x, true);
    Draw(false);
    return false;
}

bool CSliderBar::PointerOver() const {
    plat::gfx2d::Point mouse = Services().GetWindowMousePosition();
    return HitTest(mouse.x - m_pParent->GetX(), mouse.y - m_pParent->GetY());
}

bool CSliderBar::Draw(bool /*flag*/) {
    if (!m_pParent->IsActive())
        return true;
    CCompoundOverlay* overlay = m_pParent->GetOverlay();
    if (!overlay)
        return true;
    if (m_pTrack)
        overlay->BlitFrom(m_nX, m_nY, m_pTrack->GetSurface(), true, nullptr);
    CBitmap* knob = PointerOver() ? m_pHoverKnob.get() : m_pKnob.get();
    if (knob)
        overlay->BlitFrom(GetKnobX(), m_nY, knob->GetSurface(), true, nullptr);
    return true;
}

void CSliderBar::UpdateControl() {
    if (m_nHelpId != -1 && PointerOver())
        Services().OnHover(m_nHelpId);
}
