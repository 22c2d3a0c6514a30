#pragma once

#include "events/Event.h"
#include "events/EventItemFactory.h"
#include "events/ScriptCache.h"

#include <memory>
#include <vector>

namespace zentrix {

class CWorldObject;

/// The events of one world object: those of the object's own script, loaded once, and those other
/// scripts add while the game runs, which start at the next update and may have a lifetime. Runs them
/// every frame and deletes the ones that expired.
class CEventController {
public:
    /// Scripts come from `scripts` (null: there is no asset manager); triggers and effects are built
    /// through `items`, which must outlive the controller.
    explicit CEventController(CScriptCache* scripts,
                              const CEventItemFactory& items = CEventItemFactory::Game())
        : m_scripts(scripts), m_items(items) {}
    virtual ~CEventController();
    CEventController(const CEventController&) = delete;
    CEventController& operator=(const CEventController&) = delete;

    /// Keeps the owner and starts the events of its script. Pieces of type id 15224, 16224, 17224 and
    /// 18224 run nothing: true, and the controller stays idle. False without a script cache (idle) or without
    /// a script (running, with no events of its own).
    bool LoadScript(CWorldObject* owner);
    /// Adds the events of a script resource for the owner, to start at the next update; a timeout
    /// above 0 is each event's lifetime in ms. False when the script is absent or does not parse.
    bool AddEvents(int scriptId, int timeoutMs);
    /// One frame of every running event, after the added ones joined; expired events are deleted.
    void Update(unsigned ms);
    /// Deletes every event and makes the controller idle.
    void Clear();

private:
    CScriptCache* m_scripts;
    const CEventItemFactory& m_items;
    std::vector<std::unique_ptr<CEvent>> m_active;
    std::vector<std::unique_ptr<CEvent>> m_pending;
    CWorldObject* m_owner = nullptr;
    bool m_loaded = false;
};

} // namespace zentrix
