#pragma once

#include "app/IODevice.h"

namespace zentrix {

/// The keyboard as driving controls: one key each for the actions, right, left, up and down.
class CIOKeyboard : public CIODevice {
public:
    /// Layout 1, the default: Return, right Shift, Right / Left, Up, Down.
    static constexpr Bindings kLayout1 = {28, 54, 205, 0, 203, 0, 200, 0, 208, 0};
    /// Layout 2: F, W, D / S, Q, A.
    static constexpr Bindings kLayout2 = {33, 17, 32, 0, 31, 0, 16, 0, 30, 0};
    /// Layout 3 on the keypad: plus, Enter, 6 / 4, 8, 2.
    static constexpr Bindings kLayout3 = {78, 156, 77, 0, 75, 0, 72, 0, 80, 0};

    /// A keyboard for controller slot `slot` with layout 1.
    explicit CIOKeyboard(int slot);

    bool Setup(std::unique_ptr<plat::input::Device> device) override;
    bool Poll(int ms) override;

private:
    /// Whether the key with binding field `field`'s code is down; codes outside the key table never are.
    bool IsDown(const std::uint8_t* keys, int field) const;
};

} // namespace zentrix
