#include "platform/clock/Clock.h"

#include "platform/clock/Monotonic.h"

#include <sched.h>

namespace plat::clock {

std::uint64_t SystemClock::Counter() {
    return MonotonicNanoseconds();
}

void SystemClock::Yield() {
    sched_yield();
}

std::uint64_t FakeClock::Counter() {
    std::uint64_t value = m_now;
    m_now += m_step;
    return value;
}

} // namespace plat::clock
