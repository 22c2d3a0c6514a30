#pragma once

#include "platform/input/AxisScaling.h"
#include "platform/input/DeviceSource.h"
#include "platform/input/InputTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace plat::input {

/// One opened input device: its set-up, its acquisition while the game's window has the focus, its
/// immediate state in the game's layouts and its buffer of joystick records: button changes and axes
/// crossing their centre, in the order they happened.
class Device {
public:
    /// Most records a device buffers, whatever buffer size is asked for.
    static constexpr std::size_t kMaxBufferSize = 1024;

    Device(DeviceInstance instance, std::unique_ptr<DeviceSource> source);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    /// The device as enumeration listed it.
    const DeviceInstance& Instance() const { return m_instance; }

    /// Chooses the state layout; it must fit the device type.
    Result SetDataFormat(StateFormat format);
    /// Ties the device to the game's window; foreground devices are acquired only while it has the focus.
    Result SetCooperativeLevel(bool exclusive, bool foreground);
    /// How many button records the buffer holds; further records are dropped until the buffer is read.
    Result SetBufferSize(std::size_t records);
    /// Range of every axis (joysticks).
    Result SetRange(int min, int max);
    /// Range of the axis at `offset` in the joystick state.
    Result SetAxisRange(int offset, int min, int max);
    /// Dead zone of every axis in ten-thousandths (joysticks).
    Result SetDeadZone(int deadZone);
    /// Saturation of every axis in ten-thousandths (joysticks).
    Result SetSaturation(int saturation);
    /// Whether the device centres itself by force (force-feedback joysticks).
    Result SetAutoCentre(bool on);
    /// Whether the device can play force-feedback effects.
    bool HasForceFeedback() const;
    /// A new force-feedback effect, or null.
    std::unique_ptr<Effect> CreateEffect(const EffectDesc& desc);

    /// Starts delivering data; fails while a foreground device's window lacks the focus.
    Result Acquire();
    /// Stops delivering data.
    Result Unacquire();
    /// Whether the device is acquired now.
    bool IsAcquired() const { return m_acquired; }
    /// Brings the device's data up to date.
    Result Poll();
    /// Moves up to `maxRecords` buffered records, oldest first, into `records` (replacing its contents).
    Result ReadBuffered(std::vector<BufferedRecord>& records, std::size_t maxRecords);
    /// Fills `state` (exactly the size of the chosen layout) with the device's state now.
    Result ReadState(std::uint8_t* state, std::size_t size);

private:
    /// Reports loss of the focus once, and whether reading may go on.
    Result CheckReadable();
    /// Moves the source's pending changes into the buffer, or drops them while not acquired.
    void Collect();
    /// Records an axis change when it takes the axis to the other side of its centre, or to or off it.
    void CollectAxis(const JoystickEvent& event);
    /// Takes each axis's side of its centre from the state now.
    void TakeAxisSides();
    void FillJoystick(std::uint8_t* state) const;

    DeviceInstance m_instance;
    std::unique_ptr<DeviceSource> m_source;
    StateFormat m_format = StateFormat::None;
    bool m_cooperative = false;
    bool m_foreground = false;
    bool m_acquired = false;
    std::size_t m_bufferSize = 0;
    std::deque<BufferedRecord> m_buffer;
    std::uint32_t m_sequence = 0;
    std::array<AxisProperties, kJoyAxisCount> m_axes{};
    std::array<int, kJoyAxisCount> m_axisSides{}; ///< -1 below the centre, 0 on it, 1 above
};

} // namespace plat::input
