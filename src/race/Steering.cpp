#include "race/Steering.h"

#include <algorithm>
#include <cmath>

namespace zentrix {

int SteerTowards(const CVector& heading, const CVector& toTarget, float fullLockAngle) {
    CVector d(heading.x, 0.0f, heading.z);
    CVector t(toTarget.x, 0.0f, toTarget.z);
    const float dl = d.Length();
    const float tl = t.Length();
    if (!(dl > 0.0f) || !(tl > 0.0f) || !std::isfinite(dl) || !std::isfinite(tl)) {
        return 0;
    }
    d = d * (1.0f / dl);
    t = t * (1.0f / tl);
    const float angle = std::acos(std::clamp(t.Dot(d), -1.0f, 1.0f));
    int steering = 127;
    if (angle < fullLockAngle) {
        steering = static_cast<int>(angle / 3.141592654f * 127.0f);
    }
    return t.Cross(d).y < 0.0f ? -steering : steering;
}

} // namespace zentrix
