#pragma once

#include "world/CarObject.h"

#include <array>
#include <cstdint>

namespace zentrix {

/// The slow lorry that drives among the racers under its own driver, bobbing and swaying as it goes and
/// puffing exhaust smoke. Anything that hits it once its first two seconds are over (or 244 seconds
/// of driving) tips it onto its side; it drops its theme's cargo, lies there a moment and leaves the
/// world, off every driver's watch list. It never takes a pickup. The factory makes it for object kind 22.
class CJamTruck : public CCarObject {
public:
    /// Phases: driving, tipping over, lying on its side, ended.
    enum EPhase : int { kEnded = -1, kDriving = 0, kTipping = 1, kLying = 2 };
    /// How long each phase lasts before the next, by phase.
    static constexpr std::array<std::uint32_t, 3> kPhaseMs{244000, 400, 2400};
    /// No collisions for this long after set-up, nor for this long after the cargo dropped.
    static constexpr std::uint32_t kStartPauseMs = 2000;
    static constexpr std::uint32_t kDropPauseMs = 10000;
    static constexpr int kCargoLifeMs = 10000;
    /// The exhaust: the first puff after (interval - elapsed at set-up), then every 2 to 5 seconds.
    static constexpr int kSmokeParticles = 9001;
    static constexpr int kSmokePuffs = 3;
    static constexpr std::uint32_t kFirstSmokeMs = 1000;
    static constexpr std::uint32_t kFirstSmokeIntervalMs = 3000;
    static constexpr int kLeastSmokeIntervalMs = 2000;
    static constexpr int kMostSmokeIntervalMs = 5000;
    /// The body textures a theme replaces.
    static constexpr int kBodyTextureA = 60515;
    static constexpr int kBodyTextureB = 60555;
    /// The driving body's bob and sway.
    static constexpr float kBobPeriodMs = 380.0f;
    static constexpr float kBobHeight = 0.65f;

    /// What a theme (0..3) gives the truck: the cargo it drops, the drop sound, and the two body textures
    /// (the replaced id itself where the theme keeps it).
    struct STheme {
        int cargo;
        int dropSound;
        int textureA;
        int textureB;
    };
    /// The theme's row; the jungle's for a theme outside 0..3.
    static const STheme& ThemeOf(int theme);

    explicit CJamTruck(int assetId);
    ~CJamTruck() override;

    /// The car's set-up, then driving with collisions paused for two seconds, in the theme's livery.
    bool Init() override;
    /// The car's frame; unless the race is paused: the phase clock, the phase's animation and the smoke.
    void Update(unsigned ms) override;
    /// A hit while driving starts the tipping; nothing else (no record, sound or taunt of a car).
    void RecordCollision(const CVector& direction, float magnitude, int kind, CWorldObject* other) override;
    /// The truck takes no pickups, whoever drives it.
    bool HasPickup() const override { return false; }
    bool IsJamTruck() const override { return true; }

    /// A phase past its time moves the truck on by one; an ended truck leaves the drivers' watch lists
    /// and is marked dead (the world removes it at its next tick).
    void AdvancePhase();
    /// The theme's cargo at the truck's position, its drop sound there, and no collisions for a while.
    void DropCargo();
    /// The body bobs (380 ms) and sways (1520 ms), both growing with the speed.
    void AnimateDriving();
    /// The pivot rolls onto its side over the tipping phase.
    void AnimateTipping();
    /// On its side, held where it fell.
    void AnimateLyingOnSide();

    int GetPhase() const { return m_phase; }
    std::uint32_t GetPhaseMs() const { return m_phaseMs; }
    std::uint32_t GetSmokeMs() const { return m_smokeMs; }
    std::uint32_t GetSmokeIntervalMs() const { return m_smokeIntervalMs; }

private:
    /// The pivot rolled by `angle` about (0, 0, -1).
    void RollPivot(float angle);

    int m_phase = kEnded;
    std::uint32_t m_phaseMs = 0;
    std::uint32_t m_smokeMs = kFirstSmokeMs;
    std::uint32_t m_smokeIntervalMs = kFirstSmokeIntervalMs;
};

} // namespace zentrix
