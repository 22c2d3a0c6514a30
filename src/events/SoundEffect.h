#pragma once

#include "audio/SoundScriptDef.h"
#include "events/Effect.h"

#include <cstdint>

namespace zentrix {

/// A scripted sound: builds its play definition from the script (its samples loaded on the way) and
/// plays nothing when fired.
class CSoundEffect final : public CEffect {
public:
    /// Reads the values in text order: "Flags" after "DimOthers" drops the dimming again, and "Volume"
    /// after "Volume2" overwrites the second volume.
    bool Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) override;
    void Fire(std::vector<CWorldObject*> /*targets*/) override {}

    const CSoundScriptDef& GetDefinition() const { return m_definition; }
    std::int32_t GetPositionType() const { return m_positionType; }

private:
    CSoundScriptDef m_definition;
    std::int32_t m_positionType = -1;
};

} // namespace zentrix
