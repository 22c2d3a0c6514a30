#include "app/GameOptions.h"

#include "app/GameOptionEffects.h"
#include "foundation/base/AppSettings.h"

namespace zentrix {

namespace {

struct SOptionEntry {
    const char* name;
    int defaultValue;
};

constexpr SOptionEntry kOptions[CGameOptions::OPTION_COUNT] = {
    {"Resolution", 0},  {"Balance", 50},    {"Volume", 50},     {"EffectsLevel", 0}, {"NumDevices", 4},
    {"Controller1", 1}, {"Controller2", 2}, {"Controller3", 3}, {"Controller4", 0},
};

bool g_bSoundAudible = true;

bool IsKnown(int key) {
    return key >= 0 && key < CGameOptions::OPTION_COUNT;
}

} // namespace

const char* CGameOptions::GetOptionName(int key) {
    return IsKnown(key) ? kOptions[key].name : nullptr;
}

int CGameOptions::GetOptionDefault(int key) {
    return IsKnown(key) ? kOptions[key].defaultValue : 0;
}

bool CGameOptions::IsSoundAudible() {
    return g_bSoundAudible;
}

void CGameOptions::SetSoundAudible(bool audible) {
    g_bSoundAudible = audible;
}

int CGameOptions::GetOption(int key) const {
    // The game always starts in 640 x 480, whatever was stored.
    if (key == OPTION_RESOLUTION || !IsKnown(key))
        return 0;
    int value = kOptions[key].defaultValue;
    m_settings.GetInt(kOptions[key].name, value);
    return value;
}

bool CGameOptions::SetOption(int key, int value) {
    if (!IsKnown(key))
        return false;
    bool saved = m_settings.SetInt(kOptions[key].name, value);
    // The effects read the value back, so they apply even when the save failed.
    switch (key) {
    case OPTION_BALANCE:
        if (m_effects)
            m_effects->SetMusicVolume(GetOption(key));
        break;
    case OPTION_VOLUME: {
        int volume = GetOption(key);
        if (m_effects)
            m_effects->SetSoundVolume(volume & 0xFF);
        g_bSoundAudible = volume > 5;
        break;
    }
    case OPTION_EFFECTS_LEVEL:
        if (m_effects)
            m_effects->SetEffectsLevel(GetOption(key));
        break;
    default:
        break;
    }
    return saved;
}

} // namespace zentrix
