#pragma once

#include "app/IODevice.h"

namespace zentrix {

/// A joystick or gamepad as driving controls: an axis (or a button) steers, buttons give the actions,
/// up and down; force feedback where the device has it.
class CIOJoyStick : public CIODevice {
public:
    /// Buttons 1 and 3 for the actions, the X axis inverted for steering, buttons 0 and 2 for up and down.
    static constexpr Bindings kDefaultBindings = {49, 51, 0, 1, 0, 1, 48, 0, 50, 0};
    /// Game controllers use the same record.
    static constexpr Bindings kGamepadBindings = kDefaultBindings;

    /// A joystick for controller slot `slot`.
    explicit CIOJoyStick(int slot);
    ~CIOJoyStick() override;

    bool Setup(std::unique_ptr<plat::input::Device> device) override;
    bool Poll(int ms) override;
    bool CreateEffects() override;
    void FeedbackPulse(int duration) override;
    void FeedbackPush(int a, int b, int c, int gain) override;
    void FeedbackLevel(int gain) override;

private:
    /// The steering input before scaling: an axis value, or +127 / -127 for a button; centre or released
    /// for an offset outside the state or between axes.
    int RawSteering(const std::uint8_t* state) const;
    void ReleaseEffects();

    std::unique_ptr<plat::input::Effect> m_constant;
    std::unique_ptr<plat::input::Effect> m_push;
    std::unique_ptr<plat::input::Effect> m_pulse;
};

} // namespace zentrix
