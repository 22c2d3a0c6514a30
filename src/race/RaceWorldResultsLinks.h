#pragma once

#include "race/RaceResultsLinks.h"
#include "race/RouteNodeManRoute.h"

#include <memory>

namespace zentrix {

class CWorldRaceMan;

/// What the race world gives its results: the program's route, the drivers of the cars in the car slots,
/// the resource texts, the screen sounds, the race panel's plates and the race world's end of race.
class CRaceWorldResultsLinks : public IRaceResultsLinks {
public:
    explicit CRaceWorldResultsLinks(CWorldRaceMan& race) : m_race(race) {}

    const IRaceRoute* GetRoute() const override;
    CDriver* GetSlotDriver(int slot) const override;
    bool LoadText(int textId, std::string& text) override;
    int GetRaceState() const override;
    void StopUiSound() override;
    void PlayUiSound(int soundId) override;
    void SuspendUiSounds(int ms) override;
    void ClearPlates() override;
    void AddPlate(int slot, int laps, IRacerCar* car) override;
    void SetPlate(int slot, int position, int laps, IRacerCar* car) override;
    void OnRaceOver() override;

private:
    CWorldRaceMan& m_race;
    mutable std::unique_ptr<CRouteNodeManRoute> m_route;
};

} // namespace zentrix
