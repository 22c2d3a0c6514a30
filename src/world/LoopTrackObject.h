#pragma once

#include "world/TrackObject.h"

#include <list>
#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The vertical loop. A car that reaches its entry takes the loop stunt and is carried round by the
/// piece, not by the physics: the car itself waits at a fixed point of the piece, facing back along it,
/// while its body pivot runs round a circle of radius 19 with a sideways drift, slowest at the top. After
/// a full turn the car is put down at the exit at a fixed speed; cars that stall at the exit are pushed
/// clear. A car that leaves the world while carried is forgotten with it.
class CLoopTrackObject : public CTrackObject {
public:
    /// A car in the loop and how far round it has come (radians).
    struct SLoopCar {
        CCarObject* car;
        float angle;
    };
    static constexpr float kSphereRadius = 8.0f;
    static constexpr float kLoopRadius = 19.0f;
    static constexpr float kDrift = 14.0f;
    static constexpr float kTurnMs = 800.0f;
    static constexpr float kExitSpeed = 1.9f;
    /// Cars slower than this at the exit are pushed away from the piece with this force.
    static constexpr float kStallSpeed = 2.0f;
    static constexpr float kExitPush = 0.17f;
    static constexpr int kEnterSound = 51161;
    static constexpr int kTrailParticles = 9034;
    static constexpr int kTaunt = 12;
    static constexpr unsigned kStuntCamMs = 1900;

    explicit CLoopTrackObject(int typeId);
    ~CLoopTrackObject() override;

    /// The piece, then its entry and exit spheres.
    bool Create() override;
    /// The piece's tick; unless the race is paused: entry, leaving, clearing the exit.
    void Update(unsigned ms) override;
    /// Moves every carried car one step round (the race tick's collision pass).
    void CheckTrackCollision(unsigned ms) override;
    /// A car leaving the world leaves the loop.
    void ForgetObject(const CWorldObject* object) override;

    /// The first car at the entry that is not in the loop yet enters it.
    void CheckEntry();
    /// Cars past a full turn are put down at the exit.
    void MoveOut();
    /// Stalled cars at the exit are pushed clear.
    void PushExit();

    const std::list<SLoopCar>& GetCars() const { return m_cars; }

private:
    void Carry(SLoopCar& record, unsigned ms);

    std::list<SLoopCar> m_cars;
    std::unique_ptr<CBoundingVolume> m_entry;
    std::unique_ptr<CBoundingVolume> m_exit;
};

} // namespace zentrix
