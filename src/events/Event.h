#pragma once

#include "events/Effect.h"
#include "events/EventItemFactory.h"
#include "events/ScriptParser.h"
#include "events/Trigger.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

class CWorldObject;

/// One event of a script running for its owner: every frame its triggers and effects advance, and at
/// its check interval the triggers are tested; when all hold, every effect fires on the objects the
/// triggers name. An event with a timeout expires once it has lived longer.
class CEvent {
public:
    /// Triggers and effects are built through `items`, which must outlive the event.
    explicit CEvent(const CEventItemFactory& items) : m_items(items) {}
    virtual ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    /// Builds the event's triggers and effects from a parsed event, in script order. A timeout of 0 or
    /// less never expires; triggers are tested every `checkInterval` frames.
    void Init(const CScriptParser::CEventDesc& description, CWorldObject* owner, int timeoutMs,
              unsigned checkInterval);
    /// Adds the trigger of an item when its kind has a class and it accepts its values; true when the
    /// kind was known (even if its trigger refused), false for kind 6 and kinds without a class.
    bool CreateTrigger(const CScriptParser::CItemDesc& item);
    /// Likewise for effects; kinds 13 and 14 are known and build nothing.
    bool CreateEffect(const CScriptParser::CItemDesc& item);
    /// One frame: age, advance triggers and effects, test and fire at the check interval.
    void Update(unsigned ms);
    /// Whether there are triggers and all hold; stops at the first that does not, asking no more.
    bool AllTriggered();
    /// Fires every effect on the targets of all triggers, in trigger order, duplicates kept.
    void Fire();
    /// Deletes the triggers, and the effects after stopping each.
    void Clear();
    bool IsExpired() const { return m_expired; }

private:
    const CEventItemFactory& m_items;
    std::vector<std::unique_ptr<CTrigger>> m_triggers;
    std::vector<std::unique_ptr<CEffect>> m_effects;
    CWorldObject* m_owner = nullptr;
    std::uint32_t m_checkInterval = 0;
    std::uint32_t m_frameCount = 0;
    std::uint32_t m_elapsed = 0;
    std::int32_t m_timeout = 0;
    bool m_expired = false;
};

} // namespace zentrix
