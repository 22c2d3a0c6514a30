#pragma once

#include "world/WorldMan.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class CWorldObject;

/// The world of the car workshop (id 0). It is made, started, stopped and deleted with the other worlds
/// and sets up the shared world, but no game state shows the workshop, so it is never current: it holds
/// the car ids and room for the car and its podium, and nothing is ever put in them.
class CWorldWorkshopMan : public CWorldMan {
public:
    /// Number of cars, ids 60000 to 60012 (index = id - 60000).
    static constexpr int kCarCount = 13;
    static constexpr int kFirstCarId = 60000;

    /// No car or podium; the car ids in order; no turn time.
    CWorldWorkshopMan();
    /// Destroys itself; the list of car ids goes with it.
    ~CWorldWorkshopMan() override;

    /// The shared world is set up; 1 when it cannot be.
    int Create() override;
    /// Only when started: frees the shared world; 0.
    int Destroy() override;
    /// Acts only while this world is current.
    void Deactivate() override;

    CWorldObject* GetCar() const { return m_car; }
    CWorldObject* GetPodium() const { return m_podium; }
    const std::vector<int>& GetCarIds() const { return m_carIds; }
    std::uint32_t GetTurnTime() const { return m_turnTime; }

private:
    CWorldObject* m_car = nullptr;
    CWorldObject* m_podium = nullptr;
    std::vector<int> m_carIds;
    std::uint32_t m_turnTime = 0;
};

} // namespace zentrix
