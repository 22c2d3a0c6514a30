#include "events/WorldEventController.h"

#include "events/AssetScriptCache.h"
#include "world/WorldObject.h"

namespace zentrix {

CWorldEventController::CWorldEventController(CScriptCache* scripts) : m_controller(scripts) {}

std::unique_ptr<IEventControllerLink> CWorldEventController::Make(CAssetMan* assets) {
    return std::make_unique<CWorldEventController>(CAssetScriptCache::Find(assets));
}

bool CWorldEventController::LoadScript(CWorldObject& owner) {
    m_object = &owner;
    return m_controller.LoadScript(this);
}

int CWorldEventController::GetTypeId() const {
    return m_object ? m_object->GetTypeId() : -1;
}

} // namespace zentrix
