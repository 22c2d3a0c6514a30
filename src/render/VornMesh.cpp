#include "render/VornMesh.h"

#include "engine/EngineMath.h"

#include <functional>
#include <vector>

namespace {

int g_live = 0;

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

int CVornMesh::LiveCount() {
    return g_live;
}
