#pragma once

#include <cstdint>

namespace plat::clock {

/// A high-resolution counter with its frequency, and a way to give up the processor while waiting.
class Clock {
public:
    virtual ~Clock() = default;
    /// The current counter value; never goes backwards.
    virtual std::uint64_t Counter() = 0;
    /// Counter units per second.
    virtual std::uint64_t Frequency() const = 0;
    /// Lets other threads and processes run for a moment (a zero-length sleep).
    virtual void Yield() = 0;
};

/// The real clock: the monotonic clock in nanoseconds.
class SystemClock final : public Clock {
public:
    std::uint64_t Counter() override;
    std::uint64_t Frequency() const override { return 1000000000ull; }
    void Yield() override;
};

/// A clock for tests: returns a set value and moves on by a fixed step at every read or yield, so a busy
/// wait on it always ends.
class FakeClock final : public Clock {
public:
    /// A clock that starts at `start` and advances by `step` units per read or yield.
    explicit FakeClock(std::uint64_t start = 0, std::uint64_t step = 0,
                       std::uint64_t frequency = 1000000000ull)
        : m_now(start), m_step(step), m_frequency(frequency) {}

    std::uint64_t Counter() override;
    std::uint64_t Frequency() const override { return m_frequency; }
    void Yield() override {
        m_now += m_step;
        ++m_yields;
    }

    /// Sets the value the next read returns.
    void Set(std::uint64_t now) { m_now = now; }
    /// Moves the clock on by `units` without a read.
    void Advance(std::uint64_t units) { m_now += units; }
    /// Changes the step taken at every read or yield.
    void SetStep(std::uint64_t step) { m_step = step; }
    /// Number of calls to Yield so far.
    int Yields() const { return m_yields; }

private:
    std::uint64_t m_now;
    std::uint64_t m_step;
    std::uint64_t m_frequency;
    int m_yields = 0;
};

} // namespace plat::clock
