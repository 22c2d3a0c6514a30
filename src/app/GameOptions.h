#pragma once

namespace zentrix {

class CAppSettings;
class IGameOptionEffects;

/// The player's options, each a remembered value with a default and an effect when it changes.
class CGameOptions {
public:
    /// Option keys.
    enum EOption : int {
        OPTION_RESOLUTION = 0,
        OPTION_BALANCE = 1,
        OPTION_VOLUME = 2,
        OPTION_EFFECTS_LEVEL = 3,
        OPTION_NUM_DEVICES = 4,
        OPTION_CONTROLLER1 = 5,
        OPTION_CONTROLLER2 = 6,
        OPTION_CONTROLLER3 = 7,
        OPTION_CONTROLLER4 = 8,
        OPTION_COUNT = 9,
    };

    /// Options kept in `settings`; `effects` (may be null while those managers do not exist) applies
    /// the changes. Both must outlive this object.
    CGameOptions(CAppSettings& settings, IGameOptionEffects* effects)
        : m_settings(settings), m_effects(effects) {}
    virtual ~CGameOptions() = default;

    /// The value of option `key`, or its default when none is stored. The resolution always reads 0.
    int GetOption(int key) const;
    /// Stores `value` for option `key` and applies its effect; false when the value could not be saved
    /// or the key is unknown.
    bool SetOption(int key, int value);
    /// Lets `effects` apply later changes (null: none).
    void SetEffects(IGameOptionEffects* effects) { m_effects = effects; }

    /// The stored name of option `key`, or null for an unknown key.
    static const char* GetOptionName(int key);
    /// The default of option `key` (0 for an unknown key).
    static int GetOptionDefault(int key);

    /// Whether sound is loud enough to be heard; the video player reads it. True at program start.
    static bool IsSoundAudible();
    /// Sets the sound-audible flag.
    static void SetSoundAudible(bool audible);

private:
    CAppSettings& m_settings;
    IGameOptionEffects* m_effects;
};

} // namespace zentrix
