#pragma once

#include <cstdint>

namespace zentrix {

/// The game's one random generator: the classic 15-bit linear congruential generator.
/// Seeded replays (the lap of honour) depend on every draw advancing this one state, so nothing
/// in the game may use another source of random numbers.
namespace Random {

constexpr int kMax = 0x7FFF;

/// Sets the generator's state, as the C runtime's srand did.
void Seed(std::uint32_t seed);

/// The next value in 0..32767; advances the state.
int Next();

/// The current state, so a test or a replay can step it to a known value.
std::uint32_t State();

} // namespace Random

/// Drop-in names for the runtime calls the game's code was written against.
inline int rand15() {
    return Random::Next();
}
inline void srand15(std::uint32_t seed) {
    Random::Seed(seed);
}

} // namespace zentrix
