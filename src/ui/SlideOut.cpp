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

namespace {

constexpr float kHalfPi = 1.5707964f;

} // namespace

CSlideOut::CSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : m_nResourceId(resourceId), m_pManager(manager), m_bUsesHelpPanel(usesHelpPanel) {
    ++s_liveCount;
}

CSlideOut::~CSlideOut() {
    // The base's own shutdown: a panel class's override has already run in its own destructor, if at all.
    CSlideOut::Shutdown();
    --s_liveCount;
}

IPanelServices& CSlideOut::Services() const {
    return m_pManager->GetServices();
}

void CSlideOut::Init() {
    IPanelServices& services = Services();
    services.GetInt(m_nResourceId, kFieldHelpId, m_nHelpId, 0);
    services.GetInt(m_nResourceId, kFieldPicture, m_nPictureId, 0);
    CVector shown(static_cast<float>(m_nShownX), static_cast<float>(m_nShownY), 0.0f);
    if (services.GetVector(m_nResourceId, kFieldShownPosition, shown, 0)) {
        m_nShownX = static_cast<int>(shown.x);
        m_nShownY = static_cast<int>(shown.y);
    }
    CVector hidden(static_cast<float>(m_nHiddenX), static_cast<float>(m_nHiddenY), 0.0f);
    if (services.GetVector(m_nResourceId, kFieldHiddenPosition, hidden, 0)) {
        m_nHiddenX = static_cast<int>(hidden.x);
        m_nHiddenY = static_cast<int>(hidden.y);
    }
    m_nX = m_nHiddenX;
    m_nY = m_nHiddenY;
    m_nState = kHiddenState;
    m_fT = 0.0f;

    // The count comes from the record; no field holds more elements than kMaxControls, so neither do we.
    int count = 0;
    services.GetInt(m_nResourceId, kFieldControlCount, count, 0);
    count = std::clamp(count, 0, kMaxControls);
    int sliders = 0;
    for (int i = 0; i < count; ++i) {
        int type = -1;
        services.GetInt(m_nResourceId, kFieldControlType, type, i);
        int ordinal = type == 5 ? sliders++ : 0;
        if (std::unique_ptr<CControl> control = CreateControl(type, i, ordinal))
            m_Controls.push_back(std::move(control));
    }

    m_pHovered = nullptr;
    m_pHoveredHelp = nullptr;
    m_bInitialised = true;
    AttachWorld();
    m_nUpdateCursor = 0;
    if (m_bUsesHelpPanel && !s_pHelpPanel)
        s_pHelpPanel = Services().CreateHelpPanel();
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
    m_pHovered = nullptr;
    m_pHoveredHelp = nullptr;
    m_Controls.clear();
    if (m_bUsesHelpPanel && s_pHelpPanel)
        s_pHelpPanel.reset();
    m_bInitialised = false;
}

bool CSlideOut::HelpPanelOpen() const {
    return m_bUsesHelpPanel && s_pHelpPanel && s_pHelpPanel->IsOpen();
}

void CSlideOut::CreateOverlay() {
    ReleaseOverlay();
    if (s_pHelpPanel && s_pHelpPanel->IsOpen()) {
        // The help picture goes back to the end of the drawing list, so the panel's picture, made next,
        // is drawn under it.
        s_pHelpPanel->DetachOverlay();
        Services().AddRenderObject(s_pHelpPanel->GetOverlay());
    }
    m_pOverlay = Services().CreateCompoundOverlay(m_nResourceId, m_nPictureId);
    if (m_pOverlay) {
        m_nOverlayWidth = m_pOverlay->GetWidth();
        m_nOverlayHeight = m_pOverlay->GetHeight();
    }
}

void CSlideOut::ReleaseOverlay() {
    if (!m_pOverlay)
        return;
    Services().DeleteOverlay(m_pOverlay);
    m_pOverlay = nullptr;
}

bool CSlideOut::Activate(bool immediate) {
    if (m_bActive)
        return true;
    if (m_bUsesHelpPanel && s_pHelpPanel)
        s_pHelpPanel->Open(this);
    CreateOverlay();
    if (m_pOverlay)
        m_pOverlay->Show();
    if (immediate) {
        m_nState = kShown;
        m_nX = m_nShownX;
        m_nY = m_nShownY;
        if (m_pOverlay)
            m_pOverlay->SetPosition(m_nX, m_nY);
    } else {
        m_nState = kSlidingIn;
    }
    m_bActive = true;
    DrawControls(false);
    return true;
}

void CSlideOut::Deactivate(bool immediate) {
    if (m_nState == kHiddenState)
        return;
    if (immediate) {
        m_nState = kHiddenState;
        m_nX = m_nHiddenX;
        m_nY = m_nHiddenY;
        if (m_pOverlay)
            m_pOverlay->SetPosition(m_nX, m_nY);
        ReleaseOverlay();
    } else {
        m_nState = kSlidingOut;
    }
    if (HelpPanelOpen()) {
        s_pHelpPanel->DetachOverlay();
        s_pHelpPanel->Close();
    }
    m_bActive = false;
}

void CSlideOut::PlaceAt(float f) {
    // Single precision throughout, as the slide always was: in double the last step stops short of 1.
    m_nX = static_cast<int>(static_cast<float>(m_nHiddenX) * (1.0f - f) + static_cast<float>(m_nShownX) * f);
    m_nY = static_cast<int>(static_cast<float>(m_nHiddenY) * (1.0f - f) + static_cast<float>(m_nShownY) * f);
}

