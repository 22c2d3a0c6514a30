#include "engine/MeshBuffer.h"

#include "engine/Mesh.h"
#include "foundation/math/EngineMath.h"
#include "platform/system/DebugOutput.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <string>
#include <unordered_map>

namespace zentrix {

namespace {

constexpr std::array<MeshVertexLayout, 8> kLayouts = {{
    {0x112, 0, 3, -1, -1, 6, -1, 8},
    {0x192, 0, 3, -1, 6, 7, -1, 9},
    {0x142, 0, -1, 3, -1, 4, -1, 6},
    {0x1C2, 0, -1, 3, 4, 5, -1, 7},
    {0x212, 0, 3, -1, -1, 6, 8, 10},
    {0x292, 0, 3, -1, 6, 7, 9, 11},
    {0x242, 0, -1, 3, -1, 4, 6, 8},
    {0x2C2, 0, -1, 3, 4, 5, 7, 9},
}};

/// The update combinations the buffer rewrites; any other is dropped.
bool IsHandledUpdate(std::uint32_t bits) {
    switch (bits) {
    case 1:
    case 2:
    case 3:
    case 5:
    case 7:
    case 8:
    case 16:
    case 17:
    case 18:
    case 19:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

void FaceNormal(const CMesh& mesh, const MeshFace& face, float* out) {
    const MeshVertex* v = mesh.GetVertices();
    const float pa[3] = {v[face.a].x, v[face.a].y, v[face.a].z};
    const float pb[3] = {v[face.b].x, v[face.b].y, v[face.b].z};
    const float pc[3] = {v[face.c].x, v[face.c].y, v[face.c].z};
    float cb[3], ab[3];
    SubtractVectors(pc, pb, cb);
    SubtractVectors(pa, pb, ab);
    CrossProduct(out, cb, ab);
    if (NormaliseVector(out) == 0.0f) {
        out[0] = out[1] = 0.0f;
        out[2] = 1.0f;
    }
}

std::uint32_t CornerIndex(const MeshFace& face, int corner) {
    return corner == 0 ? face.a : corner == 1 ? face.b : face.c;
}

void CornerCoords(const MeshFace& face, int corner, float* out) {
    // The coordinates are named fields, not an array: pick the corner's pair by name.
    out[0] = corner == 0 ? face.tu0 : corner == 1 ? face.tu1 : face.tu2;
    out[1] = corner == 0 ? face.tv0 : corner == 1 ? face.tv1 : face.tv2;
}

void PutFloat(std::uint32_t* words, int at, float value) {
    words[at] = std::bit_cast<std::uint32_t>(value);
}

} // namespace

const MeshVertexLayout* FindMeshVertexLayout(std::uint32_t format) {
    for (const MeshVertexLayout& layout : kLayouts)
        if (layout.format == format)
            return &layout;
    return nullptr;
}

std::uint32_t MeshVertexFormat(bool twoSets, bool colours, bool specular) {
    return 0x002u | (twoSets ? 0x200u : 0x100u) | (colours ? 0x40u : 0x10u) | (specular ? 0x80u : 0u);
}

std::unique_ptr<CMeshBuffer> CMeshBuffer::Build(const CMesh& mesh, bool keepCornerMaps) {
    const std::uint32_t faceCount = mesh.GetFaceCount(0);
    const MeshFace* faces = mesh.GetFaces(0);
    const std::uint32_t vertexCount = mesh.GetVertexCount();
    std::unique_ptr<CMeshBuffer> buffer(new CMeshBuffer);
    buffer->m_keepCornerMaps = keepCornerMaps;
    buffer->m_indices.reserve(static_cast<std::size_t>(faceCount) * 3);

    // Within a run of faces with one texture, a corner is shared by faces that meet at a vertex with
    // exactly the same texture coordinates; flat faces keep three corners of their own.
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> runCorners;
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const MeshFace& face = faces[f];
        if (f == 0 || face.texture != faces[f - 1].texture)
            runCorners.clear();
        const bool flat = (face.flags & CMesh::kFaceFlat) != 0;
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t vertex = CornerIndex(face, k);
            if (vertex >= vertexCount) {
                plat::system::DebugOutput("Mesh " + std::string(mesh.GetName() ? mesh.GetName() : "") +
                                          ": a face names a missing vertex; not drawn");
                return nullptr;
            }
            float uv[2];
            CornerCoords(face, k, uv);
            std::uint32_t corner = UINT32_MAX;
            if (!flat) {
                for (std::uint32_t candidate : runCorners[vertex]) {
                    float other[2];
                    const std::uint32_t ref = buffer->m_cornerFace[candidate];
                    CornerCoords(faces[ref / 4], static_cast<int>(ref % 4), other);
                    if (other[0] == uv[0] && other[1] == uv[1]) {
                        corner = candidate;
                        break;
                    }
                }
            }
            if (corner == UINT32_MAX) {
                corner = static_cast<std::uint32_t>(buffer->m_cornerVertex.size());
                if (corner >= kMaxCorners) {
                    plat::system::DebugOutput("Mesh " + std::string(mesh.GetName() ? mesh.GetName() : "") +
                                              ": more corners than 16-bit indices reach; not drawn");
                    return nullptr;
                }
                buffer->m_cornerVertex.push_back(vertex);
                buffer->m_cornerFace.push_back(f * 4 + static_cast<std::uint32_t>(k));
                buffer->m_cornerFlat.push_back(flat);
                if (!flat)
                    runCorners[vertex].push_back(corner);
            }
            buffer->m_indices.push_back(static_cast<std::uint16_t>(corner));
        }
    }

