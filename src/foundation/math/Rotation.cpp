#include "foundation/math/Rotation.h"

#include "foundation/math/VectorHelpers.h"

#include <cmath>

namespace zentrix {

namespace {

// The rotation matrix with rows a, b and c (each three floats) and a zero translation row.
void RotateByRows(CVector in, CVector& out, CVector a, CVector b, CVector c) {
    const float m[16] = {a.x, a.y, a.z, 0.0f, b.x,  b.y,  b.z,  0.0f,
                         c.x, c.y, c.z, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    TransformByMatrix(in, out, m);
}

// A copy of v divided by its length; a zero vector stays zero.
void NormaliseOrKeep(double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0)
        return;
    for (int i = 0; i < 3; ++i)
        v[i] /= length;
}

} // namespace

void RotateAboutXAxis(CVector in, CVector& out, float a) {
    const float c = std::cos(a), s = std::sin(a);
    RotateByRows(in, out, {1.0f, 0.0f, 0.0f}, {0.0f, c, s}, {0.0f, -s, c});
}

void RotateAboutYAxis(CVector in, CVector& out, float a) {
    const float c = std::cos(a), s = std::sin(a);
    RotateByRows(in, out, {c, 0.0f, -s}, {0.0f, 1.0f, 0.0f}, {s, 0.0f, c});
}

CVector RotateAboutYAxis(CVector in, float a) {
    CVector out;
    RotateAboutYAxis(in, out, a);
    return out;
}

void RotateAboutZAxis(CVector in, CVector& out, float a) {
    const float c = std::cos(a), s = std::sin(a);
    RotateByRows(in, out, {c, s, 0.0f}, {-s, c, 0.0f}, {0.0f, 0.0f, 1.0f});
}

void RotateEulerXYZ(CVector in, CVector& out, float ax, float ay, float az) {
    RotateAboutXAxis(in, out, ax);
    RotateAboutYAxis(out, out, ay);
    RotateAboutZAxis(out, out, az);
}

void RotateVectorAboutAxis(CVector v, CVector& out, CVector axis, float a) {
    // The unit vector turned by Rodrigues' matrix, applied to a row vector: built from the negated
    // angle, which turns a row vector by the positive angle. The result is then given v's length.
    double p[3] = {v.x, v.y, v.z};
    double k[3] = {axis.x, axis.y, axis.z};
    NormaliseOrKeep(p);
    NormaliseOrKeep(k);
    const double c = std::cos(-double(a)), s = std::sin(-double(a)), t = 1.0 - c;
    const double r[3][3] = {
        {t * k[0] * k[0] + c, t * k[0] * k[1] - s * k[2], t * k[0] * k[2] + s * k[1]},
        {t * k[0] * k[1] + s * k[2], t * k[1] * k[1] + c, t * k[1] * k[2] - s * k[0]},
        {t * k[0] * k[2] - s * k[1], t * k[1] * k[2] + s * k[0], t * k[2] * k[2] + c},
    };
    float unit[3];
    for (int j = 0; j < 3; ++j)
        unit[j] = static_cast<float>(p[0] * r[0][j] + p[1] * r[1][j] + p[2] * r[2][j]);
    out = CVector(unit[0], unit[1], unit[2]) * v.Length();
}

void RotateAboutVerticalPivot(CVector& point, CVector& dir, CVector pivot, float a) {
    point = pivot + RotateAboutYAxis(point - pivot, a);
    dir = RotateAboutYAxis(dir, a);
}

} // namespace zentrix
