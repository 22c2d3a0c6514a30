#include "engine/Quaternion.h"

#include <cmath>

namespace zentrix {

Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t) {
    double dot = static_cast<double>(a.s) * b.s + static_cast<double>(a.x) * b.x +
                 static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
    double sign = 1.0;
    if (dot < 0.0) {
        dot = -dot;
        sign = -1.0;
    }
    double wa = 1.0 - t;
    double wb = t;
    if (1.0 - dot > 0.001) {
        const double theta = std::acos(dot);
        const double sinTheta = std::sin(theta);
        wa = std::sin((1.0 - t) * theta) / sinTheta;
        wb = std::sin(t * theta) / sinTheta;
    }
    wb *= sign;
    return {static_cast<float>(wa * a.s + wb * b.s), static_cast<float>(wa * a.x + wb * b.x),
            static_cast<float>(wa * a.y + wb * b.y), static_cast<float>(wa * a.z + wb * b.z)};
}

void MatrixFromQuaternion(float* m, const Quaternion& q) {
    const double s = q.s, x = q.x, y = q.y, z = q.z;
    const double values[16] = {1.0 - 2.0 * (y * y + z * z),
                               2.0 * (x * y - s * z),
                               2.0 * (x * z + s * y),
                               0.0,
                               2.0 * (x * y + s * z),
                               1.0 - 2.0 * (x * x + z * z),
                               2.0 * (y * z - s * x),
                               0.0,
                               2.0 * (x * z - s * y),
                               2.0 * (y * z + s * x),
                               1.0 - 2.0 * (x * x + y * y),
                               0.0,
                               0.0,
                               0.0,
                               0.0,
                               1.0};
    for (int i = 0; i < 16; ++i)
        m[i] = static_cast<float>(values[i]);
}

} // namespace zentrix
