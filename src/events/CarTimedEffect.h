#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// An effect on its owner car that runs for a time, in one of several types: the item's first value is
/// the type, its second the duration in ms.
class CCarTimedEffect : public CEffect {
public:
    /// False unless the owner is a car.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;

protected:
    explicit CCarTimedEffect(std::int32_t defaultDuration) : m_duration(defaultDuration) {}
    CCarObject* Car() const { return m_car; }
    std::int32_t Type() const { return m_type; }
    std::int32_t Duration() const { return m_duration; }

private:
    CCarObject* m_car = nullptr;
    std::int32_t m_type = 0;
    std::int32_t m_duration;
};

} // namespace zentrix
