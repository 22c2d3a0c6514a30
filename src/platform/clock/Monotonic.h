#pragma once

#include <cstdint>

namespace plat::clock {

/// Nanoseconds of a monotonic clock with an arbitrary origin; never goes backwards.
std::uint64_t MonotonicNanoseconds();

} // namespace plat::clock
