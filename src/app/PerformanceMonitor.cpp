#include "app/PerformanceMonitor.h"

#include "platform/clock/Clock.h"

namespace zentrix {

namespace {

// The window's mean is sum / count for a count of 1 to 10; in units of 1/2520 microsecond (2520 is the
// least common multiple of 1 to 10) every such mean is a whole number, so nothing is lost to rounding.
constexpr std::int64_t kCarryUnitsPerUs = 2520;
static_assert(CPerformanceMonitor::kWindowSize <= 10, "the carry's unit divides only by counts up to 10");
constexpr std::int64_t kCarryUnitsPerMs = 1000 * kCarryUnitsPerUs;

/// Counter ticks in whole microseconds, without overflow for any realistic frequency.
std::int64_t TicksToUs(std::uint64_t ticks, std::uint64_t frequency) {
    const std::uint64_t whole = ticks / frequency;
    const std::uint64_t rest = ticks % frequency;
    return static_cast<std::int64_t>(whole * 1000000u + rest * 1000000u / frequency);
}

} // namespace

void CPerformanceMonitor::Start() {
    m_frequency = m_clock.Frequency();
    if (m_frequency == 0)
        m_frequency = 1;
    m_lastCounter = m_clock.Counter();
    m_windowSize = kWindowSize;
    m_started = true;
}

std::int64_t CPerformanceMonitor::MeanUs() const {
    return m_window.empty() ? 0 : m_windowSum / static_cast<std::int64_t>(m_window.size());
}

void CPerformanceMonitor::Update() {
    const std::uint64_t counter = m_clock.Counter();
    const std::uint64_t ticks = counter - m_lastCounter;
    const double seconds = static_cast<double>(ticks) / static_cast<double>(m_frequency);
    // A frame too short for the counter to see has no finite rate; the padding below then does nothing.
    m_fps = static_cast<float>(1.0 / seconds);
    m_lastCounter = counter;
    m_lastFrameUs = TicksToUs(ticks, m_frequency);

    // A frame more than 20 frames per second faster than the window's mean rate is padded by its own
    // length; the wait counts into the next frame.
    const std::int64_t average = MeanUs();
    if (average != 0 && 1000000.0 / static_cast<double>(average) + 20.0 < m_fps)
        Wait(m_lastFrameUs);

    if (m_lastFrameUs < kSlowFrameMs * 1000) {
        m_window.push_back(m_lastFrameUs);
        m_windowSum += m_lastFrameUs;
        if (static_cast<int>(m_window.size()) > m_windowSize) {
            m_windowSum -= m_window.front();
            m_window.pop_front();
        }
    }

    // This frame's step: the mean (kept exact) plus the carry, in whole milliseconds.
    if (m_window.empty()) {
        m_stepMs = 0;
        return;
    }
    const std::int64_t mean = m_windowSum * (kCarryUnitsPerUs / static_cast<std::int64_t>(m_window.size()));
    const std::int64_t total = m_carry + mean;
    m_stepMs = static_cast<int>(total / kCarryUnitsPerMs);
    m_carry = total % kCarryUnitsPerMs;
}

void CPerformanceMonitor::Wait(std::int64_t us) {
    const std::uint64_t start = m_clock.Counter();
    while (TicksToUs(m_clock.Counter() - start, m_frequency) < us)
        m_clock.Yield();
}

} // namespace zentrix
