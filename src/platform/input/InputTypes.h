#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat::input {

/// What an input call reports.
enum class Result {
    Ok,               ///< done
    InputLost,        ///< the window lost the focus since the last read; the device is no longer acquired
    NotAcquired,      ///< the device is not acquired
    OtherHasPriority, ///< acquiring failed because the window does not have the focus
    InvalidParam,     ///< the call does not fit the device or its set-up
};

/// Device types as enumeration reports them.
enum DeviceType : int { kTypeMouse = 2, kTypeKeyboard = 3, kTypeJoystick = 4 };
/// Subtype of a joystick that is known as a game controller.
constexpr int kSubtypeGamepad = 4;

/// Identity of an attached device while it stays attached.
using InstanceId = std::int64_t;
/// The system mouse and keyboard; joysticks carry ids from 0 up.
constexpr InstanceId kSystemMouse = -2;
constexpr InstanceId kSystemKeyboard = -1;

/// One enumerated device.
struct DeviceInstance {
    InstanceId id = 0;
    int type = 0;
    int subtype = 0;
    std::string name;
};

/// The state layout a device is read in; each fits one device type.
enum class StateFormat { None, Keyboard, Mouse, Joystick };

/// Sizes of the immediate states in bytes.
constexpr std::size_t kKeyboardStateSize = 256;
constexpr std::size_t kMouseStateSize = 16;
constexpr std::size_t kJoystickStateSize = 80;

/// Byte offsets in the mouse state: three 32-bit movements, then four button bytes.
constexpr int kMouseX = 0;
constexpr int kMouseY = 4;
constexpr int kMouseWheel = 8;
constexpr int kMouseButtons = 12;

/// Byte offsets in the joystick state: eight 32-bit axes, four 32-bit hats, then 32 button bytes.
constexpr int kJoyAxes = 0;
constexpr int kJoyAxisCount = 8;
constexpr int kJoyHats = 32;
constexpr int kJoyHatCount = 4;
constexpr int kJoyButtons = 48;
constexpr int kJoyButtonCount = 32;
/// A hat that is not pressed in any direction.
constexpr std::uint32_t kHatCentred = 0xFFFFFFFFu;

/// A key, button or state byte that is down.
constexpr std::uint8_t kDown = 0x80;

/// One buffered record: a joystick button that changed, or an axis that crossed its centre (moved between
/// below it, on it and above it).
struct BufferedRecord {
    std::uint32_t offset = 0;   ///< byte offset in the joystick state: 48 + button, or 4 x axis
    std::uint32_t data = 0;     ///< a button: 0x80 pressed, 0 released; an axis: its value in its range
    std::uint32_t timeMs = 0;   ///< when it happened
    std::uint32_t sequence = 0; ///< rising per device
};

/// Raw mouse data since the previous read: movement in pixels, buttons 0 left, 1 right, 2 middle, 3 extra.
struct MouseRaw {
    int dx = 0;
    int dy = 0;
    int wheel = 0;
    std::array<bool, 4> buttons{};
};

/// Raw joystick data as the device gives it: axes -32768..32767, hats as direction bits (1 up, 2 right,
/// 4 down, 8 left), buttons; `axisCount`, `hatCount` and `buttonCount` say what the device has.
struct JoystickRaw {
    std::array<int, kJoyAxisCount> axes{};
    std::array<std::uint8_t, kJoyHatCount> hats{};
    std::array<bool, kJoyButtonCount> buttons{};
    int axisCount = 0;
    int hatCount = 0;
    int buttonCount = 0;
};

/// A joystick button or axis change as it arrives from the system.
struct JoystickEvent {
    enum class Kind { Button, Axis };
    Kind kind = Kind::Button;
    int index = 0; ///< the button or the axis
    int value = 0; ///< a button: 1 pressed, 0 released; an axis: its raw position -32768..32767
    std::uint32_t timeMs = 0;
};

/// The force-feedback effects the layer offers.
enum class EffectKind { Sine, Constant };

/// How an effect's direction is given when it is made: polar (an angle, 0 until set) or cartesian
/// along x alone or x and y.
enum class EffectDirection { Polar, CartesianX, CartesianXY };

/// Description of a force-feedback effect; magnitudes in -10000..10000, durations in microseconds.
struct EffectDesc {
    EffectKind kind = EffectKind::Constant;
    int magnitude = 10000;
    std::int64_t durationUs = 0; ///< below 0: plays until stopped
    int periodUs = 0;            ///< sine only
    EffectDirection direction = EffectDirection::CartesianXY;
    int triggerButton = -1; ///< the joystick button (0 up) that also starts the effect; -1 none
};

/// One force-feedback effect on a device; gains are 0..10000 and scale the magnitude.
class Effect {
public:
    virtual ~Effect() = default;
    /// Sets how long one start plays (microseconds; below 0 until stopped).
    virtual bool SetDuration(std::int64_t durationUs) = 0;
    /// Sets the gain that scales the magnitude.
    virtual bool SetGain(int gain) = 0;
    /// Sets the direction in cartesian coordinates (from now on, whatever it was made with).
    virtual bool SetDirection(int x, int y) = 0;
    /// Starts (or restarts) the effect with its present parameters.
    virtual bool Start() = 0;
    /// Stops the effect.
    virtual bool Stop() = 0;
};

} // namespace plat::input
