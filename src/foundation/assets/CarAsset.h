#pragma once

#include "foundation/assets/AWOAsset.h"

#include <array>

namespace zentrix {

/// The parameters of a car: its bodies and two wheel sets (one for the workshop, one for the race), its
/// livery and tyre type, and six handling values derived from levels 0..6 through fixed tables.
class CCarAsset : public CAWOAsset {
public:
    /// The handling values, in the order of the raw levels (data ids 377, 378, 381, 379, 382, 380).
    enum EHandling {
        kAcceleration,
        kBraking,
        kSteering381,
        kTopSpeed,
        kSideGrip382,
        kGrip380,
        kHandlingCount
    };

    using CAWOAsset::CAWOAsset;

    /// Reads the active-object values, then the car's; the handling values are derived without the
    /// tyre offset.
    void Load(int assetId) override;
    /// The friction coefficient (value 80 x 0.00018), possibly scaled.
    virtual float GetParam80() const { return m_p80; }

    /// The table entry a raw level selects: its integer part within 0..6 (NaN gives 0).
    static int LevelIndex(float level);
    /// The derived value of a handling kind at a raw level.
    static float HandlingValue(EHandling kind, float level);
    /// The level offset of a tyre type: 0 gives 0, 1 gives +1, 2 gives -1, any other 0.
    static int TyreOffset(int tyreType);

    /// True unless the current world is the workshop.
    bool UseRaceSet() const;
    /// The workshop body in the workshop, 0 elsewhere.
    int GetWorkshopParam() const;
    /// The workshop body (data id 11), wherever the car is.
    int GetWorkshopBodyId() const { return m_workshopValue; }
    /// The race body (data id 12).
    int GetRaceBodyId() const { return m_i12; }
    /// Wheel positions 1..4 of the set in use.
    const CVector& GetWheelPosition1() const { return WheelPosition(0); }
    const CVector& GetWheelPosition2() const { return WheelPosition(1); }
    const CVector& GetWheelPosition3() const { return WheelPosition(2); }
    const CVector& GetWheelPosition4() const { return WheelPosition(3); }
    /// Wheel meshes of the set in use.
    int GetWheelAssetIdA() const { return UseRaceSet() ? m_raceWheelA : m_workshopWheelA; }
    int GetWheelAssetIdB() const { return UseRaceSet() ? m_raceWheelB : m_workshopWheelB; }

    float GetAcceleration() const { return m_handling[kAcceleration]; }
    float GetBraking() const { return m_handling[kBraking]; }
    float GetScaledParam381() const { return m_handling[kSteering381]; }
    /// Steering rate (value 381).
    float GetSteeringRate() const { return m_handling[kSteering381]; }
    float GetTopSpeed() const { return m_handling[kTopSpeed]; }
    float GetScaledParam382() const { return m_handling[kSideGrip382]; }
    /// Side grip (value 382).
    float GetSideGrip() const { return m_handling[kSideGrip382]; }
    float GetScaledParam380() const { return m_handling[kGrip380]; }
    /// Grip rating (value 380).
    float GetGripRatingValue() const { return m_handling[kGrip380]; }
    /// Slide angle (value 380, the same field as the grip rating).
    float GetSlideAngle() const { return m_handling[kGrip380]; }

    /// Multiplies acceleration, braking, value 381, p80, value 382, top speed and value 380.
    void ScaleParameters(float f1, float f2, float f3, float f4, float f5, float f6, float f7);
    /// A derived handling value as it stands, and put back as it was (a car undoing a temporary change).
    float GetHandlingValue(EHandling kind) const { return m_handling[static_cast<std::size_t>(kind)]; }
    void SetHandlingValue(EHandling kind, float value) { m_handling[static_cast<std::size_t>(kind)] = value; }
    /// Takes a tyre type and derives top speed, value 382 and value 380 again with its offset.
    void ApplyTuning(int tyreType);
    /// The offset of the current tyre type.
    int GetTyreOffset() const { return TyreOffset(m_tyreType); }
    /// (offset + top speed level + 4) / 10.
    float GetDisplayLevel379() const;
    /// (grip level - offset + 4) / 10.
    float GetDisplayLevel380() const;
    /// Loads the asset again, keeping the current livery and tyre type.
    void Reload(int assetId);

    int GetLivery() const { return m_livery; }
    void SetLivery(int livery) { m_livery = livery; }
    int GetDefaultLivery() const { return m_defaultLivery; }
    int GetTyreType() const { return m_tyreType; }
    /// Row of the car's skins (data id 49).
    int GetSkinRow() const { return m_i49; }
    /// Engine sound asset (data id 57).
    int GetEngineSoundId() const { return m_i57; }
    int GetParam58() const { return m_i58; }
    /// Horn sound asset (data id 59).
    int GetHornSoundId() const { return m_i59; }
    int GetParam60() const { return m_i60; }
    /// Value 8 x 0.7.
    float GetParam8() const { return m_f8; }
    float GetParam9() const { return m_f9; }
    float GetParam405() const { return m_f405; }
    /// The second copy of the reported asset id.
    int GetCarAssetId() const { return m_carAssetId; }

private:
    const CVector& WheelPosition(int i) const {
        return UseRaceSet() ? m_raceWheels[static_cast<std::size_t>(i)]
                            : m_workshopWheels[static_cast<std::size_t>(i)];
    }

    int m_workshopValue = 0;
    int m_carAssetId = 0;
    int m_workshopWheelA = 0;
    int m_workshopWheelB = 0;
    int m_raceWheelA = 0;
    int m_raceWheelB = 0;
    int m_i12 = 0;
    int m_i49 = 0;
    std::array<CVector, 4> m_workshopWheels;
    std::array<CVector, 4> m_raceWheels;
    int m_livery = 0;
    int m_defaultLivery = 0;
    int m_tyreType = 0;
    std::array<float, kHandlingCount> m_handling{};
    std::array<float, kHandlingCount> m_levels{};
    float m_f8 = 0.0f;
    float m_f9 = 0.0f;
    int m_i57 = 0;
    int m_i58 = 0;
    int m_i59 = 0;
    int m_i60 = -1;
    float m_f405 = 0.0f;
};

} // namespace zentrix
