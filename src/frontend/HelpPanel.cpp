#include "frontend/HelpPanel.h"

#include "frontend/HelpButton.h"
#include "frontend/HelpManager.h"
#include "frontend/HelpPanelServices.h"
#include "frontend/HelpVideoPlayer.h"
#include "render/Overlay.h"
#include "ui/SlideOut.h"

namespace zentrix {

CHelpPanel::CHelpPanel(IHelpPanelServices& services) : m_services(services) {}

CHelpPanel::~CHelpPanel() {
    CHelpPanel::Close();
}

bool CHelpPanel::IsHelpOn() const {
    CHelpManager* help = m_services.GetHelpManager();
    return help && help->IsHelpOn();
}

void CHelpPanel::AttachOverlay() {
    // Refused (no drawing list), the picture stays the panel's own and its parts draw into it unseen.
    if (m_detachedOverlay)
        m_services.AddRenderObject(m_detachedOverlay);
}

void CHelpPanel::DetachOverlay() {
    if (m_overlay && !m_detachedOverlay)
        m_detachedOverlay = m_services.RemoveRenderObject(m_overlay);
}

void CHelpPanel::ClearPicture() {
    if (m_overlay)
        m_overlay->FillRect(kMagenta, {0, 0, kSize, kSize});
}

void CHelpPanel::Open(CSlideOut* panel) {
    if (m_open)
        Close(); // one panel at a time: its parts are made afresh for the new one
    m_panel = panel;
    m_detachedOverlay = std::make_unique<COverlay>(kSize, kSize);
    m_overlay = m_detachedOverlay.get();
    m_overlay->SetPosition(kX, kY);
    m_overlay->Show();
    ClearPicture();
    AttachOverlay();
    m_button = std::make_unique<CHelpButton>(m_services, m_overlay);
    m_button->Reset();
    m_state = m_previousState;
    m_video = std::make_unique<CHelpVideoPlayer>(m_services);
    m_video->Attach(m_overlay);
    m_open = true;
}

void CHelpPanel::Close() {
    if (!m_open)
        return;
    if (m_button)
        m_button->Reset();
    m_previousState = m_state;
    m_state = kClosed;
    m_video.reset();
    m_button.reset();
    DetachOverlay();
    // Off the drawing list (or never put on it, when it could not be taken back) the panel owns it.
    m_detachedOverlay.reset();
    m_overlay = nullptr;
    m_panel = nullptr;
    m_open = false;
}

bool CHelpPanel::HitTest(int x, int y) const {
    return m_button && m_button->HitTest(x, y);
}

bool CHelpPanel::OnHoverEnter() {
    return m_button && m_button->OnHoverEnter();
}

void CHelpPanel::OnHoverLeave() {
    if (m_button)
        m_button->OnHoverLeave();
}

void CHelpPanel::OnMouseMove(int x, int y) {
    if (m_button)
        m_button->OnMouseMove(x, y);
}

bool CHelpPanel::OnClick(int x, int y, int /*buttons*/) {
    if (!m_button || !m_video || !m_button->Press(x, y))
        return false;
    CHelpManager* help = m_services.GetHelpManager();
    if (help) {
        help->SetHelpMode(!help->IsHelpOn(), true);
        if (help->IsHelpOn())
            m_video->ShowRestPose();
        else
            m_video->Stop();
    }
    m_video->Draw();
    return true;
}

void CHelpPanel::Redraw(bool noErase) {
    if (!m_button)
        return;
    ClearPicture();
    if (m_state == kShown && m_video) {
        if (!m_video->IsPlaying())
            m_video->ShowRestPose();
        m_video->Draw();
    }
    m_button->Draw(noErase);
}

void CHelpPanel::Update(int ms) {
    if (!m_open || !m_button || !m_video)
        return;
    m_state = IsHelpOn() && m_panel && m_panel->UsesHelpPanel() ? kShown : kHidden;
    if (m_state == kShown)
        m_video->Draw();
    else
        ClearPicture();
    m_button->Update(ms);
    m_button->Draw(false);
}

void CHelpPanel::DriveCharacter(int group) {
    if (m_open && m_video)
        m_video->PlayGroup(group);
}

} // namespace zentrix
