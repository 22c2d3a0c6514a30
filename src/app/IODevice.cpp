#include "app/IODevice.h"

#include "app/DriverControls.h"
#include "app/IOJoyStick.h"
#include "app/IOKeyboard.h"
#include "app/IOMouse.h"

#include <algorithm>

namespace zentrix {

using plat::input::Result;

namespace {

// A device that keeps losing the focus between re-acquiring and reading is given up for this frame.
constexpr int kMaxReacquires = 3;

} // namespace

CIODevice::CIODevice(int slot) : m_slot(static_cast<std::uint8_t>(slot)) {}

CIODevice::~CIODevice() {
    if (m_device) {
        m_device->Unacquire();
        m_device.reset();
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
    if (result->GetKind() == KIND_JOYSTICK && !gamepad && result->m_device)
        result->m_device->SetAxisRange(plat::input::kJoyAxes, -127, 127);
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
    return m_device != nullptr;
}

bool CIODevice::ReadInput(int ms) {
    return Poll(ms);
}

bool CIODevice::SetBindings(const Bindings& bindings) {
    m_bindings = bindings;
    ResetControls();
    return true;
}

void CIODevice::ResetControls() {
    m_steering = 0;
    m_up = -127;
    m_down = -127;
    m_steerMin = -127;
    m_steerMax = 127;
    // Up and down on the two halves of one axis (codes below the first button).
    const int up = m_bindings[BIND_UP];
    const int down = m_bindings[BIND_DOWN];
    const bool sharedAxis = up < 48 && up == down;
    m_upMin = -127;
    m_upMax = sharedAxis ? 0 : 127;
    m_downMin = sharedAxis ? 0 : -127;
    m_downMax = 127;
}

void CIODevice::FeedbackPulse(int) {}

void CIODevice::FeedbackPush(int, int, int, int) {}

void CIODevice::FeedbackLevel(int) {}

bool CIODevice::CreateEffects() {
    return false;
}

bool CIODevice::Acquire(bool on) {
    if (!m_device)
        return false;
    if (!on)
        return m_device->Unacquire() == Result::Ok;
    if (m_device->Acquire() != Result::Ok)
        return false;
    if (m_forceFeedback)
        m_forceFeedback = CreateEffects();
    return true;
}

void CIODevice::GetControls(CDriverControls& controls) const {
    controls.button1 = m_actionA;
    controls.button2 = m_actionB;
    controls.steering = m_steering;
    controls.axis1 = m_up;
    controls.axis2 = m_down;
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

bool CIODevice::ReadDevice(std::vector<plat::input::BufferedRecord>& records, std::uint8_t* state,
                           std::size_t size) {
    if (!m_device)
        return false;
    m_device->Poll();
    if (ReadWithReacquire([&] { return m_device->ReadBuffered(records, kBufferRecords); }) != Result::Ok)
        return false;
    return ReadWithReacquire([&] { return m_device->ReadState(state, size); }) == Result::Ok;
}

bool CIODevice::SetupSystemDevice(std::unique_ptr<plat::input::Device> device,
                                  plat::input::StateFormat format) {
    m_device = std::move(device);
    if (!m_device)
        return false;
    if (m_device->SetDataFormat(format) != plat::input::Result::Ok)
        return false;
    if (m_device->SetCooperativeLevel(false, true) != plat::input::Result::Ok) {
        m_device.reset();
        return false;
    }
    m_device->SetBufferSize(kBufferRecords);
    m_forceFeedback = false;
    return true;
}

} // namespace zentrix
