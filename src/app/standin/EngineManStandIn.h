#pragma once

#include "app/ManagerInterface.h"

#include <chrono>

namespace plat::window {
class Window;
}

/// Stands in for the engine manager until the 3D engine is built: a "device" exists whenever the main
/// window does, nothing is drawn, and each frame waits for the next 60 Hz tick as a flip waits for the
/// display, so frames take the time the game's timers expect.
class CEngineManStandIn : public CManagerInterface {
public:
    ~CEngineManStandIn() override = default;
    int StartManager() override;
    int StopManager() override;
    /// Creates the display device for `window` in `videoMode`; false when there is no window.
    virtual bool CreateDevice(plat::window::Window* window, int videoMode);
    /// Sets up the scene; true once a device exists.
    virtual bool InitScene() { return m_bHaveDevice; }
    /// The per-frame 2D pass; nothing to draw yet.
    virtual void Update() {}
    /// Presents the frame: waits for the next display tick.
    virtual void RenderFrame();
    /// Builds the mouse pointer again after the game was switched back to; there is none yet.
    virtual void RecreateCursor() {}

private:
    bool m_bHaveDevice = false;
    std::chrono::steady_clock::time_point m_NextTick{};
};
