#pragma once

#include "foundation/math/Vector.h"
#include "world/CarObject.h"

#include <cstdint>
#include <memory>

namespace zentrix {

class CBoundingBox;
class CBoundingSphere;
class CParticleSystem;

/// The car's side of pickups: the one it holds, the one that runs with its time, the lock against using
/// one, and what each type does when it starts, in each frame and when it ends: the shield respawns cars
/// that touch it, the boost pushes and lifts the nose, drops leave an object behind the car, the beam
/// slows and disables the cars ahead, the grip rolls the car on two wheels with grippy tyres.
class CCarPickupHelper {
public:
    /// Pickup types 0..10; 7 stands for one of the eight usable types drawn at random.
    static constexpr int kShield = 0;
    static constexpr int kBoost = 1;
    static constexpr int kBeam = 6;
    static constexpr int kRandomType = 7;
    static constexpr int kGrip = 9;
    static constexpr int kLastType = 10;
    /// How long the running pickups last; drops end at once.
    static constexpr std::uint32_t kDurationMs = 10000;
    static constexpr std::uint32_t kBeamDurationMs = 5000;
    /// The beam is on and off by turns for this long.
    static constexpr std::uint32_t kBeamPulseMs = 1000;
    /// The grip's texture flashes after this long, every 300 ms.
    static constexpr std::uint32_t kGripFlashStartMs = 7000;
    static constexpr std::uint32_t kGripFlashMs = 300;
    static constexpr int kGripTexture = 60483;
    static constexpr int kBeamParticles = 9021;
    /// Below this speed the boost pushes; the push.
    static constexpr float kBoostTopSpeed = 2.0f;
    static constexpr float kBoostPush = 0.1f;
    /// What a hit car hears, and how long a hit car's controls are released.
    static constexpr int kBeamHitSound = 51080;
    static constexpr int kBeamHitModifiersMs = 3000;
    static constexpr int kBeamDisableMs = 2600;
    /// Drops lie this far behind and above the car and last this long.
    static constexpr int kDropLifeMs = 10000;

    explicit CCarPickupHelper(CCarObject& car);
    virtual ~CCarPickupHelper();
    CCarPickupHelper(const CCarPickupHelper&) = delete;
    CCarPickupHelper& operator=(const CCarPickupHelper&) = delete;

    /// Holds a pickup of `type` in place of any held one; 7 draws one of 0, 1, 2, 3, 10, 4, 6, 9. A type
    /// outside 0..10 (scripts may give any number) changes nothing: false.
    bool Give(int type);
    /// Starts the held pickup, if any.
    void ActivateIfHeld();
    /// Ends the running pickup, then (unless the car is in a loop or locked) starts the held one; a drop
    /// ends at once.
    void Activate();
    /// Counts the lock down and runs the running pickup, ending it once its time has passed.
    void Update(unsigned ms);
    /// Undoes the running pickup's start; none runs afterwards.
    void EndActive();
    /// Ends the running pickup, and drops the held one too when asked.
    void Cancel(bool dropHeld);
    /// No pickup may be used for `ms` milliseconds.
    void SetLock(int ms) { m_lockMs = ms; }
    void ClearLock() { m_lockMs = -1; }
    /// Creates object `assetId` at `offset` from the car (x along its heading, y up), living `lifeMs`.
    void DropObject(int assetId, const CVector& offset, int lifeMs);

    /// Whether a pickup is held.
    bool HoldsPickup() const { return m_heldType != -1; }
    int GetHeldType() const { return m_heldType; }
    /// The held pickup's type; -1 for none.
    int GetPickupType() const { return m_heldType; }
    /// The running pickup's type; -1 for none.
    int GetActiveType() const { return m_activeType; }
    /// Every car's helper takes pickups (whether its driver does is the car's question).
    bool AcceptsPickups() const { return true; }
    /// The drops: 2, 3, 4 and 10.
    static bool IsInstantType(int type);
    /// How long a type runs; 0 for a type outside 0..10.
    static std::uint32_t GetDuration(int type);
    /// The object a drop type leaves; -1 for another type.
    static int DropAsset(int type);
    /// The sound a type starts with; -1 for none.
    static int StartSound(int type);

    int GetLockMs() const { return m_lockMs; }
    std::uint32_t GetActiveMs() const { return m_activeMs; }
    bool IsBeamOn() const { return m_beamOn; }
    std::uint32_t GetBeamMs() const { return m_beamMs; }
    CParticleSystem* GetBeamParticles() const { return m_beamParticles; }
    bool IsGripTextureSwapped() const { return m_gripTextureSwapped; }
    int GetGripWheelTexture() const { return m_gripWheelTexture; }
    CBoundingSphere& GetSphere() const { return *m_sphere; }
    CBoundingBox& GetBox() const { return *m_box; }
    CCarObject& GetCar() const { return m_car; }

private:
    void Start();
    void UpdateActive(unsigned ms);
    void End();
    void PlaySound(int soundId, int slot) const;
    void UpdateShield();
    void UpdateBeam(unsigned ms);
    void UpdateGrip(unsigned ms);
    /// Ends the beam's particles if they are still alive, and forgets them either way.
    void ExpireBeamParticles();
    void FlipGripTexture();

    CCarObject& m_car;
    int m_activeType = -1;
    int m_heldType = -1;
    std::unique_ptr<CBoundingSphere> m_sphere;
    std::unique_ptr<CBoundingBox> m_box;
    CParticleSystem* m_beamParticles = nullptr;
    std::uint32_t m_activeMs = 0;
    std::uint32_t m_beamMs = 0;
    bool m_beamOn = false;
    CCarObject::SParamModifiers m_boostModifiers{1.4f, 1.0f, 2.0f, 1.0f, 1.0f, 1.1f, 1.0f};
    CCarObject::SParamModifiers m_gripModifiers{1.0f, 1.4f, 1.8f, 1.0f, 2.0f, 1.0f, 40.0f};
    CCarObject::SParamModifiers m_beamHitModifiers{0.01f, 0.01f, 0.2f, 1.0f, 1.0f, 0.1f, 8.0f};
    int m_gripWheelTexture = -1;
    bool m_gripTextureSwapped = false;
    std::uint32_t m_gripMs = 0;
    std::uint32_t m_gripFlashMs = 0;
    int m_lockMs = -1;
};

} // namespace zentrix
