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
    ScriptedEffect(std::shared_ptr<Scripted> device, int index)
        : m_device(std::move(device)), m_index(index) {}
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
        m_device->effectLog.push_back(Line(m_index, text));
        return true;
    }
    std::shared_ptr<Scripted> m_device;
    int m_index;
};

class ScriptedSource final : public DeviceSource {
public:
    ScriptedSource(std::shared_ptr<Shared> shared, std::shared_ptr<Scripted> device)
        : m_shared(std::move(shared)), m_device(std::move(device)) {
        m_device->sources.push_back(this);
    }
    ~ScriptedSource() override { std::erase(m_device->sources, this); }

    bool HasWindow() const override { return m_shared->window; }
    bool HasFocus() const override { return m_shared->window && m_shared->focus; }
    bool IsAttached() const override { return m_device->attached; }
    void ReadKeys(std::array<std::uint8_t, kKeyboardStateSize>& keys) override { keys = m_device->keys; }
    void ReadMouse(MouseRaw& mouse) override {
        mouse = m_device->mouse;
        m_device->mouse.dx = 0;
        m_device->mouse.dy = 0;
        m_device->mouse.wheel = 0;
    }
    void ReadJoystick(JoystickRaw& joystick) override { joystick = m_device->joystick; }
    std::vector<JoystickEvent> TakeJoystickEvents() override { return std::exchange(m_events, {}); }
    bool HasForceFeedback() const override { return m_device->forceFeedback; }
    bool SetAutoCentre(bool on) override {
        m_device->effectLog.push_back(on ? "autocentre on" : "autocentre off");
        return true;
    }
    std::unique_ptr<Effect> CreateEffect(const EffectDesc& desc) override {
        int index = m_device->effects++;
        const std::string kind = desc.kind == EffectKind::Sine ? "sine" : "constant";
        const char* direction = desc.direction == EffectDirection::Polar        ? " polar"
                                : desc.direction == EffectDirection::CartesianX ? " x"
                                                                                : " xy";
        const std::string trigger =
            desc.triggerButton >= 0 ? " trigger " + std::to_string(desc.triggerButton) : std::string();
        m_device->effectLog.push_back(Line(index, "create " + kind + " " + std::to_string(desc.magnitude) +
                                                      " " + std::to_string(desc.durationUs) + " " +
                                                      std::to_string(desc.periodUs) + direction + trigger));
        return std::make_unique<ScriptedEffect>(m_device, index);
    }

    void Queue(const JoystickEvent& event) { m_events.push_back(event); }

private:
    std::shared_ptr<Shared> m_shared;
    std::shared_ptr<Scripted> m_device;
    std::vector<JoystickEvent> m_events;
};

std::shared_ptr<Scripted> MakeDevice(InstanceId id, int type, int subtype, const char* name) {
    auto device = std::make_shared<Scripted>();
    device->instance = {id, type, subtype, name};
    return device;
}

} // namespace

ScriptedInput::ScriptedInput() : m_shared(std::make_shared<Shared>()) {
    m_shared->devices[kSystemMouse] = MakeDevice(kSystemMouse, kTypeMouse, 0, "Mouse");
    m_shared->devices[kSystemKeyboard] = MakeDevice(kSystemKeyboard, kTypeKeyboard, 0, "Keyboard");
    m_shared->order = {kSystemMouse, kSystemKeyboard};
}

ScriptedInput::~ScriptedInput() = default;

std::unique_ptr<ScriptedInput> ScriptedInput::Share() const {
    return std::unique_ptr<ScriptedInput>(new ScriptedInput(m_shared));
}

ScriptedInput::Scripted* ScriptedInput::Find(InstanceId id) const {
    auto it = m_shared->devices.find(id);
    return it == m_shared->devices.end() ? nullptr : it->second.get();
}

InstanceId ScriptedInput::AddJoystick(int axes, int hats, int buttons, bool gamepad, bool forceFeedback) {
    InstanceId id = m_shared->nextJoystick++;
    auto device = MakeDevice(id, kTypeJoystick, gamepad ? kSubtypeGamepad : 2, "Joystick");
    device->forceFeedback = forceFeedback;
    device->joystick.axisCount = std::clamp(axes, 0, kJoyAxisCount);
    device->joystick.hatCount = std::clamp(hats, 0, kJoyHatCount);
    device->joystick.buttonCount = std::clamp(buttons, 0, kJoyButtonCount);
    m_shared->devices[id] = std::move(device);
    m_shared->order.push_back(id);
    return id;
}

void ScriptedInput::Detach(InstanceId id) {
    if (Scripted* device = Find(id)) {
        device->attached = false;
        std::erase(m_shared->order, id);
    }
}

void ScriptedInput::SetOpenFails(InstanceId id, bool fails) {
    if (Scripted* device = Find(id))
        device->openFails = fails;
}

void ScriptedInput::SetWindow(bool present) {
    m_shared->window = present;
}

void ScriptedInput::SetFocus(bool focused) {
    m_shared->focus = focused;
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

void ScriptedInput::SetAxis(InstanceId id, int axis, int raw, std::uint32_t timeMs) {
    Scripted* device = Find(id);
    if (!device || axis < 0 || axis >= kJoyAxisCount)
        return;
    device->joystick.axes[static_cast<std::size_t>(axis)] = raw;
    if (axis < device->joystick.axisCount)
        for (ScriptedSource* source : device->sources)
            source->Queue({JoystickEvent::Kind::Axis, axis, raw, timeMs});
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
        source->Queue({JoystickEvent::Kind::Button, button, pressed ? 1 : 0, timeMs});
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
    for (InstanceId id : m_shared->order)
        devices.push_back(Find(id)->instance);
    return devices;
}

std::unique_ptr<Device> ScriptedInput::OpenDevice(InstanceId id) {
    auto it = m_shared->devices.find(id);
    if (it == m_shared->devices.end() || !it->second->attached || it->second->openFails)
        return nullptr;
    ++it->second->opens;
    return std::make_unique<Device>(it->second->instance,
                                    std::make_unique<ScriptedSource>(m_shared, it->second));
}

} // namespace plat::input
