#pragma once

namespace zentrix {

// Random numbers drawn from the game's one generator (foundation/math/Random.h); every draw advances
// the same state, so seeded replays repeat exactly.

/// A value in [0, 1]: the next raw value / 32767.
float RandomUnit();
/// RandomUnit() * (max - min) + min.
float RandomFloatInRange(float min, float max);
/// RandomFloatInRange over the range truncated towards zero: min to max - 1, and max itself only
/// when the raw value is 32767.
int RandomIntInRange(int min, int max);
/// 0, or 1 only when the raw value is 32767.
int RandomBit();
/// Seeds the generator with 12345.
void SeedRandom();

} // namespace zentrix
