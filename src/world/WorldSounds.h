#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// The sounds of a world's objects, which the game's sound controller plays (sound ids are asset ids;
/// car slots are driver slots 0..3). The world owns this seam so that its objects can be heard without
/// knowing the controller, and tests can hear what they play.
class IWorldSounds {
public:
    virtual ~IWorldSounds() = default;
    /// A one-shot of the car in `slot`.
    virtual void PlayCarSound(int soundId, int slot) = 0;
    /// Starts the engine sound of the car in `slot`.
    virtual void StartCarSound(int slot, int soundId) = 0;
    /// The car's position and engine level, given each physics step.
    virtual void SetCarPosition(int slot, const CVector& position, float level) = 0;
    /// Starts and stops the car's looping sound.
    virtual void StartCarLoop(int slot, int soundId) = 0;
    virtual void StopCarLoop(int slot) = 0;
    /// A sound at a world position, heard by driver slot 0 only.
    virtual void PlaySoundAt(int soundId, const CVector& position, bool looping, int driverSlot) = 0;
    /// How far track objects' sounds are heard.
    virtual float GetHearingDistance() const = 0;
};

} // namespace zentrix
