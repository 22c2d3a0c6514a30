#include "game/GameParts.h"

#include "app/App.h"
#include "events/AssetScriptCache.h"
#include "events/ScriptParser.h"

namespace zentrix {

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

} // namespace zentrix
