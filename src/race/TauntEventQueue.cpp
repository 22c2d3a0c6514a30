#include "race/TauntEventQueue.h"

#include "foundation/math/Random.h"
#include "race/TauntCars.h"
#include "race/TauntDisplay.h"
#include "race/TauntMonitor.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zentrix {

namespace {

/// Priority by event id; -1 is never shown.
constexpr int kPriorities[CTauntEventQueue::kEventCount] = {-1, -1, -1, 7,  6,  6,  7,  8,  7,  8,  11, 11,
                                                            12, 12, -1, 12, 11, -1, -1, 4,  13, 14, 11, 12,
                                                            9,  12, 11, 8,  -1, 5,  4,  14, 14, 12};
constexpr int kNoTagEvent = 28;
constexpr int kFirstRandomEvent = 29;

/// The tag of an event; events 29..33 draw theirs.
int EventTag(int eventId) {
    switch (eventId) {
    case 29: {
        const int r = Random::Next() % 8;
        return r == 0 ? 1 : r == 1 ? 2 : 0;
    }
    case 30: {
        const int r = Random::Next() % 8;
        return r == 0 ? 17 : r == 1 ? 18 : 19;
    }
    case 31: {
        constexpr int kTags[7] = {1, 2, 0, 14, 14, 13, 13};
        return kTags[Random::Next() % 7];
    }
    case 32: {
        constexpr int kTags[4] = {1, 2, 0, 15};
        return kTags[Random::Next() % 4];
    }
    case 33:
        return Random::Next() % 6 < 3 ? 26 : 23;
    default:
        return eventId < kFirstRandomEvent && eventId != kNoTagEvent ? eventId : -1;
    }
}

bool IsPlayerCharacter(int driverIndex) {
    return driverIndex >= 9 && driverIndex <= 12;
}

} // namespace

CTauntEventQueue::CTauntEventQueue(const ITauntCars& cars, ITauntDisplay& display)
    : m_cars(cars), m_display(display) {
    Init();
}

int CTauntEventQueue::EventPriority(int eventId) {
    return eventId >= 0 && eventId < kEventCount ? kPriorities[eventId] : -1;
}

CTauntEventQueue::SLookup CTauntEventQueue::LookUp(int eventId, int driverIndex) {
    SLookup out;
    out.priority = EventPriority(eventId);
    if (out.priority == -1)
        return {};
    out.tag = EventTag(eventId);
    // The computer drivers' faces have only their four taunts.
    if (!IsPlayerCharacter(driverIndex) && (out.tag < 23 || out.tag > 26))
        return {};
    if (out.tag == -1)
        return {};
    return out;
}

void CTauntEventQueue::Init() {
    Clear();
    m_lastPriority = 0;
    m_enabled = false;
}

void CTauntEventQueue::Clear() {
    m_reports.fill(SReport{});
    m_count = 0;
}

void CTauntEventQueue::Enable() {
    m_enabled = true;
    Clear();
}

bool CTauntEventQueue::ReportEvent(const CWorldObject* car, int eventId) {
    if (m_count >= kMaxReports || !m_enabled || eventId < 0 || eventId >= kEventCount)
        return false;
    int slot = -1;
    int driverIndex = -2;
    if (!m_cars.FindDriver(car, slot, driverIndex) || slot < 0 || slot > kLastRacerSlot)
        return false;
    if (LookUp(eventId, driverIndex).priority == -1)
        return false;
    m_reports[static_cast<std::size_t>(m_count++)] = {car, eventId};
    return true;
}

void CTauntEventQueue::Frame() {
    if (m_display.IsHolding()) {
        bool reported = false;
        for (int i = 0; i < m_count && !reported; ++i) {
            int slot = -1;
            int driverIndex = -2;
            const SReport& report = m_reports[static_cast<std::size_t>(i)];
            if (m_cars.FindDriver(report.car, slot, driverIndex))
                reported = LookUp(report.event, driverIndex).tag == m_display.GetTag();
        }
        if (!reported)
            m_display.EndHold();
    }

    // The reports near the car of driver slot 0 compete; without that car nothing is shown.
    const CWorldObject* reference = m_cars.GetReferenceCar();
    if (reference) {
        const CVector centre = m_cars.GetPosition(reference);
        struct SNear {
            int event;
            int driverIndex;
            SLookup lookup;
        };
        std::vector<SNear> near;
        int best = -1;
        for (int i = 0; i < m_count; ++i) {
            const SReport& report = m_reports[static_cast<std::size_t>(i)];
            int slot = -1;
            int driverIndex = -2;
            if (!m_cars.FindDriver(report.car, slot, driverIndex))
                continue;
            const CVector offset = m_cars.GetPosition(report.car) - centre;
            const float distance = std::sqrt(offset.x * offset.x + offset.y * offset.y + offset.z * offset.z);
            // A whole distance below 30 is a distance below 30; a car at no number is never near.
            if (!(distance < static_cast<float>(kNearDistance)))
                continue;
            const SLookup lookup = LookUp(report.event, driverIndex);
            near.push_back({report.event, driverIndex, lookup});
            best = std::max(best, lookup.priority);
        }
        std::vector<SNear> kept;
        for (const SNear& candidate : near)
            if (candidate.lookup.priority == best && candidate.lookup.tag != -1)
                kept.push_back(candidate);
        if (!kept.empty()) {
            const SNear& pick = kept[static_cast<std::size_t>(Random::Next()) % kept.size()];
            const SLookup lookup = LookUp(pick.event, pick.driverIndex);
            if (lookup.tag != -1 && (!m_display.IsBusy() || lookup.priority > m_lastPriority)) {
                m_display.PlayTaunt(lookup.tag, pick.driverIndex, false,
                                    CTauntMonitor::IsHoldTag(lookup.tag));
                m_lastPriority = lookup.priority;
            }
        }
    }
    Clear();
}

} // namespace zentrix
