#pragma once

#include "audio/SoundControllerLink.h"
#include "foundation/math/Vector.h"
#include "platform/mixer/MixerTypes.h"

#include <array>
#include <memory>
#include <vector>

namespace zentrix {

class CAssetMan;
class CGameOptions;
class CSoundManager;

/// The one way the game plays sound: interface sounds, spoken help, the engine and loop sounds of up to
/// four cars, one-shots at world positions whose level falls with the distance from the listening car
/// (car slot 0), the track editor's endless ambience, the pause of the effect channels and the effects
/// volume. It owns the sound manager; every operation does nothing (or answers nothing) while none is
/// started. Sound ids are asset ids.
class CGameSoundController : public ISoundControllerLink {
public:
    /// Car slots 0..3; slot 0 is the listener.
    static constexpr int kCarSlots = 4;
    static constexpr int kPositionalSlots = 4;
    static constexpr int kCarOneShotSlots = 6;
    /// Beyond this distance from the listener a sound is not heard.
    static constexpr float kHearingDistance = 90.0f;

    /// A controller with no sound manager; the one it starts plays to `output` (the device, or offline
    /// for tests).
    explicit CGameSoundController(plat::mixer::Output output = plat::mixer::Output::kDevice);
    ~CGameSoundController() override;
    CGameSoundController(const CGameSoundController&) = delete;
    CGameSoundController& operator=(const CGameSoundController&) = delete;

    /// Stops, then makes and starts a sound manager (kept even when its start fails, whose calls then
    /// fail one by one) and applies the stored option "Volume".
    void Start();
    /// Stops the car sounds, then stops and deletes the sound manager.
    void Stop();
    /// The per-frame call: the sound manager's ends, car levels and pitch, the positional one-shots,
    /// the ended car one-shots and the interface-sound suspension.
    void Update(int elapsedMs);

    /// A race begins: spoken help is refused until EndRace; the help sound and the positional one-shots
    /// stop. The racer count is not used.
    void BeginRace(int racerCount);
    /// The race is over: every car sound and positional one-shot stops.
    void EndRace();

    /// The car in `slot` is at `position` with engine pitch factor `pitch`.
    void SetCarPosition(int slot, const CVector& position, float pitch);
    /// Starts the car's engine sound, looping, in place of the one it had; pitch factor 1.0.
    void StartCarSound(int slot, int soundId);
    /// Starts a second looping sound of the car (kept only when it plays; a running one is not stopped).
    void StartCarLoop(int slot, int soundId);
    /// Stops the car's second looping sound.
    void StopCarLoop(int slot);
    /// A one-shot of the car at its level, once per sound id at a time, in up to six slots.
    void PlayCarSound(int soundId, int slot);

    /// A one-shot (or a loop while it is heard) at a world position, started only for driver slot 0, in
    /// up to four slots, never the same sound twice at a time, and not at level 0.
    void PlaySoundAt(int soundId, const CVector& position, bool looping, int driverSlot);
    /// How far track objects' sounds are heard: 90.0.
    float GetHearingDistance() const { return kHearingDistance; }
    /// 1.0 at the listener falling linearly to 0.0 at 90 units and beyond; 0.0 without a sound manager.
    float GetDistanceLevel(const CVector& position, const CVector& listener) const;

    /// An interface sound on channel 0, unless interface sounds are suspended.
    void PlayUiSound(int soundId);
    /// Stops the interface sound.
    void StopUiSound();
    /// Silences interface sounds for `ms` milliseconds; a call during a suspension changes nothing.
    void SuspendUiSounds(int ms);
    /// A spoken help item on channel 1 (looping when asked); nothing during a race.
    void PlayHelpSound(int soundId, bool loop);
    /// Stops the spoken help item.
    void StopHelpSound();
    /// Whether spoken help plays.
    bool IsHelpSoundPlaying() const;

    /// The track editor's ambience of the asset manager's world theme, a sample after another.
    void StartConstructionAmbience();
    /// Stops the ambience.
    void StopConstructionAmbience();

    /// Pauses or resumes the effect channels 3..20 (interface, help and ambience play on).
    void Pause(bool paused);
    /// The effects volume, the option "Volume" in percent.
    void SetVolume(int percent);

    /// The mixer instance the music plays through; null without a started sound manager.
    plat::mixer::Mixer* GetDirectSound() const;
    /// The sound manager (null before Start and after Stop).
    CSoundManager* GetSoundManager() const { return m_manager.get(); }
    bool IsRaceActive() const { return m_raceActive; }
    bool AreUiSoundsSuspended() const { return m_uiSuspended; }
    bool IsAmbienceOn() const { return m_ambienceOn; }
    /// The sound id a positional slot holds (-1 free or out of range).
    int GetPositionalSoundId(int slot) const {
        return slot >= 0 && slot < kPositionalSlots ? m_positional[static_cast<std::size_t>(slot)].soundId
                                                    : -1;
    }
    /// The ambience sound ids of a world theme (empty outside 0..3).
    static std::vector<int> GetAmbiencePlaylist(int theme);

    // ISoundControllerLink
    bool HasErrorManager() const override;
    CSound* GetSound(int soundId) override;
    plat::mixer::Mixer* GetMixerHandle() override;
    void PlayNextAmbienceSample() override;
    /// To the error manager's sound log.
    void LogError(const std::string& text) override;

protected:
    /// Where the controller finds the asset manager and the options: the application's.
    virtual CAssetMan* GetAssetMan() const;
    virtual CGameOptions* GetGameOptions() const;

private:
    struct CarSoundSlot {
        CVector position;
        float pitch = 0.0f;
        int mainChannel = -1;
        int loopChannel = -1;
    };
    struct PositionalSoundSlot {
        int channel = -1;
        CVector position;
        bool looping = false;
        int soundId = -1;
        bool inUse = false;
    };
    struct CarOneShotSlot {
        int channel = -1;
        CVector position;
        int soundId = -1;
        bool inUse = false;
    };

    /// Plays a game sound at a level: its channel, -1 when it does not play (0 without a manager).
    int PlaySound(int soundId, float level, bool loop);
    /// Stops the channel a field holds and sets the field to -1.
    void StopChannel(int& channel);
    void StopAllCarSounds();
    void StopPositionalSounds();
    static bool IsCarSlot(int slot) { return slot >= 0 && slot < kCarSlots; }

    const plat::mixer::Output m_output;
    std::unique_ptr<CSoundManager> m_manager;
    bool m_raceActive = false;
    std::array<CarSoundSlot, kCarSlots> m_cars{};
    int m_helpChannel = -1;
    int m_frontEndChannel = -1;
    std::array<PositionalSoundSlot, kPositionalSlots> m_positional{};
    std::array<CarOneShotSlot, kCarOneShotSlots> m_carOneShots{};
    bool m_ambienceOn = false;
    bool m_uiSuspended = false;
    int m_suspendRemaining = -1;
};

} // namespace zentrix
