#include "audio/MusicWrapper.h"

#include "app/App.h"
#include "app/Win.h"
#include "audio/GameSoundController.h"
#include "audio/Music.h"
#include "audio/SoundErrorLog.h"
#include "foundation/assets/AssetMan.h"

#include <cmath>
#include <string>
#include <vector>

namespace zentrix {

CMusicWrapper::CMusicWrapper() = default;

CMusicWrapper::~CMusicWrapper() = default;

int CMusicWrapper::StartManager() {
    if (!CanStart())
        return 1;
    if (m_player)
        return 0;
    plat::midi::MusicPlayer::OpenError error = plat::midi::MusicPlayer::OpenError::kNone;
    m_player = OpenPlayer(GetDirectSound(), error);
    if (!m_player) {
        switch (error) {
        case plat::midi::MusicPlayer::OpenError::kNoMixer:
            LogError("Could not set DSound to the DMusic object!");
            break;
        case plat::midi::MusicPlayer::OpenError::kNoBank:
            LogError("Could not create SWSynthPort, and/or Loader objects!");
            break;
        default:
            LogError("Could not create DirectMusic!");
            break;
        }
        return 1;
    }
    m_player->SetGain(GainForVolume(m_volume));
    m_started = true;
    return 0;
}

int CMusicWrapper::StopManager() {
    m_player.reset();
    m_currentSong = {};
    m_started = false;
    return 0;
}

bool CMusicWrapper::LoadCollection(int assetId) {
    CAssetMan* assets = GetAssetMan();
    std::vector<std::uint8_t> bytes;
    if (!m_player || !assets || !assets->GetAssetData(assetId, bytes))
        return false;
    // The player copies the instruments it loads, so the bytes go when this call ends.
    return m_player->LoadBank(bytes.data(), bytes.size());
}

bool CMusicWrapper::PlaySegment(int assetId) {
    m_currentSegmentId = assetId;
    if (!m_player)
        return false;
    CAssetMan* assets = GetAssetMan();
    const CMusic* music = assets ? dynamic_cast<const CMusic*>(assets->GetMusic(assetId)) : nullptr;
    m_currentSong = music ? music->GetSong() : plat::midi::SongHandle{};
    if (!m_currentSong) {
        LogError("Could not load MIDI segment!");
        return false;
    }
    if (!m_player->Play(m_currentSong))
        return false;
    SetVolume(m_volume);
    return true;
}

bool CMusicWrapper::Stop() {
    if (!m_player)
        return false;
    m_player->Stop();
    return true;
}

void CMusicWrapper::SetPaused(bool paused) {
    if (m_currentSegmentId == -1 || paused == m_paused)
        return;
    m_paused = paused;
    if (paused) {
        if (m_player)
            m_player->Stop();
    } else {
        PlaySegment(m_currentSegmentId);
        SendTempo(m_currentTempo);
    }
}

void CMusicWrapper::SetVolume(int percent) {
    m_volume = percent;
    if (m_player)
        m_player->SetGain(GainForVolume(percent));
}

void CMusicWrapper::SendTempo(int tempo) {
    if (!m_currentSong)
        return;
    m_currentTempo = tempo;
    // The piece's own tempo changes no longer count from here on.
    if (tempo != -1 && m_player)
        m_player->SetTempo(tempo);
}

float CMusicWrapper::GainForVolume(int percent) {
    // The volume in hundredths of a decibel.
    const double hundredths = std::trunc((percent - 100) * 37.5) - 250.0;
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

bool CMusicWrapper::CanStart() const {
    return g_pApp && g_pApp->GetErrorMan() && g_pApp->GetWin() && g_pApp->GetWin()->GetHwnd();
}

plat::mixer::Mixer* CMusicWrapper::GetDirectSound() const {
    CGameSoundController* sound = g_pApp ? g_pApp->GetGameSoundController() : nullptr;
    return sound ? sound->GetDirectSound() : nullptr;
}

CAssetMan* CMusicWrapper::GetAssetMan() const {
    return g_pApp ? g_pApp->GetAssetMan() : nullptr;
}

std::unique_ptr<plat::midi::MusicPlayer>
CMusicWrapper::OpenPlayer(plat::mixer::Mixer* mixer, plat::midi::MusicPlayer::OpenError& error) {
    return plat::midi::MusicPlayer::Open(mixer, error);
}

void CMusicWrapper::LogError(const char* text) {
    LogSoundError(std::string("CMusicWrapper: ") + text);
}

} // namespace zentrix
