#pragma once

namespace zentrix {

/// What the effects-detail manager sets outside the particle systems: the race world's taunts and the
/// shadow manager's shadows and skid-mark pool, and where it reads the player's effects level. The
/// application fills it over its options and the worlds.
class IEffectsLevelLinks {
public:
    virtual ~IEffectsLevelLinks() = default;
    /// The "EffectsLevel" game option as stored (not checked).
    virtual int GetEffectsLevelOption() = 0;
    /// Whether the race world plays its taunts.
    virtual void SetTauntsEnabled(bool enabled) = 0;
    /// Turns the shadows off (or on again).
    virtual void SetShadowsOff(bool off) = 0;
    /// Makes the skid-mark pool this large; the marks on the ground go.
    virtual void SetSkidMarkCount(int count) = 0;
};

} // namespace zentrix
