#pragma once

#include "world/StuntTrackObject.h"

#include <cstdint>
#include <list>
#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The cannon: a car that drives into its intake is held still for 200 ms, then put at the muzzle and
/// shot out backwards along the piece with smoke and a bang; it can be loaded again 400 ms after it was
/// taken in. A car that leaves the world while loaded is forgotten with it.
class CCannonTrackObject : public CStuntTrackObject {
public:
    /// A car taken in: ms since then, and whether it still waits to be fired.
    struct SLoadedCar {
        CCarObject* car;
        std::uint32_t elapsedMs;
        bool loaded;
    };
    static constexpr std::uint32_t kHoldMs = 200;
    static constexpr std::uint32_t kReleaseMs = 400;
    static constexpr std::uint32_t kHeldPauseMs = 100;
    static constexpr float kMuzzleSpeed = 2.1f;
    static constexpr float kMuzzleLift = 0.9f;
    static constexpr int kSmokeParticles = 9023;
    static constexpr int kFireAnimation = 1;
    static constexpr int kFireSound = 51159;

    explicit CCannonTrackObject(int typeId);
    ~CCannonTrackObject() override;

    /// The piece, then its intake box.
    bool Create() override;
    /// The piece's tick; unless the race is paused: intake, the held cars' timers, release.
    void Update(unsigned ms) override;
    /// A car leaving the world loses its record.
    void ForgetObject(const CWorldObject* object) override;

    /// A record for the car, unless it has one.
    void AddCar(CCarObject* car);
    /// Every record's timer; a loaded car is held and, past the hold time, fired.
    void UpdateCars(unsigned ms);
    /// The car at the muzzle with the muzzle velocity; smoke, the theme's animation and the bang.
    void Fire(CCarObject& car);

    const std::list<SLoadedCar>& GetCars() const { return m_cars; }
    CBoundingVolume* GetIntakeBox() const { return m_intake.get(); }

private:
    std::unique_ptr<CBoundingVolume> m_intake;
    std::list<SLoadedCar> m_cars;
};

} // namespace zentrix
