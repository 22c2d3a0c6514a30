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
///
/// Frames are measured in microseconds and the step is handed out in whole milliseconds with the
/// remainder carried to the next frame, so the steps add up to the game time that passed at any frame
/// rate (a truncated step would run the game's timers slow, and stop them above 1,000 frames a second).
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
    /// Measures the frame that just ended, pads it when it was much too fast, enters it in the window and
    /// works out this frame's time step.
    void Update();
    /// Frames per second of the last frame.
    float GetFps() const { return m_fps; }
    /// This frame's time step in whole milliseconds: the window's mean plus what earlier steps left over
    /// (0 while the window is empty).
    int GetElapsedMs() const { return m_stepMs; }
    /// The last frame's length in whole milliseconds.
    std::int64_t GetLastFrameMs() const { return m_lastFrameUs / 1000; }
    /// Number of frames in the averaging window.
    int GetWindowCount() const { return static_cast<int>(m_window.size()); }
    /// Whether Start has run and Stop has not.
    bool IsStarted() const { return m_started; }
    /// Marks the monitor stopped.
    void Stop() { m_started = false; }

private:
    /// The window's mean in whole microseconds (0 while empty).
    std::int64_t MeanUs() const;
    /// Waits `us` microseconds on the clock, yielding between reads.
    void Wait(std::int64_t us);

    plat::clock::Clock& m_clock;
    float m_fps = 0.0f;
    std::uint64_t m_lastCounter = 0;
    std::int64_t m_lastFrameUs = 0;
    std::uint64_t m_frequency = 1;
    std::deque<std::int64_t> m_window; ///< frame lengths in microseconds, oldest first
    std::int64_t m_windowSum = 0;
    std::int64_t m_carry = 0; ///< what the steps so far left over, in 1/2520 microsecond
    int m_stepMs = 0;
    bool m_started = false;
    int m_windowSize = kWindowSize;
};

} // namespace zentrix
