#include "audio/Music.h"

#include "audio/MusicManager.h"
#include "platform/system/DebugOutput.h"

#include <string>

namespace zentrix {

namespace {

int g_liveMusic = 0;

} // namespace

CMusic::CMusic(CMusicManager& music) : m_music(music) {
    ++g_liveMusic;
}

CMusic::~CMusic() {
    Release();
    --g_liveMusic;
}

int CMusic::GetLiveCount() {
    return g_liveMusic;
}

void CMusic::Release() {
    if (!m_song)
        return;
    // A player other than the one the song was loaded in refuses the handle.
    if (plat::midi::MusicPlayer* player = m_music.GetLoader())
        player->ReleaseSong(m_song);
    m_song = {};
}

void CMusic::Load(int assetId, std::vector<std::uint8_t> bytes) {
    Release();
    m_assetId = assetId;
    plat::midi::MusicPlayer* player = m_music.GetLoader();
    if (!player) {
        plat::system::DebugOutput("music " + std::to_string(assetId) + ": no music player runs");
        return;
    }
    m_song = player->LoadSong(bytes.data(), bytes.size());
    if (!m_song)
        plat::system::DebugOutput("music " + std::to_string(assetId) + ": not a song the player reads");
}

bool CMusic::IsLoaded() const {
    return static_cast<bool>(m_song) && m_music.GetLoader() != nullptr;
}

} // namespace zentrix
