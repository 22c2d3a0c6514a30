#include "foundation/math/VectorHelpers.h"

#include <cmath>
#include <cstring>
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
    return a.Dot(b);
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
    const double x = in.x, y = in.y, z = in.z;
    out = CVector(static_cast<float>(x * m[0] + y * m[4] + z * m[8] + m[12]),
                  static_cast<float>(x * m[1] + y * m[5] + z * m[9] + m[13]),
                  static_cast<float>(x * m[2] + y * m[6] + z * m[10] + m[14]));
}

void SetIdentityMatrix(float* m) {
    for (int i = 0; i < 16; ++i)
        m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

namespace {

// out = a x b for affine matrices: the 3x3 parts multiplied, the translation a's translation turned by
// b's 3x3 part plus b's translation, the last column (0, 0, 0, 1). out may be a or b.
void AffineProduct(float* out, const float* a, const float* b) {
    float r[16];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j) {
            double sum = (i == 3) ? double(b[12 + j]) : 0.0;
            for (int k = 0; k < 3; ++k)
                sum += double(a[4 * i + k]) * b[4 * k + j];
            r[4 * i + j] = static_cast<float>(sum);
        }
        r[4 * i + 3] = (i == 3) ? 1.0f : 0.0f;
    }
    std::memcpy(out, r, sizeof r);
}

} // namespace

void MultiplyMatrices(const float* a, float* b) {
    AffineProduct(b, b, a);
}

void AccumulateMatrix(const float* a, float* b) {
    AffineProduct(b, a, b);
}

bool InvertMatrixInto(float* dst, const float* src) {
    auto at = [src](int r, int c) { return double(src[4 * r + c]); };
    const double det = at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
                       at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
                       at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
    if (det == 0.0) {
        SetIdentityMatrix(dst);
        return false;
    }
    // Cofactor (r, c) of the 3x3 part; the inverse is the transposed cofactor matrix over det.
    auto cofactor = [&at](int r, int c) {
        const int r0 = (r + 1) % 3, r1 = (r + 2) % 3, c0 = (c + 1) % 3, c1 = (c + 2) % 3;
        return at(r0, c0) * at(r1, c1) - at(r0, c1) * at(r1, c0);
    };
    float r[16];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            r[4 * i + j] = static_cast<float>(cofactor(j, i) / det);
        r[4 * i + 3] = 0.0f;
    }
    r[12] = -src[12];
    r[13] = -src[13];
    r[14] = -src[14];
    r[15] = 1.0f;
    std::memcpy(dst, r, sizeof r);
    return true;
}

} // namespace zentrix
