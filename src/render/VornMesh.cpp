#include "render/VornMesh.h"

#include "foundation/math/EngineMath.h"
#include "foundation/math/VectorHelpers.h"
#include "render/EngineMan.h"

#include <algorithm>
#include <cmath>

#include <functional>
#include <vector>

namespace zentrix {

namespace {

int g_live = 0;
bool g_lightingSuspended = false;
const CEngineMan* g_lightingEngine = nullptr;

/// A colour channel of 0-1 as a byte, truncated; values outside are held to 0-255.
std::uint8_t ChannelByte(float value) {
    const float scaled = value * 255.0f;
    return scaled >= 255.0f ? 255 : scaled > 0.0f ? static_cast<std::uint8_t>(scaled) : 0;
}

/// Adds one light's diffuse share to a vertex colour at world point p with unit normal n.
void AddLight(std::uint8_t* colour, const plat::raster::Light& light, const float* p, const float* n) {
    float l[3];
    if (light.type == plat::raster::LightType::Point) {
        for (int k = 0; k < 3; ++k)
            l[k] = light.position[k] - p[k];
    } else {
        for (int k = 0; k < 3; ++k)
            l[k] = -light.direction[k];
    }
    const float dist = NormaliseVector(l);
    if (!(dist < light.range) || dist == 0.0f)
        return;
    const float f = 1.0f - dist / light.range;
    const float d = l[0] * n[0] + l[1] * n[1] + l[2] * n[2];
    if (!(d > 0.0f) || f == 0.0f)
        return;
    const float diffuse[3] = {light.diffuse.r, light.diffuse.g, light.diffuse.b};
    for (int k = 0; k < 3; ++k) {
        const float add = d * diffuse[k] * 255.0f * f;
        // A channel that would pass 255 stays there (250 + 10 gives 255, not 4).
        const float sum = colour[k] + std::trunc(add);
        if (sum < 256.0f)
            colour[k] = sum > 0.0f ? static_cast<std::uint8_t>(colour[k] + add) : 0;
        else
            colour[k] = 255;
    }
}

/// Calls visit on every mesh of the tree from node down, node first.
void ForEachMesh(CEntity* node, const std::function<void(CMesh&)>& visit) {
    if (node->GetType() == CEntity::kKindMesh)
        visit(static_cast<CMesh&>(*node));
    for (CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
        ForEachMesh(child, visit);
}

void RecomputeMeshNormals(CMesh& mesh) {
    const std::uint32_t count = mesh.GetVertexCount();
    MeshVertex* v = mesh.GetVertices();
    if (!v || mesh.GetFaceCount(0) == 0)
        return;
    std::vector<double> sum(static_cast<std::size_t>(count) * 3, 0.0);
    for (std::uint32_t f = 0; f < mesh.GetFaceCount(0); ++f) {
        const MeshFace& face = mesh.GetFaces(0)[f];
        if (face.a >= count || face.b >= count || face.c >= count)
            continue;
        const float p0[3] = {v[face.a].x, v[face.a].y, v[face.a].z};
        const float p1[3] = {v[face.b].x, v[face.b].y, v[face.b].z};
        const float p2[3] = {v[face.c].x, v[face.c].y, v[face.c].z};
        float e1[3], e2[3], n[3];
        SubtractVectors(p1, p0, e1);
        SubtractVectors(p2, p0, e2);
        CrossProduct(n, e1, e2);
        if (!(n[1] > 0.01f || n[1] < -0.01f))
            continue;
        for (std::uint32_t i : {face.a, face.b, face.c})
            for (int c = 0; c < 3; ++c)
                sum[i * 3 + c] += n[c];
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        // A vertex only vertical faces touch keeps a zero normal.
        float n[3] = {static_cast<float>(sum[i * 3]), static_cast<float>(sum[i * 3 + 1]),
                      static_cast<float>(sum[i * 3 + 2])};
        NormaliseVector(n);
        v[i].nx = n[0];
        v[i].ny = n[1];
        v[i].nz = n[2];
    }
}

} // namespace

CVornMesh::CVornMesh() : CMesh() {
    ++g_live;
}

CVornMesh::~CVornMesh() {
    --g_live;
    if (GetParent())
        CEntity::Detach(this);
}

CEntity* CVornMesh::Clone(CEntity* newParent, void* /*unused*/) {
    return Clone(newParent);
}

CVornMesh* CVornMesh::Clone(CEntity* parent) {
    auto* copy = new CVornMesh();
    if (parent)
        parent->AddChild(copy);
    CopyMeshData(*copy);
    FinishFrameClone(copy);
    return copy;
}

void CVornMesh::UpdateBoundingSpheres() {
    // The engine's bound computation covers every mesh below.
    ComputeBounds();
    ForEachMesh(this, RecomputeMeshNormals);
}

void CVornMesh::RecomputeNormals(bool recursive) {
    if (!recursive) {
        RecomputeMeshNormals(*this);
        return;
    }
    ForEachMesh(this, RecomputeMeshNormals);
}

void CVornMesh::ScaleBoundingRadius(float factor) {
    ForEachMesh(this, [factor](CMesh& mesh) { mesh.SetRadius(mesh.GetRadius() * factor); });
}

void CVornMesh::SetVisible(bool visible) {
    ForEachMesh(this, [visible](CMesh& mesh) { mesh.SetHidden(visible, false); });
}

void CVornMesh::SetLightingEngine(const CEngineMan* engine) {
    g_lightingEngine = engine;
}

void CVornMesh::ApplySceneLighting() {
    if (g_lightingEngine)
        ApplySceneLighting(this, *g_lightingEngine);
}

void CVornMesh::ApplySceneLighting(CEntity* root, const CEngineMan& engine) {
    if (g_lightingSuspended || !root)
        return;
    float ambient[3] = {0.0f, 0.0f, 0.0f};
    plat::raster::Light light;
    for (int i = 0; i < CEngineMan::kLightSlots; ++i) {
        if (!engine.GetLight(i, light))
            continue;
        ambient[0] = std::max(ambient[0], light.ambient.r);
        ambient[1] = std::max(ambient[1], light.ambient.g);
        ambient[2] = std::max(ambient[2], light.ambient.b);
    }
    VertexLight(root, engine, ambient[0], ambient[1], ambient[2]);
}

void CVornMesh::VertexLight(CEntity* root, const CEngineMan& engine, float r, float g, float b) {
    const std::uint8_t base[3] = {ChannelByte(r), ChannelByte(g), ChannelByte(b)};
    ForEachMesh(root, [&](CMesh& mesh) {
        const std::uint32_t n = mesh.GetVertexCount();
        if (n == 0 || !mesh.GetVertices())
            return;
        if (mesh.GetColourCount() < n)
            mesh.SetColourCount(n);
        std::uint8_t* colours = mesh.GetColours();
        if (!colours)
            return;
        std::fill(colours, colours + static_cast<std::size_t>(n) * 3, 0);
        mesh.SetFlags(mesh.GetFlags() | CMesh::kFlagFileColours);
        mesh.RequestUpdate(CMesh::kUpdateRebuild);
        std::vector<float> positions(static_cast<std::size_t>(n) * 3);
        std::vector<float> normals(static_cast<std::size_t>(n) * 3);
        mesh.TransformVertices(nullptr, mesh.GetVertices(), positions.data(), n);
        mesh.TransformNormals(nullptr, mesh.GetVertices(), normals.data(), n);
        const auto lights = engine.GetLightsByDistance({positions[0], positions[1], positions[2]});
        for (std::uint32_t i = 0; i < n; ++i) {
            std::uint8_t* c = colours + static_cast<std::size_t>(i) * 3;
            std::copy(base, base + 3, c);
            float* normal = &normals[static_cast<std::size_t>(i) * 3];
            for (const CEngineMan::LightDistance& entry : lights) {
                NormaliseVector(normal);
                AddLight(c, entry.light, &positions[static_cast<std::size_t>(i) * 3], normal);
            }
        }
    });
}

void CVornMesh::SetVertexLightColour(bool on, float r, float g, float b) {
    if (!on) {
        ApplySceneLighting();
        return;
    }
    const std::uint8_t colour[3] = {ChannelByte(r), ChannelByte(g), ChannelByte(b)};
    ForEachMesh(this, [&](CMesh& mesh) {
        const std::uint32_t n = mesh.GetVertexCount();
        if (n == 0)
            return;
        mesh.SetColourCount(n);
        std::uint8_t* colours = mesh.GetColours();
        if (!colours)
            return;
        mesh.SetFlags(mesh.GetFlags() | CMesh::kFlagFileColours);
        mesh.RequestUpdate(CMesh::kUpdateColours);
        for (std::uint32_t i = 0; i < n; ++i)
            std::copy(colour, colour + 3, colours + static_cast<std::size_t>(i) * 3);
    });
}

bool CVornMesh::ReplaceTexture(CTexture* oldTexture, CTexture* newTexture) {
    bool changed = false;
    ForEachMesh(this, [&](CMesh& mesh) {
        MeshFace* faces = mesh.GetFaces(0);
        bool mine = false;
        for (std::uint32_t f = 0; faces && f < mesh.GetFaceCount(0); ++f) {
            if (faces[f].texture == oldTexture) {
                faces[f].texture = newTexture;
                mine = true;
            }
        }
        if (mine) {
            MarkForRebuild(&mesh);
            changed = true;
        }
    });
    return changed;
}

void CVornMesh::MarkForRebuild(CEntity* root) {
    ForEachMesh(root, [](CMesh& mesh) { mesh.RequestUpdate(CMesh::kUpdateRebuild); });
}

void CVornMesh::GetWorldMatrix(float* out) const {
    SetIdentityMatrix(out);
    float local[16];
    for (const CEntity* frame = this; frame; frame = frame->GetParent()) {
        frame->GetLocalMatrix(local);
        MultiplyMatrices(local, out);
    }
}

void CVornMesh::GetWorldRotation(float* out) const {
    GetWorldMatrix(out);
    out[12] = out[13] = out[14] = 0.0f;
}

void CVornMesh::LocalToWorld(CVector& out, CVector local) const {
    float m[16];
    GetWorldMatrix(m);
    TransformByMatrix(local, out, m);
}

float CVornMesh::GetHighestPoint() const {
    float highest = -100000.0f;
    ForEachMesh(const_cast<CVornMesh*>(this), [&highest](CMesh& mesh) {
        const std::uint32_t n = mesh.GetVertexCount();
        if (n == 0 || !mesh.GetVertices())
            return;
        std::vector<float> positions(static_cast<std::size_t>(n) * 3);
        mesh.TransformVertices(nullptr, mesh.GetVertices(), positions.data(), n);
        for (std::uint32_t i = 0; i < n; ++i)
            highest = std::max(highest, positions[static_cast<std::size_t>(i) * 3 + 1]);
    });
    return highest;
}

void CVornMesh::SetLightingSuspended(bool suspended) {
    g_lightingSuspended = suspended;
}

bool CVornMesh::IsLightingSuspended() {
    return g_lightingSuspended;
}

int CVornMesh::LiveCount() {
    return g_live;
}

} // namespace zentrix
