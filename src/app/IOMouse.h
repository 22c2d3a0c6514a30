#pragma once

#include "app/IODevice.h"

namespace zentrix {

/// The mouse as driving controls: sideways movement steers, the left button is up, the middle button
/// down and the right button action A.
class CIOMouse : public CIODevice {
public:
    /// The mouse's binding record; the poll reads fixed buttons and consults only its invert flags.
    static constexpr Bindings kDefaultBindings = {13, 14, 0, 0, 0, 0, 12, 0, 15, 0};

    /// A mouse for controller slot `slot`.
    explicit CIOMouse(int slot);

    bool Setup(std::unique_ptr<plat::input::Device> device) override;
    bool Poll(int ms) override;
};

} // namespace zentrix
