#include "foundation/math/Vector.h"

#include "foundation/math/Matrix.h"

#include <cmath>

namespace zentrix {

namespace {

CVector FromDoubles(double x, double y, double z) {
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

} // namespace

float CVector::Length() const {
    const double dx = x, dy = y, dz = z;
    return static_cast<float>(std::sqrt(dx * dx + dy * dy + dz * dz));
}

void CVector::Normalise() {
    const double length = Length();
    *this = FromDoubles(x / length, y / length, z / length);
}

void CVector::SafeNormalise() {
    if (!IsZero())
        Normalise();
}

void CVector::SetLength(float length) {
    SafeNormalise();
    Scale(length);
}

CVector CVector::GetNormalised() const {
    CVector copy = *this;
    copy.Normalise();
    return copy;
}

CVector& CVector::Scale(float s) {
    *this = *this * s;
    return *this;
}

CVector CVector::operator*=(float s) {
    return Scale(s);
}

CVector CVector::operator/=(float s) {
    const double d = s;
    *this = FromDoubles(x / d, y / d, z / d);
    return *this;
}

CVector CVector::operator+=(CVector v) {
    *this = *this + v;
    return *this;
}

CVector CVector::operator-=(CVector v) {
    *this = *this - v;
    return *this;
}

CVector CVector::operator*(float s) const {
    const double d = s;
    return FromDoubles(x * d, y * d, z * d);
}

CVector CVector::operator/(float s) const {
    // Multiplies by the reciprocal, as the game always has; rounding may differ from /=.
    const float inverse = 1.0f / s;
    return *this * inverse;
}

CVector CVector::operator+(CVector v) const {
    return FromDoubles(double(x) + v.x, double(y) + v.y, double(z) + v.z);
}

CVector CVector::operator-(CVector v) const {
    return FromDoubles(double(x) - v.x, double(y) - v.y, double(z) - v.z);
}

float CVector::Dot(CVector v) const {
    return static_cast<float>(double(x) * v.x + double(y) * v.y + double(z) * v.z);
}

CVector CVector::Cross(CVector v) const {
    return FromDoubles(double(y) * v.z - double(z) * v.y, double(z) * v.x - double(x) * v.z,
                       double(x) * v.y - double(y) * v.x);
}

void CVector::DefaultIfZero(CVector v) {
    if (IsZero())
        *this = v;
}

bool CVector::SetYOnPlane(CVector q, CVector n) {
    if (n.y == 0.0f)
        return false;
    const double rise = (double(x) - q.x) * n.x + (double(z) - q.z) * n.z;
    y = static_cast<float>(rise / -double(n.y) + q.y);
    return true;
}

CVector CVector::ProjectToHeight(CVector p, float h) const {
    // The slopes of this direction per unit of height; going through the angle and back is how the
    // game has always done it and leaves the slope as it was.
    const float perHeightX = static_cast<float>(double(x) / y);
    const float perHeightZ = static_cast<float>(double(z) / y);
    const double slopeX = std::tan(std::atan(double(perHeightX)));
    const double slopeZ = std::tan(std::atan(double(perHeightZ)));
    const double drop = double(p.y) - h;
    return FromDoubles(p.x - slopeX * drop, h, p.z - slopeZ * drop);
}

void CVector::TransformBetweenFrames(CVector dirA, CVector upA, CVector dirB, CVector upB) {
    CMatrix a;
    a.SetIdentity();
    a.SetFromDirection(dirA * -1.0f, upA);
    CMatrix b;
    b.SetIdentity();
    b.SetFromDirection(dirB, upB);
    CMatrix::TransformVector(a * b, *this, *this);
}

CVector CVector::LerpTowards(CVector target, float t) {
    *this += (target - *this) * t;
    return *this;
}

} // namespace zentrix
