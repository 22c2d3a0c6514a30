#include "game/GameWorlds.h"

#include "construct/WorldConstructMan.h"
#include "frontend/MVDTauntPlayer.h"
#include "frontend/WorldControllerMan.h"
#include "frontend/WorldDriverInfoMan.h"
#include "frontend/WorldGenMan.h"
#include "frontend/WorldMainScreen2Man.h"
#include "frontend/WorldMainScreenMan.h"
#include "frontend/WorldMapMan.h"
#include "frontend/WorldMultiPlayerMan.h"
#include "frontend/WorldOptionsMan.h"
#include "frontend/WorldPreRaceMan.h"
#include "frontend/WorldTrackSelectorMan.h"
#include "frontend/WorldVideoPlayMan.h"
#include "frontend/WorldWorkshopMan.h"
#include "race/WorldRaceMan.h"

namespace zentrix {

std::unique_ptr<CWorldMan> MakeGameWorld(int worldId) {
    switch (worldId) {
    case CWorldMan::kWorkshop:
        return std::make_unique<CWorldWorkshopMan>();
    case CWorldMan::kRace: {
        auto race = std::make_unique<CWorldRaceMan>();
        // The race's taunt monitor shows the drivers' faces with the raw-video player.
        race->SetTauntPlayerMaker(&CMVDTauntPlayer::Make);
        return race;
    }
    case CWorldMan::kConstruct:
        return std::make_unique<CWorldConstructMan>();
    case CWorldMan::kMainScreen:
        return std::make_unique<CWorldMainScreenMan>();
    case CWorldMan::kMainScreen2:
        return std::make_unique<CWorldMainScreen2Man>();
    case CWorldMan::kPreRace:
        return std::make_unique<CWorldPreRaceMan>();
    case CWorldMan::kWorldMap:
        return std::make_unique<CWorldMapMan>();
    case CWorldMan::kTrackSelector:
        return std::make_unique<CWorldTrackSelectorMan>();
    case CWorldMan::kMultiPlayer:
        return std::make_unique<CWorldMultiPlayerMan>();
    case CWorldMan::kDriverInfo:
        return std::make_unique<CWorldDriverInfoMan>();
    case CWorldMan::kOptions:
        return std::make_unique<CWorldOptionsMan>();
    case CWorldMan::kController:
        return std::make_unique<CWorldControllerMan>();
    case CWorldMan::kVideoPlay:
        return std::make_unique<CWorldVideoPlayMan>();
    case CWorldMan::kStartUp:
        return std::make_unique<CWorldGenMan>();
    default:
        return nullptr;
    }
}

} // namespace zentrix
