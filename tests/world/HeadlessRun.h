#pragma once

// What the headless runs of a real car share: the race world on a track of the sample set, the race
// tick's passes, steering towards a point, the car's pose as the start of a trace line, and the recorded
// controls played frame by frame.

#include "CarDoubles.h"
#include "TrackDoubles.h"

#include "app/DriverControls.h"
#include "foundation/math/Vector.h"
#include "world/CarObject.h"
#include "world/WorldTopography.h"

#include <cstddef>
#include <string>
#include <vector>

namespace worldtest {

/// What the race leaves out of its ground: faces whose texture carries flag 0 in `assets`.
CTerrainMapper::NoGroundTexture NoGroundTextures(const CAssetMan& assets);

/// The race tick's passes over the world's objects, one frame of `ms`.
void TickWorld(unsigned ms);

/// The angle (radians) from the car's heading to the target, both taken flat on the ground; positive
/// where the target lies to the left.
float AngleTo(const CCarObject& car, const CVector& target);
/// Steering that turns by the angle, at full lock from about half a radian.
int SteeringFor(float angle);

/// "frame x y z dx dz speed": the car's pose, the start of a trace line.
std::string PoseLine(std::size_t frame, const CCarObject& car);

/// Hands the driver each frame's controls, ticks the world `ms`, then calls `seen(frame index)`.
template <class Seen>
void PlayControls(cartest::ScriptedDriver& driver, const std::vector<CDriverControls>& frames, unsigned ms,
                  Seen seen) {
    for (std::size_t f = 0; f < frames.size(); ++f) {
        driver.controls = frames[f];
        TickWorld(ms);
        seen(f);
    }
}

/// Up to `most` frames of the controls `decide(frame, controls)` gives (false: stop), each handed to the
/// driver and the world ticked `ms`.
template <class Decide>
std::vector<CDriverControls> RecordControls(cartest::ScriptedDriver& driver, int most, unsigned ms,
                                            Decide decide) {
    std::vector<CDriverControls> frames;
    for (int f = 0; f < most; ++f) {
        CDriverControls c;
        if (!decide(f, c))
            break;
        driver.controls = c;
        frames.push_back(c);
        TickWorld(ms);
    }
    return frames;
}

/// The race world with a track of the sample set read into the grid as the race reads it, its ground the
/// terrain of the pieces' meshes, the race started, the sounds recorded, one scripted driver.
class TrackRun : public TrackFixture {
protected:
    static constexpr unsigned kFrameMs = 40;

    void TearDown() override;

    /// Reads the track into the race world and starts the race on it.
    void StartRace(const std::string& fileName);

    CWorldTopography ground;
    cartest::RecordingSounds sounds;
    cartest::ScriptedDriver driver;
};

} // namespace worldtest
