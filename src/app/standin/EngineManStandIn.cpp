#include "app/standin/EngineManStandIn.h"

#include <thread>

namespace {

constexpr std::chrono::nanoseconds kDisplayTick{1000000000 / 60};

} // namespace

int CEngineManStandIn::StartManager() {
    m_bStarted = true;
    return 0;
}

int CEngineManStandIn::StopManager() {
    m_bHaveDevice = false;
    m_bStarted = false;
    return 0;
}

bool CEngineManStandIn::CreateDevice(plat::window::Window* window, int /*videoMode*/) {
    m_bHaveDevice = window != nullptr;
    return m_bHaveDevice;
}

void CEngineManStandIn::RenderFrame() {
    auto now = std::chrono::steady_clock::now();
    // A frame that fell behind by more than a tick starts a new rhythm instead of racing to catch up.
    if (m_NextTick < now - kDisplayTick)
        m_NextTick = now;
    m_NextTick += kDisplayTick;
    std::this_thread::sleep_until(m_NextTick);
}
