#pragma once

#include <cstdint>

namespace zentrix {

struct TerrainTriangle;

/// The last ground triangle that a height query found for one asker (a contact point, a shadow), so
/// that its next query nearby costs one inside test. It names the triangle together with the build of
/// the terrain lookup that made it: a lookup reads a hint only when the build is its own, so a hint that
/// outlives its lookup, or was made by another one, is never followed. It owns nothing and nothing needs
/// to clear it.
class CGroundHint {
public:
    /// The triangle, when it was found by the lookup build `generation`; null otherwise.
    const TerrainTriangle* Get(std::uint64_t generation) const {
        return m_generation == generation ? m_triangle : nullptr;
    }
    /// Remembers a triangle (null: none) found by the lookup build `generation`.
    void Set(const TerrainTriangle* triangle, std::uint64_t generation) {
        m_triangle = triangle;
        m_generation = generation;
    }
    /// Forgets the triangle.
    void Clear() { Set(nullptr, 0); }

private:
    const TerrainTriangle* m_triangle = nullptr;
    std::uint64_t m_generation = 0;
};

} // namespace zentrix
