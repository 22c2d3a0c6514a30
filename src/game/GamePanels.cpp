#include "game/GamePanels.h"

#include "construct/ConstSlideOut.h"
#include "construct/ConstrNewSlideOut.h"
#include "frontend/EditorPrinter.h"
#include "frontend/LapOfHonourSlideOut.h"
#include "frontend/MainScreen2SlideOut.h"
#include "frontend/MainScreenSlideOut.h"
#include "frontend/OptionsSlideOut.h"
#include "frontend/QelSlideOut.h"
#include "frontend/RaceEndOptionsSlideOut.h"
#include "frontend/RaceOptionsSlideOut.h"
#include "frontend/VideoSlideout.h"
#include "race/RaceSlideOut.h"

namespace zentrix {

namespace {

// Slide-out indices of the screens' panels.
constexpr int kConstruction = 0;
constexpr int kNewTrack = 2;
constexpr int kRace = 3;
constexpr int kMainScreen = 7;
constexpr int kMainScreen2 = 8;
constexpr int kOptions = 15;
constexpr int kVideo = 17;
constexpr int kStartUpPictures = 18;
// The panels over the race: the pause menu, the race-end choice and the lap of honour.
constexpr int kRaceOptions = 4;
constexpr int kRaceEnd = 5;
constexpr int kLapOfHonour = 14;

} // namespace

std::unique_ptr<CSlideOut> MakeGamePanel(int index, int resourceId, bool usesHelpPanel,
                                         CSlideOutMan* manager) {
    switch (index) {
    case kConstruction:
        return std::make_unique<CConstSlideOut>(resourceId, manager, usesHelpPanel,
                                                std::make_unique<CEditorPrinter>());
    case kNewTrack:
        return std::make_unique<CConstrNewSlideOut>(resourceId, manager, usesHelpPanel);
    case kRace:
        return std::make_unique<CRaceSlideOut>(resourceId, manager, usesHelpPanel);
    case kMainScreen:
        return std::make_unique<CMainScreenSlideOut>(resourceId, manager, usesHelpPanel);
    case kMainScreen2:
        return std::make_unique<CMainScreen2SlideOut>(resourceId, manager, usesHelpPanel);
    case kOptions:
        return std::make_unique<COptionsSlideOut>(resourceId, manager, usesHelpPanel);
    case kVideo:
        return std::make_unique<CVideoSlideout>(resourceId, manager, usesHelpPanel);
    case kStartUpPictures:
        return std::make_unique<CQelSlideOut>(resourceId, manager);
    case kRaceOptions:
        return std::make_unique<CRaceOptionsSlideOut>(resourceId, manager, usesHelpPanel);
    case kRaceEnd:
        return std::make_unique<CRaceEndOptionsSlideOut>(resourceId, manager, usesHelpPanel);
    case kLapOfHonour:
        return std::make_unique<CLapOfHonourSlideOut>(resourceId, manager, usesHelpPanel);
    default:
        return nullptr; // no panel is made for the other indices
    }
}

} // namespace zentrix
