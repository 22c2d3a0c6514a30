#include "ui/SliderBar.h"

#include "foundation/assets/Bitmap.h"
#include "foundation/math/Vector.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace zentrix {

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
    const int panelId = m_parent->GetId();
    int unused = 0;
    services.GetInt(panelId, kFieldUnused, unused, 0);
    CVector range(0.0f, 0.0f, 0.0f);
    if (services.GetVector(panelId, kFieldRange, range, ordinal)) {
        m_minimum = TruncateToInt(range.x);
        m_maximum = TruncateToInt(range.y);
        m_value = TruncateToInt(range.z);
    }
    m_track = services.GetBitmap(ReadInt(kFieldTrackImage, 0));
    m_knob = services.GetBitmap(ReadInt(kFieldKnobImage, 0));
    m_hoverKnob = services.GetBitmap(ReadInt(kFieldHoverKnobImage, 0));
    // Without a track the slider has no size: it takes no click and its knob cannot move.
    m_width = m_track ? m_track->GetWidth() : 0;
    m_height = m_track ? m_track->GetHeight() : 0;
    m_bounds = {m_x, m_y, m_x + m_width, m_y + m_height};
    m_type = kTypeSliderBar;
}

CSliderBar::~CSliderBar() = default;

int CSliderBar::GetTravel() const {
    int knob = m_knob ? m_knob->GetWidth() : 0;
    return std::max(0, m_width - knob);
}

int CSliderBar::ValueAt(int x, bool clampToTrack) const {
    const int travel = GetTravel();
    std::int64_t offset = static_cast<std::int64_t>(x) - m_x;
    if (clampToTrack)
        offset = std::clamp<std::int64_t>(offset, 0, travel);
    // With no travel every place on the slider is its start.
    const std::int64_t percent = travel > 0 ? std::clamp<std::int64_t>(offset * 100 / travel, 0, 100) : 0;
    const std::int64_t span = std::llabs(static_cast<std::int64_t>(m_maximum) - m_minimum);
    return static_cast<int>(m_minimum + span * percent / 100);
}

int CSliderBar::GetKnobX() const {
    // The knob's place is the inverse of ValueAt, so a click puts the knob under the pointer whatever
    // the range; an empty range or no travel leaves it at the start.
    const std::int64_t range = static_cast<std::int64_t>(m_maximum) - m_minimum;
    if (range == 0)
        return m_x;
    const int travel = GetTravel();
    const std::int64_t offset = (static_cast<std::int64_t>(m_value) - m_minimum) * travel / range;
    return m_x + static_cast<int>(std::clamp<std::int64_t>(offset, 0, travel));
}

void CSliderBar::SetValue(int value) {
    const std::int64_t span = std::llabs(static_cast<std::int64_t>(m_maximum) - m_minimum);
    m_value = static_cast<int>(std::clamp<std::int64_t>(value, m_minimum, m_minimum + span));
    Draw(false);
}

bool CSliderBar::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    m_value = ValueAt(x, false);
    Draw(false);
    return false;
}

bool CSliderBar::OnMouseDown(int x, int y) {
    // The press arrives in window coordinates; the slider lies in the panel's.
    const int px = x - m_parent->GetX();
    const int py = y - m_parent->GetY();
    if (!HitTest(px, py))
        return false;
    m_dragging = true;
    OnMouseMove(px, py);
    return true;
}

bool CSliderBar::OnMouseUp(int /*x*/, int /*y*/) {
    m_dragging = false;
    return true;
}

bool CSliderBar::OnMouseMove(int x, int /*y*/) {
    if (!m_dragging)
        return false;
    m_value = ValueAt(x, true);
    Draw(false);
    return false;
}

bool CSliderBar::PointerOver() const {
    plat::gfx2d::Point mouse = Services().GetWindowMousePosition();
    return HitTest(mouse.x - m_parent->GetX(), mouse.y - m_parent->GetY());
}

bool CSliderBar::Draw(bool /*flag*/) {
    if (!m_parent->IsActive())
        return true;
    CCompoundOverlay* overlay = m_parent->GetOverlay();
    if (!overlay)
        return true;
    if (m_track)
        overlay->BlitFrom(m_x, m_y, m_track->GetSurface(), true, nullptr);
    CBitmap* knob = PointerOver() ? m_hoverKnob.get() : m_knob.get();
    if (knob)
        overlay->BlitFrom(GetKnobX(), m_y, knob->GetSurface(), true, nullptr);
    return true;
}

void CSliderBar::UpdateControl() {
    if (m_helpId != -1 && PointerOver())
        Services().OnHover(m_helpId);
}

} // namespace zentrix
