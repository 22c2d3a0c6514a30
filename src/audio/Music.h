#pragma once

#include "foundation/assets/AudioAssets.h"
#include "platform/midi/MusicPlayer.h"

#include <cstdint>
#include <vector>

namespace zentrix {

class CMusicManager;

/// One piece of music: a music asset's Standard MIDI File, loaded as a song of the music player that the
/// music manager's wrapper runs. The asset manager makes one per id on first request and keeps it until
/// it stops; the song is released (stopped first when it plays) when the piece is deleted.
class CMusic : public IMusicAsset {
public:
    /// An empty piece; its songs are loaded in, and released from, the player `music` names at the time.
    explicit CMusic(CMusicManager& music);
    ~CMusic() override;
    CMusic(const CMusic&) = delete;
    CMusic& operator=(const CMusic&) = delete;

    /// Reads the file into a song of the running player; a bad file is logged and leaves it unloaded.
    void Load(int assetId, std::vector<std::uint8_t> bytes) override;
    /// Whether the song is loaded and a player runs.
    bool IsLoaded() const override;

    int GetAssetId() const { return m_assetId; }
    plat::midi::SongHandle GetSong() const { return m_song; }

    /// Number of pieces in existence.
    static int GetLiveCount();

private:
    void Release();

    CMusicManager& m_music;
    int m_assetId = 0;
    plat::midi::SongHandle m_song;
};

} // namespace zentrix
