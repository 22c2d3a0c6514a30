#pragma once

#include "events/CarTimedEffect.h"

namespace zentrix {

/// Puts the owner car on two wheels for "Time" ms: type 0 rolls it with its drift, type 1 lifts its nose.
class CCarOnTwoWheelsEffect final : public CCarTimedEffect {
public:
    CCarOnTwoWheelsEffect() : CCarTimedEffect(1000) {}
    void Fire(std::vector<CWorldObject*> targets) override;
};

} // namespace zentrix
