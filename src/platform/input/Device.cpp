#include "platform/input/Device.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace plat::input {

namespace {

bool FormatFits(StateFormat format, int type) {
    switch (format) {
    case StateFormat::Keyboard:
        return type == kTypeKeyboard;
    case StateFormat::Mouse:
        return type == kTypeMouse;
    case StateFormat::Joystick:
        return type == kTypeJoystick;
    case StateFormat::None:
        break;
    }
    return false;
}

std::size_t StateSize(StateFormat format) {
    switch (format) {
    case StateFormat::Keyboard:
        return kKeyboardStateSize;
    case StateFormat::Mouse:
        return kMouseStateSize;
    case StateFormat::Joystick:
        return kJoystickStateSize;
    case StateFormat::None:
        break;
    }
    return 0;
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

} // namespace

Device::Device(DeviceInstance instance, std::unique_ptr<DeviceSource> source)
    : m_instance(std::move(instance)), m_source(std::move(source)) {}

Result Device::SetDataFormat(StateFormat format) {
    if (m_acquired || !FormatFits(format, m_instance.type))
        return Result::InvalidParam;
    m_format = format;
    return Result::Ok;
}

Result Device::SetCooperativeLevel(bool /*exclusive*/, bool foreground) {
    // Exclusive use matters only between programs; the game is the only reader here.
    if (m_acquired || !m_source->HasWindow())
        return Result::InvalidParam;
    m_cooperative = true;
    m_foreground = foreground;
    return Result::Ok;
}

Result Device::SetBufferSize(std::size_t records) {
    if (m_acquired)
        return Result::InvalidParam;
    m_bufferSize = std::min(records, kMaxBufferSize);
    return Result::Ok;
}

Result Device::SetRange(int min, int max) {
    if (m_instance.type != kTypeJoystick || min >= max)
        return Result::InvalidParam;
    for (AxisProperties& axis : m_axes) {
        axis.min = min;
        axis.max = max;
    }
    return Result::Ok;
}

Result Device::SetAxisRange(int offset, int min, int max) {
    if (m_instance.type != kTypeJoystick || min >= max || offset < kJoyAxes || offset >= kJoyHats ||
        offset % 4 != 0)
        return Result::InvalidParam;
    AxisProperties& axis = m_axes[static_cast<std::size_t>(offset / 4)];
    axis.min = min;
    axis.max = max;
    return Result::Ok;
}

Result Device::SetDeadZone(int deadZone) {
    if (m_instance.type != kTypeJoystick || deadZone < 0 || deadZone > 10000)
        return Result::InvalidParam;
    for (AxisProperties& axis : m_axes)
        axis.deadZone = deadZone;
    return Result::Ok;
}

Result Device::SetSaturation(int saturation) {
    if (m_instance.type != kTypeJoystick || saturation < 0 || saturation > 10000)
        return Result::InvalidParam;
    for (AxisProperties& axis : m_axes)
        axis.saturation = saturation;
    return Result::Ok;
}

Result Device::SetAutoCentre(bool on) {
    if (!HasForceFeedback() || !m_source->SetAutoCentre(on))
        return Result::InvalidParam;
    return Result::Ok;
}

bool Device::HasForceFeedback() const {
    return m_instance.type == kTypeJoystick && m_source->HasForceFeedback();
}

std::unique_ptr<Effect> Device::CreateEffect(const EffectDesc& desc) {
    if (!HasForceFeedback())
        return nullptr;
    return m_source->CreateEffect(desc);
}

Result Device::Acquire() {
    if (m_acquired)
        return Result::Ok;
    if (m_format == StateFormat::None || !m_cooperative || !m_source->IsAttached())
        return Result::InvalidParam;
    if (m_foreground && !m_source->HasFocus())
        return Result::OtherHasPriority;
    // What happened before the device was acquired is not the game's.
    Collect();
    if (m_instance.type == kTypeJoystick)
        TakeAxisSides();
    if (m_instance.type == kTypeMouse) {
        MouseRaw discard;
        m_source->ReadMouse(discard);
    }
    m_acquired = true;
    return Result::Ok;
}

Result Device::Unacquire() {
    m_acquired = false;
    m_buffer.clear();
    return Result::Ok;
}

Result Device::CheckReadable() {
    if (m_acquired && ((m_foreground && !m_source->HasFocus()) || !m_source->IsAttached())) {
        m_acquired = false;
        m_buffer.clear();
        Collect();
        return Result::InputLost;
    }
    if (!m_acquired) {
        Collect();
        return Result::NotAcquired;
    }
    return Result::Ok;
}

void Device::Collect() {
    std::vector<JoystickEvent> events = m_source->TakeJoystickEvents();
    if (!m_acquired)
        return;
    for (const JoystickEvent& event : events) {
        if (event.kind == JoystickEvent::Kind::Axis) {
            CollectAxis(event);
            continue;
        }
        if (event.index < 0 || event.index >= kJoyButtonCount)
            continue;
        if (m_buffer.size() >= m_bufferSize)
            continue; // a full buffer drops what comes after
        BufferedRecord record;
        record.offset = static_cast<std::uint32_t>(kJoyButtons + event.index);
        record.data = event.value != 0 ? kDown : 0;
        record.timeMs = event.timeMs;
        record.sequence = m_sequence++;
        m_buffer.push_back(record);
    }
}

namespace {

int Side(int value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

} // namespace

void Device::CollectAxis(const JoystickEvent& event) {
    if (event.index < 0 || event.index >= kJoyAxisCount)
        return;
    const auto axis = static_cast<std::size_t>(event.index);
    const int value = ScaleAxisPosition(event.value, m_axes[axis]);
    // Only crossings are kept: a stick in motion changes its value at every event, and would fill the
    // buffer with what the state already tells.
    if (Side(value) == m_axisSides[axis])
        return;
    if (m_buffer.size() >= m_bufferSize)
        return; // dropped: the next move of the axis on this side records it
    m_axisSides[axis] = Side(value);
    BufferedRecord record;
    record.offset = static_cast<std::uint32_t>(kJoyAxes + 4 * event.index);
    record.data = static_cast<std::uint32_t>(value);
    record.timeMs = event.timeMs;
    record.sequence = m_sequence++;
    m_buffer.push_back(record);
}

void Device::TakeAxisSides() {
    JoystickRaw joystick;
    m_source->ReadJoystick(joystick);
    for (int i = 0; i < kJoyAxisCount; ++i) {
        const int value = i < joystick.axisCount
                              ? ScaleAxisPosition(joystick.axes[static_cast<std::size_t>(i)],
                                                  m_axes[static_cast<std::size_t>(i)])
                              : 0;
        m_axisSides[static_cast<std::size_t>(i)] = Side(value);
    }
}

Result Device::Poll() {
    Result result = CheckReadable();
    if (result == Result::Ok)
        Collect();
    return result;
}

Result Device::ReadBuffered(std::vector<BufferedRecord>& records, std::size_t maxRecords) {
    records.clear();
    Result result = CheckReadable();
    if (result != Result::Ok)
        return result;
    Collect();
    std::size_t count = std::min(maxRecords, m_buffer.size());
    records.assign(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(count));
    return Result::Ok;
}

Result Device::ReadState(std::uint8_t* state, std::size_t size) {
    if (state == nullptr || m_format == StateFormat::None || size != StateSize(m_format))
        return Result::InvalidParam;
    Result result = CheckReadable();
    if (result != Result::Ok)
        return result;
    Collect();
    std::memset(state, 0, size);
    switch (m_format) {
    case StateFormat::Keyboard: {
        std::array<std::uint8_t, kKeyboardStateSize> keys{};
        m_source->ReadKeys(keys);
        std::memcpy(state, keys.data(), keys.size());
        break;
    }
    case StateFormat::Mouse: {
        MouseRaw mouse;
        m_source->ReadMouse(mouse);
        Put32(state + kMouseX, static_cast<std::uint32_t>(mouse.dx));
        Put32(state + kMouseY, static_cast<std::uint32_t>(mouse.dy));
        Put32(state + kMouseWheel, static_cast<std::uint32_t>(mouse.wheel));
        for (std::size_t i = 0; i < mouse.buttons.size(); ++i)
            state[kMouseButtons + i] = mouse.buttons[i] ? kDown : 0;
        break;
    }
    case StateFormat::Joystick:
        FillJoystick(state);
        break;
    case StateFormat::None:
        break;
    }
    return Result::Ok;
}

void Device::FillJoystick(std::uint8_t* state) const {
    JoystickRaw joystick;
    m_source->ReadJoystick(joystick);
    for (int i = 0; i < kJoyAxisCount; ++i) {
        int value = 0;
        if (i < joystick.axisCount)
            value = ScaleAxisPosition(joystick.axes[static_cast<std::size_t>(i)],
                                      m_axes[static_cast<std::size_t>(i)]);
        Put32(state + kJoyAxes + 4 * i, static_cast<std::uint32_t>(value));
    }
    for (int i = 0; i < kJoyHatCount; ++i) {
        std::uint32_t angle = kHatCentred;
        if (i < joystick.hatCount)
            angle = HatAngle(joystick.hats[static_cast<std::size_t>(i)]);
        Put32(state + kJoyHats + 4 * i, angle);
    }
    for (int i = 0; i < kJoyButtonCount && i < joystick.buttonCount; ++i)
        state[kJoyButtons + i] = joystick.buttons[static_cast<std::size_t>(i)] ? kDown : 0;
}

} // namespace plat::input
