#include "foundation/math/Geometry.h"

#include "foundation/math/Matrix.h"
#include "foundation/math/VectorHelpers.h"

#include <algorithm>

namespace zentrix {

void TriangleNormal(CVector& out, CVector a, CVector b, CVector c) {
    CVector normal = (a - b).Cross(a - c);
    SnapToZero(normal);
    normal.SafeNormalise();
    out = normal;
}

CVector TriangleNormal(CVector a, CVector b, CVector c) {
    CVector out;
    TriangleNormal(out, a, b, c);
    return out;
}

void UpwardTriangleNormal(CVector& out, CVector a, CVector b, CVector c) {
    TriangleNormal(out, a, b, c);
    if (out.y < 0.0f)
        out *= -1.0f;
}

CVector UpwardTriangleNormal(CVector a, CVector b, CVector c) {
    CVector out;
    UpwardTriangleNormal(out, a, b, c);
    return out;
}

void OrientedNormal(CVector& out, CVector a, CVector b, CVector c) {
    CVector normal = (b - a).Cross(c - a);
    if (normal.IsZero()) {
        out = CVector();
        return;
    }
    normal.Normalise();
    out = normal.Cross(c - b);
}

CVector OrientedNormal(CVector a, CVector b, CVector c) {
    CVector out;
    OrientedNormal(out, a, b, c);
    return out;
}

void SortPointsByY(CVector* points, int n, bool ascending) {
    if (n <= 1)
        return;
    // A stable sort, so points of equal height come out in the same order on every platform.
    if (ascending)
        std::stable_sort(points, points + n, [](const CVector& p, const CVector& q) { return p.y < q.y; });
    else
        std::stable_sort(points, points + n, [](const CVector& p, const CVector& q) { return p.y > q.y; });
}

void PlaneFromPoints(CVector* points, int n, CVector& outNormal, CVector& outPoint, CVector defaultNormal) {
    CVector normal;
    if (n > 3)
        SortPointsByY(points, n, true);
    if (n >= 3)
        TriangleNormal(normal, points[n - 1], points[n - 2], points[n - 3]);
    normal.DefaultIfZero(defaultNormal);
    normal.SafeNormalise();
    if (normal.y < 0.0f)
        normal *= -1.0f;
    outNormal = normal;
    outPoint = n >= 1 ? points[n - 1] : CVector();
}

bool IsPointOnOrAbovePlane(CVector* points, int n, CVector p) {
    CVector normal, onPlane;
    PlaneFromPoints(points, n, normal, onPlane, kUpVector);
    CVector q(p.x, 0.0f, p.z);
    q.SetYOnPlane(onPlane, normal);
    return q.y <= p.y;
}

void TangentialComponentScaled(CVector& out, CVector v, CVector n, float k) {
    const float d = v.Dot(n);
    if (d == 0.0f) {
        out = CVector();
        return;
    }
    const CVector along = n * d;
    out = v - along - along * k;
}

CVector TangentialComponentScaled(CVector v, CVector n, float k) {
    CVector out;
    TangentialComponentScaled(out, v, n, k);
    return out;
}

void TransformBetweenFrames(CVector* points, int n, CVector dirA, CVector upA, CVector dirB, CVector upB) {
    for (int i = 0; i < n; ++i)
        points[i].TransformBetweenFrames(dirA, upA, dirB, upB);
}

void TransformPointsToFrame(CVector* points, int n, CVector dir, CVector up) {
    CMatrix basis;
    basis.SetIdentity();
    basis.SetFromDirection(dir, up);
    CMatrix::TransformPoints(basis, points, n, points);
}

} // namespace zentrix
