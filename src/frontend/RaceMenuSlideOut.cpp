#include "frontend/RaceMenuSlideOut.h"

#include "app/ScreenSupport.h"
#include "foundation/base/Message.h"
#include "race/WorldRaceMan.h"
#include "ui/PanelServices.h"

namespace zentrix {

CRaceMenuSlideOut::CRaceMenuSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel,
                                     int firstButton, int lastButton)
    : CSlideOut(resourceId, manager, usesHelpPanel), m_firstButton(firstButton), m_lastButton(lastButton) {}

void CRaceMenuSlideOut::AttachWorld() {
    m_race = CWorldRaceMan::GetInstance();
}

bool CRaceMenuSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    for (int id = m_firstButton; id <= m_lastButton; ++id)
        SetControlSound(id, 0, 0);
    SetSound(0, 0);
    CSlideOut::Activate(immediate);
    PostScreenMessage(VORNMSG_SHOW_POINTER);
    ActivateControls();
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    return true;
}

void CRaceMenuSlideOut::Deactivate(bool immediate) {
    if (!IsActive())
        return;
    DeactivateControls();
    CSlideOut::Deactivate(immediate);
}

} // namespace zentrix
