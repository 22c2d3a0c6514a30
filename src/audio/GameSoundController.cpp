#include "audio/GameSoundController.h"

#include "app/App.h"
#include "app/GameOptions.h"
#include "audio/Sound.h"
#include "audio/SoundErrorLog.h"
#include "audio/SoundManager.h"
#include "foundation/assets/AssetMan.h"

namespace zentrix {

CGameSoundController::CGameSoundController(plat::mixer::Output output) : m_output(output) {}

CGameSoundController::~CGameSoundController() {
    Stop();
}

std::vector<int> CGameSoundController::GetAmbiencePlaylist(int theme) {
    switch (theme) {
    case 0:
        return {49935};
    case 1:
        return {49940, 49941, 49942};
    case 2:
        return {49951, 49952, 49953, 49954, 49958};
    case 3:
        return {49962};
    default:
        return {};
    }
}

void CGameSoundController::Start() {
    Stop();
    m_manager = std::make_unique<CSoundManager>(*this, m_output);
    // A manager that did not start stays: the game runs silent, each mixer call failing on its own.
    m_manager->StartManager();
    if (CGameOptions* options = GetGameOptions())
        options->SetOption(CGameOptions::OPTION_VOLUME, options->GetOption(CGameOptions::OPTION_VOLUME));
}

void CGameSoundController::Stop() {
    if (!m_manager)
        return;
    StopAllCarSounds();
    m_manager->StopManager();
    m_manager.reset();
    // The channels the slots named went with the mixer: a later start must not take a new sound on the
    // same channel for the old one.
    m_positional.fill(PositionalSoundSlot{});
    m_carOneShots.fill(CarOneShotSlot{});
    m_helpChannel = -1;
    m_frontEndChannel = -1;
}

void CGameSoundController::Update(int elapsedMs) {
    if (!m_manager)
        return;
    m_manager->Update();
    const CVector listener = m_cars[0].position;
    for (CarSoundSlot& car : m_cars) {
        const float level = GetDistanceLevel(car.position, listener);
        if (level >= 0.0f) {
            if (car.mainChannel != -1)
                m_manager->SetChannelLevel(car.mainChannel, level);
            if (car.loopChannel != -1)
                m_manager->SetChannelLevel(car.loopChannel, level);
        }
        if (car.mainChannel != -1)
            m_manager->SetChannelFrequencyFactor(car.mainChannel, car.pitch);
    }
    for (PositionalSoundSlot& slot : m_positional) {
        if (!slot.inUse)
            continue;
        if (m_manager->IsChannelPlaying(slot.channel)) {
            const float level = GetDistanceLevel(slot.position, listener);
            m_manager->SetChannelLevel(slot.channel, level);
            if (slot.looping && level == 0.0f) {
                StopChannel(slot.channel);
                slot = PositionalSoundSlot{};
            }
        } else {
            StopChannel(slot.channel);
            slot = PositionalSoundSlot{};
        }
    }
    for (CarOneShotSlot& slot : m_carOneShots) {
        if (slot.inUse && !m_manager->IsChannelPlaying(slot.channel)) {
            StopChannel(slot.channel);
            slot = CarOneShotSlot{};
        }
    }
    if (m_uiSuspended) {
        m_suspendRemaining -= elapsedMs;
        if (m_suspendRemaining < 0) {
            m_uiSuspended = false;
            m_suspendRemaining = -1;
        }
    }
}

void CGameSoundController::BeginRace(int /*racerCount*/) {
    if (!m_manager)
        return;
    m_raceActive = true;
    StopHelpSound();
    StopPositionalSounds();
}

void CGameSoundController::EndRace() {
    if (!m_manager)
        return;
    m_raceActive = false;
    StopAllCarSounds();
    StopPositionalSounds();
}

void CGameSoundController::SetCarPosition(int slot, const CVector& position, float pitch) {
    if (!m_manager || !IsCarSlot(slot))
        return;
    m_cars[static_cast<std::size_t>(slot)].position = position;
    m_cars[static_cast<std::size_t>(slot)].pitch = pitch;
}

void CGameSoundController::StartCarSound(int slot, int soundId) {
    if (!m_manager || !IsCarSlot(slot))
        return;
    CarSoundSlot& car = m_cars[static_cast<std::size_t>(slot)];
    if (car.mainChannel != -1)
        StopChannel(car.mainChannel);
    car.mainChannel = PlaySound(soundId, GetDistanceLevel(car.position, m_cars[0].position), true);
    car.pitch = 1.0f;
}

void CGameSoundController::StartCarLoop(int slot, int soundId) {
    if (!m_manager || !IsCarSlot(slot))
        return;
    CarSoundSlot& car = m_cars[static_cast<std::size_t>(slot)];
    const int channel = PlaySound(soundId, GetDistanceLevel(car.position, m_cars[0].position), true);
    if (channel != -1)
        car.loopChannel = channel;
}

void CGameSoundController::StopCarLoop(int slot) {
    if (!m_manager || !IsCarSlot(slot))
        return;
    CarSoundSlot& car = m_cars[static_cast<std::size_t>(slot)];
    if (car.loopChannel != -1)
        StopChannel(car.loopChannel);
}

void CGameSoundController::PlayCarSound(int soundId, int slot) {
    if (!m_manager || !IsCarSlot(slot))
        return;
    int free = -1;
    for (int i = 0; i < kCarOneShotSlots; ++i) {
        if (!m_carOneShots[static_cast<std::size_t>(i)].inUse)
            free = i; // the highest free slot
    }
    if (free < 0)
        return;
    for (const CarOneShotSlot& other : m_carOneShots)
        if (other.soundId == soundId)
            return;
    const CVector position = m_cars[static_cast<std::size_t>(slot)].position;
    const float level = GetDistanceLevel(position, m_cars[0].position);
    if (level == 0.0f)
        return;
    const int channel = PlaySound(soundId, level, false);
    if (channel == -1)
        return;
    CarOneShotSlot& chosen = m_carOneShots[static_cast<std::size_t>(free)];
    chosen.channel = channel;
    chosen.position = position;
    chosen.soundId = soundId;
    chosen.inUse = true;
}

void CGameSoundController::PlaySoundAt(int soundId, const CVector& position, bool looping, int driverSlot) {
    if (!m_manager || driverSlot != 0)
        return;
    int free = -1;
    for (int i = 0; i < kPositionalSlots; ++i) {
        if (!m_positional[static_cast<std::size_t>(i)].inUse)
            free = i; // the highest free slot
    }
    if (free < 0)
        return;
    for (const PositionalSoundSlot& other : m_positional)
        if (other.soundId == soundId)
            return;
    const float level = GetDistanceLevel(position, m_cars[0].position);
    if (level == 0.0f)
        return;
    const int channel = PlaySound(soundId, level, looping);
    if (channel == -1)
        return;
    PositionalSoundSlot& chosen = m_positional[static_cast<std::size_t>(free)];
    chosen.channel = channel;
    chosen.position = position;
    chosen.looping = looping;
    chosen.soundId = soundId;
    chosen.inUse = true;
}

float CGameSoundController::GetDistanceLevel(const CVector& position, const CVector& listener) const {
    if (!m_manager)
        return 0.0f;
    const CVector between = position - listener;
    const float distance =
        between.x == 0.0f && between.y == 0.0f && between.z == 0.0f ? 0.0f : between.Length();
    return distance < kHearingDistance ? 1.0f - distance / kHearingDistance : 0.0f;
}

void CGameSoundController::PlayUiSound(int soundId) {
    if (!m_manager || m_uiSuspended)
        return;
    m_frontEndChannel = m_manager->PlayFrontEndSound(soundId);
}

void CGameSoundController::StopUiSound() {
    if (m_manager && m_frontEndChannel != -1)
        StopChannel(m_frontEndChannel);
}

void CGameSoundController::SuspendUiSounds(int ms) {
    if (m_uiSuspended)
        return;
    m_uiSuspended = true;
    m_suspendRemaining = ms;
}

void CGameSoundController::PlayHelpSound(int soundId, bool loop) {
    if (!m_manager || m_raceActive)
        return;
    m_helpChannel = m_manager->PlayHelpSound(soundId, loop);
}

void CGameSoundController::StopHelpSound() {
    if (m_manager && m_helpChannel != -1)
        StopChannel(m_helpChannel);
}

bool CGameSoundController::IsHelpSoundPlaying() const {
    return m_manager && m_manager->IsHelpChannelBusy();
}

void CGameSoundController::StartConstructionAmbience() {
    if (!m_manager)
        return;
    m_ambienceOn = true;
    const CAssetMan* assets = GetAssetMan();
    m_manager->StartPlaylist(GetAmbiencePlaylist(assets ? assets->GetWorld() : -1));
}

void CGameSoundController::StopConstructionAmbience() {
    if (!m_manager)
        return;
    m_ambienceOn = false;
    m_manager->StopPlaylist();
}

void CGameSoundController::Pause(bool paused) {
    if (m_manager)
        m_manager->SetPaused(paused);
}

void CGameSoundController::SetVolume(int percent) {
    if (m_manager)
        m_manager->SetVolumePercent(percent);
}

plat::mixer::Mixer* CGameSoundController::GetDirectSound() const {
    return m_manager ? m_manager->GetDirectSound() : nullptr;
}

bool CGameSoundController::HasErrorManager() const {
    return !IsResultOk(-1);
}

CSound* CGameSoundController::GetSound(int soundId) {
    CAssetMan* assets = GetAssetMan();
    return assets ? dynamic_cast<CSound*>(assets->GetSound(soundId)) : nullptr;
}

plat::mixer::Mixer* CGameSoundController::GetMixerHandle() {
    return m_manager ? m_manager->GetMixerHandle() : nullptr;
}

void CGameSoundController::PlayNextAmbienceSample() {
    if (m_manager)
        m_manager->PlayNextPlaylistSample();
}

void CGameSoundController::LogError(const std::string& text) {
    LogSoundError(text);
}

CAssetMan* CGameSoundController::GetAssetMan() const {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

CGameOptions* CGameSoundController::GetGameOptions() const {
    return g_pApp ? g_pApp->GetGameOptions() : nullptr;
}

int CGameSoundController::PlaySound(int soundId, float level, bool loop) {
    return m_manager ? m_manager->PlaySound(soundId, level, loop) : 0;
}

void CGameSoundController::StopChannel(int& channel) {
    if (m_manager)
        m_manager->StopChannel(channel);
    channel = -1;
}

void CGameSoundController::StopAllCarSounds() {
    for (CarSoundSlot& car : m_cars) {
        if (car.mainChannel != -1)
            StopChannel(car.mainChannel);
        if (car.loopChannel != -1)
            StopChannel(car.loopChannel);
    }
}

void CGameSoundController::StopPositionalSounds() {
    for (PositionalSoundSlot& slot : m_positional) {
        if (slot.inUse) {
            StopChannel(slot.channel);
            slot = PositionalSoundSlot{};
        }
    }
}

} // namespace zentrix
