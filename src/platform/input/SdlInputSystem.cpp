#include "platform/input/SdlInputSystem.h"

#include "platform/input/KeyCodes.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace plat::input {

namespace {

class SdlJoystickSource;
class SdlMouseSource;

} // namespace

/// What the system and its opened devices share: the window, and where events are to go. It outlives
/// whichever of them goes last.
struct SdlInputSystem::Hub {
    SDL_Window* window = nullptr;
    bool joystickStarted = false;
    bool hapticStarted = false;
    std::map<SDL_JoystickID, std::vector<SdlJoystickSource*>> joysticks;
    std::vector<SdlMouseSource*> mice;

    // SDL closes every joystick when its joystick support stops, so it stops only after the last opened
    // device has gone.
    ~Hub() {
        if (hapticStarted)
            SDL_QuitSubSystem(SDL_INIT_HAPTIC);
        if (joystickStarted)
            SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }

    bool HasFocus() const {
        return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
    }
};

namespace {

using Hub = SdlInputSystem::Hub;

class SdlSourceBase : public DeviceSource {
public:
    explicit SdlSourceBase(std::shared_ptr<Hub> hub) : m_hub(std::move(hub)) {}
    bool HasWindow() const override { return m_hub->window != nullptr; }
    bool HasFocus() const override { return m_hub->HasFocus(); }

protected:
    std::shared_ptr<Hub> m_hub;
};

class SdlKeyboardSource final : public SdlSourceBase {
public:
    using SdlSourceBase::SdlSourceBase;
    bool IsAttached() const override { return true; }
    void ReadKeys(std::array<std::uint8_t, kKeyboardStateSize>& keys) override {
        keys.fill(0);
        int count = 0;
        const Uint8* down = SDL_GetKeyboardState(&count);
        for (int i = 0; down != nullptr && i < count; ++i) {
            if (!down[i])
                continue;
            int code = KeyCodeFromScancode(i);
            if (code > 0 && code < static_cast<int>(kKeyboardStateSize))
                keys[static_cast<std::size_t>(code)] = kDown;
        }
    }
};

class SdlMouseSource final : public SdlSourceBase {
public:
    explicit SdlMouseSource(std::shared_ptr<Hub> hub) : SdlSourceBase(std::move(hub)) {
        m_hub->mice.push_back(this);
    }
    ~SdlMouseSource() override { std::erase(m_hub->mice, this); }
    bool IsAttached() const override { return true; }
    void ReadMouse(MouseRaw& mouse) override {
        // SDL adds up the motion between reads without switching to relative mode, so the window keeps
        // its absolute pointer.
        int dx = 0;
        int dy = 0;
        SDL_GetRelativeMouseState(&dx, &dy);
        Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        mouse.dx = dx;
        mouse.dy = dy;
        mouse.wheel = m_wheel;
        m_wheel = 0;
        mouse.buttons[0] = (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
        mouse.buttons[1] = (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
        mouse.buttons[2] = (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0;
        mouse.buttons[3] = (buttons & SDL_BUTTON(SDL_BUTTON_X1)) != 0;
    }
    void AddWheel(int notches) { m_wheel += notches * 120; }

private:
    int m_wheel = 0;
};

/// An SDL haptic device shared by a joystick and its effects.
struct HapticHandle {
    SDL_Haptic* haptic = nullptr;
    ~HapticHandle() {
        if (haptic)
            SDL_HapticClose(haptic);
    }
};

class SdlEffect final : public Effect {
public:
    SdlEffect(std::shared_ptr<HapticHandle> haptic, const EffectDesc& desc) : m_haptic(std::move(haptic)) {
        m_magnitude = std::clamp(desc.magnitude, -10000, 10000);
        SDL_HapticEffect& e = m_effect;
        e.type = desc.kind == EffectKind::Sine ? SDL_HAPTIC_SINE : SDL_HAPTIC_CONSTANT;
        if (desc.kind == EffectKind::Sine)
            e.periodic.period = static_cast<Uint16>(std::clamp(desc.periodUs / 1000, 0, 65535));
        SDL_HapticDirection& d = Direction();
        if (desc.direction == EffectDirection::Polar) {
            d.type = SDL_HAPTIC_POLAR; // angle 0 until a direction is set
        } else {
            d.type = SDL_HAPTIC_CARTESIAN;
            d.dir[0] = 1;
            d.dir[1] = desc.direction == EffectDirection::CartesianX ? 0 : 1;
        }
        // SDL numbers trigger buttons from 1; 0 is none.
        const Uint16 button = desc.triggerButton >= 0 && desc.triggerButton < 0xFFFF
                                  ? static_cast<Uint16>(desc.triggerButton + 1)
                                  : 0;
        if (desc.kind == EffectKind::Sine)
            e.periodic.button = button;
        else
            e.constant.button = button;
        SetLength(desc.durationUs);
        ApplyLevel();
        m_id = SDL_HapticNewEffect(m_haptic->haptic, &m_effect);
    }
    ~SdlEffect() override {
        if (m_id >= 0)
            SDL_HapticDestroyEffect(m_haptic->haptic, m_id);
    }
    bool IsValid() const { return m_id >= 0; }

    bool SetDuration(std::int64_t durationUs) override {
        SetLength(durationUs);
        return Update();
    }
    bool SetGain(int gain) override {
        m_gain = std::clamp(gain, 0, 10000);
        ApplyLevel();
        return Update();
    }
    bool SetDirection(int x, int y) override {
        SDL_HapticDirection& d = Direction();
        d.type = SDL_HAPTIC_CARTESIAN;
        d.dir[0] = x;
        d.dir[1] = y;
        d.dir[2] = 0;
        return Update();
    }
    bool Start() override { return SDL_HapticRunEffect(m_haptic->haptic, m_id, 1) == 0; }
    bool Stop() override { return SDL_HapticStopEffect(m_haptic->haptic, m_id) == 0; }

private:
    SDL_HapticDirection& Direction() {
        return m_effect.type == SDL_HAPTIC_SINE ? m_effect.periodic.direction : m_effect.constant.direction;
    }
    void SetLength(std::int64_t durationUs) {
        Uint32 length = durationUs < 0
                            ? SDL_HAPTIC_INFINITY
                            : static_cast<Uint32>(std::min<std::int64_t>(durationUs / 1000, 0x7FFFFFFF));
        if (m_effect.type == SDL_HAPTIC_SINE)
            m_effect.periodic.length = length;
        else
            m_effect.constant.length = length;
    }
    void ApplyLevel() {
        long level = static_cast<long>(m_magnitude) * m_gain / 10000 * 32767 / 10000;
        if (m_effect.type == SDL_HAPTIC_SINE)
            m_effect.periodic.magnitude = static_cast<Sint16>(level);
        else
            m_effect.constant.level = static_cast<Sint16>(level);
    }
    bool Update() { return SDL_HapticUpdateEffect(m_haptic->haptic, m_id, &m_effect) == 0; }

    std::shared_ptr<HapticHandle> m_haptic;
    SDL_HapticEffect m_effect{};
    int m_magnitude = 0;
    int m_gain = 10000;
    int m_id = -1;
};

class SdlJoystickSource final : public SdlSourceBase {
public:
    SdlJoystickSource(std::shared_ptr<Hub> hub, SDL_Joystick* joystick, bool hapticReady)
        : SdlSourceBase(std::move(hub)), m_joystick(joystick), m_id(SDL_JoystickInstanceID(joystick)) {
        m_hub->joysticks[m_id].push_back(this);
        if (hapticReady && SDL_JoystickIsHaptic(m_joystick) == 1) {
            auto handle = std::make_shared<HapticHandle>();
            handle->haptic = SDL_HapticOpenFromJoystick(m_joystick);
            if (handle->haptic)
                m_haptic = std::move(handle);
        }
    }
    ~SdlJoystickSource() override {
        auto it = m_hub->joysticks.find(m_id);
        if (it != m_hub->joysticks.end()) {
            std::erase(it->second, this);
            if (it->second.empty())
                m_hub->joysticks.erase(it);
        }
        m_haptic.reset();
        SDL_JoystickClose(m_joystick);
    }

    bool IsAttached() const override { return SDL_JoystickGetAttached(m_joystick) == SDL_TRUE; }
    void ReadJoystick(JoystickRaw& raw) override {
        raw = {};
        raw.axisCount = std::clamp(SDL_JoystickNumAxes(m_joystick), 0, kJoyAxisCount);
        raw.hatCount = std::clamp(SDL_JoystickNumHats(m_joystick), 0, kJoyHatCount);
        raw.buttonCount = std::clamp(SDL_JoystickNumButtons(m_joystick), 0, kJoyButtonCount);
        for (int i = 0; i < raw.axisCount; ++i)
            raw.axes[static_cast<std::size_t>(i)] = SDL_JoystickGetAxis(m_joystick, i);
        for (int i = 0; i < raw.hatCount; ++i)
            raw.hats[static_cast<std::size_t>(i)] = SDL_JoystickGetHat(m_joystick, i);
        for (int i = 0; i < raw.buttonCount; ++i)
            raw.buttons[static_cast<std::size_t>(i)] = SDL_JoystickGetButton(m_joystick, i) != 0;
    }
    std::vector<JoystickEvent> TakeJoystickEvents() override { return std::exchange(m_events, {}); }
    bool HasForceFeedback() const override {
        return m_haptic && (SDL_HapticQuery(m_haptic->haptic) & (SDL_HAPTIC_SINE | SDL_HAPTIC_CONSTANT)) != 0;
    }
    bool SetAutoCentre(bool on) override {
        if (!m_haptic || (SDL_HapticQuery(m_haptic->haptic) & SDL_HAPTIC_AUTOCENTER) == 0)
            return false;
        return SDL_HapticSetAutocenter(m_haptic->haptic, on ? 100 : 0) == 0;
    }
    std::unique_ptr<Effect> CreateEffect(const EffectDesc& desc) override {
        if (!m_haptic)
            return nullptr;
        unsigned int wanted = desc.kind == EffectKind::Sine ? SDL_HAPTIC_SINE : SDL_HAPTIC_CONSTANT;
        if ((SDL_HapticQuery(m_haptic->haptic) & wanted) == 0)
            return nullptr;
        auto effect = std::make_unique<SdlEffect>(m_haptic, desc);
        if (!effect->IsValid())
            return nullptr;
        return effect;
    }

    void Queue(const JoystickEvent& event) {
        // Bounded even if nobody reads for a long time; the device buffers no more than this anyway.
        if (m_events.size() < Device::kMaxBufferSize)
            m_events.push_back(event);
    }

private:
    SDL_Joystick* m_joystick;
    SDL_JoystickID m_id;
    std::shared_ptr<HapticHandle> m_haptic;
    std::vector<JoystickEvent> m_events;
};

// The connections open now; single-threaded like every caller.
std::vector<Hub*>& LiveHubs() {
    static std::vector<Hub*> hubs;
    return hubs;
}

int WatchWheel(void* userdata, SDL_Event* event) {
    auto* hub = static_cast<Hub*>(userdata);
    if (event->type == SDL_MOUSEWHEEL && event->wheel.which != SDL_TOUCH_MOUSEID) {
        int notches = event->wheel.y;
        if (event->wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        for (SdlMouseSource* mouse : hub->mice)
            mouse->AddWheel(notches);
    }
    return 1;
}

} // namespace

SdlInputSystem::SdlInputSystem(SDL_Window* window) : m_hub(std::make_shared<Hub>()) {
    m_hub->window = window;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "input: cannot start joystick support: %s\n", SDL_GetError());
        return;
    }
    m_ready = true;
    m_hub->joystickStarted = true;
    LiveHubs().push_back(m_hub.get());
    // Force feedback is a bonus: without it the feedback calls do nothing.
    m_haptic = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
    m_hub->hapticStarted = m_haptic;
    SDL_AddEventWatch(WatchWheel, m_hub.get());
}

std::unique_ptr<SdlInputSystem> SdlInputSystem::Open(SDL_Window* window) {
    auto input = std::make_unique<SdlInputSystem>(window);
    if (!input->IsReady())
        return nullptr;
    return input;
}

SdlInputSystem::~SdlInputSystem() {
    if (!m_ready)
        return;
    SDL_DelEventWatch(WatchWheel, m_hub.get());
    std::erase(LiveHubs(), m_hub.get());
}

void SdlInputSystem::HandleEvent(const SDL_Event& event) {
    JoystickEvent change;
    SDL_JoystickID which = 0;
    if (event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP) {
        change.kind = JoystickEvent::Kind::Button;
        change.index = event.jbutton.button;
        change.value = event.type == SDL_JOYBUTTONDOWN ? 1 : 0;
        change.timeMs = event.jbutton.timestamp;
        which = event.jbutton.which;
    } else if (event.type == SDL_JOYAXISMOTION) {
        change.kind = JoystickEvent::Kind::Axis;
        change.index = event.jaxis.axis;
        change.value = event.jaxis.value;
        change.timeMs = event.jaxis.timestamp;
        which = event.jaxis.which;
    } else {
        return;
    }
    for (Hub* hub : LiveHubs()) {
        auto it = hub->joysticks.find(which);
        if (it == hub->joysticks.end())
            continue;
        for (SdlJoystickSource* source : it->second)
            source->Queue(change);
    }
}

std::vector<DeviceInstance> SdlInputSystem::EnumerateDevices() {
    std::vector<DeviceInstance> devices;
    devices.push_back({kSystemMouse, kTypeMouse, 0, "Mouse"});
    devices.push_back({kSystemKeyboard, kTypeKeyboard, 0, "Keyboard"});
    if (!m_ready)
        return devices;
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0)
            continue;
        const char* name = SDL_JoystickNameForIndex(i);
        devices.push_back(
            {id, kTypeJoystick, SDL_IsGameController(i) ? kSubtypeGamepad : 2, name ? name : "Joystick"});
    }
    return devices;
}

std::unique_ptr<Device> SdlInputSystem::OpenDevice(InstanceId id) {
    if (id == kSystemMouse)
        return std::make_unique<Device>(DeviceInstance{id, kTypeMouse, 0, "Mouse"},
                                        std::make_unique<SdlMouseSource>(m_hub));
    if (id == kSystemKeyboard)
        return std::make_unique<Device>(DeviceInstance{id, kTypeKeyboard, 0, "Keyboard"},
                                        std::make_unique<SdlKeyboardSource>(m_hub));
    if (!m_ready)
        return nullptr;
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != id)
            continue;
        bool gamepad = SDL_IsGameController(i) == SDL_TRUE;
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (!joystick)
            return nullptr;
        const char* name = SDL_JoystickName(joystick);
        DeviceInstance instance{id, kTypeJoystick, gamepad ? kSubtypeGamepad : 2, name ? name : "Joystick"};
        return std::make_unique<Device>(std::move(instance),
                                        std::make_unique<SdlJoystickSource>(m_hub, joystick, m_haptic));
    }
    return nullptr;
}

} // namespace plat::input
