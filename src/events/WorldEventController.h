#pragma once

#include "events/EventController.h"
#include "world/EventControllerLink.h"

#include <memory>

namespace zentrix {

class CAssetMan;
class CWorldObject;

/// The event controller a world object runs: the events of its script from the asset manager's script
/// cache, the object standing as their owner.
class CWorldEventController final : public IEventControllerLink {
public:
    /// A controller over the cache (null: no script cache, the controller stays idle), building its
    /// triggers and effects through `items`, which must outlive it.
    explicit CWorldEventController(CScriptCache* scripts,
                                   const CEventItemFactory& items = CEventItemFactory::Game());

    /// The controller for a world object, over the script cache of `assets` (may be null).
    static std::unique_ptr<IEventControllerLink> Make(CAssetMan* assets);

    bool LoadScript(CWorldObject& owner) override { return m_controller.LoadScript(&owner); }
    bool AddEvents(int scriptId, int timeoutMs) override {
        return m_controller.AddEvents(scriptId, timeoutMs);
    }
    void Update(unsigned ms) override { m_controller.Update(ms); }

    CEventController& GetController() { return m_controller; }

private:
    CEventController m_controller;
};

} // namespace zentrix
