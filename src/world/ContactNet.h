#pragma once

#include "foundation/math/Vector.h"
#include "world/TopographyFollower.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class CContactPoint;

/// An n x n grid of sample points over an active object's footprint, carried with the object's position
/// and orientation. The collision code asks it where the object's outline crosses the ground: the net
/// walks its border, finds the longest stretch of points clear of the ground, and gives the normal of
/// the plane through the object's centre and the two places where that stretch meets the ground. When
/// only one border point is below ground it looks again with a larger net. Points and ground heights are
/// rebuilt lazily after a move, one terrain query per point.
class CContactNet : public CTopographyFollower {
public:
    /// The sizes a net may have: a 2 x 2 net is its four corners; beyond 32 a side the border walk costs
    /// more than it tells.
    static constexpr std::uint32_t kMinSize = 2;
    static constexpr std::uint32_t kMaxSize = 32;
    /// The cached height of a point not sampled yet.
    static constexpr float kNotSampled = -1000000.0f;
    /// The largest scale a retry grows the net to.
    static constexpr float kMaxScale = 3.0f;

    CContactNet() = default;
    ~CContactNet() override = default;

    /// Sizes the net over the footprint of the points' local offsets (the X/Z extent). False, leaving the
    /// net invalid, without points or for a size outside kMinSize..kMaxSize.
    bool InitFromContactPoints(std::uint32_t n, const CContactPoint* const* points, std::uint32_t count);
    /// An n x n net over the footprint (local frame), at the origin in the model frame, to be rebuilt.
    /// False, leaving the net invalid, for a size outside kMinSize..kMaxSize.
    bool Init(std::uint32_t n, float minX, float maxX, float minZ, float maxZ);
    /// No points, size 0, footprint zero, invalid.
    void Clear();

    /// Moves the net with its owner; the same position again keeps the cached heights.
    void SetPosition(CVector position);
    /// Turns the net with its owner; the same orientation again keeps the cached heights.
    void SetOrientation(CVector direction, CVector up);
    /// Rebuilds the points when the net moved or the scale is not 1.0.
    void Update(float scale);

    /// Point (i, j) in world space; zero outside the net.
    CVector GetPoint(std::uint32_t i, std::uint32_t j) const;
    /// Whether point (i, j) lies on or above the ground under it (false outside the net).
    bool IsPointClear(std::uint32_t i, std::uint32_t j);
    /// The normal of the plane through the net's position and the two places where the longest clear
    /// stretch of the border meets the ground; false when the border is all clear, all blocked, or the net
    /// is invalid.
    bool GetGroundEdgeNormal(CVector& out, float scale);

    bool IsValid() const { return m_valid; }
    std::uint32_t GetSize() const { return m_n; }

private:
    /// One point of the border walk and whether it was clear.
    struct BorderEntry {
        std::uint32_t i = 0;
        std::uint32_t j = 0;
        std::uint32_t clear = 0;
    };
    /// A stretch of clear border entries.
    struct Run {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::uint32_t length = 0;
    };

    void Rebuild(float scale);
    void SampleBorder();
    /// The first border entry that is clear after one that is not; -1 when all or none are clear.
    std::int32_t FindRunStart() const;
    /// The longest clear stretch, walking once round from start; of equal ones the first met.
    Run FindLongestRun(std::uint32_t start) const;
    CVector BorderPoint(std::uint32_t k) const;

    bool m_valid = false;
    bool m_dirty = false;
    std::uint32_t m_n = 0;
    std::vector<CVector> m_points; ///< point (i, j) at j * n + i
    std::vector<float> m_heights;
    std::vector<BorderEntry> m_border;
    CVector m_position;
    CVector m_direction = kDefaultDirection;
    CVector m_up = kUpVector;
    float m_minX = 0.0f;
    float m_maxX = 0.0f;
    float m_minZ = 0.0f;
    float m_maxZ = 0.0f;
};

} // namespace zentrix