    const bool twoSets = mesh.GetFaceCount(1) == faceCount && faceCount > 0;
    const std::uint32_t format =
        MeshVertexFormat(twoSets, mesh.GetColours() != nullptr, mesh.GetSpecular() != nullptr);
    buffer->m_layout = FindMeshVertexLayout(format);
    buffer->m_vertices =
        std::make_unique<plat::raster::VertexBuffer>(format, static_cast<int>(buffer->m_cornerVertex.size()));
    buffer->Fill(mesh, CMesh::kUpdatePositions | CMesh::kUpdateNormals | CMesh::kUpdateColours |
                           CMesh::kUpdateSpecular | CMesh::kUpdateTexCoords0 | CMesh::kUpdateTexCoords1);
    buffer->RebuildBatches(mesh);
    return buffer;
}

const std::uint32_t* CMeshBuffer::VertexWords(std::uint32_t i) const {
    return reinterpret_cast<const std::uint32_t*>(m_vertices->Data()) +
           static_cast<std::size_t>(i) * static_cast<std::size_t>(m_layout->size);
}

std::uint32_t* CMeshBuffer::Words(std::uint32_t i) {
    return reinterpret_cast<std::uint32_t*>(m_vertices->Lock()) +
           static_cast<std::size_t>(i) * static_cast<std::size_t>(m_layout->size);
}

void CMeshBuffer::Fill(const CMesh& mesh, std::uint32_t bits) {
    const MeshVertex* vertices = mesh.GetVertices();
    const MeshFace* faces0 = mesh.GetFaces(0);
    const MeshFace* faces1 = mesh.GetFaces(1);
    const std::uint8_t* colours = mesh.GetColours();
    const std::uint32_t colourCount = mesh.GetColourCount();
    const std::uint32_t* specular = mesh.GetSpecular();
    const std::uint32_t specularCount = mesh.GetSpecularCount();
    const MeshVertexLayout& l = *m_layout;
    for (std::uint32_t i = 0; i < m_cornerVertex.size(); ++i) {
        std::uint32_t* w = Words(i);
        const std::uint32_t v = m_cornerVertex[i];
        const std::uint32_t face = m_cornerFace[i] / 4;
        const int corner = static_cast<int>(m_cornerFace[i] % 4);
        if ((bits & CMesh::kUpdatePositions) && l.position >= 0) {
            PutFloat(w, l.position, vertices[v].x);
            PutFloat(w, l.position + 1, vertices[v].y);
            PutFloat(w, l.position + 2, vertices[v].z);
        }
        if ((bits & CMesh::kUpdateNormals) && l.normal >= 0) {
            float n[3] = {vertices[v].nx, vertices[v].ny, vertices[v].nz};
            if (m_cornerFlat[i])
                FaceNormal(mesh, faces0[face], n);
            for (int c = 0; c < 3; ++c)
                PutFloat(w, l.normal + c, n[c]);
        }
        if ((bits & CMesh::kUpdateColours) && l.colour >= 0) {
            std::uint32_t packed = 0;
            if (colours && v < colourCount)
                packed = (std::uint32_t{colours[v * 3]} << 16) | (std::uint32_t{colours[v * 3 + 1]} << 8) |
                         colours[v * 3 + 2];
            w[l.colour] = packed;
        }
        if ((bits & CMesh::kUpdateSpecular) && l.specular >= 0)
            w[l.specular] = specular && v < specularCount ? specular[v] : 0;
        float uv[2];
        if ((bits & CMesh::kUpdateTexCoords0) && l.tex0 >= 0) {
            CornerCoords(faces0[face], corner, uv);
            PutFloat(w, l.tex0, uv[0]);
            PutFloat(w, l.tex0 + 1, uv[1]);
        }
        if ((bits & CMesh::kUpdateTexCoords1) && l.tex1 >= 0) {
            CornerCoords(faces1[face], corner, uv);
            PutFloat(w, l.tex1, uv[0]);
            PutFloat(w, l.tex1 + 1, uv[1]);
        }
    }
    m_vertices->Unlock();
}

bool CMeshBuffer::Update(const CMesh& mesh, std::uint32_t bits) {
    if (!m_keepCornerMaps)
        return false;
    const std::uint32_t parts = bits & 0x3F;
    if (parts == 0 || !IsHandledUpdate(parts))
        return true;
    const std::uint32_t vertexCount = mesh.GetVertexCount();
    const std::uint32_t faceCount = mesh.GetFaceCount(0);
    for (std::size_t i = 0; i < m_cornerVertex.size(); ++i)
        if (m_cornerVertex[i] >= vertexCount || m_cornerFace[i] / 4 >= faceCount)
            return false;
    if ((parts & CMesh::kUpdateTexCoords1) && mesh.GetFaceCount(1) < faceCount)
        return false;
    Fill(mesh, parts);
    return true;
}

void CMeshBuffer::RebuildBatches(const CMesh& mesh) {
    m_batches.clear();
    const std::uint32_t faceCount = mesh.GetFaceCount(0);
    const MeshFace* faces = mesh.GetFaces(0);
    const bool twoSets = m_layout && m_layout->tex1 >= 0;
    std::uint32_t f = 0;
    while (f < faceCount && f * 3 + 2 < m_indices.size()) {
        std::uint32_t end = f + 1;
        while (end < faceCount && faces[end].texture == faces[f].texture && end * 3 + 2 < m_indices.size())
            ++end;
        MeshBatch batch;
        batch.face = f;
        batch.hasSecondList = twoSets;
        std::uint16_t lowest = UINT16_MAX, highest = 0;
        for (std::uint32_t i = f * 3; i < end * 3; ++i) {
            lowest = std::min(lowest, m_indices[i]);
            highest = std::max(highest, m_indices[i]);
        }
        batch.firstVertex = lowest;
        batch.vertexCount = highest - lowest + 1;
        for (std::uint32_t i = f * 3; i < end * 3; ++i)
            batch.indices.push_back(static_cast<std::uint16_t>(m_indices[i] - lowest));
        m_batches.push_back(std::move(batch));
        f = end;
    }
}

} // namespace zentrix
