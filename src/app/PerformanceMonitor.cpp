#include "app/PerformanceMonitor.h"

#include "platform/clock/Clock.h"

void CPerformanceMonitor::Start() {
    m_nFrequency = m_Clock.Frequency();
    if (m_nFrequency == 0)
        m_nFrequency = 1;
    m_nLastCounter = m_Clock.Counter();
    m_nWindowSize = kWindowSize;
    m_bStarted = true;
}

void CPerformanceMonitor::Update() {
    std::uint64_t counter = m_Clock.Counter();
    double seconds = static_cast<double>(counter - m_nLastCounter) / static_cast<double>(m_nFrequency);
    // A frame too short for the counter to see has no finite rate; the padding below then does nothing.
    m_fFps = static_cast<float>(1.0 / seconds);
    m_nLastCounter = counter;
    m_nLastFrameMs = static_cast<std::int64_t>(seconds * 1000.0);

    int average = GetElapsedMs();
    if (average != 0 && 1.0 / (average * 0.001) + 20.0 < m_fFps)
        Wait(m_nLastFrameMs);

    if (m_nLastFrameMs < kSlowFrameMs) {
        m_Window.push_back(static_cast<float>(m_nLastFrameMs));
        if (static_cast<int>(m_Window.size()) > m_nWindowSize)
            m_Window.pop_front();
    }
}

int CPerformanceMonitor::GetElapsedMs() const {
    if (m_Window.empty())
        return 0;
    std::int64_t sum = 0;
    for (float ms : m_Window)
        sum += static_cast<std::int64_t>(ms);
    return static_cast<int>(sum / static_cast<std::int64_t>(m_Window.size()));
}

void CPerformanceMonitor::Wait(std::int64_t ms) {
    // The wait is not taken off the next frame: it counts into that frame's time.
    std::uint64_t start = m_Clock.Counter();
    while (static_cast<double>(m_Clock.Counter() - start) * 1000.0 / static_cast<double>(m_nFrequency) <
           static_cast<double>(ms))
        m_Clock.Yield();
}
