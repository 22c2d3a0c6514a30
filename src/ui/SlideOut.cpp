#include "ui/SlideOut.h"

#include "render/CompoundOverlay.h"
#include "ui/Control.h"
#include "ui/DummyControl.h"
#include "ui/PanelServices.h"
#include "ui/PowerMeter.h"
#include "ui/PushButton.h"
#include "ui/SlideOutMan.h"
#include "ui/SliderBar.h"
#include "ui/TextBoxControl.h"
#include "ui/TextEditControl.h"
#include "ui/ToggleButton.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

namespace {

constexpr float kHalfPi = 1.5707964f;

} // namespace

CSlideOut::CSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : m_resourceId(resourceId), m_manager(manager), m_usesHelpPanel(usesHelpPanel) {
    ++s_liveCount;
}

CSlideOut::~CSlideOut() {
    // The base's own shutdown: a panel class's override has already run in its own destructor, if at all.
    CSlideOut::Shutdown();
    --s_liveCount;
}

IPanelServices& CSlideOut::Services() const {
    return m_manager->GetServices();
}

void CSlideOut::Init() {
    IPanelServices& services = Services();
    services.GetInt(m_resourceId, kFieldHelpId, m_helpId, 0);
    services.GetInt(m_resourceId, kFieldPicture, m_pictureId, 0);
    CVector shown(static_cast<float>(m_shownX), static_cast<float>(m_shownY), 0.0f);
    if (services.GetVector(m_resourceId, kFieldShownPosition, shown, 0)) {
        m_shownX = static_cast<int>(shown.x);
        m_shownY = static_cast<int>(shown.y);
    }
    CVector hidden(static_cast<float>(m_hiddenX), static_cast<float>(m_hiddenY), 0.0f);
    if (services.GetVector(m_resourceId, kFieldHiddenPosition, hidden, 0)) {
        m_hiddenX = static_cast<int>(hidden.x);
        m_hiddenY = static_cast<int>(hidden.y);
    }
    m_x = m_hiddenX;
    m_y = m_hiddenY;
    m_state = kHiddenState;
    m_t = 0.0f;

    // The count comes from the record; no field holds more elements than kMaxControls, so neither do we.
    int count = 0;
    services.GetInt(m_resourceId, kFieldControlCount, count, 0);
    count = std::clamp(count, 0, kMaxControls);
    int sliders = 0;
    for (int i = 0; i < count; ++i) {
        int type = -1;
        services.GetInt(m_resourceId, kFieldControlType, type, i);
        int ordinal = type == 5 ? sliders++ : 0;
        if (std::unique_ptr<CControl> control = CreateControl(type, i, ordinal))
            m_controls.push_back(std::move(control));
    }

    m_hovered = nullptr;
    m_hoveredHelp = nullptr;
    m_initialised = true;
    AttachWorld();
    m_updateCursor = 0;
    if (m_usesHelpPanel)
        m_helpPanel = Services().GetHelpPanel();
}

std::unique_ptr<CControl> CSlideOut::CreateControl(int type, int index, int sliderOrdinal) {
    switch (type) {
    case CControl::kTypePushButton:
        return std::make_unique<CPushButton>(this, index);
    case CControl::kTypeToggleButton:
        return std::make_unique<CToggleButton>(this, index);
    case CControl::kTypeTextEdit:
        return std::make_unique<CTextEditControl>(this, index);
    case CControl::kTypePowerMeter:
        return std::make_unique<CPowerMeter>(this, index);
    case CControl::kTypeTextBox:
        return std::make_unique<CTextBoxControl>(this, index);
    case CControl::kTypeSliderBar:
        return std::make_unique<CSliderBar>(this, index, sliderOrdinal);
    case kLayoutDummyControl:
        return std::make_unique<CDummyControl>(this, index);
    default:
        return nullptr; // any other type makes nothing
    }
}

