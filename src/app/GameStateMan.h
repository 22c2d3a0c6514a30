#pragma once

#include "app/RaceSetup.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/ManagerInterface.h"

namespace zentrix {

class CAppSettings;
class IGameStateServices;

/// One human player's choices: character, skin, car and tyre.
struct SPlayerRecord {
    int character;
    int skin;
    int carId;
    int tyre;
    friend bool operator==(const SPlayerRecord&, const SPlayerRecord&) = default;
};

/// Decides which screen the game shows, and holds the game mode, the race set-up the front end fills and
/// the human players' choices.
class CGameStateMan : public CManagerInterface, public IGameStateSwitch {
public:
    /// Number of player records: four human players and the single player's record.
    static constexpr int kPlayerRecords = 5;
    /// The single player's record, kept in the settings.
    static constexpr int kSinglePlayerRecord = 4;

    /// A state machine that reaches the game through `services` and remembers the single player's record
    /// in `settings`; either may be null while they do not exist. Both must outlive this object.
    CGameStateMan(IGameStateServices* services, CAppSettings* settings);
    ~CGameStateMan() override;

    int StartManager() override;
    int StopManager() override;

    /// Moves the game to `state`: its panel and world; false (nothing changed) without a slide-out manager.
    bool SetState(int state) override;
    /// The current state.
    int GetState() const { return m_state; }
    /// The state before the current one.
    int GetPreviousState() const { return m_previousState; }

    /// Sets the game mode and the race set-up that goes with it.
    void SetGameMode(int mode);
    /// The game mode (-1 none).
    int GetGameMode() const { return m_gameMode; }

    /// Sets the number of human players.
    void SetNumPlayers(int players) { m_numPlayers = players; }
    /// The number of human players.
    int GetNumPlayers() const { return m_numPlayers; }
    /// The player whose choices the front end is editing.
    int GetCurrentPlayer() const { return m_currentPlayer; }
    /// Moves on to the next player, stopping at the last.
    void NextPlayer();
    /// Moves back to the previous player, stopping at the first.
    void PreviousPlayer();

    /// Copies the record of `player` for the current game mode into `record`; false when the mode or the
    /// player has none.
    bool GetPlayerRecord(SPlayerRecord& record, int player) const;
    /// Stores `record` as the choices of `player` for the current game mode; the single player's record
    /// is also saved in the settings. False when the mode or the player has none.
    bool SetPlayerRecord(const SPlayerRecord& record, int player);

    /// Puts `character` in racer slot `slot` with its driver kind and default car; false for a slot
    /// outside 0..3.
    bool SetRacerCharacter(int character, int slot);
    /// Stores the car, skin and tyre chosen for `character` in its racer slot and the player's record;
    /// false when no slot holds that character.
    bool SetRacerChoices(int character, int carId, int skin, int tyre);
    /// The character of racer slot `slot` (-2 for none or a slot outside 0..3).
    int GetRacerCharacter(int slot) const;
    /// The choices of racer slot `slot`; false for a slot outside 0..3.
    bool GetRacer(int slot, int& character, int& carId, int& skin, int& tyre) const;
    /// Sets the track file (cut to fit) and its directory slot.
    void SetTrackFile(const char* name, int directory);
    /// Builds the set-up of the race about to start into `setup`.
    void BuildRaceSetup(CRaceSetup& setup);
    /// The race set-up held for the front end.
    const CRaceSetup& GetRaceSetup() const { return m_raceSetup; }

    /// Sets the character the driver-info screen shows.
    void SetInfoCharacter(int index) { m_infoCharacter = index; }
    /// The character the driver-info screen shows (-2 none).
    int GetInfoCharacter() const { return m_infoCharacter; }
    /// Forgets the driver-info character.
    void ClearInfoCharacter() { m_infoCharacter = -2; }

    /// Gives the single player the car of car index `item` with tyre `value`.
    void SetCampaignPlayerReward(int item, int value);
    /// The four player characters as a mask of character bits.
    int GetPlayerCharacterMask() const { return 0x1E00; }
    /// The cars that may be chosen, as a mask of car-index bits.
    int GetUnlockedCarMask() const { return 3330; }
    /// The skins still free for racer `racer`: those no earlier racer slot has taken.
    int GetFreeSkinMask(int racer) const;
    /// The computer opponents of the race, as a mask of character bits.
    int GetOpponentMask();
    /// The per-frame call; there is nothing to do.
    void Update() {}

private:
    void DrawRandomSetup();
    void SavePlayerRecord();
    void LoadPlayerRecord();

    IGameStateServices* m_services;
    CAppSettings* m_settings;
    int m_state = GAMESTATE_NONE;
    int m_previousState = GAMESTATE_NONE;
    int m_gameMode = -1;
    CRaceSetup m_raceSetup;
    int m_infoCharacter = -2;
    SPlayerRecord m_players[kPlayerRecords];
    int m_numPlayers = 0;
    int m_currentPlayer = 0;
};

} // namespace zentrix
