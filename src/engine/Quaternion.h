#pragma once

namespace zentrix {

/// A rotation as a unit quaternion, scalar part first: {s, x, y, z}.
struct Quaternion {
    float s, x, y, z;
};

/// The rotation a fraction t of the way from a to b along the shorter arc (b is negated when the two
/// point apart); nearly equal rotations (1 - |a . b| <= 0.001) blend linearly. The result is not
/// renormalised.
Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t);

/// The 4 x 4 rotation matrix of q for row vectors (p x M), translation zero: (cos a/2, 0, 0, sin a/2)
/// turns (1, 0, 0) into (cos a, -sin a, 0).
void MatrixFromQuaternion(float* out, const Quaternion& q);

} // namespace zentrix
