#include "game/GameParts.h"

#include "app/App.h"
#include "events/AssetScriptCache.h"
#include "events/ScriptParser.h"

namespace zentrix {

std::unique_ptr<CAssetMan> CGameParts::CreateAssetMan(CAssetMan::SLinks links) {
    // The error manager is made before the asset manager and stopped after it, so the cache may keep it.
    links.makeScriptCache = [](CAssetMan& assets) -> std::unique_ptr<IScriptCacheLink> {
        return std::make_unique<CAssetScriptCache>(assets, g_pApp ? g_pApp->GetErrorMan() : nullptr);
    };
    links.audio = &m_audioAssets;
    return CAppParts::CreateAssetMan(std::move(links));
}

void CGameParts::FreeKeywordTables() {
    CScriptParser::FreeKeywordTables();
}

void CGameParts::StartGameSound() {
    m_sound->Start();
}

void CGameParts::StopGameSound() {
    m_sound->Stop();
}

void CGameParts::UpdateGameSound(int ms) {
    m_sound->Update(ms);
}

void CGameParts::PauseGameSound(bool pause) {
    m_sound->Pause(pause);
}

void CGameParts::SetGameSoundVolume(int volume) {
    m_sound->SetVolume(volume);
}

void CGameParts::PlayUiSound(int soundId) {
    m_sound->PlayUiSound(soundId);
}

void CGameParts::StopHelpSound() {
    m_sound->StopHelpSound();
}

void CGameParts::StartMusic() {
    m_music->StartManager();
}

void CGameParts::StopMusic() {
    m_music->StopManager();
}

void CGameParts::UpdateMusic(int ms) {
    m_music->Update(ms);
}

void CGameParts::SetMusicVolume(int volume) {
    m_music->SetVolume(volume);
}

void CGameParts::SetMusicEnabled(bool enabled) {
    m_music->SetEnabled(enabled);
}

} // namespace zentrix
