#pragma once

#include "foundation/math/Vector.h"

namespace zentrix {

/// A 4x4 float matrix stored row by row (m[4 * row + column]) for row vectors: a point p becomes
/// p x M, rows 0 to 2 are the images of the x, y and z axes and row 3 is the translation. Column 3 is
/// never read by the transforms.
class CMatrix {
public:
    float m[16] = {};

    /// All sixteen elements 0.
    CMatrix() = default;

    /// The identity.
    void SetIdentity();
    /// Writes the 3x3 basis for a model looking along dir with the given up: row 2 = -dir (kept at its
    /// length), row 0 = up x -dir and row 1 = -dir x row 0, each normalised unless zero. The
    /// translation and column 3 stay as they were, so callers set the identity first.
    void SetFromDirection(CVector dir, CVector up);

    /// out = in x m, translation included.
    static void TransformVector(const CMatrix& m, CVector in, CVector& out);
    /// The same transform for n points; in and out may be the same array.
    static void TransformPoints(const CMatrix& m, const CVector* in, int n, CVector* out);

    /// The 3x3 product this x other with this translation row turned by other's 3x3 part. Other's
    /// translation is not used and column 3 of the result is 0 (so m[15] is 0 too).
    CMatrix operator*(const CMatrix& other) const;
};

} // namespace zentrix
