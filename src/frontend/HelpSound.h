#pragma once

namespace zentrix {

/// The help channel of the game's sound: what spoken help needs of the sound controller.
class IHelpSound {
public:
    virtual ~IHelpSound() = default;
    /// Plays help item `soundId` on the help channel, in place of the one playing, looping when asked.
    virtual void PlayHelpSound(int soundId, bool loop) = 0;
    /// Stops the help item that is playing, if any.
    virtual void StopHelpSound() = 0;
    /// Whether a help item is playing.
    virtual bool IsHelpSoundPlaying() const = 0;
};

} // namespace zentrix
