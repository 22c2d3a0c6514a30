#include "game/GamePanels.h"

#include "app/standin/PanelStandIn.h"
#include "frontend/MainScreen2SlideOut.h"
#include "frontend/MainScreenSlideOut.h"
#include "frontend/OptionsSlideOut.h"
#include "frontend/QelSlideOut.h"
#include "race/RaceSlideOut.h"

namespace zentrix {

namespace {

// Slide-out indices of the screens' panels.
constexpr int kRace = 3;
constexpr int kMainScreen = 7;
constexpr int kMainScreen2 = 8;
constexpr int kOptions = 15;
constexpr int kStartUpPictures = 18;

} // namespace

std::unique_ptr<CSlideOut> MakeGamePanel(int index, int resourceId, bool usesHelpPanel,
                                         CSlideOutMan* manager) {
    switch (index) {
    case kRace:
        return std::make_unique<CRaceSlideOut>(resourceId, manager, usesHelpPanel);
    case kMainScreen:
        return std::make_unique<CMainScreenSlideOut>(resourceId, manager, usesHelpPanel);
    case kMainScreen2:
        return std::make_unique<CMainScreen2SlideOut>(resourceId, manager, usesHelpPanel);
    case kOptions:
        return std::make_unique<COptionsSlideOut>(resourceId, manager, usesHelpPanel);
    case kStartUpPictures:
        return std::make_unique<CQelSlideOut>(resourceId, manager);
    default:
        return std::make_unique<CPanelStandIn>(resourceId, manager, usesHelpPanel);
    }
}

} // namespace zentrix
