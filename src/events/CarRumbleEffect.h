#pragma once

#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

class CCarObject;

/// Shakes every target car but the owner, "Intensity" high for "Time" ms.
class CCarRumbleEffect final : public CEffect {
public:
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> targets) override;

    float GetIntensity() const { return m_intensity; }
    float GetDuration() const { return m_duration; }

private:
    float m_intensity = 0.0f;
    float m_duration = 1000.0f;
};

} // namespace zentrix
