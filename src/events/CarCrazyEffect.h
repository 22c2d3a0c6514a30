#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// Makes the owner car behave wildly: type 0 either hides it for 10 s or bounces it with nearly no grip
/// (a random draw decides), type 1 hides it and its wheels, type 2 bounces it slowly.
class CCarCrazyEffect final : public CEffect {
public:
    /// False unless the owner is a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

private:
    CCarObject* m_car = nullptr;
    std::int32_t m_type = 0;
    std::int32_t m_duration = 10000;
};

} // namespace zentrix
