#pragma once

namespace zentrix {

// The engine's own vector and matrix functions. They work on plain float arrays: a vector is 3 floats
// (x, y, z) and a matrix 16 floats stored row by row (element r * 4 + c). Matrices act on row vectors:
// a point p becomes p x M, the translation sits in elements 12, 13 and 14, and A x B applies A first.
// An affine matrix has the last column (elements 3, 7, 11, 15) equal to (0, 0, 0, 1).
// Every function computes in double precision and stores floats.

/// out := a x b, the right-handed cross product; out may alias a or b.
void CrossProduct(float* out, const float* a, const float* b);

/// The dot product a . b.
float DotProduct(const float* a, const float* b);

/// Scales v to unit length and returns its old length; a zero vector is left alone and 0 returned.
float NormaliseVector(float* v);

/// out := a + b; returns a.
const float* AddVectors(const float* a, const float* b, float* out);

/// out := a - b; returns a.
const float* SubtractVectors(const float* a, const float* b, float* out);

/// The length of v.
float VectorLength(const float* v);

/// v := s v.
void ScaleVector(float* v, float s);

/// out := the normalised v turned by angle radians about the normalised axis (right-hand rule).
void RotateAboutAxis(float* out, const float* v, const float* axis, float angle);

/// Copies the 16 floats of source into destination.
void CopyMatrix(const float* source, float* destination);

/// a := b x a (affine product).
void MultiplyMatrix(float* a, const float* b);

/// a := a x b (affine product).
void PostMultiplyMatrix(float* a, const float* b);

/// out := a x b (affine product); the last column of out is left as it was.
void MultiplyMatrixInto(float* out, const float* a, const float* b);

/// out := a x b, the full 4 x 4 product.
void MultiplyMatrix4(float* out, const float* a, const float* b);

/// The affine inverse form of m for InverseTransformPoint: the inverted 3 x 3 part and the negated
/// translation. False, and out the identity, when the 3 x 3 determinant is exactly 0.
bool InvertMatrix(const float* m, float* out);

/// out := p x m, translation included.
void TransformPoint(const float* m, const float* p, float* out);

/// out := (p x m) divided by its w = p.x m3 + p.y m7 + p.z m11 + m15 (w = 0 is not guarded).
void ProjectPoint(const float* m, const float* p, float* out);

/// Undoes a transform with a matrix from InvertMatrix: p := p + m's translation (p itself is changed),
/// then out := p x (3 x 3 part of m).
void InverseTransformPoint(const float* m, float* p, float* out);

/// m := the identity.
void IdentityMatrix(float* m);

} // namespace zentrix
