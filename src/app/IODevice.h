#pragma once

#include "platform/input/Device.h"
#include "platform/input/InputSystem.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace zentrix {

struct CDriverControls;

/// One input device turned into the five driving controls a player's driver reads: two action buttons,
/// steering, up and down. A binding record of ten codes says which keys, buttons or axes give them.
class CIODevice {
public:
    /// Device kinds.
    enum EKind : int { KIND_NONE = -1, KIND_MOUSE = 0, KIND_KEYBOARD = 1, KIND_JOYSTICK = 2 };
    /// Binding fields: action A, action B, steering code, steering invert, second steering code, unused
    /// flag, up code, up invert, down code, down invert.
    using Bindings = std::array<int, 10>;
    /// A control's range: the values its input runs between before scaling to -127..127.
    struct Range {
        int min;
        int max;
        friend bool operator==(const Range&, const Range&) = default;
    };
    /// Buffered records taken per read.
    static constexpr std::size_t kBufferRecords = 16;

    /// A device for controller slot `slot` (0-3); it holds no system device until Setup.
    explicit CIODevice(int slot);
    virtual ~CIODevice();
    CIODevice(const CIODevice&) = delete;
    CIODevice& operator=(const CIODevice&) = delete;

    /// Opens device `id` of `input` and makes the matching device for controller slot `slot`; null when
    /// it cannot be opened, is of no known type or cannot be set up.
    static std::unique_ptr<CIODevice> CreateInputDevice(plat::input::InputSystem& input,
                                                        plat::input::InstanceId id, int slot);
    /// `value` clamped to min..max and mapped onto -127..127 (integer steps), negated when `invert`.
    static int ScaleAxis(int value, int min, int max, bool invert);

    /// Whether a system device is held.
    virtual bool IsValid() const;
    /// Reads the device into the controls; false when it could not be read (the controls stay).
    virtual bool ReadInput(int ms);
    /// Takes a new binding record and resets the controls.
    virtual bool SetBindings(const Bindings& bindings);
    /// Centres the steering, releases up and down, and sets the ranges from the bindings.
    virtual void ResetControls();
    /// Plays the short shake for `duration` (microseconds); nothing on devices without force feedback.
    virtual void FeedbackPulse(int duration);
    /// Pushes in direction (c, a) with `gain` (0 stops); nothing on devices without force feedback.
    virtual void FeedbackPush(int a, int b, int c, int gain);
    /// Holds a steady force of `gain` (0 stops); nothing on devices without force feedback.
    virtual void FeedbackLevel(int gain);
    /// Takes and sets up the system device; false when it cannot be used.
    virtual bool Setup(std::unique_ptr<plat::input::Device> device) = 0;
    /// Creates the force-feedback effects; false when the device has none.
    virtual bool CreateEffects();
    /// Reads the system device into the controls.
    virtual bool Poll(int ms) = 0;

    /// Acquires (`on`) or releases the system device; whether that worked.
    bool Acquire(bool on);

    std::uint8_t GetActionA() const { return m_actionA; }
    std::uint8_t GetActionB() const { return m_actionB; }
    int GetSteering() const { return m_steering; }
    int GetUp() const { return m_up; }
    int GetDown() const { return m_down; }
    int GetKind() const { return m_kind; }
    Range GetSteeringRange() const { return {m_steerMin, m_steerMax}; }
    Range GetUpRange() const { return {m_upMin, m_upMax}; }
    Range GetDownRange() const { return {m_downMin, m_downMax}; }
    int GetSlot() const { return m_slot; }
    const Bindings& GetBindings() const { return m_bindings; }
    bool HasForceFeedback() const { return m_forceFeedback; }

    /// Copies the controls into a driver's control record.
    void GetControls(CDriverControls& controls) const;
    /// Overwrites the steering (a driver steering by lanes writes its own).
    void SetSteering(int steering) { m_steering = steering; }
    /// Whether the device's data is to be recorded; no recording is ever written.
    void SetRecording(bool on) { m_recording = on; }
    /// Whether the device is to replay recorded data; nothing is ever replayed.
    void SetPlayback(bool on) { m_playback = on; }
    bool IsRecording() const { return m_recording; }
    bool IsPlayback() const { return m_playback; }
    /// Closes the device's input log; there is none to close.
    void CloseInputLog() {}

protected:
    /// The set-up shared by the keyboard and the mouse: takes `device`, sets its state `format`, binds it
    /// to the window in the foreground, non-exclusively, and gives it the record buffer. False when the
    /// device cannot be used (a device refusing the window binding is released).
    bool SetupSystemDevice(std::unique_ptr<plat::input::Device> device, plat::input::StateFormat format);

    /// Binding field indices.
    enum EBinding : int {
        BIND_ACTION_A = 0,
        BIND_ACTION_B = 1,
        BIND_STEER = 2,
        BIND_STEER_INVERT = 3,
        BIND_STEER_OTHER = 4,
        BIND_UP = 6,
        BIND_UP_INVERT = 7,
        BIND_DOWN = 8,
        BIND_DOWN_INVERT = 9,
    };

    /// Whether binding field `field` asks for inversion (its low byte).
    bool Inverted(int field) const { return (m_bindings[static_cast<std::size_t>(field)] & 0xFF) != 0; }
    /// Reads the buffered records and then the state (`size` bytes), re-acquiring a lost device; false
    /// when either read fails.
    bool ReadDevice(std::vector<plat::input::BufferedRecord>& records, std::uint8_t* state, std::size_t size);

    std::unique_ptr<plat::input::Device> m_device;
    Bindings m_bindings{};
    bool m_forceFeedback = false;
    std::uint8_t m_slot;
    bool m_recording = false;
    bool m_playback = false;
    std::uint8_t m_actionA = 0;
    std::uint8_t m_actionB = 0;
    int m_steering = 0;
    int m_up = -127;
    int m_down = -127;
    int m_steerMin = -127;
    int m_upMin = -127;
    int m_downMin = -127;
    int m_steerMax = 127;
    int m_upMax = 127;
    int m_downMax = 127;
    int m_kind = KIND_NONE;

private:
    /// Repeats `read` after re-acquiring while the device reports itself lost, a few times at most.
    template <class Read> plat::input::Result ReadWithReacquire(Read read);
};

} // namespace zentrix
