#include "foundation/math/Random.h"

namespace zentrix {

namespace {
// An unseeded run starts from state 1, like the runtime it replaces: its first value is 41.
std::uint32_t g_state = 1;
} // namespace

namespace Random {

void Seed(std::uint32_t seed) {
    g_state = seed;
}

int Next() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

std::uint32_t State() {
    return g_state;
}

} // namespace Random

} // namespace zentrix
