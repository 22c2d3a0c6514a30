#include "foundation/math/RandomNumbers.h"

#include "foundation/math/Random.h"

#include <algorithm>

namespace zentrix {

float RandomUnit() {
    return static_cast<float>(Random::Next() / double(Random::kMax));
}

float RandomFloatInRange(float min, float max) {
    const float range = max - min;
    return static_cast<float>(double(RandomUnit()) * range + min);
}

int RandomIntInRange(int min, int max) {
    double value = RandomFloatInRange(static_cast<float>(min), static_cast<float>(max));
    // Near the int limits the float range reaches past them; keep the conversion defined.
    value = std::clamp(value, double(std::min(min, max)), double(std::max(min, max)));
    return static_cast<int>(value);
}

int RandomBit() {
    return static_cast<int>(RandomUnit());
}

void SeedRandom() {
    Random::Seed(12345);
}

} // namespace zentrix
