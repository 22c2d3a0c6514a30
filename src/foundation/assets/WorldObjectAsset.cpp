#include "foundation/assets/WorldObjectAsset.h"

#include "foundation/assets/AssetMan.h"

namespace zentrix {

void CWorldObjectAsset::Load(int assetId) {
    // A value that cannot be read leaves its field as a fresh asset has it.
    m_assetId = 0;
    m_meshOffset = m_meshRotation = m_meshScale = CVector();
    m_assets.GetInt(assetId, 50, m_assetId);
    m_assets.GetVector(assetId, 51, m_meshOffset);
    m_assets.GetVector(assetId, 53, m_meshRotation);
    m_assets.GetVector(assetId, 52, m_meshScale);
    char text[1024];
    m_assets.GetString(assetId, 61, text, sizeof text);
    m_firstText = text;
    m_assets.GetString(assetId, 62, text, sizeof text);
    m_secondText = text;
    m_script.clear();
    m_assets.LoadAssetScript(assetId, m_script);

    for (int i = 0; i < kMaxBoundingVolumes; ++i) {
        SBoundingVolumeDesc& entry = m_bounds[static_cast<std::size_t>(i)];
        entry = SBoundingVolumeDesc();
        int type = -1;
        if (!m_assets.GetInt(assetId, 240, type, i) || type == -1)
            continue;
        entry.type = type;
        m_assets.GetVector(assetId, 241, entry.centre, i);
        m_assets.GetVector(assetId, 242, entry.offset, i);
        m_assets.GetFloat(assetId, 243, entry.size1, i);
        m_assets.GetFloat(assetId, 244, entry.size2, i);
        m_assets.GetFloat(assetId, 245, entry.size3, i);
    }
    m_loaded = true;
}

int CWorldObjectAsset::GetBoundingVolumeCount() const {
    int count = 0;
    for (const SBoundingVolumeDesc& entry : m_bounds)
        count += entry.type != -1 ? 1 : 0;
    return count;
}

bool CWorldObjectAsset::GetBoundingVolume(int i, SBoundingVolumeDesc& out) const {
    if (i < 0 || i >= kMaxBoundingVolumes)
        return false;
    out = m_bounds[static_cast<std::size_t>(i)];
    return true;
}

} // namespace zentrix
