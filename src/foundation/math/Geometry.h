#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

// Small geometry used by collision, ground following and track pieces: triangle normals, planes
// through points, surface responses and frame changes.

/// The unit normal (a - b) x (a - c) of a triangle, components below 1e-8 snapped to 0; zero for a
/// degenerate triangle.
void TriangleNormal(CVector& out, CVector a, CVector b, CVector c);
/// The unit normal of a triangle as a value (see the out form).
CVector TriangleNormal(CVector a, CVector b, CVector c);
/// TriangleNormal, negated when it points down (y < 0).
void UpwardTriangleNormal(CVector& out, CVector a, CVector b, CVector c);
/// The upward unit normal of a triangle as a value (see the out form).
CVector UpwardTriangleNormal(CVector a, CVector b, CVector c);
/// The in-plane vector perpendicular to the edge b -> c that points towards a, of length |c - b|;
/// zero when the three points lie on a line.
void OrientedNormal(CVector& out, CVector a, CVector b, CVector c);
/// The oriented normal as a value (see the out form).
CVector OrientedNormal(CVector a, CVector b, CVector c);

/// Sorts n points by y, ascending or descending. Points of equal height keep their order.
void SortPointsByY(CVector* points, int n, bool ascending);
/// The plane through the highest three of n points: with more than three points the array is first
/// sorted by y ascending (the caller's array is reordered); outPoint is the last point and outNormal
/// the upward unit normal of the last three, or defaultNormal when they are degenerate. With fewer than
/// three points the normal is defaultNormal (made upward and unit), the point the last one given
/// (the origin when there is none).
void PlaneFromPoints(CVector* points, int n, CVector& outNormal, CVector& outPoint, CVector defaultNormal);
/// True when p lies on or above the plane through the points (PlaneFromPoints with up as default;
/// the array is reordered as there).
bool IsPointOnOrAbovePlane(CVector* points, int n, CVector p);

/// out = v - (1 + k)(v . n) n: k = 0 removes the part of v along n, k = 1 mirrors v in the surface;
/// zero when v . n is 0.
void TangentialComponentScaled(CVector& out, CVector v, CVector n, float k);
/// The scaled tangential component as a value (see the out form).
CVector TangentialComponentScaled(CVector v, CVector n, float k);

/// CVector::TransformBetweenFrames on each of n points, in place.
void TransformBetweenFrames(CVector* points, int n, CVector dirA, CVector upA, CVector dirB, CVector upB);
/// Transforms each of n points in place by the basis of (dir, up) (CMatrix::SetFromDirection).
void TransformPointsToFrame(CVector* points, int n, CVector dir, CVector up);

} // namespace zentrix
