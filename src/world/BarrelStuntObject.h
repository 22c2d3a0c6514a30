#pragma once

#include "world/TrackObject.h"

#include <memory>

namespace zentrix {

class CBoundingVolume;
class CCarObject;

/// The barrel roll: a car flying fast through its stunt sphere is spun a full turn about the axis its
/// record names, lifted a little, and shown off with the theme's particles, animation and sound. Round
/// it the piece brakes every car near its centre and puts back every car that falls into its reset box.
/// A piece whose record gives no spin time spins no car, but lifts it and shows it off all the same.
class CBarrelStuntObject : public CTrackObject {
public:
    static constexpr int kFieldStuntRadius = 357;
    static constexpr int kFieldSpinTime = 360;
    static constexpr int kFieldSpinAxis = 361;
    static constexpr int kFieldSpinSense = 362;
    static constexpr float kBrakeRadius = 16.0f;
    static constexpr float kBrakeForce = 0.02f;
    /// Only cars faster than this over the ground are spun.
    static constexpr float kMinimumSpeed = 1.5f;
    static constexpr float kLift = 0.2f;
    static constexpr int kTaunt = 12;
    static constexpr int kTwinParticles = 9028;
    static constexpr int kTwinParticlesMs = 350;
    static constexpr unsigned kStuntCamExtraMs = 1200;

    explicit CBarrelStuntObject(int typeId);
    ~CBarrelStuntObject() override;

    /// The piece, its three volumes and its spin from the record.
    bool Create() override;
    /// The piece's tick; unless the race is paused: the reset box, the brake, the stunt.
    void Update(unsigned ms) override;

    /// The spin axis of a record value: x, y, z for 0..2, -x otherwise.
    static CVector AxisOf(int value);
    int GetSpinTime() const { return m_spinTime; }
    const CVector& GetSpinAxis() const { return m_spinAxis; }
    float GetSpinAngle() const { return m_spinAngle; }

private:
    void Stunt(CCarObject& car);
    void ThemeEffect(CCarObject& car);

    std::unique_ptr<CBoundingVolume> m_stunt;
    std::unique_ptr<CBoundingVolume> m_brake;
    std::unique_ptr<CBoundingVolume> m_reset;
    int m_spinTime = 0;
    CVector m_spinAxis{-1.0f, 0.0f, 0.0f};
    float m_spinAngle = 0.0f;
};

} // namespace zentrix
