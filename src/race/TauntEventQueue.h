#pragma once

#include <array>

namespace zentrix {

class CWorldObject;
class ITauntCars;
class ITauntDisplay;

/// The taunt events of one frame: cars, drivers and pieces report small events (a jump, a crash, being
/// overtaken); once a frame the queue keeps the reports of the highest priority near the car of driver
/// slot 0, picks one at random and has the display show the reporting driver's face for it.
class CTauntEventQueue {
public:
    static constexpr int kMaxReports = 40;
    static constexpr int kEventCount = 34;
    /// Reports from cars this far or farther from the reference car are dropped.
    static constexpr int kNearDistance = 30;
    /// Driver slots above this are not racers and report nothing.
    static constexpr int kLastRacerSlot = 3;

    /// What an event shows for a driver: the expression tag and the priority (both -1: never shown).
    struct SLookup {
        int tag = -1;
        int priority = -1;
    };

    /// A queue over the race's cars and its display; disabled and empty.
    CTauntEventQueue(const ITauntCars& cars, ITauntDisplay& display);

    /// Empty, last priority 0, disabled.
    void Init();
    /// Every report dropped.
    void Clear();
    /// Reports are taken from now on; the queue is emptied.
    void Enable();
    /// Queues event `eventId` about `car`; refused (false) while disabled, when 40 reports wait, for an
    /// event outside 0..33, a car without a driver or whose driver slot is not 0..3, or an event that the
    /// driver never shows.
    bool ReportEvent(const CWorldObject* car, int eventId);
    /// The frame's work: a hold whose event is no longer reported ends; the nearest highest-priority
    /// reports are kept and one of them is shown; the queue ends empty.
    void Frame();

    int GetCount() const { return m_count; }
    int GetLastPriority() const { return m_lastPriority; }
    bool IsEnabled() const { return m_enabled; }

    /// What event `eventId` shows for driver index `driverIndex`: player characters (9..12) show every
    /// tag, the other drivers only 23..26. Events 29..33 draw their tag from the game's random numbers
    /// each time. An event outside 0..33 shows nothing.
    static SLookup LookUp(int eventId, int driverIndex);
    /// The table priority of an event (-1: never shown, or outside 0..33).
    static int EventPriority(int eventId);

private:
    struct SReport {
        const CWorldObject* car = nullptr;
        int event = -1;
    };

    const ITauntCars& m_cars;
    ITauntDisplay& m_display;
    std::array<SReport, kMaxReports> m_reports{};
    int m_count = 0;
    int m_lastPriority = 0;
    bool m_enabled = false;
};

} // namespace zentrix
