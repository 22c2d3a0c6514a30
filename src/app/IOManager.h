#pragma once

#include "app/IODevice.h"
#include "foundation/base/ManagerInterface.h"
#include "platform/input/InputSystem.h"

#include <array>
#include <memory>
#include <vector>

namespace zentrix {

class IInputServices;

/// Owns the game's connection to its input devices: lists the devices at every start, keeps the device
/// chosen for each of the four controllers (repairing choices that are out of range or taken twice),
/// makes a controller's device on request and reads every made device once a frame.
class CIOManager : public CManagerInterface {
public:
    /// Number of controller slots.
    static constexpr int kSlotCount = 4;

    /// A manager served by `services` (may be null: then it cannot start); it must outlive the manager.
    explicit CIOManager(IInputServices* services);
    ~CIOManager() override;

    /// Lists the devices and checks the controllers' choices; 1 when the devices cannot be reached.
    int StartManager() override;
    /// Frees every device and the connection; returns 0.
    int StopManager() override;

    /// Reads every controller's device, slots 0 to 3.
    void Poll(int ms);
    /// Makes the device of listed entry `entry` for controller `slot` and acquires it. A negative entry
    /// only resets the present device's controls; an entry beyond the list leaves the slot as it is.
    /// Returns the slot's device (owned by the manager) or null.
    CIODevice* AssignDevice(int slot, int entry);
    /// The device of controller `slot`, or null.
    CIODevice* GetDevice(int slot) const;
    /// The device index chosen for controller `slot` (-1 for no such slot).
    int GetControllerDevice(int slot) const;
    /// Chooses device index `index` for controller `slot`; only stored.
    void SetControllerDevice(int slot, int index);
    /// The number of device indices: listed entries plus 2 (three keyboard layouts share one entry).
    int GetNumInputDevices() const { return static_cast<int>(m_enumerated.size()) + 2; }
    /// The listed entry that device index `index` stands for: 0 the mouse, 1-3 the keyboard, k >= 4
    /// entry k - 2; -1 for an index outside the device count.
    int EntryForDeviceIndex(int index) const;
    /// Whether a manager cannot start: no application or error manager, or `manager` exists and has not
    /// started.
    bool CannotStart(const CManagerInterface* manager) const;

    /// Whether input is to be recorded; handed to every device. Nothing is ever written.
    void SetRecording(bool on);
    /// Whether input is to be played back; handed to every device. Nothing is ever replayed.
    void SetPlayback(bool on);

private:
    /// The slot holding the first invalid or repeated choice, or -1.
    int FindFault(int n) const;
    /// Gives `slot` the first index (searching up from 1, wrapping to 0) no other slot holds.
    void Repair(int slot, int n);

    IInputServices* m_services;
    std::unique_ptr<plat::input::InputSystem> m_input;
    std::vector<plat::input::InstanceId> m_enumerated;
    std::array<std::unique_ptr<CIODevice>, kSlotCount> m_devices;
    std::array<int, kSlotCount> m_indices{1, 2, 3, 0};
    bool m_recording = false;
    bool m_playback = false;
};

} // namespace zentrix
