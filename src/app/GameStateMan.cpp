#include "app/GameStateMan.h"

#include "app/GameStateServices.h"
#include "foundation/base/AppSettings.h"
#include "foundation/math/Random.h"

#include <algorithm>

namespace zentrix {

namespace {

constexpr int kNone = -2;

struct SStateScreen {
    int panel; ///< slide-out index, kNone when the state switches no panel
    int world; ///< world id, kNone when the state switches no world
};

// Panel and world of every state; 22 has steps of its own before it shows these.
constexpr SStateScreen kStateScreens[] = {
    {7, 4},  {8, 5}, {15, 11}, {0, 2},      {1, 2},         {2, 2},         {11, 8},        {12, 9},
    {13, 7}, {9, 6}, {10, 10}, {6, 0},      {kNone, kNone}, {kNone, kNone}, {kNone, kNone}, {3, 1},
    {4, 1},  {5, 6}, {14, 3},  {16, kNone}, {17, 13},       {18, 14},       {17, 13},
};
constexpr int kStateCount = static_cast<int>(sizeof(kStateScreens) / sizeof(kStateScreens[0]));

constexpr int kVideoToMainScreen = 5121;
constexpr int kStartUpWorld = 14;

constexpr const char* kPlayerAvatar = "Campaign_Player_Avatar";
constexpr const char* kPlayerCar = "Campaign_Player_Car";
constexpr const char* kPlayerSkin = "Campaign_Player_Skin";
constexpr const char* kPlayerTyre = "Campaign_Player_Tyre";

SPlayerRecord DefaultRecord(int character) {
    return {character, DriverDefaultSkin(character), DriverDefaultCarId(character), 0};
}

bool IsSlot(int slot) {
    return slot >= 0 && slot < kMaxRacers;
}

} // namespace

CGameStateMan::CGameStateMan(IGameStateServices* services, CAppSettings* settings)
    : m_services(services), m_settings(settings) {
    ClearRaceSetup(m_raceSetup);
    std::fill(std::begin(m_players), std::end(m_players), SPlayerRecord{-1, -1, -1, -1});
}

CGameStateMan::~CGameStateMan() {
    StopManager();
}

int CGameStateMan::StartManager() {
    m_started = true;
    m_numPlayers = 0;
    constexpr int kHumanCharacters[4] = {10, 11, 12, 9};
    for (int i = 0; i < 4; ++i)
        m_players[i] = DefaultRecord(kHumanCharacters[i]);
    m_players[kSinglePlayerRecord] = DefaultRecord(10);
    LoadPlayerRecord();
    return 0;
}

void CGameStateMan::LoadPlayerRecord() {
    if (!m_settings)
        return;
    SPlayerRecord stored{};
    // Only a complete record is taken; a partial one is replaced by the defaults.
    if (m_settings->GetInt(kPlayerAvatar, stored.character) && m_settings->GetInt(kPlayerCar, stored.carId) &&
        m_settings->GetInt(kPlayerSkin, stored.skin) && m_settings->GetInt(kPlayerTyre, stored.tyre)) {
        m_players[kSinglePlayerRecord] = stored;
        return;
    }
    SavePlayerRecord();
}

void CGameStateMan::SavePlayerRecord() {
    if (!m_settings)
        return;
    const SPlayerRecord& record = m_players[kSinglePlayerRecord];
    m_settings->SetInt(kPlayerAvatar, record.character);
    m_settings->SetInt(kPlayerCar, record.carId);
    m_settings->SetInt(kPlayerSkin, record.skin);
    m_settings->SetInt(kPlayerTyre, record.tyre);
}

int CGameStateMan::StopManager() {
    m_started = false;
    m_state = GAMESTATE_NONE;
    m_gameMode = -1;
    m_infoCharacter = -2;
    m_numPlayers = 0;
    m_currentPlayer = 0;
    return 0;
}

bool CGameStateMan::SetState(int state) {
    if (!m_services || !m_services->HasSlideOutMan())
        return false;
    bool racing = m_state >= GAMESTATE_RACE && m_state <= GAMESTATE_LAP_OF_HONOUR;
    if (!racing && state != GAMESTATE_MESSAGE_BOX && state != GAMESTATE_OPTIONS)
        m_services->RestartIOManager();

    switch (state) {
    case GAMESTATE_MAIN:
    case GAMESTATE_MAIN2:
        m_gameMode = -1;
        ClearRaceSetup(m_raceSetup);
        break;
    case GAMESTATE_CONSTRUCT:
        if (m_state == GAMESTATE_MAIN)
            m_services->ResumeAutoSavedTrack();
        break;
    case GAMESTATE_QUIT:
        m_services->MusicOff();
        m_services->PostQuit();
        break;
    case GAMESTATE_VIDEO_THEN_MAIN:
        m_services->SetVideo(kVideoToMainScreen, GAMESTATE_MAIN);
        m_services->SetCurrentWorld(kStartUpWorld);
        m_services->SwitchPanel(-1);
        break;
    default:
        break;
    }
    if (state >= 0 && state < kStateCount) {
        const SStateScreen& screen = kStateScreens[state];
        if (screen.panel != kNone)
            m_services->SwitchPanel(screen.panel);
        if (screen.world != kNone)
            m_services->SetCurrentWorld(screen.world);
    }
    // The message box lies over the current screen; it is no state of its own.
    if (state == GAMESTATE_MESSAGE_BOX)
        return true;
    // Recorded only now: the world switch above still sees the state it comes from.
    m_previousState = m_state;
    m_state = state;
    return true;
}

void CGameStateMan::SetGameMode(int mode) {
    m_gameMode = mode;
    if (mode == -1 || mode == 5)
        m_numPlayers = 0;
    else if (mode >= 0 && mode <= 3)
        m_numPlayers = 1;
    m_currentPlayer = 0;
    ClearRaceSetup(m_raceSetup);
    if (mode >= 0 && mode <= 4)
        DefaultRaceSetup(mode, m_raceSetup);
    if (mode == 1) {
        if (m_services)
            m_raceSetup.world = m_services->GetCurrentWorldTheme();
        const SPlayerRecord& single = m_players[kSinglePlayerRecord];
        m_raceSetup.driver[0] = single.character;
        m_raceSetup.skin[0] = single.skin;
        m_raceSetup.car[0] = single.carId;
        m_raceSetup.tyre[0] = single.tyre;
    } else if (mode == 5) {
        DrawRandomSetup();
    }
}

void CGameStateMan::DrawRandomSetup() {
    int setupIndex = Random::Next() % 20;
    if (m_services)
        m_services->CopyCampaignSetup(setupIndex, m_raceSetup);
    m_raceSetup.driver[0] = 9 + Random::Next() % 4;
    m_raceSetup.racerCount = 1;
    m_raceSetup.car[0] = CarIdFromIndex(Random::Next() % 13);
    m_raceSetup.skin[0] = DriverDefaultSkin(m_raceSetup.driver[0]);
    m_raceSetup.tyre[0] = 0;
}

void CGameStateMan::NextPlayer() {
    m_currentPlayer = std::max(0, std::min(m_currentPlayer + 1, m_numPlayers - 1));
}

void CGameStateMan::PreviousPlayer() {
    m_currentPlayer = std::max(0, m_currentPlayer - 1);
}

bool CGameStateMan::GetPlayerRecord(SPlayerRecord& record, int player) const {
    if (m_gameMode == 0 || m_gameMode == 1) {
        record = m_players[kSinglePlayerRecord];
        return true;
    }
    if (m_gameMode >= 2 && m_gameMode <= 4 && IsSlot(player)) {
        record = m_players[player];
        return true;
    }
    return false;
}

bool CGameStateMan::SetPlayerRecord(const SPlayerRecord& record, int player) {
    if (m_gameMode == 0 || m_gameMode == 1) {
        m_players[kSinglePlayerRecord] = record;
        SavePlayerRecord();
        return true;
    }
    if (m_gameMode >= 2 && m_gameMode <= 4 && IsSlot(player)) {
        m_players[player] = record;
        return true;
    }
    return false;
}

bool CGameStateMan::SetRacerCharacter(int character, int slot) {
    if (!IsSlot(slot))
        return false;
    m_raceSetup.racerCount = std::max(m_raceSetup.racerCount, slot + 1);
    m_raceSetup.driver[slot] = character;
    m_raceSetup.kind[slot] = DriverClassFromIndex(character);
    m_raceSetup.car[slot] = DriverDefaultCarId(character);
    m_raceSetup.skin[slot] = -2;
    SPlayerRecord record{};
    if (m_raceSetup.kind[slot] == DRIVER_KIND_HUMAN && GetPlayerRecord(record, slot) &&
        record.character != character)
        SetPlayerRecord(DefaultRecord(character), slot);
    return true;
}

bool CGameStateMan::SetRacerChoices(int character, int carId, int skin, int tyre) {
    int found = -1;
    int racers = std::clamp(m_raceSetup.racerCount, 0, kMaxRacers);
    for (int slot = 0; slot < racers; ++slot) {
        if (m_raceSetup.driver[slot] != character)
            continue;
        bool firstUnchosen = m_raceSetup.car[slot] == -1;
        found = slot;
        if (firstUnchosen)
            break;
    }
    if (found < 0)
        return false;
    m_raceSetup.car[found] = carId;
    m_raceSetup.skin[found] = skin;
    m_raceSetup.tyre[found] = tyre;
    SetPlayerRecord({character, skin, carId, tyre}, found);
    return true;
}

int CGameStateMan::GetRacerCharacter(int slot) const {
    return IsSlot(slot) ? m_raceSetup.driver[slot] : -2;
}

bool CGameStateMan::GetRacer(int slot, int& character, int& carId, int& skin, int& tyre) const {
    if (!IsSlot(slot))
        return false;
    character = m_raceSetup.driver[slot];
    carId = m_raceSetup.car[slot];
    skin = m_raceSetup.skin[slot];
    tyre = m_raceSetup.tyre[slot];
    return true;
}

void CGameStateMan::SetTrackFile(const char* name, int directory) {
    SetRaceTrackFile(m_raceSetup, name);
    m_raceSetup.trackDirectory = directory;
}

void CGameStateMan::BuildRaceSetup(CRaceSetup& setup) {
    SetRaceTrackFile(setup, m_raceSetup.trackFile);
    setup.trackDirectory = m_raceSetup.trackDirectory;
    setup.world = m_raceSetup.world;
    switch (m_gameMode) {
    case 0:
        if (m_services)
            m_services->CopyCampaignSetup(m_services->GetCurrentCampaignNode(), m_raceSetup);
        break;
    case 1:
        if (m_services)
            m_raceSetup.world = m_services->GetCurrentWorldTheme();
        setup.world = m_raceSetup.world;
        break;
    case 2:
    case 3:
    case 4:
        setup.world = 3;
        break;
    case 5:
        DrawRandomSetup();
        break;
    default:
        break;
    }
    setup.laps = m_raceSetup.laps;
    setup.racerCount = m_raceSetup.racerCount;
    for (int i = 0; i < kMaxRacers; ++i) {
        setup.driver[i] = m_raceSetup.driver[i];
        setup.kind[i] = m_raceSetup.kind[i];
        setup.car[i] = m_raceSetup.car[i];
        setup.skin[i] = m_raceSetup.skin[i];
        setup.tyre[i] = m_raceSetup.tyre[i];
    }
}

void CGameStateMan::SetCampaignPlayerReward(int item, int value) {
    m_players[kSinglePlayerRecord].carId = CarIdFromIndex(item);
    m_players[kSinglePlayerRecord].tyre = value;
}

int CGameStateMan::GetFreeSkinMask(int racer) const {
    int mask = 1556;
    int taken = std::clamp(racer, 0, kMaxRacers);
    for (int slot = 0; slot < taken; ++slot) {
        int skin = m_raceSetup.skin[slot];
        // Skins come from the settings file; only those that name a bit of the mask count.
        if (skin >= 0 && skin < 32)
            mask &= ~static_cast<int>(1u << skin);
    }
    return mask;
}

int CGameStateMan::GetOpponentMask() {
    if (m_gameMode != 0)
        return 240;
    if (m_services)
        m_services->CopyCampaignSetup(m_services->GetCurrentCampaignNode(), m_raceSetup);
    int mask = 0;
    int racers = std::clamp(m_raceSetup.racerCount, 0, kMaxRacers);
    for (int slot = 0; slot < racers; ++slot) {
        int character = m_raceSetup.driver[slot];
        if (m_raceSetup.kind[slot] != DRIVER_KIND_HUMAN && character >= 0 && character < 31)
            mask |= 1 << character;
    }
    return mask;
}

} // namespace zentrix
