#pragma once

#include "events/CarTimedEffect.h"

namespace zentrix {

/// Makes the owner car behave wildly: type 0 either hides it for 10 s or bounces it with nearly no grip
/// (a random draw decides), type 1 hides it and its wheels, type 2 bounces it slowly.
class CCarCrazyEffect final : public CCarTimedEffect {
public:
    CCarCrazyEffect() : CCarTimedEffect(10000) {}
    void Fire(std::vector<CWorldObject*> targets) override;
};

} // namespace zentrix
