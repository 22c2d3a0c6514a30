#include "ui/Control.h"

#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

CControl::CControl(CSlideOut* parent, int controlId) : m_nId(controlId), m_pParent(parent) {
    ++s_liveCount;
    ReadLayout();
}

CControl::~CControl() {
    --s_liveCount;
}

IPanelServices& CControl::Services() const {
    return m_pParent->Services();
}

int CControl::ReadInt(int dataId, int fallback) const {
    int value = fallback;
    Services().GetInt(m_pParent->GetId(), dataId, value, m_nId);
    return value;
}

void CControl::ReadLayout() {
    // A record that cannot be read leaves each field at a harmless value: placed at the origin with no
    // size, no click area and no help.
    m_nActiveX = ReadInt(kFieldActiveX, 0);
    m_nActiveY = ReadInt(kFieldActiveY, 0);
    m_nInactiveX = ReadInt(kFieldInactiveX, -1);
    m_nInactiveY = ReadInt(kFieldInactiveY, -1);
    if (m_nInactiveX == -1 && m_nInactiveY == -1) {
        m_nInactiveX = m_nActiveX;
        m_nInactiveY = m_nActiveY;
    }
    m_nX = m_nInactiveX;
    m_nY = m_nInactiveY;
    m_nWidth = ReadInt(kFieldWidth, 0);
    m_nHeight = ReadInt(kFieldHeight, 0);
    m_nState = kHidden;
    m_nHotLeft = ReadInt(kFieldHotLeft, 0);
    m_nHotRight = ReadInt(kFieldHotRight, 0);
    m_nHotTop = ReadInt(kFieldHotTop, 0);
    m_nHotBottom = ReadInt(kFieldHotBottom, 0);
    if (m_nHotLeft == 0 && m_nHotRight == 0 && m_nHotTop == 0 && m_nHotBottom == 0)
        m_nHotLeft = m_nHotTop = m_nHotRight = m_nHotBottom = -1;
    m_nHelpId = ReadInt(kFieldHelpId, -1);
}

bool CControl::HitTest(int x, int y) const {
    if (m_nHotLeft != -1) {
        int lx = x - m_nX;
        int ly = y - m_nY;
        return lx >= m_nHotLeft && lx <= m_nHotRight && ly >= m_nHotTop && ly <= m_nHotBottom;
    }
    return x >= m_nX && x <= m_nX + m_nWidth && y >= m_nY && y <= m_nY + m_nHeight;
}

bool CControl::SetSound(int /*sound*/, int /*name*/) {
    switch (m_nType) {
    case kTypePushButton:
        m_nSound = kSoundPushButton;
        return true;
    case kTypeToggleButton:
        m_nSound = kSoundToggleButton;
        return true;
    case kTypeTextEdit:
    case kTypeTextBox:
        m_nSound = kSoundText;
        return true;
    case kTypePowerMeter:
    case kTypeSliderBar:
        return false;
    default:
        m_nSound = 0;
        return true;
    }
}
