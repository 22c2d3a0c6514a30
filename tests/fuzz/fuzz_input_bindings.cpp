// Gives keyboard, mouse and joystick arbitrary binding records and arbitrary input, frame after frame,
// and checks that every control stays in its range whatever the codes point at.
#include "app/IODevice.h"
#include "platform/input/ScriptedInput.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace zentrix;

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::int32_t Int() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | Byte();
        return static_cast<std::int32_t>(v);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void Check(bool ok) {
    if (!ok)
        std::abort();
}

void CheckControls(const CIODevice& device) {
    Check(device.GetSteering() >= -127 && device.GetSteering() <= 127);
    Check(device.GetUp() >= -127 && device.GetUp() <= 127);
    Check(device.GetDown() >= -127 && device.GetDown() <= 127);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    plat::input::ScriptedInput input;
    const plat::input::InstanceId stick = input.AddJoystick(8, 4, 32, false, true);
    std::unique_ptr<CIODevice> devices[] = {
        CIODevice::CreateInputDevice(input, plat::input::kSystemKeyboard, 0),
        CIODevice::CreateInputDevice(input, plat::input::kSystemMouse, 1),
        CIODevice::CreateInputDevice(input, stick, 2),
    };
    for (auto& device : devices) {
        Check(device != nullptr);
        CIODevice::Bindings bindings;
        for (int& code : bindings)
            code = in.Int();
        device->SetBindings(bindings);
        device->Acquire(true);
    }
    for (int frame = 0; frame < 64 && !in.Empty(); ++frame) {
        const std::uint8_t op = in.Byte();
        switch (op % 8) {
        case 0:
            input.SetKey(in.Byte(), in.Byte() & 1);
            break;
        case 1:
            input.MoveMouse(static_cast<std::int8_t>(in.Byte()), static_cast<std::int8_t>(in.Byte()),
                            in.Byte() % 3);
            break;
        case 2:
            input.SetMouseButton(in.Byte() % 4, in.Byte() & 1);
            break;
        case 3:
            input.SetAxis(stick, in.Byte() % 8, static_cast<std::int16_t>(in.Int()));
            break;
        case 4:
            input.SetHat(stick, in.Byte() % 4, in.Byte());
            break;
        case 5:
            input.SetButton(stick, in.Byte() % 32, in.Byte() & 1, frame);
            break;
        case 6:
            input.SetFocus(in.Byte() & 1);
            break;
        default:
            devices[in.Byte() % 3]->FeedbackPush(in.Int(), in.Int(), in.Int(), in.Int());
            break;
        }
        for (auto& device : devices) {
            device->ReadInput(16);
            CheckControls(*device);
        }
    }
    return 0;
}
