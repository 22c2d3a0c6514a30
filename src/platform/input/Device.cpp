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
    : instance_(std::move(instance)), source_(std::move(source)) {}

Result Device::SetDataFormat(StateFormat format) {
    if (acquired_ || !FormatFits(format, instance_.type))
        return Result::InvalidParam;
    format_ = format;
    return Result::Ok;
}

Result Device::SetCooperativeLevel(bool /*exclusive*/, bool foreground) {
    // Exclusive use matters only between programs; the game is the only reader here.
    if (acquired_ || !source_->HasWindow())
        return Result::InvalidParam;
    cooperative_ = true;
    foreground_ = foreground;
    return Result::Ok;
}

Result Device::SetBufferSize(std::size_t records) {
    if (acquired_)
        return Result::InvalidParam;
    bufferSize_ = std::min(records, kMaxBufferSize);
    return Result::Ok;
}

Result Device::SetRange(int min, int max) {
    if (instance_.type != kTypeJoystick || min >= max)
        return Result::InvalidParam;
    for (AxisProperties& axis : axes_) {
        axis.min = min;
        axis.max = max;
    }
    return Result::Ok;
}

Result Device::SetAxisRange(int offset, int min, int max) {
    if (instance_.type != kTypeJoystick || min >= max || offset < kJoyAxes || offset >= kJoyHats ||
        offset % 4 != 0)
        return Result::InvalidParam;
    AxisProperties& axis = axes_[static_cast<std::size_t>(offset / 4)];
    axis.min = min;
    axis.max = max;
    return Result::Ok;
}

Result Device::SetDeadZone(int deadZone) {
    if (instance_.type != kTypeJoystick || deadZone < 0 || deadZone > 10000)
        return Result::InvalidParam;
    for (AxisProperties& axis : axes_)
        axis.deadZone = deadZone;
    return Result::Ok;
}

Result Device::SetSaturation(int saturation) {
    if (instance_.type != kTypeJoystick || saturation < 0 || saturation > 10000)
        return Result::InvalidParam;
    for (AxisProperties& axis : axes_)
        axis.saturation = saturation;
    return Result::Ok;
}

Result Device::SetAutoCentre(bool on) {
    if (!HasForceFeedback() || !source_->SetAutoCentre(on))
        return Result::InvalidParam;
    return Result::Ok;
}

bool Device::HasForceFeedback() const {
    return instance_.type == kTypeJoystick && source_->HasForceFeedback();
}

std::unique_ptr<Effect> Device::CreateEffect(const EffectDesc& desc) {
    if (!HasForceFeedback())
        return nullptr;
    return source_->CreateEffect(desc);
}

Result Device::Acquire() {
    if (acquired_)
        return Result::Ok;
    if (format_ == StateFormat::None || !cooperative_ || !source_->IsAttached())
        return Result::InvalidParam;
    if (foreground_ && !source_->HasFocus())
        return Result::OtherHasPriority;
    // What happened before the device was acquired is not the game's.
    Collect();
    if (instance_.type == kTypeMouse) {
        MouseRaw discard;
        source_->ReadMouse(discard);
    }
    acquired_ = true;
    return Result::Ok;
}

Result Device::Unacquire() {
    acquired_ = false;
    buffer_.clear();
    return Result::Ok;
}

Result Device::CheckReadable() {
    if (acquired_ && ((foreground_ && !source_->HasFocus()) || !source_->IsAttached())) {
        acquired_ = false;
        buffer_.clear();
        Collect();
        return Result::InputLost;
    }
    if (!acquired_) {
        Collect();
        return Result::NotAcquired;
    }
    return Result::Ok;
}

void Device::Collect() {
    std::vector<ButtonEvent> events = source_->TakeButtonEvents();
    if (!acquired_)
        return;
    for (const ButtonEvent& event : events) {
        if (event.button < 0 || event.button >= kJoyButtonCount)
            continue;
        if (buffer_.size() >= bufferSize_)
            break; // a full buffer drops what comes after
        ButtonRecord record;
        record.offset = static_cast<std::uint32_t>(kJoyButtons + event.button);
        record.data = event.pressed ? kDown : 0;
        record.timeMs = event.timeMs;
        record.sequence = sequence_++;
        buffer_.push_back(record);
    }
}

Result Device::Poll() {
    Result result = CheckReadable();
    if (result == Result::Ok)
        Collect();
    return result;
}

Result Device::ReadBuffered(std::vector<ButtonRecord>& records, std::size_t maxRecords) {
    records.clear();
    Result result = CheckReadable();
    if (result != Result::Ok)
        return result;
    Collect();
    std::size_t count = std::min(maxRecords, buffer_.size());
    records.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
    return Result::Ok;
}

Result Device::ReadState(std::uint8_t* state, std::size_t size) {
    if (state == nullptr || format_ == StateFormat::None || size != StateSize(format_))
        return Result::InvalidParam;
    Result result = CheckReadable();
    if (result != Result::Ok)
        return result;
    Collect();
    std::memset(state, 0, size);
    switch (format_) {
    case StateFormat::Keyboard: {
        std::array<std::uint8_t, kKeyboardStateSize> keys{};
        source_->ReadKeys(keys);
        std::memcpy(state, keys.data(), keys.size());
        break;
    }
    case StateFormat::Mouse: {
        MouseRaw mouse;
        source_->ReadMouse(mouse);
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
    source_->ReadJoystick(joystick);
    for (int i = 0; i < kJoyAxisCount; ++i) {
        int value = 0;
        if (i < joystick.axisCount)
            value = ScaleAxisPosition(joystick.axes[static_cast<std::size_t>(i)],
                                      axes_[static_cast<std::size_t>(i)]);
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
