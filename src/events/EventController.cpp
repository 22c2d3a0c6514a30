#include "events/EventController.h"

#include "world/WorldObject.h"

namespace zentrix {

namespace {

// Piece 224 of each of the four worlds carries no events.
bool RunsNoEvents(int typeId) {
    return typeId == 15224 || typeId == 16224 || typeId == 17224 || typeId == 18224;
}

} // namespace

CEventController::~CEventController() {
    Clear();
}

bool CEventController::LoadScript(CWorldObject* owner) {
    m_owner = owner;
    const int typeId = owner ? owner->GetTypeId() : -1;
    if (RunsNoEvents(typeId))
        return true;
    if (m_scripts == nullptr)
        return false;
    const CScriptParser::TEventList* events = m_scripts->GetScript(typeId);
    m_loaded = true;
    if (events == nullptr)
        return false;
    for (const CScriptParser::CEventDesc& description : *events) {
        auto event = std::make_unique<CEvent>(m_items);
        event->Init(description, m_owner, 0, 1);
        m_active.push_back(std::move(event));
    }
    return true;
}

bool CEventController::AddEvents(int scriptId, int timeoutMs) {
    const CScriptParser::TEventList* events = m_scripts ? m_scripts->GetResourceScript(scriptId) : nullptr;
    if (events == nullptr)
        return false;
    for (const CScriptParser::CEventDesc& description : *events) {
        auto event = std::make_unique<CEvent>(m_items);
        event->Init(description, m_owner, timeoutMs, 1);
        m_pending.push_back(std::move(event));
    }
    return true;
}

void CEventController::Update(unsigned ms) {
    if (!m_loaded)
        return;
    for (auto& event : m_pending)
        m_active.push_back(std::move(event));
    m_pending.clear();
    // An effect may add events while this runs; they wait in the pending list, so the loop's list
    // does not change under it.
    for (const auto& event : m_active)
        event->Update(ms);
    for (auto it = m_active.begin(); it != m_active.end();) {
        if ((*it)->IsExpired()) {
            (*it)->Clear();
            it = m_active.erase(it);
        } else {
            ++it;
        }
    }
}

void CEventController::Clear() {
    for (auto& event : m_active)
        event->Clear();
    for (auto& event : m_pending)
        event->Clear();
    m_active.clear();
    m_pending.clear();
    m_loaded = false;
}

} // namespace zentrix
