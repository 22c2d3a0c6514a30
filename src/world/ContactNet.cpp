#include "world/ContactNet.h"

#include "foundation/math/Geometry.h"
#include "foundation/math/VectorHelpers.h"
#include "world/ContactNetEdgeIndex.h"
#include "world/ContactPoint.h"

#include <algorithm>

namespace zentrix {

bool CContactNet::InitFromContactPoints(std::uint32_t n, const CContactPoint* const* points,
                                        std::uint32_t count) {
    if (n == 0 || count == 0 || !points || !points[0]) {
        Clear();
        return false;
    }
    const CVector first = points[0]->GetLocalOffset();
    float minX = first.x, maxX = first.x, minZ = first.z, maxZ = first.z;
    for (std::uint32_t k = 1; k < count; ++k) {
        if (!points[k])
            continue;
        const CVector offset = points[k]->GetLocalOffset();
        minX = std::min(minX, offset.x);
        maxX = std::max(maxX, offset.x);
        minZ = std::min(minZ, offset.z);
        maxZ = std::max(maxZ, offset.z);
    }
    return Init(n, minX, maxX, minZ, maxZ);
}

bool CContactNet::Init(std::uint32_t n, float minX, float maxX, float minZ, float maxZ) {
    Clear();
    // A net needs two points a side to have a border to walk; the size comes from an asset.
    if (n < kMinSize || n > kMaxSize)
        return false;
    const std::size_t cells = static_cast<std::size_t>(n) * n;
    m_points.assign(cells, CVector());
    m_heights.assign(cells, kNotSampled);
    m_border.assign(4 * static_cast<std::size_t>(n) - 4, BorderEntry());
    m_n = n;
    m_valid = true;
    m_minX = minX;
    m_maxX = maxX;
    m_minZ = minZ;
    m_maxZ = maxZ;
    m_dirty = true;
    m_position.Zero();
    m_direction = kDefaultDirection;
    m_up = kUpVector;
    return true;
}

void CContactNet::Clear() {
    m_points = {};
    m_heights = {};
    m_border = {};
    m_n = 0;
    m_minX = m_maxX = m_minZ = m_maxZ = 0.0f;
    m_valid = false;
    m_dirty = false;
}

void CContactNet::SetPosition(CVector position) {
    if (position == m_position)
        return;
    m_position = position;
    m_dirty = true;
}

void CContactNet::SetOrientation(CVector direction, CVector up) {
    if (direction == m_direction && up == m_up)
        return;
    m_direction = direction;
    m_up = up;
    m_dirty = true;
}

void CContactNet::Update(float scale) {
    if (!m_valid)
        return;
    if (scale != 1.0f)
        m_dirty = true;
    if (!m_dirty)
        return;
    Rebuild(scale);
    m_dirty = false;
}

void CContactNet::Rebuild(float scale) {
    std::fill(m_heights.begin(), m_heights.end(), kNotSampled);
    const float x0 = scale * m_minX;
    const float z0 = scale * m_minZ;
    const float dx = (scale * m_maxX - x0) / static_cast<float>(m_n - 1);
    const float dz = (scale * m_maxZ - z0) / static_cast<float>(m_n - 1);
    for (std::uint32_t j = 0; j < m_n; ++j)
        for (std::uint32_t i = 0; i < m_n; ++i)
            m_points[j * m_n + i].Set(x0 + static_cast<float>(i) * dx, 0.0f, z0 + static_cast<float>(j) * dz);
    const int count = static_cast<int>(m_points.size());
    TransformBetweenFrames(m_points.data(), count, kDefaultDirection, kUpVector, m_direction, m_up);
    OffsetPoints(m_points.data(), count, m_position);
}

CVector CContactNet::GetPoint(std::uint32_t i, std::uint32_t j) const {
    if (i >= m_n || j >= m_n)
        return CVector();
    return m_points[j * m_n + i];
}

bool CContactNet::IsPointClear(std::uint32_t i, std::uint32_t j) {
    Update(1.0f);
    if (i >= m_n || j >= m_n)
        return false;
    const CVector p = m_points[j * m_n + i];
    float& height = m_heights[j * m_n + i];
    if (height == kNotSampled)
        height = GetGroundHeight(p.x, p.z, nullptr);
    return p.y >= height;
}

void CContactNet::SampleBorder() {
    CContactNetEdgeIndex walk(m_n);
    std::size_t k = 0;
    do {
        const auto i = static_cast<std::uint32_t>(walk.GetI());
        const auto j = static_cast<std::uint32_t>(walk.GetJ());
        m_border[k] = {i, j, IsPointClear(i, j) ? 1u : 0u};
        ++k;
    } while (k < m_border.size() && walk.Next());
}

std::int32_t CContactNet::FindRunStart() const {
    const std::size_t count = m_border.size();
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t before = k == 0 ? count - 1 : k - 1;
        if (m_border[k].clear && !m_border[before].clear)
            return static_cast<std::int32_t>(k);
    }
    return -1;
}

CContactNet::Run CContactNet::FindLongestRun(std::uint32_t start) const {
    const auto count = static_cast<std::uint32_t>(m_border.size());
    Run best;
    Run current;
    // The entry before start is not clear, so the lap ends on a blocked entry and closes every run.
    for (std::uint32_t step = 0; step < count; ++step) {
        const std::uint32_t k = (start + step) % count;
        if (m_border[k].clear) {
            if (current.length == 0)
                current.first = k;
            current.last = k;
            ++current.length;
            continue;
        }
        if (current.length > best.length)
            best = current;
        current = Run();
    }
    return best;
}

CVector CContactNet::BorderPoint(std::uint32_t k) const {
    return GetPoint(m_border[k].i, m_border[k].j);
}

bool CContactNet::GetGroundEdgeNormal(CVector& out, float scale) {
    if (!m_valid || m_points.empty())
        return false;
    Update(scale);
    SampleBorder();
    const std::int32_t start = FindRunStart();
    if (start < 0)
        return false;
    const Run run = FindLongestRun(static_cast<std::uint32_t>(start));
    const auto count = static_cast<std::uint32_t>(m_border.size());
    // One border point alone below ground tells little: look again with a larger net.
    if (run.length == count - 1 && scale < kMaxScale && GetGroundEdgeNormal(out, scale + 0.5f))
        return true;
    const std::uint32_t before = (run.first + count - 1) % count;
    const std::uint32_t after = (run.last + 1) % count;
    const CVector m1 = (BorderPoint(run.first) + BorderPoint(before)) * 0.5f;
    const CVector m2 = (BorderPoint(run.last) + BorderPoint(after)) * 0.5f;
    out = OrientedNormal(m_position, m1, m2);
    out.SafeNormalise();
    return true;
}

} // namespace zentrix