void CSlideOut::Shutdown() {
    m_hovered = nullptr;
    m_hoveredHelp = nullptr;
    m_controls.clear();
    // The shared help panel outlives the panels: it is closed, not deleted, so that it never points at a
    // panel that is gone.
    if (HelpPanelOpen()) {
        m_helpPanel->DetachOverlay();
        m_helpPanel->Close();
    }
    m_initialised = false;
}

bool CSlideOut::HelpPanelOpen() const {
    return m_helpPanel && m_helpPanel->IsOpen();
}

void CSlideOut::CreateOverlay() {
    ReleaseOverlay();
    IHelpPanel* help = Services().GetHelpPanel();
    if (help && help->IsOpen()) {
        // The help picture goes back to the end of the drawing list, ahead of the panel's picture made
        // next.
        Services().AddRenderObject(help->GetOverlay());
    }
    m_overlay = Services().CreateCompoundOverlay(m_resourceId, m_pictureId);
    if (m_overlay) {
        m_overlayWidth = m_overlay->GetWidth();
        m_overlayHeight = m_overlay->GetHeight();
    }
}

void CSlideOut::ReleaseOverlay() {
    if (!m_overlay)
        return;
    Services().DeleteOverlay(m_overlay);
    m_overlay = nullptr;
}

bool CSlideOut::Activate(bool immediate) {
    if (m_active)
        return true;
    if (m_helpPanel)
        m_helpPanel->Open(this);
    CreateOverlay();
    if (m_overlay)
        m_overlay->Show();
    if (immediate) {
        m_state = kShown;
        m_x = m_shownX;
        m_y = m_shownY;
        if (m_overlay)
            m_overlay->SetPosition(m_x, m_y);
    } else {
        m_state = kSlidingIn;
    }
    m_active = true;
    DrawControls(false);
    return true;
}

void CSlideOut::Deactivate(bool immediate) {
    if (m_state == kHiddenState)
        return;
    if (immediate) {
        m_state = kHiddenState;
        m_x = m_hiddenX;
        m_y = m_hiddenY;
        if (m_overlay)
            m_overlay->SetPosition(m_x, m_y);
        ReleaseOverlay();
    } else {
        m_state = kSlidingOut;
    }
    if (HelpPanelOpen()) {
        m_helpPanel->DetachOverlay();
        m_helpPanel->Close();
    }
    m_active = false;
}

void CSlideOut::PlaceAt(float f) {
    // Single precision throughout, as the slide always was: in double the last step stops short of 1.
    m_x = static_cast<int>(static_cast<float>(m_hiddenX) * (1.0f - f) + static_cast<float>(m_shownX) * f);
    m_y = static_cast<int>(static_cast<float>(m_hiddenY) * (1.0f - f) + static_cast<float>(m_shownY) * f);
}

void CSlideOut::SlideIn() {
    m_t += kSlideStep;
    float f = std::sin(m_t * kHalfPi);
    PlaceAt(f);
    if (m_t >= 1.0f) {
        // The last step lands exactly: t may pass 1 (a panel hidden at once keeps t = 1), where the
        // sine falls short again and would leave the pieces a pixel from their places.
        m_t = 1.0f;
        f = 1.0f;
        m_state = kShown;
        m_x = m_shownX;
        m_y = m_shownY;
        if (m_helpId != -1) {
            Services().PlayHelp(m_helpId, 1);
            m_helpStarted = true;
        }
    }
    if (m_overlay) {
        m_overlay->SetPosition(m_x, m_y);
        m_overlay->SetSlideFraction(f);
    }
}

void CSlideOut::SlideOut() {
    m_t -= kSlideStep;
    float f = std::sin(m_t * kHalfPi);
    PlaceAt(f);
    if (m_t <= 0.0f) {
        m_t = 0.0f;
        m_state = kHiddenState;
        m_x = m_hiddenX;
        m_y = m_hiddenY;
        if (m_overlay)
            m_overlay->Hide();
        ReleaseOverlay();
        return;
    }
    if (m_overlay) {
        m_overlay->SetPosition(m_x, m_y);
        m_overlay->SetSlideFraction(f);
    }
}

