#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// Puts the owner car on two wheels for "Time" ms: type 0 rolls it with its drift, type 1 lifts its nose.
class CCarOnTwoWheelsEffect final : public CEffect {
public:
    /// False unless the owner is a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

private:
    CCarObject* m_car = nullptr;
    std::int32_t m_type = 0;
    std::int32_t m_duration = 1000;
};

} // namespace zentrix
