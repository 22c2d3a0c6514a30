#include "ui/PushButton.h"

#include "foundation/assets/Bitmap.h"
#include "render/CompoundOverlay.h"
#include "ui/PanelServices.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"

CPushButton::CPushButton(CSlideOut* parent, int controlId) : CControl(parent, controlId) {
    ReadLayout();
}

CPushButton::~CPushButton() = default;

std::unique_ptr<CBitmap> CPushButton::LoadImage(int id) const {
    return id >= 1 ? Services().GetBitmap(id) : nullptr;
}

void CPushButton::ReleaseImages() {
    m_pNormal.reset();
    m_pInactive.reset();
    m_pPressed.reset();
    m_pHighlight.reset();
    m_pBackground.reset();
    m_pExtra.reset();
}

void CPushButton::ReadLayout() {
    ReleaseImages();
    int pressedId = ReadInt(kFieldPressedImage, 0);
    int normalId = ReadInt(kFieldNormalImage, 0);
    int inactiveId = ReadInt(kFieldInactiveImage, 0);
    int highlightId = ReadInt(kFieldHighlightImage, 0);
    // A press lasts at least one update; a time below that from the data would leave the button pressed.
    m_nPressTime = ReadInt(kFieldPressTime, 0);
    if (m_nPressTime < 1)
        m_nPressTime = 1;
    m_nPressCountdown = 0;
    m_pNormal = LoadImage(normalId);
    m_pInactive = LoadImage(inactiveId);
    m_pHighlight = LoadImage(highlightId);
    m_pPressed = LoadImage(pressedId);
    if (m_pPressed) {
        // The background buffer only needs a surface of the button's size: a second copy of the picture.
        m_pBackground = LoadImage(pressedId);
        m_nWidth = m_pPressed->GetWidth();
        m_nHeight = m_pPressed->GetHeight();
    }
    m_nButtonState = kNormal;
    m_nState = kInactive;
    m_nLastX = -1;
    m_nLastY = -1;
    m_bDrawn = false;
    m_nExtraX = 0;
    m_nExtraY = 0;
    m_bRestoreBackground = true;
    m_nType = kTypePushButton;
}

