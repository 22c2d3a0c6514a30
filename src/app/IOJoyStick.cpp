#include "app/IOJoyStick.h"

#include <cstring>

using plat::input::Result;

CIOJoyStick::CIOJoyStick(int slot) : CIODevice(slot) {
    m_nKind = KIND_JOYSTICK;
    SetBindings(kDefaultBindings);
}

CIOJoyStick::~CIOJoyStick() {
    ReleaseEffects();
}

void CIOJoyStick::ReleaseEffects() {
    m_pPulse.reset();
    m_pConstant.reset();
    m_pPush.reset();
}

bool CIOJoyStick::Setup(std::unique_ptr<plat::input::Device> device) {
    m_pDevice = std::move(device);
    if (!m_pDevice)
        return false;
    if (m_pDevice->SetDataFormat(plat::input::StateFormat::Joystick) != Result::Ok)
        return false;
    if (m_pDevice->SetCooperativeLevel(true, true) != Result::Ok) {
        m_pDevice.reset();
        return false;
    }
    m_pDevice->SetBufferSize(kBufferRecords);
    m_pDevice->SetRange(-127, 127);
    m_pDevice->SetDeadZone(1500);
    m_pDevice->SetSaturation(9900);
    m_bForceFeedback = m_pDevice->HasForceFeedback();
    if (m_bForceFeedback)
        m_pDevice->SetAutoCentre(false);
    return true;
}

int CIOJoyStick::RawSteering(const std::uint8_t* state) const {
    const int offset = m_Bindings[BIND_STEER];
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
    std::vector<plat::input::ButtonRecord> records;
    std::uint8_t state[plat::input::kJoystickStateSize];
    if (!ReadDevice(records, state, sizeof state))
        return false;

    // Buttons come from the records, so a press and release between two frames are both seen in order.
    for (const plat::input::ButtonRecord& record : records) {
        const int offset = static_cast<int>(record.offset);
        const bool pressed = (record.data & 0x80) != 0;
        if (offset == m_Bindings[BIND_ACTION_A])
            m_nActionA = static_cast<std::uint8_t>(record.data & 0x80);
        if (offset == m_Bindings[BIND_UP])
            m_nUp = pressed ? 127 : -127;
        if (offset == m_Bindings[BIND_DOWN])
            m_nDown = pressed ? 127 : -127;
    }

    const int v = ScaleAxis(RawSteering(state), m_nSteerMin, m_nSteerMax, Inverted(BIND_STEER_INVERT));
    // Crossing from one side to the other passes through the centre for one frame.
    if ((v >= 1 && m_nSteering < 0) || (v <= -1 && m_nSteering > 0))
        m_nSteering = 0;
    else
        m_nSteering = v;
    return true;
}

bool CIOJoyStick::CreateEffects() {
    ReleaseEffects();
    if (!m_pDevice)
        return false;

    plat::input::EffectDesc pulse;
    pulse.kind = plat::input::EffectKind::Sine;
    pulse.magnitude = 10000;
    pulse.durationUs = 200000;
    pulse.periodUs = 50000;
    m_pPulse = m_pDevice->CreateEffect(pulse);

    plat::input::EffectDesc constant;
    constant.kind = plat::input::EffectKind::Constant;
    constant.magnitude = -5000;
    constant.durationUs = -1;
    constant.xAxisOnly = true;
    m_pConstant = m_pDevice->CreateEffect(constant);
    if (m_pConstant)
        FeedbackLevel(0);

    plat::input::EffectDesc push;
    push.kind = plat::input::EffectKind::Constant;
    push.magnitude = 5000;
    push.durationUs = 100000;
    m_pPush = m_pDevice->CreateEffect(push);
    return m_pPush != nullptr;
}

void CIOJoyStick::FeedbackPulse(int duration) {
    if (!m_pPulse || duration == 0)
        return;
    m_pPulse->SetDuration(duration);
    m_pPulse->Start();
}

void CIOJoyStick::FeedbackPush(int a, int b, int c, int gain) {
    if (!m_pPush)
        return;
    if (gain == 0) {
        m_pPush->Stop();
        return;
    }
    if (a == 0 && b == 0)
        return;
    m_pPush->SetDirection(c, a);
    m_pPush->SetGain(gain);
    m_pPush->Start();
}

void CIOJoyStick::FeedbackLevel(int gain) {
    if (!m_pConstant)
        return;
    if (gain == 0) {
        m_pConstant->Stop();
        return;
    }
    m_pConstant->SetGain(gain);
    m_pConstant->Start();
}
