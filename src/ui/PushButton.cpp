#include "ui/PushButton.h"

#include "foundation/assets/Bitmap.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

namespace zentrix {

CPushButton::CPushButton(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    ReadLayout();
}

CPushButton::~CPushButton() = default;

std::unique_ptr<CBitmap> CPushButton::LoadImage(int id) const {
    return id >= 1 ? Services().GetBitmap(id) : nullptr;
}

void CPushButton::ReleaseImages() {
    m_normal.reset();
    m_inactive.reset();
    m_pressed.reset();
    m_highlight.reset();
    m_background.reset();
    m_extra.reset();
}

void CPushButton::ReadLayout() {
    ReleaseImages();
    int pressedId = ReadInt(kFieldPressedImage, 0);
    int normalId = ReadInt(kFieldNormalImage, 0);
    int inactiveId = ReadInt(kFieldInactiveImage, 0);
    int highlightId = ReadInt(kFieldHighlightImage, 0);
    // A press lasts at least one update; a time below that from the data would leave the button pressed.
    m_pressTime = ReadInt(kFieldPressTime, 0);
    if (m_pressTime < 1)
        m_pressTime = 1;
    m_pressCountdown = 0;
    m_normal = LoadImage(normalId);
    m_inactive = LoadImage(inactiveId);
    m_highlight = LoadImage(highlightId);
    m_pressed = LoadImage(pressedId);
    if (m_pressed) {
        // The background buffer only needs a surface of the button's size: a second copy of the picture.
        m_background = LoadImage(pressedId);
        m_width = m_pressed->GetWidth();
        m_height = m_pressed->GetHeight();
    }
    m_buttonState = kNormal;
    m_state = kInactive;
    m_lastX = -1;
    m_lastY = -1;
    m_drawn = false;
    m_extraX = 0;
    m_extraY = 0;
    m_restoreBackground = true;
    m_type = kTypePushButton;
}

void CPushButton::SetImage(int id) {
    m_normal = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetDisabledImage(int id) {
    m_inactive = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetPressedImage(int id) {
    m_pressed = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetHighlightImage(int id) {
    m_highlight = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetExtraImage(int id, int x, int y) {
    m_extra.reset();
    m_extraX = 0;
    m_extraY = 0;
    if (id == -1)
        return;
    m_extra = Services().GetBitmap(id);
    m_extraX = x;
    m_extraY = y;
}

void CPushButton::PlayClickSound() {
    if (m_sound != 0 && m_sound != -1)
        Services().PlayUiSound(m_sound);
}

bool CPushButton::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    if (m_state != kActive)
        return false;
    if (m_buttonState != kNormal && m_buttonState != kHighlighted)
        return false;
    m_stateBeforePress = m_buttonState;
    m_buttonState = kPressed;
    m_pressCountdown = m_pressTime;
    Draw(false);
    // The pressed picture reaches the screen before the command runs, which may take a while.
    Services().UpdateEngine();
    Services().RenderFrame();
    m_parent->OnControl(m_id);
    PlayClickSound();
    return true;
}

bool CPushButton::OnEnter() {
    if (m_buttonState != kNormal)
        return false;
    m_buttonState = kHighlighted;
    if (m_highlight)
        Draw(true);
    return true;
}

bool CPushButton::OnLeave() {
    if (m_buttonState == kPressed)
        m_stateBeforePress = kNormal;
    if (m_helpId != -1)
        Services().OnHoverEnd(m_helpId);
    if (m_buttonState != kHighlighted)
        return false;
    m_buttonState = kNormal;
    if (m_highlight)
        Draw(false);
    return true;
}

void CPushButton::ChangeState(int state, int x, int y) {
    m_buttonState = kNormal;
    m_state = state;
    m_x = x;
    m_y = y;
    Draw(false);
}

bool CPushButton::EnableIfDisabled() {
    if (m_state == kActive) {
        Draw(false);
        return false;
    }
    if (m_state == kHidden)
        return true;
    ChangeState(kActive, m_activeX, m_activeY);
    return true;
}

bool CPushButton::DisableIfEnabled() {
    if (m_state != kActive)
        return false;
    ChangeState(kInactive, m_inactiveX, m_inactiveY);
    return true;
}

bool CPushButton::Disable() {
    if (m_state == kInactive)
        return false;
    ChangeState(kInactive, m_inactiveX, m_inactiveY);
    return true;
}

bool CPushButton::Enable() {
    if (m_state == kActive)
        return false;
    ChangeState(kActive, m_activeX, m_activeY);
    return true;
}

bool CPushButton::Hide() {
    if (m_state == kHidden)
        return false;
    ChangeState(kHidden, m_activeX, m_activeY);
    return true;
}

bool CPushButton::Show() {
    if (m_state != kHidden)
        return false;
    ChangeState(kActive, m_activeX, m_activeY);
    return true;
}

bool CPushButton::Draw(bool flag) {
    if (!m_parent->IsActive())
        return true;
    CCompoundOverlay* overlay = m_parent->GetOverlay();
    if (!overlay)
        return true;

    CBitmap* image = nullptr;
    switch (m_state) {
    case kHidden:
        if (!m_restoreBackground)
            return true;
        break;
    case kInactive:
        image = m_inactive ? m_inactive.get() : m_normal.get();
        break;
    case kActive:
        if (m_buttonState == kPressed)
            image = m_pressed.get();
        else if (m_buttonState == kHighlighted && m_highlight)
            image = m_highlight.get();
        else
            image = m_normal.get();
        break;
    default:
        image = m_normal.get();
        break;
    }

    if (m_background) {
        if (m_drawn && !flag)
            overlay->BlitFrom(m_lastX, m_lastY, m_background->GetSurface(), false, nullptr);
        // The picture under the button is taken again wherever the button moves to: the one saved at
        // its first place would paint a wrong patch into the panel at the other.
        if (!m_drawn || m_x != m_lastX || m_y != m_lastY)
            overlay->BlitTo(m_x, m_y, m_background->GetSurface());
    }
    m_lastX = m_x;
    m_lastY = m_y;
    m_drawn = true;

    if (image)
        overlay->BlitFrom(m_x, m_y, image->GetSurface(), true, nullptr);
    if (m_extra)
        overlay->BlitFrom(m_x + m_extraX, m_y + m_extraY, m_extra->GetSurface(), true, nullptr);
    return true;
}

void CPushButton::ReportHover() {
    if (m_buttonState == kHighlighted && m_helpId != -1)
        Services().OnHover(m_helpId);
}

void CPushButton::UpdateControl() {
    if (m_buttonState == kPressed) {
        if (--m_pressCountdown <= 0) {
            m_buttonState = m_stateBeforePress;
            EnableIfDisabled();
        }
    }
    // Hover help belongs to the panel in front; a button of a panel under it stays silent.
    if (m_parent->GetManager()->GetActiveSlideOut() == m_parent)
        ReportHover();
}

} // namespace zentrix
