#include "events/SoundEffect.h"

#include "events/ItemValues.h"
#include "foundation/assets/AssetMan.h"
#include "world/WorldMan.h"
#include "world/WorldServices.h"

namespace zentrix {

namespace {

enum ESlot : std::int32_t {
    kFlags = 0,
    kTickDelay = 1,
    kVolume = 2,
    kPitch = 3,
    kSounds = 5,
    kPosType = 6,
    kDimOthers = 7,
    kPriority = 8,
    kDistance = 9,
    kVolume2 = 10
};

std::uint32_t Unsigned(std::int32_t n) {
    return n < 0 ? 0u : static_cast<std::uint32_t>(n);
}

} // namespace

bool CSoundEffect::Init(const CScriptParser::CItemDesc& item, CWorldObject* owner) {
    InitOwner(owner, false);
    m_definition.priority = 50;
    m_definition.minDistance = 16.0f;
    m_definition.maxDistance = 100.0f;
    m_definition.spare = 0;
    IWorldServices* services = CWorldMan::GetServices();
    CAssetMan* assets = services ? services->GetAssetMan() : nullptr;
    for (const CItemValue& value : CItemValues(item)) {
        switch (value.slot) {
        case kFlags:
            m_definition.SetPlayMode(value.number);
            break;
        case kTickDelay:
            m_definition.tickDelay = Unsigned(value.number);
            break;
        case kVolume:
            m_definition.volume = m_definition.volume2 = Unsigned(value.number);
            break;
        case kVolume2:
            m_definition.volume2 = Unsigned(value.number);
            break;
        case kPitch:
            m_definition.pitch = Unsigned(value.number);
            break;
        case kSounds:
            for (std::int32_t id : value.list) {
                if (assets)
                    assets->GetSound(id);
                m_definition.samples.push_back(id);
            }
            break;
        case kPosType:
            m_positionType = value.number;
            break;
        case kDimOthers:
            if (value.number != 0)
                m_definition.playMode |= CSoundScriptDef::kDimOthers;
            break;
        case kPriority:
            m_definition.priority = Unsigned(value.number);
            break;
        case kDistance:
            m_definition.maxDistance = static_cast<float>(value.number);
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace zentrix