void CPushButton::SetImage(int id) {
    m_pNormal = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetDisabledImage(int id) {
    m_pInactive = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetPressedImage(int id) {
    m_pPressed = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetHighlightImage(int id) {
    m_pHighlight = id == -1 ? nullptr : Services().GetBitmap(id);
}

void CPushButton::SetExtraImage(int id, int x, int y) {
    m_pExtra.reset();
    m_nExtraX = 0;
    m_nExtraY = 0;
    if (id == -1)
        return;
    m_pExtra = Services().GetBitmap(id);
    m_nExtraX = x;
    m_nExtraY = y;
}

void CPushButton::PlayClickSound() {
    if (m_nSound != 0 && m_nSound != -1)
        Services().PlayUiSound(m_nSound);
}

bool CPushButton::HandleMouse(int x, int y, int /*buttons*/) {
    if (!HitTest(x, y))
        return false;
    if (m_nState != kActive)
        return false;
    if (m_nButtonState != kNormal && m_nButtonState != kHighlighted)
        return false;
    m_nStateBeforePress = m_nButtonState;
    m_nButtonState = kPressed;
    m_nPressCountdown = m_nPressTime;
    Draw(false);
    // The pressed picture reaches the screen before the command runs, which may take a while.
    Services().UpdateEngine();
    Services().RenderFrame();
    m_pParent->OnControl(m_nId);
    PlayClickSound();
    return true;
}

bool CPushButton::OnEnter() {
    if (m_nButtonState != kNormal)
        return false;
    m_nButtonState = kHighlighted;
    if (m_pHighlight)
        Draw(true);
    return true;
}

bool CPushButton::OnLeave() {
    if (m_nButtonState == kPressed)
        m_nStateBeforePress = kNormal;
    if (m_nHelpId != -1)
        Services().OnHoverEnd(m_nHelpId);
    if (m_nButtonState != kHighlighted)
        return false;
    m_nButtonState = kNormal;
    if (m_pHighlight)
        Draw(false);
    return true;
}

void CPushButton::ChangeState(int state, int x, int y) {
    m_nButtonState = kNormal;
    m_nState = state;
    m_nX = x;
    m_nY = y;
    Draw(false);
}

bool CPushButton::EnableIfDisabled() {
    if (m_nState == kActive) {
        Draw(false);
        return false;
    }
    if (m_nState == kHidden)
        return true;
    ChangeState(kActive, m_nActiveX, m_nActiveY);
    return true;
}

bool CPushButton::DisableIfEnabled() {
    if (m_nState != kActive)
        return false;
    ChangeState(kInactive, m_nInactiveX, m_nInactiveY);
    return true;
}

bool CPushButton::Disable() {
    if (m_nState == kInactive)
        return false;
    ChangeState(kInactive, m_nInactiveX, m_nInactiveY);
    return true;
}

bool CPushButton::Enable() {
    if (m_nState == kActive)
        return false;
    ChangeState(kActive, m_nActiveX, m_nActiveY);
    return true;
}

bool CPushButton::Hide() {
    if (m_nState == kHidden)
        return false;
    ChangeState(kHidden, m_nActiveX, m_nActiveY);
    return true;
}

bool CPushButton::Show() {
    if (m_nState != kHidden)
        return false;
    ChangeState(kActive, m_nActiveX, m_nActiveY);
    return true;
}

bool CPushButton::Draw(bool flag) {
    if (!m_pParent->IsActive())
        return true;
    CCompoundOverlay* overlay = m_pParent->GetOverlay();
    if (!overlay)
        return true;

    CBitmap* image = nullptr;
    switch (m_nState) {
    case kHidden:
        if (!m_bRestoreBackground)
            return true;
        break;
    case kInactive:
        image = m_pInactive ? m_pInactive.get() : m_pNormal.get();
        break;
    case kActive:
        if (m_nButtonState == kPressed)
            image = m_pPressed.get();
        else if (m_nButtonState == kHighlighted && m_pHighlight)
            image = m_pHighlight.get();
        else
            image = m_pNormal.get();
        break;
    default:
        image = m_pNormal.get();
        break;
    }

    if (m_pBackground) {
        if (m_bDrawn && !flag)
            overlay->BlitFrom(m_nLastX, m_nLastY, m_pBackground->GetSurface(), false, nullptr);
        // The picture under the button is taken again wherever the button moves to: the one saved at
        // its first place would paint a wrong patch into the panel at the other.
        if (!m_bDrawn || m_nX != m_nLastX || m_nY != m_nLastY)
            overlay->BlitTo(m_nX, m_nY, m_pBackground->GetSurface());
    }
    m_nLastX = m_nX;
    m_nLastY = m_nY;
    m_bDrawn = true;

    if (image)
        overlay->BlitFrom(m_nX, m_nY, image->GetSurface(), true, nullptr);
    if (m_pExtra)
        overlay->BlitFrom(m_nX + m_nExtraX, m_nY + m_nExtraY, m_pExtra->GetSurface(), true, nullptr);
    return true;
}

void CPushButton::ReportHover() {
    if (m_nButtonState == kHighlighted && m_nHelpId != -1)
        Services().OnHover(m_nHelpId);
}

void CPushButton::UpdateControl() {
    if (m_nButtonState == kPressed) {
        if (--m_nPressCountdown <= 0) {
            m_nButtonState = m_nStateBeforePress;
            EnableIfDisabled();
        }
    }
    // Hover help belongs to the panel in front; a button of a panel under it stays silent.
    if (m_pParent->GetManager()->GetActiveSlideOut() == m_pParent)
        ReportHover();
}
