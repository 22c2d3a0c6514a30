#include "events/CarCrazyEffect.h"

#include "foundation/math/Random.h"
#include "world/CarObject.h"

namespace zentrix {

namespace {

constexpr int kInvisibleMs = 10000;
constexpr int kFastBounceMs = 400;
constexpr int kSlowBounceMs = 1000;
constexpr float kBounceHeight = 6.0f;
/// Nearly no drive, brake or steering, and five times the grip.
constexpr CCarObject::SParamModifiers kCrazyHandling{0.01f, 0.01f, 0.0001f, 5.0f, 1.0f, 1.0f, 1.0f};

} // namespace

void CCarCrazyEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (!Car())
        return;
    switch (Type()) {
    case 0:
        if (Random::Next() % 2 == 0) {
            Car()->StartInvisible(kInvisibleMs, false);
        } else {
            Car()->StartCrazySteering(Duration(), kFastBounceMs, kBounceHeight, true);
            Car()->ApplyParamModifiers(kCrazyHandling, Duration());
        }
        break;
    case 1:
        Car()->StartInvisible(Duration(), true);
        break;
    case 2:
        Car()->StartCrazySteering(Duration(), kSlowBounceMs, kBounceHeight, true);
        break;
    default:
        break;
    }
}

} // namespace zentrix
