#pragma once

#include "foundation/math/Vector.h"

#include <array>

namespace zentrix {

/// The three corners of a mesh face in world space, in the face's vertex order.
using TriangleCorners = std::array<CVector, 3>;

/// One ground triangle as the terrain lookup keeps it: a record per cell that the triangle covers (each
/// cell owns its own copy), linked into that cell's list.
struct TerrainTriangle {
    TriangleCorners corners{};
    /// The corners' extent on the X/Z plane.
    float minX = 0.0f;
    float minZ = 0.0f;
    float maxX = 0.0f;
    float maxZ = 0.0f;
    /// The plane: its height at (x, z) is a x + b z + c.
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    /// Unit length, facing up.
    CVector normal;
    /// The next triangle of the same cell; null at the end.
    TerrainTriangle* next = nullptr;

    /// The plane's height at (x, z), inside the triangle or not.
    float PlaneHeight(float x, float z) const { return a * x + b * z + c; }
};

} // namespace zentrix
