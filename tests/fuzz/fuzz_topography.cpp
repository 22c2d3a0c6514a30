// Builds the terrain lookup from untrusted mesh geometry and asks it for ground: either a KMB mesh
// (arbitrary bytes that pass the KMB header kind, as fuzz_kmb takes them) or raw floats: a frame
// (position, direction, up) and then vertices, three per face. Every answer must be one of the fixed
// heights or a finite one with an upward unit normal, and the lookup must stay within its bounds.
#include "FuzzMeshTextures.h"
#include "engine/Frame.h"
#include "engine/KmbFile.h"
#include "engine/Mesh.h"
#include "world/ContactOwner.h"
#include "world/ContactPoint.h"
#include "world/TopographyWorld.h"
#include "world/WorldTopography.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace zentrix;

namespace {

class FuzzWorld final : public ITopographyWorld {
public:
    explicit FuzzWorld(const CWorldTopography& topography) : m_topography(topography) {}
    int GetCurrentWorldId() const override { return kRaceWorld; }
    void GetGridBounds(CVector& minimum, CVector& maximum) const override {
        minimum.Set(-116.0f, 0.0f, -116.0f);
        maximum.Set(396.0f, 0.0f, 396.0f);
    }
    const CWorldTopography* GetTopography() const override { return &m_topography; }
    float GetSurfaceParam(int) const override { return 1.0f; }

private:
    const CWorldTopography& m_topography;
};

class Owner final : public IContactOwner {
public:
    std::uint32_t GetContactCount() const override { return 1; }
    std::uint32_t CountGroundedContacts() const override { return 1; }
    CVector GetMeanContactVelocity() const override { return {}; }
    float GetFrictionCoefficient() const override { return 0.02f; }
    bool IsMovingForward() const override { return true; }
    CVector GetDirection() const override { return kDefaultDirection; }
    float GetWheelGripFactor() const override { return 1.0f; }
    bool FindContact(std::int32_t, CVector&) const override { return false; }
    bool FindContactOfOther(std::int32_t, std::int32_t, CVector&) const override { return false; }
};

float FloatAt(const std::uint8_t* data, std::size_t index) {
    float f;
    std::memcpy(&f, data + index * sizeof f, sizeof f);
    return f;
}

/// A mesh under a placed frame from raw floats.
void BuildFromFloats(CFrame& root, const std::uint8_t* data, std::size_t size) {
    const std::size_t floats = size / sizeof(float);
    if (floats < 9)
        return;
    auto* frame = new CFrame(&root);
    frame->SetPosition(FloatAt(data, 0), FloatAt(data, 1), FloatAt(data, 2));
    frame->SetOrientation(FloatAt(data, 3), FloatAt(data, 4), FloatAt(data, 5), FloatAt(data, 6),
                          FloatAt(data, 7), FloatAt(data, 8));
    const auto faces = static_cast<std::uint32_t>((floats - 9) / 9);
    auto* mesh = new CMesh(frame);
    mesh->SetVertexCount(faces * 3);
    mesh->SetFaceCount(faces, 0);
    for (std::uint32_t v = 0; v < faces * 3; ++v) {
        MeshVertex& vertex = mesh->GetVertices()[v];
        vertex = {FloatAt(data, 9 + v * 3), FloatAt(data, 10 + v * 3), FloatAt(data, 11 + v * 3), 0, 1, 0};
    }
    for (std::uint32_t f = 0; f < faces; ++f) {
        MeshFace& face = mesh->GetFaces(0)[f];
        face.a = f * 3;
        face.b = f * 3 + 1;
        face.c = f * 3 + 2;
    }
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void Ask(const CWorldTopography& topography, float x, float z, CGroundHint& hint) {
    CVector normal(0, 1, 0);
    const float h = topography.GetHeight(x, z, &hint, &normal);
    Check(h == CWorldTopography::kOffGrid || h == CWorldTopography::kNoGround || std::isfinite(h));
    Check(std::isfinite(normal.x) && std::isfinite(normal.z) && normal.y > 0.0f);
    const CVector n = topography.GetNormal(x, z, hint);
    Check(std::isfinite(n.x) && std::isfinite(n.z) && n.y > 0.0f);
}

/// Every vertex of the tree, for the queries.
void CollectVertices(const CEntity* node, std::vector<CVector>& out) {
    if (node->GetType() == CEntity::kKindMesh) {
        const auto* mesh = static_cast<const CMesh*>(node);
        std::vector<float> world(static_cast<std::size_t>(mesh->GetVertexCount()) * 3);
        if (mesh->GetVertices())
            mesh->TransformVertices(nullptr, mesh->GetVertices(), world.data(), mesh->GetVertexCount());
        for (std::size_t i = 0; i + 2 < world.size() && out.size() < 256; i += 3)
            out.emplace_back(world[i], world[i + 1], world[i + 2]);
    }
    for (const CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        CollectVertices(child, out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzMeshTextures textures;
    CFrame root(nullptr);
    const bool kmbKind = size >= 4 && data[0] <= 1 && !data[1] && !data[2] && !data[3];
    if (kmbKind) {
        auto* mesh = new CMesh(&root);
        if (!OMBRELLoadKMB(mesh, data, size, nullptr))
            return 0;
    } else {
        BuildFromFloats(root, data, size);
    }

    CWorldTopography topography;
    std::size_t faceIndex = 0;
    topography.Build(&root, [&faceIndex](const CTexture*) { return ++faceIndex % 7 == 0; });
    Check(topography.GetCountX() <= CTerrainMapper::kMaxCellsPerSide);
    Check(topography.GetCountZ() <= CTerrainMapper::kMaxCellsPerSide);
    Check(topography.GetRecordCount() <= CTerrainMapper::kMaxRecords);

    std::vector<CVector> vertices;
    CollectVertices(&root, vertices);
    CGroundHint hint;
    for (const CVector& v : vertices) {
        Ask(topography, v.x, v.z, hint);
        Ask(topography, v.x + 0.5f, v.z - 0.25f, hint);
    }
    Ask(topography, 0.0f, 0.0f, hint);

    // A contact point dropped onto the first vertex follows whatever ground is there.
    FuzzWorld world(topography);
    CTopographyFollower::SetWorld(&world);
    Owner owner;
    CContactPoint point;
    CContactPointDesc desc;
    desc.owner = &owner;
    desc.ownerPosition = vertices.empty() ? CVector() : vertices.front();
    desc.constantForce.Set(0.0f, -0.16f, 0.0f);
    desc.groundForceFactor = 1.0f;
    point.Init(desc);
    point.SetVelocity({0.7f, 0.0f, -0.3f});
    for (int step = 0; step < 4; ++step)
        point.Update(40);
    CTopographyFollower::SetWorld(nullptr);
    return 0;
}
