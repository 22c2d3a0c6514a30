#pragma once

#include "foundation/base/ManagerInterface.h"
#include "platform/midi/MusicPlayer.h"

#include <memory>

namespace plat::mixer {
class Mixer;
}

namespace zentrix {

class CAssetMan;

/// Runs the music player: it plays a music asset's piece, stops, pauses (a stop that remembers the
/// piece) and resumes (the piece again from its start, at the tempo last sent), and sets the music
/// volume and the tempo. The player sounds through the game sound controller's mixer and takes its
/// instruments from the collection asset. Made and owned by the music manager.
class CMusicWrapper : public CManagerInterface {
public:
    /// Volume 100 percent, no piece, not paused, no tempo.
    CMusicWrapper();
    ~CMusicWrapper() override;
    CMusicWrapper(const CMusicWrapper&) = delete;
    CMusicWrapper& operator=(const CMusicWrapper&) = delete;

    /// Opens the player on the sound controller's mixer: 0, or 1 (logged) without the error manager or
    /// the main window, without a mixer, a synthesizer or its bank. 0 at once when it runs already.
    int StartManager() override;
    /// Closes the player; 0.
    int StopManager() override;

    /// Replaces the instruments with the collection asset (a SoundFont 2 bank); false when there is no
    /// player, no such asset, or the bank does not load (the instruments stay as they were).
    virtual bool LoadCollection(int assetId);
    /// Makes the piece of a music asset current and plays it from its start at the stored volume; false
    /// without a player or when the piece does not load ("Could not load MIDI segment!"; its id stays
    /// current).
    virtual bool PlaySegment(int assetId);
    /// Stops the music at once; false without a player.
    virtual bool Stop();
    /// Pauses (stops, remembering the piece) or resumes (the piece again from its start and the tempo
    /// again); nothing without a current piece or when the state does not change.
    virtual void SetPaused(bool paused);
    /// The music volume in percent: the player's gain becomes 10^(mB / 2000) with
    /// mB = trunc((percent - 100) x 37.5) - 250.
    virtual void SetVolume(int percent);
    /// Plays the current piece at `tempo` beats per minute from where it is (-1: only stored); nothing
    /// without a current piece.
    virtual void SendTempo(int tempo);

    int GetVolume() const { return m_volume; }
    bool IsPaused() const { return m_paused; }
    int GetCurrentSegmentId() const { return m_currentSegmentId; }
    int GetCurrentTempo() const { return m_currentTempo; }
    /// The player songs are loaded in (null while none runs).
    plat::midi::MusicPlayer* GetLoader() const { return m_player.get(); }
    /// The player's gain for a volume percent.
    static float GainForVolume(int percent);

protected:
    /// Whether the application has its error manager and its main window.
    virtual bool CanStart() const;
    /// The mixer instance of the game sound controller (null when none runs).
    virtual plat::mixer::Mixer* GetDirectSound() const;
    /// The asset manager the pieces and the collection come from.
    virtual CAssetMan* GetAssetMan() const;
    /// Opens the player on `mixer` (tests give another synthesizer).
    virtual std::unique_ptr<plat::midi::MusicPlayer> OpenPlayer(plat::mixer::Mixer* mixer,
                                                                plat::midi::MusicPlayer::OpenError& error);
    /// Writes a failure, after the class's name, to the error manager's sound log.
    virtual void LogError(const char* text);

private:
    std::unique_ptr<plat::midi::MusicPlayer> m_player;
    plat::midi::SongHandle m_currentSong; ///< the current piece's song, once one was found
    int m_volume = 100;
    int m_currentSegmentId = -1;
    bool m_paused = false;
    int m_currentTempo = -1;
};

} // namespace zentrix
