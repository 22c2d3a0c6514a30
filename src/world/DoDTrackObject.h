#pragma once

#include "world/CarObject.h"
#include "world/StuntTrackObject.h"

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

namespace zentrix {

class CBoundingVolume;

/// The sinking pit. Every car inside its box drives with a handling set whose grip depends on the car's
/// grip rating, takes the pit's stunt state and sinks its body into the ground. A car that almost stops
/// inside is stuck: held, its body tilting, after half a second sinking, and put back once it is deep
/// enough. A car that leaves the world while in the pit is forgotten with it, untouched.
class CDoDTrackObject : public CStuntTrackObject {
public:
    /// A car in the pit and how long it has been stuck there (0 for the cars inside).
    struct SPitCar {
        CCarObject* car;
        std::uint32_t ms;
    };
    static constexpr float kStopSpeed = 0.14f;
    static constexpr float kSinkLimit = -3.9f;
    static constexpr int kModifierMs = 200;
    static constexpr int kTaunt = 11;
    /// A stuck car is held still this long before it sinks this much an update.
    static constexpr std::uint32_t kSinkAfterMs = 500;
    static constexpr float kSinkStep = 0.018f;
    /// The body pivot of a car inside sinks this much an update while it stays above the floor.
    static constexpr float kBodySinkStep = 0.036f;
    static constexpr float kBodyFloor = -1.3f;
    static constexpr float kStuckParticleMs = 2300.0f;

    explicit CDoDTrackObject(int typeId);
    ~CDoDTrackObject() override;

    /// The piece and its box.
    bool Create() override;
    /// The piece's tick; unless the race is paused: the cars in the box, the stuck ones, the bodies.
    void Update(unsigned ms) override;
    /// A car leaving the world leaves both lists.
    void ForgetObject(const CWorldObject* object) override;

    /// A record of the car in the list; false when it had one.
    static bool AddCar(CCarObject* car, std::list<SPitCar>& list);
    /// Cars no longer in the box leave the lists; those that were inside lose the pit's state.
    void PruneCars(const std::vector<CCarObject*>& inBox);
    void UpdateStuck(unsigned ms);
    void UpdateInside();
    void RespawnCar(CCarObject& car) { car.Respawn(-1); }

    /// How the grip of the pit's handling scales with a car's grip rating: 1.6 at 9.9 and below, 1.0 at
    /// 10.9, 0.4 at 11.9 and above.
    static float GripFactor(float rating);
    /// The pit's handling set for a car of the rating.
    static CCarObject::SParamModifiers ModifiersFor(float rating);

    const std::list<SPitCar>& GetStuck() const { return m_stuck; }
    const std::list<SPitCar>& GetInside() const { return m_inside; }

private:
    void Enter(CCarObject& car);

    std::unique_ptr<CBoundingVolume> m_box;
    std::list<SPitCar> m_stuck;
    std::list<SPitCar> m_inside;
};

} // namespace zentrix
