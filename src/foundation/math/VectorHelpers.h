#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

// Free vector and matrix helpers. Matrices here are 16 floats in the CMatrix layout (row vectors,
// translation in row 3). The matrix routines, the transform and the dot product are the engine's own
// maths (EngineMath.h): double-precision arithmetic stored as float, affine products with the last
// column (0, 0, 0, 1).

/// out = a + b on three-float arrays; returns out.
float* AddFloat3(float* out, const float* a, const float* b);
/// out = a - b on three-float arrays; returns out.
float* SubtractFloat3(float* out, const float* a, const float* b);
/// out = a * s on three-float arrays; returns out.
float* ScaleFloat3(float* out, const float* a, float s);

/// out = a + b.
void AddVectors(CVector a, CVector b, CVector& out);
/// b = a + b.
void AddToVector(CVector a, CVector& b);
/// out = a - b.
void SubtractVectors(CVector a, CVector b, CVector& out);
/// b = b - a.
void SubtractFromVector(CVector a, CVector& b);
/// v = v * s.
void ScaleVector(CVector& v, float s);
/// out = v + (dx, dy, dz).
void OffsetVector(CVector v, CVector& out, float dx, float dy, float dz);
/// Euclidean length of v.
float VectorLength(CVector v);
/// v = v / |v|; a zero vector becomes NaN.
void NormaliseVector(CVector& v);
/// a . b.
float VectorDotProduct(CVector a, CVector b);
/// Shortens v to max when it is longer; a shorter vector stays unchanged.
void ClampVectorLength(CVector& v, float max);
/// Sets each component with magnitude below 1e-8 to 0.
void SnapToZero(CVector& v);
/// Sets each component with magnitude below tolerance to 0.
void SnapToZeroTolerance(CVector& v, float tolerance);
/// Adds d to each of n points.
void OffsetPoints(CVector* points, int n, CVector d);

/// out = in x m (rows 0 to 2 and the translation row).
void TransformByMatrix(CVector in, CVector& out, const float* m);
/// m = identity.
void SetIdentityMatrix(float* m);
/// b = b x a (affine: a applied after b).
void MultiplyMatrices(const float* a, float* b);
/// b = a x b (affine: a applied before b).
void AccumulateMatrix(const float* a, float* b);
/// dst = the inverse form of src meant for inverse point transforms: the inverse of the 3x3 part and
/// the negated translation (not turned by the inverse), last column (0, 0, 0, 1); a point p maps back
/// through (p + dst's translation) x dst's 3x3 part. False, with dst the identity, when the 3x3
/// determinant is exactly 0.
bool InvertMatrixInto(float* dst, const float* src);

} // namespace zentrix