void CSlideOut::SlideIn() {
    m_fT += kSlideStep;
    float f = std::sin(m_fT * kHalfPi);
    PlaceAt(f);
    if (m_fT >= 1.0f) {
        m_fT = 1.0f;
        m_nState = kShown;
        m_nX = m_nShownX;
        m_nY = m_nShownY;
        if (m_nHelpId != -1) {
            Services().PlayHelp(m_nHelpId, 1);
            m_bHelpStarted = true;
        }
    }
    if (m_pOverlay) {
        m_pOverlay->SetPosition(m_nX, m_nY);
        m_pOverlay->SetSlideFraction(f);
    }
}

void CSlideOut::SlideOut() {
    m_fT -= kSlideStep;
    float f = std::sin(m_fT * kHalfPi);
    PlaceAt(f);
    if (m_fT <= 0.0f) {
        m_fT = 0.0f;
        m_nState = kHiddenState;
        m_nX = m_nHiddenX;
        m_nY = m_nHiddenY;
        if (m_pOverlay)
            m_pOverlay->Hide();
        ReleaseOverlay();
        return;
    }
    if (m_pOverlay) {
        m_pOverlay->SetPosition(m_nX, m_nY);
        m_pOverlay->SetSlideFraction(f);
    }
}

void CSlideOut::Update(int ms) {
    if (m_nState == kSlidingIn) {
        SlideIn();
        DrawControls(false);
    } else if (m_nState == kSlidingOut) {
        SlideOut();
    }
    if (!m_Controls.empty()) {
        if (m_nUpdateCursor >= m_Controls.size())
            m_nUpdateCursor = 0;
        m_Controls[m_nUpdateCursor]->UpdateControl();
        m_nUpdateCursor = (m_nUpdateCursor + 1) % m_Controls.size();
    }
    if (HelpPanelOpen())
        s_pHelpPanel->Update(ms);
    TrackHover();
}

void CSlideOut::TrackHover() {
    plat::gfx2d::Point mouse = Services().GetMousePosition();
    int x = mouse.x - m_nX;
    int y = mouse.y - m_nY;

    CControl* hovered = nullptr;
    for (const auto& control : m_Controls)
        if (control->HitTest(x, y))
            hovered = control.get(); // the last one under the pointer wins
    IHelpPanel* hoveredHelp = nullptr;
    if (HelpPanelOpen() && s_pHelpPanel->HitTest(x, y))
        hoveredHelp = s_pHelpPanel.get();

    bool changed = false;
    if (hoveredHelp != m_pHoveredHelp) {
        if (m_pHoveredHelp)
            m_pHoveredHelp->OnHoverLeave();
        m_pHoveredHelp = hoveredHelp;
        if (m_pHoveredHelp && !m_pHoveredHelp->OnHoverEnter())
            m_pHoveredHelp = nullptr;
        changed = true;
    }
    if (hovered != m_pHovered) {
        if (m_pHovered)
            m_pHovered->OnLeave();
        m_pHovered = hovered;
        if (m_pHovered && !m_pHovered->OnEnter())
            m_pHovered = nullptr;
        changed = true;
    }
    if (changed)
        DrawControls(true);
}

void CSlideOut::MouseMove(int x, int y) {
    for (const auto& control : m_Controls)
        control->OnMouseMove(x, y);
    if (HelpPanelOpen())
        s_pHelpPanel->OnMouseMove(x, y);
}

bool CSlideOut::MouseClick(int x, int y, int buttons) {
    bool taken = false;
    for (const auto& control : m_Controls)
        taken = control->HandleMouse(x, y, buttons) || taken; // every control is asked
    if (HelpPanelOpen())
        s_pHelpPanel->OnClick(x, y, buttons);
    return taken;
}

void CSlideOut::DrawControls(bool highlight) {
    for (const auto& control : m_Controls)
        control->Draw(highlight);
    if (m_bUsesHelpPanel && s_pHelpPanel)
        s_pHelpPanel->Redraw(highlight);
}

CControl* CSlideOut::FindControl(int id) const {
    for (const auto& control : m_Controls)
        if (control->GetId() == id)
            return control.get();
    return nullptr;
}

void CSlideOut::ActivateControls() {
    for (const auto& control : m_Controls)
        control->EnableIfDisabled();
}

void CSlideOut::DeactivateControls() {
    for (const auto& control : m_Controls)
        control->DisableIfEnabled();
}

void CSlideOut::SetControlSound(int controlId, int sound, int name) {
    if (CControl* control = FindControl(controlId))
        control->SetSound(sound, name);
}

void CSlideOut::SetSound(int /*sound*/, int /*name*/) {
    m_nSoundId = kPanelSound;
}

bool CSlideOut::IsTransparentAt(int x, int y) {
    return !m_pOverlay || m_pOverlay->IsTransparentAt(x, y);
}

bool CSlideOut::HitsOverlay(int x, int y) const {
    if (!m_pOverlay)
        return false;
    std::vector<COverlay*> pieces;
    m_pOverlay->GetOverlayList(pieces);
    for (COverlay* piece : pieces) {
        // Where the piece is drawn now: a piece's own GetX gives its shown offset instead.
        int left = piece->COverlay::GetX();
        int top = piece->COverlay::GetY();
        if (x >= left && y >= top && x < left + piece->GetWidth() && y < top + piece->GetHeight())
            return true;
    }
    return false;
}
