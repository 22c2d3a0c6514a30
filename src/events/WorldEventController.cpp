#include "events/WorldEventController.h"

#include "events/AssetScriptCache.h"

namespace zentrix {

CWorldEventController::CWorldEventController(CScriptCache* scripts, const CEventItemFactory& items)
    : m_controller(scripts, items) {}

std::unique_ptr<IEventControllerLink> CWorldEventController::Make(CAssetMan* assets) {
    return std::make_unique<CWorldEventController>(CAssetScriptCache::Find(assets));
}

} // namespace zentrix
