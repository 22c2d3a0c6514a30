#include "app/IOJoyStick.h"

#include <cstring>

namespace zentrix {

using plat::input::Result;

CIOJoyStick::CIOJoyStick(int slot) : CIODevice(slot) {
    m_kind = KIND_JOYSTICK;
    SetBindings(kDefaultBindings);
}

CIOJoyStick::~CIOJoyStick() {
    ReleaseEffects();
}

void CIOJoyStick::ReleaseEffects() {
    m_pulse.reset();
    m_constant.reset();
    m_push.reset();
}

bool CIOJoyStick::Setup(std::unique_ptr<plat::input::Device> device) {
    m_device = std::move(device);
    if (!m_device)
        return false;
    if (m_device->SetDataFormat(plat::input::StateFormat::Joystick) != Result::Ok)
        return false;
    if (m_device->SetCooperativeLevel(true, true) != Result::Ok) {
        m_device.reset();
        return false;
    }
    m_device->SetBufferSize(kBufferRecords);
    m_device->SetRange(-127, 127);
    m_device->SetDeadZone(1500);
    m_device->SetSaturation(9900);
    m_forceFeedback = m_device->HasForceFeedback();
    if (m_forceFeedback)
        m_device->SetAutoCentre(false);
    return true;
}

int CIOJoyStick::RawSteering(const std::uint8_t* state) const {
    const int offset = m_bindings[BIND_STEER];
    if (offset >= plat::input::kJoyButtons && offset < static_cast<int>(plat::input::kJoystickStateSize))
        return state[offset] != 0 ? 127 : -127;
    if (offset >= 0 && offset < plat::input::kJoyButtons && offset % 4 == 0) {
        std::int32_t value = 0;
        std::memcpy(&value, state + offset, sizeof value);
        return value;
    }
    return 0;
}

bool CIOJoyStick::Poll(int) {
    std::vector<plat::input::BufferedRecord> records;
    std::uint8_t state[plat::input::kJoystickStateSize];
    if (!ReadDevice(records, state, sizeof state))
        return false;

    // Buttons come from the records, so a press and release between two frames are both seen in order.
    for (const plat::input::BufferedRecord& record : records) {
        const int offset = static_cast<int>(record.offset);
        const bool pressed = (record.data & 0x80) != 0;
        if (offset == m_bindings[BIND_ACTION_A])
            m_actionA = static_cast<std::uint8_t>(record.data & 0x80);
        if (offset == m_bindings[BIND_UP])
            m_up = pressed ? 127 : -127;
        if (offset == m_bindings[BIND_DOWN])
            m_down = pressed ? 127 : -127;
    }

    const int v = ScaleAxis(RawSteering(state), m_steerMin, m_steerMax, Inverted(BIND_STEER_INVERT));
    // Crossing from one side to the other passes through the centre for one frame.
    if ((v >= 1 && m_steering < 0) || (v <= -1 && m_steering > 0))
        m_steering = 0;
    else
        m_steering = v;
    return true;
}

bool CIOJoyStick::CreateEffects() {
    ReleaseEffects();
    if (!m_device)
        return false;

    using plat::input::EffectDirection;
    plat::input::EffectDesc pulse;
    pulse.kind = plat::input::EffectKind::Sine;
    pulse.magnitude = 10000;
    pulse.durationUs = 200000;
    pulse.periodUs = 50000;
    pulse.direction = EffectDirection::Polar;
    m_pulse = m_device->CreateEffect(pulse);

    plat::input::EffectDesc constant;
    constant.kind = plat::input::EffectKind::Constant;
    constant.magnitude = -5000;
    constant.durationUs = -1;
    constant.direction = EffectDirection::CartesianX;
    m_constant = m_device->CreateEffect(constant);
    if (m_constant)
        FeedbackLevel(0);

    // The push also fires by itself with the action A button (when that is a button, not an axis).
    plat::input::EffectDesc push;
    push.kind = plat::input::EffectKind::Constant;
    push.magnitude = 5000;
    push.durationUs = 100000;
    push.direction = EffectDirection::Polar;
    const int actionA = m_bindings[BIND_ACTION_A];
    if (actionA >= plat::input::kJoyButtons &&
        actionA < plat::input::kJoyButtons + plat::input::kJoyButtonCount)
        push.triggerButton = actionA - plat::input::kJoyButtons;
    m_push = m_device->CreateEffect(push);
    return m_push != nullptr;
}

void CIOJoyStick::FeedbackPulse(int duration) {
    if (!m_pulse || duration == 0)
        return;
    m_pulse->SetDuration(duration);
    m_pulse->Start();
}

void CIOJoyStick::FeedbackPush(int a, int b, int c, int gain) {
    if (!m_push)
        return;
    if (gain == 0) {
        m_push->Stop();
        return;
    }
    if (a == 0 && b == 0)
        return;
    m_push->SetDirection(c, a);
    m_push->SetGain(gain);
    m_push->Start();
}

void CIOJoyStick::FeedbackLevel(int gain) {
    if (!m_constant)
        return;
    if (gain == 0) {
        m_constant->Stop();
        return;
    }
    m_constant->SetGain(gain);
    m_constant->Start();
}

} // namespace zentrix
