#pragma once

#include "app/RaceSetup.h"
#include "world/RaceWorldLink.h"
#include "world/WorldMan.h"

namespace zentrix {

/// The race world, serving world ids 1 (a race) and 3 (the lap of honour). It sets up the shared world
/// and takes the races the world switch starts; the race itself (track, ground, drivers, cameras,
/// results) is still to come, so for now a started race only keeps its set-up.
class CWorldRaceMan : public CWorldMan, public IRaceWorldLink {
public:
    /// The shared world is set up; 1 when it cannot be.
    int Create() override;
    int Destroy() override;
    /// The race is over; then the world is cleared.
    void Deactivate() override;

    void StartRace(const CRaceSetup& setup, bool lapOfHonour) override;
    /// No ground is built yet.
    IWorldTopographyLink* GetTopography() override { return nullptr; }

    /// Whether a race was started since the world was last deactivated.
    bool HasStarted() const override { return m_raceStarted; }
    /// Whether the race is paused; no race pauses yet.
    bool IsPaused() const override { return false; }
    /// The set-up of the race started last, and whether it was a lap of honour.
    const CRaceSetup& GetRaceSetup() const { return m_setup; }
    bool IsLapOfHonour() const { return m_lapOfHonour; }

private:
    CRaceSetup m_setup{};
    bool m_raceStarted = false;
    bool m_lapOfHonour = false;
};

} // namespace zentrix
