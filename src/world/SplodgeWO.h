#pragma once

#include "world/TopographyFollower.h"
#include "world/WorldObject.h"

#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// A splat lying on the track: a flat object kept on the ground and turned to its slope, that acts on
/// the grounded cars driving over it by its type: 12200 spins them, 12201 slows them, 12202 sends them
/// crazy, 12203 bounces them (the last three through resource scripts the car runs). Every car that
/// crosses one loses its running pickup and cannot use one for a while. The jam truck drives over
/// splats untouched. The factory makes one for object kind 21; the world holds its world-object part.
class CSplodgeWO : public CTopographyFollower, public CWorldObject {
public:
    static constexpr float kRadius = 6.0f;
    /// Re-grounded at the first update and then every this many updates.
    static constexpr int kRegroundUpdates = 11;
    /// The four splats.
    static constexpr int kSpin = 12200;
    static constexpr int kSlow = 12201;
    static constexpr int kCrazy = 12202;
    static constexpr int kBounce = 12203;
    /// The slow splat's speed limit; the bounce splat acts on cars less than this above it.
    static constexpr float kSlowSpeed = 0.25f;
    static constexpr float kBounceReach = 0.3f;
    /// The resource scripts the cars run, for this long.
    static constexpr int kSpinScript = 50069;
    static constexpr int kCrazyScript = 50072;
    static constexpr int kBounceScript = 50074;
    static constexpr int kScriptTimeoutMs = 200;

    CSplodgeWO(int assetId, int lifeMs);
    ~CSplodgeWO() override;

    /// On the ground under (x, z), turned to its slope.
    void SetPositionVector(const CVector& position) override;
    /// The up vector is always the ground's normal under the object.
    void SetOrientation(const CVector& direction, const CVector& up) override;
    /// The world object's tick, re-grounding now and then, and the cars on it.
    void Update(unsigned ms) override;
    /// The grounded cars in its sphere, in list order; a car in its collision pause ends the pass.
    void CheckContacts();

    int GetRegroundCounter() const { return m_counter; }
    CBoundingVolume* GetVolume() const { return m_volume.get(); }

private:
    void ActOn(CCarObject& car) const;

    int m_counter = 0;
    std::unique_ptr<CBoundingVolume> m_volume;
};

} // namespace zentrix
