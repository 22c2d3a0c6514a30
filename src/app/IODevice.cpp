#include "app/IODevice.h"

#include "app/IOJoyStick.h"
#include "app/IOKeyboard.h"
#include "app/IOMouse.h"
#include "app/DriverControls.h"

#include <algorithm>

using plat::input::Result;

namespace {

// A device that keeps losing the focus between re-acquiring and reading is given up for this frame.
constexpr int kMaxReacquires = 3;

} // namespace

CIODevice::CIODevice(int slot) : m_nSlot(static_cast<std::uint8_t>(slot)) {}

CIODevice::~CIODevice() {
    if (m_pDevice) {
        m_pDevice->Unacquire();
        m_pDevice.reset();
    }
}

std::unique_ptr<CIODevice> CIODevice::CreateInputDevice(plat::input::InputSystem& input,
                                                        plat::input::InstanceId id, int slot) {
    std::unique_ptr<plat::input::Device> device = input.OpenDevice(id);
    if (!device)
        return nullptr;
    const plat::input::DeviceInstance& instance = device->Instance();
    std::unique_ptr<CIODevice> result;
    bool gamepad = false;
    switch (instance.type & 0xFF) {
    case plat::input::kTypeMouse:
        result = std::make_unique<CIOMouse>(slot);
        break;
    case plat::input::kTypeKeyboard:
        result = std::make_unique<CIOKeyboard>(slot);
        break;
    case plat::input::kTypeJoystick:
        result = std::make_unique<CIOJoyStick>(slot);
        gamepad = instance.subtype == plat::input::kSubtypeGamepad;
        if (gamepad)
            result->SetBindings(CIOJoyStick::kGamepadBindings);
        break;
    default:
        return nullptr;
    }
    if (!result->Setup(std::move(device)))
        return nullptr;
    if (result->GetKind() == KIND_JOYSTICK && !gamepad && result->m_pDevice)
        result->m_pDevice->SetAxisRange(plat::input::kJoyAxes, -127, 127);
    return result;
}

int CIODevice::ScaleAxis(int value, int min, int max, bool invert) {
    value = std::clamp(value, min, std::max(min, max));
    int r = value;
    if (min != -127 || max != 127) {
        // Ranges built by ResetControls always have max above min; any other would divide by zero.
        r = max > min ? (value - min) * 254 / (max - min) - 127 : 0;
    }
    return invert ? -r : r;
}

bool CIODevice::IsValid() const {
    return m_pDevice != nullptr;
}

bool CIODevice::ReadInput(int ms) {
    return Poll(ms);
}

bool CIODevice::SetBindings(const Bindings& bindings) {
    m_Bindings = bindings;
    ResetControls();
    return true;
}

void CIODevice::ResetControls() {
    m_nSteering = 0;
    m_nUp = -127;
    m_nDown = -127;
    m_nSteerMin = -127;
    m_nSteerMax = 127;
    // Up and down on the two halves of one axis (codes below the first button).
    const int up = m_Bindings[BIND_UP];
    const int down = m_Bindings[BIND_DOWN];
    const bool sharedAxis = up < 48 && up == down;
    m_nUpMin = -127;
    m_nUpMax = sharedAxis ? 0 : 127;
    m_nDownMin = sharedAxis ? 0 : -127;
    m_nDownMax = 127;
}

void CIODevice::FeedbackPulse(int) {}

void CIODevice::FeedbackPush(int, int, int, int) {}

void CIODevice::FeedbackLevel(int) {}

bool CIODevice::CreateEffects() {
    return false;
}

bool CIODevice::Acquire(bool on) {
    if (!m_pDevice)
        return false;
    if (!on)
        return m_pDevice->Unacquire() == Result::Ok;
    if (m_pDevice->Acquire() != Result::Ok)
        return false;
    if (m_bForceFeedback)
        m_bForceFeedback = CreateEffects();
    return true;
}

void CIODevice::GetControls(CDriverControls& controls) const {
    controls.button1 = m_nActionA;
    controls.button2 = m_nActionB;
    controls.steering = m_nSteering;
    controls.axis1 = m_nUp;
    controls.axis2 = m_nDown;
}

template <class Read> Result CIODevice::ReadWithReacquire(Read read) {
    Result result = read();
    if (result != Result::InputLost && result != Result::NotAcquired)
        return result;
    for (int attempt = 0; attempt < kMaxReacquires; ++attempt) {
        Acquire(true);
        result = read();
        if (result != Result::InputLost)
            break;
    }
    return result;
}

bool CIODevice::ReadDevice(std::vector<plat::input::ButtonRecord>& records, std::uint8_t* state,
                           std::size_t size) {
    if (!m_pDevice)
        return false;
    m_pDevice->Poll();
    if (ReadWithReacquire([&] { return m_pDevice->ReadBuffered(records, kBufferRecords); }) != Result::Ok)
        return false;
    return ReadWithReacquire([&] { return m_pDevice->ReadState(state, size); }) == Result::Ok;
}

bool CIODevice::SetupSystemDevice(std::unique_ptr<plat::input::Device> device,
                                  plat::input::StateFormat format) {
    m_pDevice = std::move(device);
    if (!m_pDevice)
        return false;
    if (m_pDevice->SetDataFormat(format) != plat::input::Result::Ok)
        return false;
    if (m_pDevice->SetCooperativeLevel(false, true) != plat::input::Result::Ok) {
        m_pDevice.reset();
        return false;
    }
    m_pDevice->SetBufferSize(kBufferRecords);
    m_bForceFeedback = false;
    return true;
}
