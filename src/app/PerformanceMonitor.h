#pragma once

#include <cstdint>
#include <deque>

namespace plat::clock {
class Clock;
}

namespace zentrix {

/// Measures each frame and gives every manager the same time step: the mean of the last frames that
/// were not pathologically slow. A frame much faster than that mean is padded by a wait, so the frame
/// rate does not jump.
class CPerformanceMonitor {
public:
    /// Frames in the averaging window.
    static constexpr int kWindowSize = 10;
    /// Frames this long or longer (loading, a blocked window) stay out of the window.
    static constexpr std::int64_t kSlowFrameMs = 200;

    /// A monitor reading `clock`, which must outlive it.
    explicit CPerformanceMonitor(plat::clock::Clock& clock) : m_clock(clock) {}
    virtual ~CPerformanceMonitor() { Stop(); }

    /// Reads the counter's frequency and value; the first frame is measured from here.
    void Start();
    /// Measures the frame that just ended, pads it when it was much too fast, and enters it in the window.
    void Update();
    /// Frames per second of the last frame.
    float GetFps() const { return m_fps; }
    /// The time step: the truncated mean of the window's whole milliseconds (0 while it is empty).
    int GetElapsedMs() const;
    /// The last frame's length in whole milliseconds.
    std::int64_t GetLastFrameMs() const { return m_lastFrameMs; }
    /// Number of frames in the averaging window.
    int GetWindowCount() const { return static_cast<int>(m_window.size()); }
    /// Whether Start has run and Stop has not.
    bool IsStarted() const { return m_started; }
    /// Marks the monitor stopped.
    void Stop() { m_started = false; }

private:
    void Wait(std::int64_t ms);

    plat::clock::Clock& m_clock;
    float m_fps = 0.0f;
    std::uint64_t m_lastCounter = 0;
    std::int64_t m_lastFrameMs = 0;
    std::uint64_t m_frequency = 1;
    std::deque<float> m_window;
    bool m_started = false;
    int m_windowSize = kWindowSize;
};

} // namespace zentrix
