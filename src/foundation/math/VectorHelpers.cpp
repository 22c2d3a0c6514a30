#include "foundation/math/VectorHelpers.h"

#include "foundation/math/EngineMath.h"

#include <cmath>
#include <initializer_list>

namespace zentrix {

float* AddFloat3(float* out, const float* a, const float* b) {
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<float>(double(a[i]) + b[i]);
    return out;
}

float* SubtractFloat3(float* out, const float* a, const float* b) {
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<float>(double(a[i]) - b[i]);
    return out;
}

float* ScaleFloat3(float* out, const float* a, float s) {
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<float>(double(a[i]) * s);
    return out;
}

void AddVectors(CVector a, CVector b, CVector& out) {
    out = a + b;
}

void AddToVector(CVector a, CVector& b) {
    b = a + b;
}

void SubtractVectors(CVector a, CVector b, CVector& out) {
    out = a - b;
}

void SubtractFromVector(CVector a, CVector& b) {
    b = b - a;
}

void ScaleVector(CVector& v, float s) {
    v = v * s;
}

void OffsetVector(CVector v, CVector& out, float dx, float dy, float dz) {
    out = v + CVector(dx, dy, dz);
}

float VectorLength(CVector v) {
    return v.Length();
}

void NormaliseVector(CVector& v) {
    v.Normalise();
}

float VectorDotProduct(CVector a, CVector b) {
    const float u[3] = {a.x, a.y, a.z}, v[3] = {b.x, b.y, b.z};
    return DotProduct(u, v);
}

void ClampVectorLength(CVector& v, float max) {
    if (VectorLength(v) > max) {
        NormaliseVector(v);
        ScaleVector(v, max);
    }
}

void SnapToZero(CVector& v) {
    SnapToZeroTolerance(v, 1e-8f);
}

void SnapToZeroTolerance(CVector& v, float tolerance) {
    for (float* c : {&v.x, &v.y, &v.z}) {
        if (*c != 0.0f && std::fabs(*c) < tolerance)
            *c = 0.0f;
    }
}

void OffsetPoints(CVector* points, int n, CVector d) {
    for (int i = 0; i < n; ++i)
        points[i] += d;
}

void TransformByMatrix(CVector in, CVector& out, const float* m) {
    const float p[3] = {in.x, in.y, in.z};
    float moved[3];
    TransformPoint(m, p, moved);
    out = CVector(moved[0], moved[1], moved[2]);
}

void SetIdentityMatrix(float* m) {
    IdentityMatrix(m);
}

void MultiplyMatrices(const float* a, float* b) {
    PostMultiplyMatrix(b, a);
}

void AccumulateMatrix(const float* a, float* b) {
    MultiplyMatrix(b, a);
}

bool InvertMatrixInto(float* dst, const float* src) {
    return InvertMatrix(src, dst);
}

} // namespace zentrix
