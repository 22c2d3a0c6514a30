#pragma once

namespace zentrix {

/// What changing an option does to the managers that apply it (music, sound, effects detail).
class IGameOptionEffects {
public:
    virtual ~IGameOptionEffects() = default;
    /// The music manager's volume becomes `volume`.
    virtual void SetMusicVolume(int volume) = 0;
    /// The game sound controller's volume becomes `volume` (0..255).
    virtual void SetSoundVolume(int volume) = 0;
    /// The adaptive effects manager applies detail level `level`.
    virtual void SetEffectsLevel(int level) = 0;
};

} // namespace zentrix
