#include "foundation/assets/AWOAsset.h"

#include "foundation/assets/AssetMan.h"

namespace zentrix {

void CAWOAsset::Load(int assetId) {
    CWorldObjectAsset::Load(assetId);
    // Each value is scaled as read; a value left out is its default, scaled the same way.
    const auto read = [&](int dataId, float scale) {
        float value = 0.0f;
        m_assets.GetFloat(assetId, dataId, value);
        return value * scale;
    };
    m_p70 = read(70, 0.01f);
    m_p71 = read(71, 0.01f);
    m_p72 = read(72, 1.0f);
    m_p73 = read(73, 1.0f);
    m_p80 = read(80, 0.00018f);
    m_p82 = read(82, 1.0f);
    m_p81 = read(81, 1.0f);
    m_p84 = read(84, 1.0f);
    CVector v;
    m_assets.GetVector(assetId, 83, v);
    m_vec83 = v * 0.16f;
    m_i74 = 0;
    m_i85 = 0;
    m_assets.GetInt(assetId, 74, m_i74);
    for (int i = 0; i < kContactSlots; ++i) {
        m_vectors[static_cast<std::size_t>(i)] = CVector();
        m_assets.GetVector(assetId, 75 + i, m_vectors[static_cast<std::size_t>(i)]);
    }
    m_assets.GetInt(assetId, 85, m_i85);
}

CVector CAWOAsset::GetVectorParam(int i) const {
    // Offsets 0..4 of the contact net are stored as data ids 75, 78, 79, 76, 77.
    static constexpr int kSlot[kContactSlots] = {0, 3, 4, 1, 2};
    if (i < 0 || i >= kContactSlots)
        return CVector();
    return m_vectors[static_cast<std::size_t>(kSlot[i])];
}

} // namespace zentrix
