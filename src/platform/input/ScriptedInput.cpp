#include "platform/input/ScriptedInput.h"

#include <algorithm>
#include <utility>

namespace plat::input {

namespace {
class ScriptedSource;
} // namespace

/// One scripted device and the sources opened on it.
struct ScriptedInput::Scripted {
    DeviceInstance instance;
    bool attached = true;
    bool openFails = false;
    bool forceFeedback = false;
    int opens = 0;
    std::array<std::uint8_t, kKeyboardStateSize> keys{};
    MouseRaw mouse;
    JoystickRaw joystick;
    std::vector<ScriptedSource*> sources;
    std::vector<std::string> effectLog;
    int effects = 0;
};

/// What the script and the opened devices share; it outlives whichever of them goes last.
struct ScriptedInput::Shared {
    bool window = true;
    bool focus = true;
    InstanceId nextJoystick = 0;
    std::map<InstanceId, std::shared_ptr<Scripted>> devices;
    std::vector<InstanceId> order;
};

namespace {

using Scripted = ScriptedInput::Scripted;
using Shared = ScriptedInput::Shared;

std::string Line(int effect, const std::string& text) {
    return "#" + std::to_string(effect) + " " + text;
}

class ScriptedEffect final : public Effect {
public:
    ScriptedEffect(std::shared_ptr<Scripted> device, int index) : device_(std::move(device)), index_(index) {}
    ~ScriptedEffect() override { Log("release"); }
    bool SetDuration(std::int64_t durationUs) override {
        return Log("duration " + std::to_string(durationUs));
    }
    bool SetGain(int gain) override { return Log("gain " + std::to_string(gain)); }
    bool SetDirection(int x, int y) override {
        return Log("direction " + std::to_string(x) + " " + std::to_string(y));
    }
    bool Start() override { return Log("start"); }
    bool Stop() override { return Log("stop"); }

private:
    bool Log(const std::string& text) {
        device_->effectLog.push_back(Line(index_, text));
        return true;
    }
    std::shared_ptr<Scripted> device_;
    int index_;
};

class ScriptedSource final : public DeviceSource {
public:
    ScriptedSource(std::shared_ptr<Shared> shared, std::shared_ptr<Scripted> device)
        : shared_(std::move(shared)), device_(std::move(device)) {
        device_->sources.push_back(this);
    }
    ~ScriptedSource() override { std::erase(device_->sources, this); }

    bool HasWindow() const override { return shared_->window; }
    bool HasFocus() const override { return shared_->window && shared_->focus; }
    bool IsAttached() const override { return device_->attached; }
    void ReadKeys(std::array<std::uint8_t, kKeyboardStateSize>& keys) override { keys = device_->keys; }
    void ReadMouse(MouseRaw& mouse) override {
        mouse = device_->mouse;
        device_->mouse.dx = 0;
        device_->mouse.dy = 0;
        device_->mouse.wheel = 0;
    }
    void ReadJoystick(JoystickRaw& joystick) override { joystick = device_->joystick; }
    std::vector<ButtonEvent> TakeButtonEvents() override { return std::exchange(events_, {}); }
    bool HasForceFeedback() const override { return device_->forceFeedback; }
    bool SetAutoCentre(bool on) override {
        device_->effectLog.push_back(on ? "autocentre on" : "autocentre off");
        return true;
    }
    std::unique_ptr<Effect> CreateEffect(const EffectDesc& desc) override {
        int index = device_->effects++;
        std::string kind = desc.kind == EffectKind::Sine ? "sine" : "constant";
        device_->effectLog.push_back(Line(index, "create " + kind + " " + std::to_string(desc.magnitude) +
                                                     " " + std::to_string(desc.durationUs) + " " +
                                                     std::to_string(desc.periodUs) +
                                                     (desc.xAxisOnly ? " x" : " xy")));
        return std::make_unique<ScriptedEffect>(device_, index);
    }

