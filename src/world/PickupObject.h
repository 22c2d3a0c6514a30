#pragma once

#include "world/WorldObject.h"

#include <cstdint>
#include <memory>

namespace zentrix {

class CBoundingSphere;
class CTrackObject;

/// A power-up floating over a spawn pad: it bobs and turns a display object hung under it, and hands its
/// pickup type to every car that drives into its sphere, then dies. The world's factory makes one for
/// object kind 14; the spawning manager places it, names its pad and its type and gives it its life.
class CPickupObject : public CWorldObject {
public:
    /// The row field naming the display object's asset.
    static constexpr int kFieldDisplayObject = 224;
    /// The child index of the display object.
    static constexpr int kDisplayChild = 1;
    /// One bob up and down takes this long.
    static constexpr std::uint32_t kBobPeriodMs = 3000;
    static constexpr float kBobAmplitude = 1.0f;
    static constexpr float kBobBaseHeight = 5.5f;
    /// The display object turns this many radians a millisecond (about half a turn a second).
    static constexpr float kTurnPerMs = 0.0031415f;
    /// The radius of the sphere a car must meet to take the pickup.
    static constexpr float kCollectRadius = 6.0f;
    /// The sound of a pickup appearing in a race.
    static constexpr int kAppearSound = 51070;

    CPickupObject(int assetId, int lifeMs);
    ~CPickupObject() override;

    /// The world object's Create, then the display object (field 224 of the asset; without one the
    /// pickup is not marked created and shows nothing) and the sphere; in a race it sounds.
    bool Create() override;
    /// The world object's Destroy, then the sphere goes.
    void Destroy() override;
    /// Life time, the pad (a dead pad takes its pickup along), the bob and turn, then collection.
    void Update(unsigned ms) override;

    /// The pad the pickup stands on (not owned); null for none.
    void SetPiece(CTrackObject* piece) { m_piece = piece; }
    CTrackObject* GetPiece() const { return m_piece; }
    /// The pickup type a car gets; also marks the pickup created.
    void SetType(int type);
    int GetType() const { return m_type; }
    /// Milliseconds since the pickup was made.
    std::uint32_t GetElapsed() const { return m_elapsed; }
    /// The child that shows the pickup; null for none.
    CWorldObject* GetDisplayObject() const { return m_display; }

    void ForgetObject(const CWorldObject* object) override;

private:
    void UpdateMotion(unsigned ms);
    void CheckCollection();

    CTrackObject* m_piece = nullptr;
    std::uint32_t m_elapsed = 0;
    CWorldObject* m_display = nullptr;
    std::unique_ptr<CBoundingSphere> m_volume;
    int m_type = -1;
};

} // namespace zentrix
