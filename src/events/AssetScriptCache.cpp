#include "events/AssetScriptCache.h"

#include "foundation/assets/AssetMan.h"

namespace zentrix {

CScriptCache* CAssetScriptCache::Find(const CAssetMan* assets) {
    auto* link = assets ? dynamic_cast<CAssetScriptCache*>(assets->GetScriptCache()) : nullptr;
    return link ? &link->GetCache() : nullptr;
}

} // namespace zentrix
