#pragma once

namespace zentrix {

/// Stands in for the game sound controller until the audio code is built: it plays nothing.
class CGameSoundControllerStandIn {
public:
    virtual ~CGameSoundControllerStandIn() = default;
    /// Creates and starts the sound manager; there is none yet.
    virtual void Start() {}
    /// Stops the car sounds and deletes the sound manager.
    virtual void Stop() {}
    /// The per-frame call.
    virtual void Update(int /*ms*/) {}
    /// Pauses (true) or resumes every channel.
    virtual void Pause(bool /*pause*/) {}
    /// Sets the effects volume (0..255).
    virtual void SetVolume(int /*volume*/) {}
    /// Plays an interface sound by id.
    virtual void PlayUiSound(int /*soundId*/) {}
    /// Plays spoken help item `soundId` on the help channel, looping when asked.
    virtual void PlayHelpSound(int /*soundId*/, bool /*loop*/) {}
    /// Stops the spoken help item that is playing.
    virtual void StopHelpSound() {}
    /// Whether a spoken help item is playing.
    virtual bool IsHelpSoundPlaying() const { return false; }
};

} // namespace zentrix
