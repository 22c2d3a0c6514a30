#include "render/assets/MeshCache.h"

#include "foundation/math/Rotation.h"
#include "foundation/math/Vector.h"
#include "foundation/resources/AsciiCase.h"
#include "render/VornMesh.h"

#include <algorithm>

namespace zentrix {

namespace {

/// Face flag of faces in smoothing group 32.
constexpr std::uint32_t kGroup32Flag = 0x80000000u;

/// Pieces (by number within their world's thousand) whose clones get larger bounding radii.
constexpr int kWidePieces[] = {2, 4, 7, 9, 19, 20, 21, 24, 29, 55, 77, 79};

template <typename Visit> void ForEachMesh(CEntity* node, Visit visit) {
    if (node->GetType() == CEntity::kKindMesh)
        visit(static_cast<CMesh&>(*node));
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        ForEachMesh(child, visit);
}

} // namespace

CMeshCache::CMeshCache(CAssetMan& assets) : m_assets(assets) {}

CMeshCache::~CMeshCache() {
    Clear();
}

CMeshAsset* CMeshCache::FindById(int id) const {
    for (const auto& mesh : m_meshes)
        if (mesh->GetId() == id)
            return mesh.get();
    return nullptr;
}

CMeshAsset* CMeshCache::FindByName(const std::string& name) const {
    for (const auto& mesh : m_meshes)
        if (AsciiCase::Equal(mesh->GetName(), name))
            return mesh.get();
    return nullptr;
}

CMeshAsset* CMeshCache::GetOrLoad(int id, const std::string& path) {
    if (CMeshAsset* cached = FindById(id))
        return cached;
    auto mesh = std::make_unique<CMeshAsset>(id, path, m_assets, m_loadingPath);
    if (!mesh->IsLoaded())
        return nullptr;
    m_meshes.push_back(std::move(mesh));
    return m_meshes.back().get();
}

CVornMesh* CMeshCache::Clone(int id) {
    CMeshAsset* asset = FindById(id);
    if (!asset || !asset->GetMesh())
        return nullptr;
    CVornMesh* source = asset->GetMesh();
    CVornMesh* copy = source->Clone(source->GetParent());
    copy->SetName(source->GetName());
    const auto& groups = copy->SmoothingGroups();
    for (std::uint32_t f = 0; f < copy->GetFaceCount(0) && f < groups.size(); ++f)
        if (groups[f] == 32)
            copy->GetFaces(0)[f].flags |= kGroup32Flag;
    copy->UpdateBoundingSpheres();
    if (id >= 15000 && id <= 18999) {
        const int n = id - (id / 1000) * 1000;
        if (std::find(std::begin(kWidePieces), std::end(kWidePieces), n) != std::end(kWidePieces))
            copy->ScaleBoundingRadius(1.7f);
    }
    return copy;
}

void CMeshCache::Clear() {
    m_meshes.clear();
}

void CMeshCache::RotateVertices(CEntity* frame, float ax, float ay, float az) {
    ForEachMesh(frame, [=](CMesh& mesh) {
        for (std::uint32_t i = 0; i < mesh.GetVertexCount(); ++i) {
            MeshVertex& v = mesh.GetVertices()[i];
            CVector p;
            RotateEulerXYZ(CVector(v.x, v.y, v.z), p, ax, ay, az);
            CVector n;
            RotateEulerXYZ(CVector(v.nx, v.ny, v.nz), n, ax, ay, az);
            v = {p.x, p.y, p.z, n.x, n.y, n.z};
        }
    });
}

void CMeshCache::ScaleVertices(CEntity* frame, float factor) {
    if (frame->GetType() == CEntity::kKindMesh) {
        CMesh& mesh = static_cast<CMesh&>(*frame);
        for (std::uint32_t i = 0; i < mesh.GetVertexCount(); ++i) {
            MeshVertex& v = mesh.GetVertices()[i];
            v.x *= factor;
            v.y *= factor;
            v.z *= factor;
        }
    }
    for (CEntity* child = frame->GetFirstChild(); child; child = child->GetNextSibling()) {
        float p[3];
        child->GetPosition(p);
        child->SetPosition(p[0] * factor, p[1] * factor, p[2] * factor);
        ScaleVertices(child, factor);
    }
}

void CMeshCache::TranslateVertices(CEntity* frame, float dx, float dy, float dz) {
    ForEachMesh(frame, [=](CMesh& mesh) {
        for (std::uint32_t i = 0; i < mesh.GetVertexCount(); ++i) {
            MeshVertex& v = mesh.GetVertices()[i];
            v.x += dx;
            v.y += dy;
            v.z += dz;
        }
    });
}

} // namespace zentrix
