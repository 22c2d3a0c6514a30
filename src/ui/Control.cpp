#include "ui/Control.h"

#include "ui/PanelServices.h"
#include "ui/SlideOut.h"

namespace zentrix {

CControl::CControl(CSlideOut* parent, int controlId) : m_id(controlId), m_parent(parent) {
    ++s_liveCount;
    ReadLayout();
}

CControl::~CControl() {
    --s_liveCount;
}

IPanelServices& CControl::Services() const {
    return m_parent->Services();
}

int CControl::ReadInt(int dataId, int fallback) const {
    int value = fallback;
    Services().GetInt(m_parent->GetId(), dataId, value, m_id);
    return value;
}

void CControl::ReadLayout() {
    // A record that cannot be read leaves each field at a harmless value: placed at the origin with no
    // size, no click area and no help.
    m_activeX = ReadInt(kFieldActiveX, 0);
    m_activeY = ReadInt(kFieldActiveY, 0);
    m_inactiveX = ReadInt(kFieldInactiveX, -1);
    m_inactiveY = ReadInt(kFieldInactiveY, -1);
    if (m_inactiveX == -1 && m_inactiveY == -1) {
        m_inactiveX = m_activeX;
        m_inactiveY = m_activeY;
    }
    m_x = m_inactiveX;
    m_y = m_inactiveY;
    m_width = ReadInt(kFieldWidth, 0);
    m_height = ReadInt(kFieldHeight, 0);
    m_state = kHidden;
    m_hotLeft = ReadInt(kFieldHotLeft, 0);
    m_hotRight = ReadInt(kFieldHotRight, 0);
    m_hotTop = ReadInt(kFieldHotTop, 0);
    m_hotBottom = ReadInt(kFieldHotBottom, 0);
    if (m_hotLeft == 0 && m_hotRight == 0 && m_hotTop == 0 && m_hotBottom == 0)
        m_hotLeft = m_hotTop = m_hotRight = m_hotBottom = -1;
    m_helpId = ReadInt(kFieldHelpId, -1);
}

bool CControl::HitTest(int x, int y) const {
    if (m_hotLeft != -1) {
        int lx = x - m_x;
        int ly = y - m_y;
        return lx >= m_hotLeft && lx <= m_hotRight && ly >= m_hotTop && ly <= m_hotBottom;
    }
    return x >= m_x && x <= m_x + m_width && y >= m_y && y <= m_y + m_height;
}

bool CControl::SetSound(int /*sound*/, int /*name*/) {
    switch (m_type) {
    case kTypePushButton:
        m_sound = kSoundPushButton;
        return true;
    case kTypeToggleButton:
        m_sound = kSoundToggleButton;
        return true;
    case kTypeTextEdit:
    case kTypeTextBox:
        m_sound = kSoundText;
        return true;
    case kTypePowerMeter:
    case kTypeSliderBar:
        return false;
    default:
        m_sound = 0;
        return true;
    }
}

} // namespace zentrix
