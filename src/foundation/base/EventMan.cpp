#include "foundation/base/EventMan.h"

#include <algorithm>

namespace zentrix {

CEventMan::CEventMan() {
    ResetCounts();
}

CEventMan::~CEventMan() {
    StopManager();
}

void CEventMan::ResetCounts() {
    std::fill(std::begin(m_pending), std::end(m_pending), 0u);
    std::fill(std::begin(m_latestSet), std::end(m_latestSet), false);
}

int CEventMan::StartManager() {
    ResetCounts();
    m_started = true;
    return 0;
}

int CEventMan::StopManager() {
    ResetCounts();
    m_queue.clear();
    m_started = false;
    return 0;
}

bool CEventMan::PostMessage(int type) {
    if (!IsValidType(type))
        return false;
    return QueueMessage(CMessage(type));
}

bool CEventMan::QueueMessage(const CMessage& message) {
    int type = message.GetType();
    if (!IsValidType(type))
        return false;
    m_queue.push_back(message);
    ++m_pending[type];
    return true;
}

bool CEventMan::FindMessage(int type, CMessage* out, bool remove) {
    if (!IsValidType(type) || m_pending[type] == 0)
        return false;
    auto found = std::find_if(m_queue.begin(), m_queue.end(),
                              [type](const CMessage& m) { return m.GetType() == type; });
    if (found == m_queue.end())
        return false;
    if (out)
        *out = *found;
    if (remove) {
        // Only the entry found goes: a message queued twice shares its serial with its twin.
        --m_pending[type];
        m_queue.erase(found);
    }
    return true;
}

bool CEventMan::GetLatest(int type, CMessage* out) {
    if (!IsValidType(type) || !m_latestSet[type])
        return false;
    m_latestSet[type] = false;
    if (out)
        *out = m_latest[type];
    return true;
}

bool CEventMan::SetLatest(const CMessage& message) {
    int type = message.GetType();
    if (!IsValidType(type))
        return false;
    m_latest[type] = message;
    m_latestSet[type] = true;
    return true;
}

// Coordinates and keys travel as signed values, so a pointer left of the window stays negative.
void CEventMan::SetMouseMessage(int x, int y, int type) {
    SetLatest(CMessage(type, x, y));
}

void CEventMan::SetButtonMessage(int x, int y, int button, int type) {
    SetLatest(CMessage(type, x, y, button));
}

void CEventMan::SetKeyMessage(int key) {
    SetLatest(CMessage(VORNMSG_KEY_DOWN, key));
}

void CEventMan::SetPointerMessage(int imageId) {
    SetLatest(CMessage(VORNMSG_SET_POINTER, imageId));
}

void CEventMan::Clear() {
    m_queue.clear();
    ResetCounts();
}

std::uint32_t CEventMan::GetPendingCount(int type) const {
    return IsValidType(type) ? m_pending[type] : 0u;
}

} // namespace zentrix
