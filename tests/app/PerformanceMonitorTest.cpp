#include "app/PerformanceMonitor.h"
#include "platform/clock/Clock.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zentrix;

namespace {

constexpr std::uint64_t kMs = 1000000;
// Every read of the clock moves it on by a microsecond, so a wait on it always ends.
constexpr std::uint64_t kReadStep = 1000;

TEST(PerformanceMonitor, TheTimeStepIsTheMeanOfTheRecentFramesUnder200Ms) {
    struct Case {
        const char* name;
        std::vector<std::uint64_t> frames; // in ms
        int windowCount;
        int elapsedMs;
        bool padded; // whether the last frame was padded by a wait
    };
    const Case cases[] = {
        {"199 ms enters the window", {199}, 1, 199, false},
        {"200 ms does not", {200}, 0, 0, false},
        {"slow first frames give a step of 0", {250, 300, 1000}, 0, 0, false},
        {"a slow frame leaves the mean alone", {20, 500, 30}, 2, 25, false},
        {"the mean is truncated", {10, 11}, 2, 10, false},
        {"the window keeps the last ten", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 10, 7, false},
        {"a frame much faster than the mean is padded", {10, 10, 10, 5}, 4, 8, true},
        {"a frame as fast as the mean is not", {10, 10, 10, 10}, 4, 10, false},
        {"120 frames per second over a 10 ms mean is not padded", {10, 10, 10, 9}, 4, 9, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::clock::FakeClock clock(0, kReadStep);
        CPerformanceMonitor monitor(clock);
        monitor.Start();
        std::uint64_t waited = 0;
        for (std::uint64_t ms : c.frames) {
            clock.Advance(ms * kMs);
            std::uint64_t before = clock.Counter();
            monitor.Update();
            waited = clock.Counter() - before;
            EXPECT_EQ(monitor.GetLastFrameMs(), static_cast<std::int64_t>(ms));
        }
        EXPECT_EQ(monitor.GetWindowCount(), c.windowCount);
        EXPECT_EQ(monitor.GetElapsedMs(), c.elapsedMs);
        if (c.padded) {
            // Padded by exactly the frame's own length, to the clock's step.
            EXPECT_GE(waited, c.frames.back() * kMs);
            EXPECT_LE(waited, c.frames.back() * kMs + 10 * kReadStep);
        } else {
            EXPECT_LE(waited, 10 * kReadStep);
        }
    }
}

TEST(PerformanceMonitor, TheStepsAddUpToTheTimeThatPassedAtAnyFrameRate) {
    // Frame lengths in nanoseconds: 5,000 and 780 frames per second, and a rate whose frames are not
    // whole microseconds or milliseconds.
    for (std::uint64_t frameNs : {200000ull, 1282051ull, 16666667ull}) {
        SCOPED_TRACE(frameNs);
        plat::clock::FakeClock clock;
        CPerformanceMonitor monitor(clock);
        monitor.Start();
        std::int64_t gameMs = 0;
        const std::uint64_t frames = 10000000000ull / frameNs; // ten seconds of frames
        for (std::uint64_t i = 0; i < frames; ++i) {
            clock.Advance(frameNs);
            monitor.Update();
            gameMs += monitor.GetElapsedMs();
        }
        const std::int64_t realMs = static_cast<std::int64_t>(frames * frameNs / 1000000);
        // Each frame is measured to the microsecond, so at most a microsecond a frame may go.
        EXPECT_LE(gameMs, realMs);
        EXPECT_GE(gameMs, realMs - 1 - static_cast<std::int64_t>(frames / 1000));
    }
}

TEST(PerformanceMonitor, TheWaitCountsIntoTheNextFrame) {
    plat::clock::FakeClock clock(0, kReadStep);
    CPerformanceMonitor monitor(clock);
    monitor.Start();
    for (std::uint64_t ms : {10, 10, 10, 5})
        clock.Advance(ms * kMs), monitor.Update();
    EXPECT_NEAR(monitor.GetFps(), 200.0f, 0.5f);
    clock.Advance(10 * kMs);
    monitor.Update();
    EXPECT_EQ(monitor.GetLastFrameMs(), 15);
}

} // namespace
