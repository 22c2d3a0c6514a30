#pragma once

#include "foundation/math/Vector.h"
#include "foundation/string/DStr.h"

#include <array>

namespace zentrix {

class CAssetMan;

/// One bounding volume of a world object: type 0 a sphere (size 1 is its radius), 1 a box (sizes x, y,
/// z), -1 none.
struct SBoundingVolumeDesc {
    int type = -1;
    CVector centre;
    CVector offset;
    float size1 = 0.0f;
    float size2 = 0.0f;
    float size3 = 0.0f;
};

/// The parameters every world object of one asset id shares: the id it reports, how its mesh is placed,
/// its texts, its event script and up to five bounding volumes. Made and kept by the asset manager.
class CWorldObjectAsset {
public:
    static constexpr int kMaxBoundingVolumes = 5;

    /// An empty asset reading its values through the asset manager (which outlives it).
    explicit CWorldObjectAsset(CAssetMan& assets) : m_assets(assets) {}
    virtual ~CWorldObjectAsset() = default;
    CWorldObjectAsset(const CWorldObjectAsset&) = delete;
    CWorldObjectAsset& operator=(const CWorldObjectAsset&) = delete;

    /// Reads the asset's values; a value the record leaves out takes its default.
    virtual void Load(int assetId);
    /// Whether Load has run.
    virtual bool IsLoaded() const { return m_loaded; }

    /// The number of bounding volumes whose type is not -1.
    int GetBoundingVolumeCount() const;
    /// Copies entry i (0..4) into out; false, copying nothing, for another i.
    bool GetBoundingVolume(int i, SBoundingVolumeDesc& out) const;

    /// The asset id a world object of this asset reports.
    int GetAssetId() const { return m_assetId; }
    /// Offset of the mesh's vertices.
    const CVector& GetMeshOffset() const { return m_meshOffset; }
    /// Euler angles (radians) of the mesh.
    const CVector& GetMeshRotation() const { return m_meshRotation; }
    /// Scale of the mesh; its x component is the factor.
    const CVector& GetMeshScale() const { return m_meshScale; }
    const CDStr& GetFirstText() const { return m_firstText; }
    const CDStr& GetSecondText() const { return m_secondText; }
    /// The event script's text; empty when the asset has none.
    const CDStr& GetScript() const { return m_script; }

protected:
    CAssetMan& m_assets;

private:
    int m_assetId = 0;
    CVector m_meshOffset;
    CVector m_meshRotation;
    CVector m_meshScale;
    CDStr m_secondText;
    CDStr m_firstText;
    CDStr m_script;
    std::array<SBoundingVolumeDesc, kMaxBoundingVolumes> m_bounds;
    bool m_loaded = false;
};

} // namespace zentrix