void CSlideOut::Update(int ms) {
    if (m_state == kSlidingIn) {
        SlideIn();
        DrawControls(false);
    } else if (m_state == kSlidingOut) {
        SlideOut();
    }
    if (!m_controls.empty()) {
        if (m_updateCursor >= m_controls.size())
            m_updateCursor = 0;
        m_controls[m_updateCursor]->UpdateControl();
        m_updateCursor = (m_updateCursor + 1) % m_controls.size();
    }
    if (HelpPanelOpen())
        m_helpPanel->Update(ms);
    TrackHover();
}

void CSlideOut::TrackHover() {
    plat::gfx2d::Point mouse = Services().GetMousePosition();
    int x = mouse.x - m_x;
    int y = mouse.y - m_y;

    CControl* hovered = nullptr;
    for (const auto& control : m_controls)
        if (control->HitTest(x, y))
            hovered = control.get(); // the last one under the pointer wins
    IHelpPanel* hoveredHelp = nullptr;
    if (HelpPanelOpen() && m_helpPanel->HitTest(x, y))
        hoveredHelp = m_helpPanel;

    bool changed = false;
    if (hoveredHelp != m_hoveredHelp) {
        if (m_hoveredHelp)
            m_hoveredHelp->OnHoverLeave();
        m_hoveredHelp = hoveredHelp;
        if (m_hoveredHelp && !m_hoveredHelp->OnHoverEnter())
            m_hoveredHelp = nullptr;
        changed = true;
    }
    if (hovered != m_hovered) {
        if (m_hovered)
            m_hovered->OnLeave();
        m_hovered = hovered;
        if (m_hovered && !m_hovered->OnEnter())
            m_hovered = nullptr;
        changed = true;
    }
    if (changed)
        DrawControls(true);
}

void CSlideOut::MouseMove(int x, int y) {
    for (const auto& control : m_controls)
        control->OnMouseMove(x, y);
    if (HelpPanelOpen())
        m_helpPanel->OnMouseMove(x, y);
}

bool CSlideOut::MouseClick(int x, int y, int buttons) {
    bool taken = false;
    for (const auto& control : m_controls)
        taken = control->HandleMouse(x, y, buttons) || taken; // every control is asked
    if (HelpPanelOpen())
        m_helpPanel->OnClick(x, y, buttons);
    return taken;
}

void CSlideOut::DrawControls(bool highlight) {
    for (const auto& control : m_controls)
        control->Draw(highlight);
    if (m_helpPanel)
        m_helpPanel->Redraw(highlight);
}

CControl* CSlideOut::FindControl(int id) const {
    for (const auto& control : m_controls)
        if (control->GetId() == id)
            return control.get();
    return nullptr;
}

void CSlideOut::ActivateControls() {
    for (const auto& control : m_controls)
        control->EnableIfDisabled();
}

void CSlideOut::DeactivateControls() {
    for (const auto& control : m_controls)
        control->DisableIfEnabled();
}

void CSlideOut::SetControlSound(int controlId, int sound, int name) {
    if (CControl* control = FindControl(controlId))
        control->SetSound(sound, name);
}

void CSlideOut::SetSound(int /*sound*/, int /*name*/) {
    m_soundId = kPanelSound;
}

bool CSlideOut::IsTransparentAt(int x, int y) {
    return !m_overlay || m_overlay->IsTransparentAt(x, y);
}

bool CSlideOut::HitsOverlay(int x, int y) const {
    if (!m_overlay)
        return false;
    std::vector<COverlay*> pieces;
    m_overlay->GetOverlayList(pieces);
    for (COverlay* piece : pieces) {
        // Where the piece is drawn now: a piece's own GetX gives its shown offset instead.
        int left = piece->COverlay::GetX();
        int top = piece->COverlay::GetY();
        if (x >= left && y >= top && x < left + piece->GetWidth() && y < top + piece->GetHeight())
            return true;
    }
    return false;
}

} // namespace zentrix
