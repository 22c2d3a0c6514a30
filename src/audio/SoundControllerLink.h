#pragma once

#include <string>

namespace plat::mixer {
class Mixer;
}

namespace zentrix {

class CSound;

/// What the sound manager and the wave sounds take from the game sound controller that owns the manager
/// (the controller answers the first two and the error log from the application: its error manager and
/// asset manager).
class ISoundControllerLink {
public:
    virtual ~ISoundControllerLink() = default;
    /// Whether the application has its error manager; the sound manager refuses to start without one.
    virtual bool HasErrorManager() const = 0;
    /// The asset manager's wave of a sound id (loaded on first request); null when there is none.
    virtual CSound* GetSound(int soundId) = 0;
    /// The mixer instance of the running sound manager, null when none runs. Waves are opened in and
    /// freed from the instance this answers at that moment.
    virtual plat::mixer::Mixer* GetMixerHandle() = 0;
    /// A playlist sample has ended (seen by the sound manager's per-frame update, on the main thread):
    /// the controller plays the next ambience sample.
    virtual void PlayNextAmbienceSample() = 0;
    /// Writes a failure to the error manager's log.
    virtual void LogError(const std::string& text) = 0;
};

} // namespace zentrix
