#include "frontend/LapOfHonourSlideOut.h"

#include "app/RaceSetup.h"
#include "race/WorldRaceMan.h"
#include "ui/PanelServices.h"
#include "ui/TextBoxControl.h"

namespace zentrix {

CLapOfHonourSlideOut::CLapOfHonourSlideOut(int resourceId, CSlideOutMan* manager, bool usesHelpPanel)
    : CSlideOut(resourceId, manager, usesHelpPanel) {}

void CLapOfHonourSlideOut::FillRaceSetup(CRaceSetup& setup) {
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    if (!race)
        return;
    race->SetRaceOver();
    setup.laps = -1;
    for (int i = 1; i < kMaxRacers; ++i) {
        setup.driver[i] = -2;
        setup.kind[i] = -1;
        setup.car[i] = -1;
        setup.skin[i] = -1;
        setup.tyre[i] = -1;
    }
    setup.driver[0] = race->GetWinnerIndex();
    setup.kind[0] = DRIVER_KIND_COMPUTER;
    setup.car[0] = race->GetWinnerCar();
    setup.skin[0] = race->GetWinnerSkin();
    setup.tyre[0] = race->GetWinnerTyre();
    m_winner = race->GetWinnerIndex();

    if (auto* name = dynamic_cast<CTextBoxControl*>(FindControl(kWinnerText))) {
        // Only a driver index has a name; a race that named no winner shows none rather than another text.
        if (m_winner >= 0 && m_winner <= kLastDriverIndex)
            name->SetTextFromResource(kFirstNameTextId + m_winner);
        else
            name->ClearText();
        name->Draw(true);
    }
    if (auto* heading = dynamic_cast<CTextBoxControl*>(FindControl(kHeadingText))) {
        heading->SetTextFromResource(kHeadingTextId);
        heading->Draw(true);
    }
}

bool CLapOfHonourSlideOut::Activate(bool immediate) {
    if (IsActive())
        return true;
    CSlideOut::Activate(immediate);
    DrawControls(true);
    if (GetOpenSoundId() != 0)
        Services().PlayUiSound(GetOpenSoundId());
    return true;
}

void CLapOfHonourSlideOut::Deactivate(bool immediate) {
    if (!IsActive())
        return;
    m_winner = kNoWinner;
    CSlideOut::Deactivate(immediate);
}

void CLapOfHonourSlideOut::CreateOverlay() {
    CSlideOut::CreateOverlay();
    // The driver's face is drawn into this picture while the lap of honour runs: it follows the new one.
    if (CWorldRaceMan* race = CWorldRaceMan::GetInstance())
        race->ResetTauntPanel();
}

} // namespace zentrix
