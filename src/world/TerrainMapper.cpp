#include "world/TerrainMapper.h"

#include "engine/Entity.h"
#include "engine/Mesh.h"
#include "platform/system/DebugOutput.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

namespace zentrix {

namespace {

/// Hands out the build numbers of every lookup in the program, so that no two builds share one.
std::uint64_t g_lastGeneration = 0;

bool IsFiniteVector(CVector v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

/// Calls visit on every node of the tree, depth first: a node, then its children in sibling order.
template <typename Visit> void ForEachNode(const CEntity* root, Visit visit) {
    std::vector<const CEntity*> pending;
    if (root)
        pending.push_back(root);
    std::vector<const CEntity*> children;
    while (!pending.empty()) {
        const CEntity* node = pending.back();
        pending.pop_back();
        visit(*node);
        children.clear();
        for (const CEntity* child = node->GetFirstChild(); child; child = child->GetNextSibling())
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

/// The mesh's current vertices in world space.
std::vector<CVector> WorldVertices(const CMesh& mesh) {
    const std::uint32_t n = mesh.GetVertexCount();
    std::vector<float> flat(static_cast<std::size_t>(n) * 3);
    mesh.TransformVertices(nullptr, mesh.GetVertices(), flat.data(), n);
    std::vector<CVector> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i].Set(flat[i * 3], flat[i * 3 + 1], flat[i * 3 + 2]);
    return out;
}

const CMesh* AsMesh(const CEntity& node) {
    return node.GetType() == CEntity::kKindMesh ? static_cast<const CMesh*>(&node) : nullptr;
}

} // namespace

CTerrainMapper::~CTerrainMapper() {
    Clear();
}

bool CTerrainMapper::Build(const CEntity* root, const NoGroundTexture& isNoGround) {
    // The extent starts at the origin, so the world's origin always lies on the grid.
    float minX = 0.0f, maxX = 0.0f, minZ = 0.0f, maxZ = 0.0f;
    GetBounds(root, minX, maxX, minZ, maxZ);
    const float spanX = (maxX - minX) / kCellSize;
    const float spanZ = (maxZ - minZ) / kCellSize;
    if (!(spanX < static_cast<float>(kMaxCellsPerSide)) || !(spanZ < static_cast<float>(kMaxCellsPerSide))) {
        Clear();
        plat::system::DebugOutput("terrain: the meshes span " + std::to_string(maxX - minX) + " x " +
                                  std::to_string(maxZ - minZ) + " units, more than the ground grid holds");
        return false;
    }
    const auto countX = static_cast<std::uint32_t>(spanX) + 1;
    const auto countZ = static_cast<std::uint32_t>(spanZ) + 1;
    if (!Init(kCellSize, kCellSize, countX, countZ, minX, minZ))
        return false;
    return AddFrameTree(root, isNoGround);
}

void CTerrainMapper::GetBounds(const CEntity* root, float& minX, float& maxX, float& minZ, float& maxZ) {
    ForEachNode(root, [&](const CEntity& node) {
        const CMesh* mesh = AsMesh(node);
        if (!mesh || mesh->GetVertexCount() == 0 || !mesh->GetVertices())
            return;
        for (const CVector& v : WorldVertices(*mesh)) {
            if (!IsFiniteVector(v))
                continue;
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minZ = std::min(minZ, v.z);
            maxZ = std::max(maxZ, v.z);
        }
    });
}

bool CTerrainMapper::AddFrameTree(const CEntity* root, const NoGroundTexture& isNoGround) {
    bool all = true;
    ForEachNode(root, [&](const CEntity& node) {
        const CMesh* mesh = AsMesh(node);
        if (mesh && mesh->GetVertexCount() > 0 && mesh->GetVertices() && !mesh->IsHidden())
            all = AddMeshFaces(*mesh, isNoGround) && all;
    });
    return all;
}

bool CTerrainMapper::AddMeshFaces(const CMesh& mesh, const NoGroundTexture& isNoGround) {
    const std::vector<CVector> vertices = WorldVertices(mesh);
    const MeshFace* faces = mesh.GetFaces(0);
    const std::uint32_t faceCount = faces ? mesh.GetFaceCount(0) : 0;
    std::vector<TriangleCorners> triangles;
    triangles.reserve(faceCount);
    for (std::uint32_t f = 0; f < faceCount; ++f) {
        const MeshFace& face = faces[f];
        if (face.a >= vertices.size() || face.b >= vertices.size() || face.c >= vertices.size())
            continue;
        if (isNoGround && isNoGround(face.texture))
            continue;
        triangles.push_back({vertices[face.a], vertices[face.b], vertices[face.c]});
    }
    return AddTriangles(triangles.data(), triangles.size());
}

bool CTerrainMapper::Init(float cellSizeX, float cellSizeZ, std::uint32_t countX, std::uint32_t countZ,
                          float originX, float originZ) {
    Clear();
    if (!std::isfinite(cellSizeX) || !std::isfinite(cellSizeZ) || !(cellSizeX > 0.0f) ||
        !(cellSizeZ > 0.0f) || !std::isfinite(originX) || !std::isfinite(originZ) || countX == 0 ||
        countZ == 0 || countX > kMaxCellsPerSide || countZ > kMaxCellsPerSide)
        return false;
    try {
        m_cells.assign(static_cast<std::size_t>(countX) * countZ, nullptr);
    } catch (const std::bad_alloc&) {
        m_cells = {};
        return false;
    }
    m_cellSizeX = cellSizeX;
    m_cellSizeZ = cellSizeZ;
    m_countX = countX;
    m_countZ = countZ;
    m_originX = originX;
    m_originZ = originZ;
    m_generation = ++g_lastGeneration;
    return true;
}

void CTerrainMapper::Clear() {
    m_cells = {};
    m_records = {};
    m_cellSizeX = m_cellSizeZ = 0.0f;
    m_countX = m_countZ = 0;
    m_originX = m_originZ = 0.0f;
    m_generation = ++g_lastGeneration;
    m_recordLimitLogged = false;
}

bool CTerrainMapper::IsRejectedTriangle(const TriangleCorners& corners) {
    for (const CVector& corner : corners)
        if (!IsFiniteVector(corner) || corner.y > kHighestGround)
            return true;
    const CVector n = (corners[1] - corners[0]).Cross(corners[2] - corners[0]);
    return n.IsZero() || n.y < kLeastUpward;
}

bool CTerrainMapper::AddTriangles(const TriangleCorners* triangles, std::size_t count) {
    bool all = true;
    for (std::size_t i = 0; i < count; ++i)
        if (!IsRejectedTriangle(triangles[i]))
            all = AddTriangle(triangles[i]) && all;
    return all;
}

bool CTerrainMapper::CellRange(float low, float high, float origin, float size, std::uint32_t count,
                               std::uint32_t& first, std::uint32_t& last) {
    // Cells are counted by truncation toward zero, as XToCell does: anything less than a cell below the
    // origin falls in cell 0.
    const float lowCell = (low - origin) / size;
    const float highCell = (high - origin) / size;
    const float end = static_cast<float>(count);
    if (!(highCell > -1.0f) || !(lowCell < end)) {
        first = 1; // nothing of the span lies on the grid
        last = 0;
        return false;
    }
    first = lowCell > 0.0f ? static_cast<std::uint32_t>(lowCell) : 0;
    last = highCell < end ? static_cast<std::uint32_t>(std::max(highCell, 0.0f)) : count - 1;
    return lowCell > -1.0f && highCell < end;
}

bool CTerrainMapper::AddTriangle(const TriangleCorners& corners) {
    if (m_cells.empty())
        return false;
    TerrainTriangle t;
    t.corners = corners;
    t.minX = std::min({corners[0].x, corners[1].x, corners[2].x});
    t.maxX = std::max({corners[0].x, corners[1].x, corners[2].x});
    t.minZ = std::min({corners[0].z, corners[1].z, corners[2].z});
    t.maxZ = std::max({corners[0].z, corners[1].z, corners[2].z});

    const CVector e01 = corners[1] - corners[0];
    const CVector e12 = corners[2] - corners[1];
    const CVector e20 = corners[0] - corners[2];
    CVector normal = e01.Cross(e12);
    if (normal.IsZero())
        normal = e12.Cross(e20);
    if (normal.IsZero())
        normal = e20.Cross(e01);
    if (normal.y < 0.0f)
        normal *= -1.0f;
    normal.SafeNormalise();
    t.normal = normal;

    CVector m = e01.Cross(corners[2] - corners[0]);
    if (!m.IsZero()) {
        m.Normalise();
        t.a = -m.x / m.y;
        t.b = -m.z / m.y;
        t.c = corners[0].y - t.a * corners[0].x - t.b * corners[0].z;
    }

    std::uint32_t firstX = 0, lastX = 0, firstZ = 0, lastZ = 0;
    const bool wholeX = CellRange(t.minX, t.maxX, m_originX, m_cellSizeX, m_countX, firstX, lastX);
    const bool wholeZ = CellRange(t.minZ, t.maxZ, m_originZ, m_cellSizeZ, m_countZ, firstZ, lastZ);
    if (firstX > lastX || firstZ > lastZ)
        return false;
    for (std::uint32_t iz = firstZ; iz <= lastZ; ++iz) {
        for (std::uint32_t ix = firstX; ix <= lastX; ++ix) {
            if (m_records.size() >= kMaxRecords) {
                if (!m_recordLimitLogged)
                    plat::system::DebugOutput(
                        "terrain: more ground triangles than the lookup keeps; the rest "
                        "are left out");
                m_recordLimitLogged = true;
                return false;
            }
            TerrainTriangle*& head = m_cells[ix + static_cast<std::size_t>(iz) * m_countX];
            try {
                m_records.push_back(t);
            } catch (const std::bad_alloc&) {
                return false;
            }
            m_records.back().next = head;
            head = &m_records.back();
        }
    }
    return wholeX && wholeZ;
}

std::uint32_t CTerrainMapper::XToCell(float x) const {
    const float cell = (x - m_originX) / m_cellSizeX;
    if (!(cell > -1.0f) || !(cell < static_cast<float>(m_countX)))
        return kNoCell;
    return static_cast<std::uint32_t>(std::max(cell, 0.0f));
}

std::uint32_t CTerrainMapper::ZToCell(float z) const {
    const float cell = (z - m_originZ) / m_cellSizeZ;
    if (!(cell > -1.0f) || !(cell < static_cast<float>(m_countZ)))
        return kNoCell;
    return static_cast<std::uint32_t>(std::max(cell, 0.0f));
}

const TerrainTriangle* CTerrainMapper::GetCell(std::uint32_t ix, std::uint32_t iz) const {
    if (ix >= m_countX || iz >= m_countZ)
        return nullptr;
    return m_cells[ix + static_cast<std::size_t>(iz) * m_countX];
}

bool CTerrainMapper::IsOutsideGrid(float x, float z) const {
    return !(x >= m_originX) || !((x - m_originX) / m_cellSizeX < static_cast<float>(m_countX)) ||
           !(z >= m_originZ) || !((z - m_originZ) / m_cellSizeZ < static_cast<float>(m_countZ));
}

bool CTerrainMapper::IsInsideTriangle(float x, float z, const TerrainTriangle& t) {
    bool inside = false;
    for (int e = 0; e < 3; ++e) {
        const CVector& p = t.corners[static_cast<std::size_t>(e)];
        const CVector& q = t.corners[static_cast<std::size_t>((e + 1) % 3)];
        if (((p.z <= z && z < q.z) || (q.z <= z && z < p.z)) &&
            x < p.x + (z - p.z) * (q.x - p.x) / (q.z - p.z))
            inside = !inside;
    }
    return inside;
}

} // namespace zentrix
