#pragma once

#include "world/StuntTrackObject.h"

#include <cstdint>
#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The timed-death piece: it alternates between a quiet and a deadly phase on the theme's clock, plays
/// its deadly animation when the deadly phase starts, and puts back every car in its sphere at the
/// deadly moment: on ice for the whole deadly phase, elsewhere while the animation's frame lies inside
/// the theme's kill window. Every car inside is reported to the taunts on every update.
class CTimedDeathTrackObject : public CStuntTrackObject {
public:
    static constexpr float kSphereRadius = 15.7f;
    static constexpr int kTaunt = 11;
    static constexpr int kIdleAnimation = 0;
    static constexpr int kDeadlyAnimation = 1;
    /// Ice's two particle systems live this much less than its deadly phase.
    static constexpr std::uint32_t kParticleShortfallMs = 1400;
    static constexpr int kIceParticlesLeft = 9042;
    static constexpr int kIceParticlesRight = 9041;

    /// A theme's timing, kill window (animation frames, open at both ends) and sounds (-1 none).
    struct STheme {
        std::uint32_t quietMs;
        std::uint32_t deadlyMs;
        float windowStart;
        float windowEnd;
        int activationSound;
        int killSound;
    };
    /// The theme's row; the jungle's for a theme outside 0..3.
    static const STheme& ThemeOf(int theme);

    explicit CTimedDeathTrackObject(int typeId);
    ~CTimedDeathTrackObject() override;

    /// The piece, the kill sphere, the current theme's values, and the idle animation running.
    bool Create() override;
    /// The sphere goes.
    void Destroy() override;
    /// The piece's tick; unless the race is paused: the phase clock and the cars in the sphere.
    void Update(unsigned ms) override;

    /// The deadly phase starts: its animation, ice's particles, the activation sound.
    void Activate();
    /// The deadly phase ends.
    void Deactivate() {}
    /// The kill sound where the theme has one; the car is put back unless its collision pause runs
    /// (it was just put back).
    void KillCar(CCarObject& car) const;

    bool IsDeadly() const { return m_deadly; }
    std::uint32_t GetElapsedMs() const { return m_elapsedMs; }
    CBoundingVolume* GetSphere() const { return m_sphere.get(); }

private:
    int m_theme = 0;
    std::uint32_t m_quietMs = 0;
    std::uint32_t m_deadlyMs = 0;
    std::uint32_t m_elapsedMs = 0;
    bool m_deadly = false;
    float m_windowStart = 0.0f;
    float m_windowEnd = 0.0f;
    std::unique_ptr<CBoundingVolume> m_sphere;
};

} // namespace zentrix
