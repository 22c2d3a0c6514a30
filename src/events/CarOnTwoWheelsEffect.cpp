#include "events/CarOnTwoWheelsEffect.h"

#include "world/CarObject.h"

namespace zentrix {

void CCarOnTwoWheelsEffect::Fire(std::vector<CWorldObject*> /*targets*/) {
    if (!Car())
        return;
    if (Type() == 0)
        Car()->StartTwoWheelsType0(Duration());
    else if (Type() == 1)
        Car()->StartTwoWheelsType1(Duration());
}

} // namespace zentrix