    void Queue(const ButtonEvent& event) { events_.push_back(event); }

private:
    std::shared_ptr<Shared> shared_;
    std::shared_ptr<Scripted> device_;
    std::vector<ButtonEvent> events_;
};

std::shared_ptr<Scripted> MakeDevice(InstanceId id, int type, int subtype, const char* name) {
    auto device = std::make_shared<Scripted>();
    device->instance = {id, type, subtype, name};
    return device;
}

} // namespace

ScriptedInput::ScriptedInput() : shared_(std::make_shared<Shared>()) {
    shared_->devices[kSystemMouse] = MakeDevice(kSystemMouse, kTypeMouse, 0, "Mouse");
    shared_->devices[kSystemKeyboard] = MakeDevice(kSystemKeyboard, kTypeKeyboard, 0, "Keyboard");
    shared_->order = {kSystemMouse, kSystemKeyboard};
}

ScriptedInput::~ScriptedInput() = default;

std::unique_ptr<ScriptedInput> ScriptedInput::Share() const {
    return std::unique_ptr<ScriptedInput>(new ScriptedInput(shared_));
}

ScriptedInput::Scripted* ScriptedInput::Find(InstanceId id) const {
    auto it = shared_->devices.find(id);
    return it == shared_->devices.end() ? nullptr : it->second.get();
}

InstanceId ScriptedInput::AddJoystick(int axes, int hats, int buttons, bool gamepad, bool forceFeedback) {
    InstanceId id = shared_->nextJoystick++;
    auto device = MakeDevice(id, kTypeJoystick, gamepad ? kSubtypeGamepad : 2, "Joystick");
    device->forceFeedback = forceFeedback;
    device->joystick.axisCount = std::clamp(axes, 0, kJoyAxisCount);
    device->joystick.hatCount = std::clamp(hats, 0, kJoyHatCount);
    device->joystick.buttonCount = std::clamp(buttons, 0, kJoyButtonCount);
    shared_->devices[id] = std::move(device);
    shared_->order.push_back(id);
    return id;
}

void ScriptedInput::Detach(InstanceId id) {
    if (Scripted* device = Find(id)) {
        device->attached = false;
        std::erase(shared_->order, id);
    }
}

void ScriptedInput::SetOpenFails(InstanceId id, bool fails) {
    if (Scripted* device = Find(id))
        device->openFails = fails;
}

void ScriptedInput::SetWindow(bool present) {
    shared_->window = present;
}

void ScriptedInput::SetFocus(bool focused) {
    shared_->focus = focused;
}

void ScriptedInput::SetKey(int code, bool down) {
    if (code >= 0 && code < static_cast<int>(kKeyboardStateSize))
        Find(kSystemKeyboard)->keys[static_cast<std::size_t>(code)] = down ? kDown : 0;
}

void ScriptedInput::MoveMouse(int dx, int dy, int wheel) {
    MouseRaw& mouse = Find(kSystemMouse)->mouse;
    mouse.dx += dx;
    mouse.dy += dy;
    mouse.wheel += wheel * 120;
}

void ScriptedInput::SetMouseButton(int button, bool down) {
    if (button >= 0 && button < 4)
        Find(kSystemMouse)->mouse.buttons[static_cast<std::size_t>(button)] = down;
}

void ScriptedInput::SetAxis(InstanceId id, int axis, int raw) {
    Scripted* device = Find(id);
    if (device && axis >= 0 && axis < kJoyAxisCount)
        device->joystick.axes[static_cast<std::size_t>(axis)] = raw;
}

void ScriptedInput::SetHat(InstanceId id, int hat, std::uint8_t bits) {
    Scripted* device = Find(id);
    if (device && hat >= 0 && hat < kJoyHatCount)
        device->joystick.hats[static_cast<std::size_t>(hat)] = bits;
}

void ScriptedInput::SetButton(InstanceId id, int button, bool pressed, std::uint32_t timeMs) {
    Scripted* device = Find(id);
    if (!device || button < 0 || button >= device->joystick.buttonCount)
        return;
    device->joystick.buttons[static_cast<std::size_t>(button)] = pressed;
    for (ScriptedSource* source : device->sources)
        source->Queue({button, pressed, timeMs});
}

std::vector<std::string> ScriptedInput::EffectLog(InstanceId id) const {
    Scripted* device = Find(id);
    return device ? device->effectLog : std::vector<std::string>{};
}

int ScriptedInput::OpenCount(InstanceId id) const {
    Scripted* device = Find(id);
    return device ? device->opens : 0;
}

std::vector<DeviceInstance> ScriptedInput::EnumerateDevices() {
    std::vector<DeviceInstance> devices;
    for (InstanceId id : shared_->order)
        devices.push_back(Find(id)->instance);
    return devices;
}

std::unique_ptr<Device> ScriptedInput::OpenDevice(InstanceId id) {
    auto it = shared_->devices.find(id);
    if (it == shared_->devices.end() || !it->second->attached || it->second->openFails)
        return nullptr;
    ++it->second->opens;
    return std::make_unique<Device>(it->second->instance,
                                    std::make_unique<ScriptedSource>(shared_, it->second));
}

} // namespace plat::input
