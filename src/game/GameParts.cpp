#include "game/GameParts.h"

#include "app/App.h"
#include "events/AssetScriptCache.h"
#include "events/ScriptParser.h"
#include "events/WorldEventController.h"
#include "game/GameWorlds.h"
#include "platform/clock/Clock.h"
#include "platform/settings/Store.h"
#include "race/WorldRaceMan.h"
#include "world/AppWorldServices.h"
#include "world/WorldMan.h"

#include <algorithm>

namespace zentrix {

CGameParts::CGameParts() = default;

CGameParts::CGameParts(std::unique_ptr<plat::settings::Store> store,
                       std::unique_ptr<plat::clock::Clock> clock)
    : CAppParts(std::move(store), std::move(clock)) {}

CGameParts::~CGameParts() {
    // The registry must not keep services that go with the parts.
    if (m_worldServices && CWorldMan::GetServices() == m_worldServices.get())
        CWorldMan::SetLinks({});
}

std::unique_ptr<CAssetMan> CGameParts::CreateAssetMan(CAssetMan::SLinks links) {
    // The error manager is made before the asset manager and stopped after it, so the cache may keep it.
    links.makeScriptCache = [](CAssetMan& assets) -> std::unique_ptr<IScriptCacheLink> {
        return std::make_unique<CAssetScriptCache>(assets, g_pApp ? g_pApp->GetErrorMan() : nullptr);
    };
    return CAppParts::CreateAssetMan(std::move(links));
}

void CGameParts::FreeKeywordTables() {
    CScriptParser::FreeKeywordTables();
}

bool CGameParts::CreateWorlds() {
    if (!m_worldServices)
        m_worldServices = std::make_unique<CAppWorldServices>();
    SWorldLinks links;
    links.services = m_worldServices.get();
    links.makeWorld = &MakeGameWorld;
    CAppWorldServices* services = m_worldServices.get();
    links.makeEventController = [services](CWorldObject&) {
        return CWorldEventController::Make(services->GetAssetMan());
    };
    CWorldMan::SetLinks(std::move(links));
    return CWorldMan::CreateWorlds();
}

void CGameParts::DestroyWorlds() {
    CWorldMan::DestroyWorlds();
}

void CGameParts::FrameCurrentWorld(int ms) {
    CWorldMan::FrameCurrentWorld(static_cast<unsigned>(std::max(ms, 0)));
}

bool CGameParts::SetCurrentWorld(int worldId, CEventMan* /*events*/) {
    // The registry empties the application's queue itself.
    return CWorldMan::SetCurrentWorld(worldId);
}

int CGameParts::GetCurrentWorldId() const {
    return CWorldMan::GetCurrentWorldId();
}

bool CGameParts::IsRacePaused() const {
    auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace));
    return race && race->IsPaused();
}

CWorldMan* CGameParts::GetWorldMan() const {
    return CWorldMan::GetCurrentWorld();
}

} // namespace zentrix
