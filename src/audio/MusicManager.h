#pragma once

#include "foundation/base/ManagerInterface.h"

#include <memory>

namespace plat::midi {
class MusicPlayer;
}

namespace zentrix {

class CGameOptions;
class CMusicWrapper;
class IRaceMusicLink;

/// Chooses the music: a category from the game state (front end, race, editor, or silence), a piece and
/// a tempo from the category and the world theme (the race's faster at its last lap), the option
/// "Balance" as the music volume, and the race's pause. It owns the music wrapper.
class CMusicManager : public CManagerInterface {
public:
    static constexpr int kCategoryNone = -1;
    static constexpr int kCategoryFrontEnd = 0;
    static constexpr int kCategoryRace = 1;
    static constexpr int kCategoryEditor = 2;
    /// The instrument collection.
    static constexpr int kCollectionId = 49938;

    /// Disabled, no category, no wrapper; `race` (may be null) tells the last lap.
    explicit CMusicManager(IRaceMusicLink* race = nullptr);
    ~CMusicManager() override;
    CMusicManager(const CMusicManager&) = delete;
    CMusicManager& operator=(const CMusicManager&) = delete;

    /// Makes and starts the wrapper (a failed start leaves it in place, silent), applies the stored
    /// option "Balance" and loads the instrument collection; 0.
    int StartManager() override;
    /// Stops and deletes the wrapper; 0.
    int StopManager() override;

    /// The per-frame call: a new category plays its piece; an unchanged one follows the last lap and,
    /// in the editor, the world theme.
    void Update(int elapsedMs);
    /// The music volume in percent, held to 0..100: 10 or less turns the music off, more turns it on; a
    /// change plays the current category's piece again from its start.
    void SetVolume(int percent);
    /// Turns the music off (stopping it) or on again.
    void SetEnabled(bool enabled);
    /// Pauses or resumes the music (resuming plays the piece from its start).
    void Pause(bool paused);
    /// Tells the last lap from now on (null: none).
    void SetRaceLink(IRaceMusicLink* race) { m_race = race; }

    /// The category of a game state: 0 front end, 1 race, 2 editor, -1 silence.
    static int CategoryForState(int state);
    /// The music asset of a category and world theme (-1 none) and its tempo in beats per minute.
    static int SegmentFor(int category, int theme, bool lastLap);
    static int TempoFor(int category, int theme, bool lastLap);

    int GetCurrentCategory() const { return m_category; }
    bool IsEnabled() const { return m_enabled; }
    bool IsLastLap() const { return m_lastLap; }
    CMusicWrapper* GetWrapper() const { return m_wrapper.get(); }
    /// The player the wrapper runs, which the pieces are loaded in (null while none runs).
    plat::midi::MusicPlayer* GetLoader() const;

protected:
    /// A new wrapper (tests give their own).
    virtual std::unique_ptr<CMusicWrapper> CreateWrapper();
    /// What the manager reads of the game: the game state and mode, the world theme and the options.
    virtual int GetGameState() const;
    virtual int GetGameMode() const;
    virtual int GetWorldTheme() const;
    virtual CGameOptions* GetGameOptions() const;

private:
    /// Stops the music and plays the category's piece at its tempo (paused in a race of game mode other
    /// than 1, until the race resumes it); only while enabled.
    void PlayCategory(int category);
    /// The unchanged category's per-frame follow-up.
    void Refresh();

    IRaceMusicLink* m_race;
    int m_category = kCategoryNone;
    int m_theme = -1; ///< the world theme the current piece was chosen with
    bool m_lastLap = false;
    bool m_enabled = false;
    std::unique_ptr<CMusicWrapper> m_wrapper;
};

} // namespace zentrix
