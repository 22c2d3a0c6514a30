#pragma once

#include "foundation/assets/WorldObjectAsset.h"

#include <array>

namespace zentrix {

/// The parameters of an active world object (one the simulation moves): mass, friction, its ground
/// contact points and further physical values.
class CAWOAsset : public CWorldObjectAsset {
public:
    static constexpr int kContactSlots = 5;

    using CWorldObjectAsset::CWorldObjectAsset;

    /// Reads the base values, then the physical ones.
    void Load(int assetId) override;

    /// Contact offset i in the order the simulation uses them (data 75, 78, 79, 76, 77); zero for
    /// another i.
    CVector GetVectorParam(int i) const;
    /// Same as GetVectorParam.
    CVector GetContactOffset(int i) const { return GetVectorParam(i); }

    /// Mass (value 70 x 0.01).
    float GetMass() const { return m_p70; }
    float GetParam71() const { return m_p71; }
    float GetParam72() const { return m_p72; }
    float GetParam73() const { return m_p73; }
    /// Friction coefficient (value 80 x 0.00018).
    float GetFrictionCoefficient() const { return m_p80; }
    float GetParam81() const { return m_p81; }
    float GetParam82() const { return m_p82; }
    /// Vector 83 x 0.16.
    const CVector& GetParam83() const { return m_vec83; }
    float GetParam84() const { return m_p84; }
    /// Number of ground contact points (1, 3 or 5).
    int GetContactCount() const { return m_i74; }
    /// Size of the contact net.
    int GetContactNetSize() const { return m_i85; }

    void SetParam70(float value) { m_p70 = value; }
    void SetParam71(float value) { m_p71 = value; }
    void SetParam80(float value) { m_p80 = value; }

protected:
    float m_p70 = 0.0f;
    float m_p71 = 0.0f;
    float m_p72 = 0.0f;
    float m_p73 = 0.0f;
    float m_p80 = 0.0f;
    float m_p82 = 0.0f;
    float m_p81 = 0.0f;
    float m_p84 = 0.0f;
    CVector m_vec83;
    int m_i74 = 0;
    std::array<CVector, kContactSlots> m_vectors; ///< data ids 75..79 in id order
    int m_i85 = 0;
};

} // namespace zentrix
