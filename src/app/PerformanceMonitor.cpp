#include "app/PerformanceMonitor.h"

#include "platform/clock/Clock.h"

namespace zentrix {

void CPerformanceMonitor::Start() {
    m_frequency = m_clock.Frequency();
    if (m_frequency == 0)
        m_frequency = 1;
    m_lastCounter = m_clock.Counter();
    m_windowSize = kWindowSize;
    m_started = true;
}

void CPerformanceMonitor::Update() {
    std::uint64_t counter = m_clock.Counter();
    double seconds = static_cast<double>(counter - m_lastCounter) / static_cast<double>(m_frequency);
    // A frame too short for the counter to see has no finite rate; the padding below then does nothing.
    m_fps = static_cast<float>(1.0 / seconds);
    m_lastCounter = counter;
    m_lastFrameMs = static_cast<std::int64_t>(seconds * 1000.0);

    int average = GetElapsedMs();
    if (average != 0 && 1.0 / (average * 0.001) + 20.0 < m_fps)
        Wait(m_lastFrameMs);

    if (m_lastFrameMs < kSlowFrameMs) {
        m_window.push_back(static_cast<float>(m_lastFrameMs));
        if (static_cast<int>(m_window.size()) > m_windowSize)
            m_window.pop_front();
    }
}

int CPerformanceMonitor::GetElapsedMs() const {
    if (m_window.empty())
        return 0;
    std::int64_t sum = 0;
    for (float ms : m_window)
        sum += static_cast<std::int64_t>(ms);
    return static_cast<int>(sum / static_cast<std::int64_t>(m_window.size()));
}

void CPerformanceMonitor::Wait(std::int64_t ms) {
    // The wait is not taken off the next frame: it counts into that frame's time.
    std::uint64_t start = m_clock.Counter();
    while (static_cast<double>(m_clock.Counter() - start) * 1000.0 / static_cast<double>(m_frequency) <
           static_cast<double>(ms))
        m_clock.Yield();
}

} // namespace zentrix
