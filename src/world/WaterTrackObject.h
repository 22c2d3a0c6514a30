#pragma once

#include "world/TrackObject.h"

#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The piece with open water: a car in its water box splashes, sinks and is put back on the route half a
/// second after it was last in the water. The box's size and place depend on the piece; a piece of no
/// listed type has no water.
class CWaterTrackObject : public CTrackObject {
public:
    static constexpr int kSplashSound = 51120;
    static constexpr int kSplashParticles = 9062;
    static constexpr int kRespawnDelayMs = 500;
    /// The splash shows this far above the piece's origin.
    static constexpr float kSurfaceHeight = 2.0f;

    /// A piece's water box: its sizes and its offset in the piece's frame.
    struct SWater {
        CVector sizes;
        CVector offset;
    };
    /// The box of a type id; false (no water) for an id of no listed water piece.
    static bool WaterOf(int typeId, SWater& out);

    explicit CWaterTrackObject(int typeId);
    ~CWaterTrackObject() override;

    /// The piece, then its water box.
    bool Create() override;
    /// The piece's tick, then every car in the water sinks; also while the race is paused.
    void Update(unsigned ms) override;
    /// The splash sound and particles, and the car back on the route 500 ms from now.
    void SinkCar(CCarObject& car) const;

    CBoundingVolume* GetWaterBox() const { return m_box.get(); }

private:
    std::unique_ptr<CBoundingVolume> m_box;
};

} // namespace zentrix
