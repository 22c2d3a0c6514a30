#include "app/GameStateMan.h"

#include "foundation/base/AppSettings.h"
#include "app/GameStateServices.h"
#include "foundation/math/Random.h"

#include <algorithm>

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
    : m_pServices(services), m_pSettings(settings) {
    ClearRaceSetup(m_RaceSetup);
    std::fill(std::begin(m_Players), std::end(m_Players), SPlayerRecord{-1, -1, -1, -1});
}

CGameStateMan::~CGameStateMan() {
    StopManager();
}

int CGameStateMan::StartManager() {
    m_bStarted = true;
    m_nNumPlayers = 0;
    constexpr int kHumanCharacters[4] = {10, 11, 12, 9};
    for (int i = 0; i < 4; ++i)
        m_Players[i] = DefaultRecord(kHumanCharacters[i]);
    m_Players[kSinglePlayerRecord] = DefaultRecord(10);
    LoadPlayerRecord();
    return 0;
}

void CGameStateMan::LoadPlayerRecord() {
    if (!m_pSettings)
        return;
    SPlayerRecord stored{};
    // Only a complete record is taken; a partial one is replaced by the defaults.
    if (m_pSettings->GetInt(kPlayerAvatar, stored.character) &&
        m_pSettings->GetInt(kPlayerCar, stored.carId) && m_pSettings->GetInt(kPlayerSkin, stored.skin) &&
        m_pSettings->GetInt(kPlayerTyre, stored.tyre)) {
        m_Players[kSinglePlayerRecord] = stored;
        return;
    }
    SavePlayerRecord();
}

void CGameStateMan::SavePlayerRecord() {
    if (!m_pSettings)
        return;
    const SPlayerRecord& record = m_Players[kSinglePlayerRecord];
    m_pSettings->SetInt(kPlayerAvatar, record.character);
    m_pSettings->SetInt(kPlayerCar, record.carId);
    m_pSettings->SetInt(kPlayerSkin, record.skin);
    m_pSettings->SetInt(kPlayerTyre, record.tyre);
}

int CGameStateMan::StopManager() {
    m_bStarted = false;
    m_nState = GAMESTATE_NONE;
    m_nGameMode = -1;
    m_nInfoCharacter = -2;
    m_nNumPlayers = 0;
    m_nCurrentPlayer = 0;
    return 0;
}

bool CGameStateMan::SetState(int state) {
    if (!m_pServices || !m_pServices->HasSlideOutMan())
        return false;
    bool racing = m_nState >= GAMESTATE_RACE && m_nState <= GAMESTATE_LAP_OF_HONOUR;
    if (!racing && state != GAMESTATE_MESSAGE_BOX && state != GAMESTATE_OPTIONS)
        m_pServices->RestartIOManager();

    switch (state) {
    case GAMESTATE_MAIN:
    case GAMESTATE_MAIN2:
        m_nGameMode = -1;
        ClearRaceSetup(m_RaceSetup);
        break;
    case GAMESTATE_CONSTRUCT:
        if (m_nState == GAMESTATE_MAIN)
            m_pServices->ResumeAutoSavedTrack();
        break;
    case GAMESTATE_QUIT:
        m_pServices->MusicOff();
        m_pServices->PostQuit();
        break;
    case GAMESTATE_VIDEO_THEN_MAIN:
        m_pServices->SetVideo(kVideoToMainScreen, GAMESTATE_MAIN);
        m_pServices->SetCurrentWorld(kStartUpWorld);
        m_pServices->SwitchPanel(-1);
        break;
    default:
        break;
    }
    if (state >= 0 && state < kStateCount) {
        const SStateScreen& screen = kStateScreens[state];
        if (screen.panel != kNone)
            m_pServices->SwitchPanel(screen.panel);
        if (screen.world != kNone)
            m_pServices->SetCurrentWorld(screen.world);
    }
    // The message box lies over the current screen; it is no state of its own.
    if (state == GAMESTATE_MESSAGE_BOX)
        return true;
    // Recorded only now: the world switch above still sees the state it comes from.
    m_nPreviousState = m_nState;
    m_nState = state;
    return true;
}

void CGameStateMan::SetGameMode(int mode) {
    m_nGameMode = mode;
    if (mode == -1 || mode == 5)
        m_nNumPlayers = 0;
    else if (mode >= 0 && mode <= 3)
        m_nNumPlayers = 1;
    m_nCurrentPlayer = 0;
    ClearRaceSetup(m_RaceSetup);
    if (mode >= 0 && mode <= 4)
        DefaultRaceSetup(mode, m_RaceSetup);
    if (mode == 1) {
        if (m_pServices)
            m_RaceSetup.world = m_pServices->GetCurrentWorldTheme();
        const SPlayerRecord& single = m_Players[kSinglePlayerRecord];
        m_RaceSetup.driver[0] = single.character;
        m_RaceSetup.skin[0] = single.skin;
        m_RaceSetup.car[0] = single.carId;
        m_RaceSetup.tyre[0] = single.tyre;
    } else if (mode == 5) {
        DrawRandomSetup();
    }
}

void CGameStateMan::DrawRandomSetup() {
    int setupIndex = Random::Next() % 20;
    if (m_pServices)
        m_pServices->CopyCampaignSetup(setupIndex, m_RaceSetup);
    m_RaceSetup.driver[0] = 9 + Random::Next() % 4;
    m_RaceSetup.racerCount = 1;
    m_RaceSetup.car[0] = CarIdFromIndex(Random::Next() % 13);
    m_RaceSetup.skin[0] = DriverDefaultSkin(m_RaceSetup.driver[0]);
    m_RaceSetup.tyre[0] = 0;
}

void CGameStateMan::NextPlayer() {
    m_nCurrentPlayer = std::max(0, std::min(m_nCurrentPlayer + 1, m_nNumPlayers - 1));
}

void CGameStateMan::PreviousPlayer() {
    m_nCurrentPlayer = std::max(0, m_nCurrentPlayer - 1);
}

bool CGameStateMan::GetPlayerRecord(SPlayerRecord& record, int player) const {
    if (m_nGameMode == 0 || m_nGameMode == 1) {
        record = m_Players[kSinglePlayerRecord];
        return true;
    }
    if (m_nGameMode >= 2 && m_nGameMode <= 4 && IsSlot(player)) {
        record = m_Players[player];
        return true;
    }
    return false;
}

bool CGameStateMan::SetPlayerRecord(const SPlayerRecord& record, int player) {
    if (m_nGameMode == 0 || m_nGameMode == 1) {
        m_Players[kSinglePlayerRecord] = record;
        SavePlayerRecord();
        return true;
    }
    if (m_nGameMode >= 2 && m_nGameMode <= 4 && IsSlot(player)) {
        m_Players[player] = record;
        return true;
    }
    return false;
}

bool CGameStateMan::SetRacerCharacter(int character, int slot) {
    if (!IsSlot(slot))
        return false;
    m_RaceSetup.racerCount = std::max(m_RaceSetup.racerCount, slot + 1);
    m_RaceSetup.driver[slot] = character;
    m_RaceSetup.kind[slot] = DriverClassFromIndex(character);
    m_RaceSetup.car[slot] = DriverDefaultCarId(character);
    m_RaceSetup.skin[slot] = -2;
    SPlayerRecord record{};
    if (m_RaceSetup.kind[slot] == DRIVER_KIND_HUMAN && GetPlayerRecord(record, slot) &&
        record.character != character)
        SetPlayerRecord(DefaultRecord(character), slot);
    return true;
}

bool CGameStateMan::SetRacerChoices(int character, int carId, int skin, int tyre) {
    int found = -1;
    int racers = std::clamp(m_RaceSetup.racerCount, 0, kMaxRacers);
    for (int slot = 0; slot < racers; ++slot) {
        if (m_RaceSetup.driver[slot] != character)
            continue;
        bool firstUnchosen = m_RaceSetup.car[slot] == -1;
        found = slot;
        if (firstUnchosen)
            break;
    }
    if (found < 0)
        return false;
    m_RaceSetup.car[found] = carId;
    m_RaceSetup.skin[found] = skin;
    m_RaceSetup.tyre[found] = tyre;
    SetPlayerRecord({character, skin, carId, tyre}, found);
    return true;
}

int CGameStateMan::GetRacerCharacter(int slot) const {
    return IsSlot(slot) ? m_RaceSetup.driver[slot] : -2;
}

bool CGameStateMan::GetRacer(int slot, int& character, int& carId, int& skin, int& tyre) const {
    if (!IsSlot(slot))
        return false;
    character = m_RaceSetup.driver[slot];
    carId = m_RaceSetup.car[slot];
    skin = m_RaceSetup.skin[slot];
    tyre = m_RaceSetup.tyre[slot];
    return true;
}

void CGameStateMan::SetTrackFile(const char* name, int directory) {
    SetRaceTrackFile(m_RaceSetup, name);
    m_RaceSetup.trackDirectory = directory;
}

void CGameStateMan::BuildRaceSetup(CRaceSetup& setup) {
    SetRaceTrackFile(setup, m_RaceSetup.trackFile);
    setup.trackDirectory = m_RaceSetup.trackDirectory;
    setup.world = m_RaceSetup.world;
    switch (m_nGameMode) {
    case 0:
        if (m_pServices)
            m_pServices->CopyCampaignSetup(m_pServices->GetCurrentCampaignNode(), m_RaceSetup);
        break;
    case 1:
        if (m_pServices)
            m_RaceSetup.world = m_pServices->GetCurrentWorldTheme();
        setup.world = m_RaceSetup.world;
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
    setup.laps = m_RaceSetup.laps;
    setup.racerCount = m_RaceSetup.racerCount;
    for (int i = 0; i < kMaxRacers; ++i) {
        setup.driver[i] = m_RaceSetup.driver[i];
        setup.kind[i] = m_RaceSetup.kind[i];
        setup.car[i] = m_RaceSetup.car[i];
        setup.skin[i] = m_RaceSetup.skin[i];
        setup.tyre[i] = m_RaceSetup.tyre[i];
    }
}

void CGameStateMan::SetCampaignPlayerReward(int item, int value) {
    m_Players[kSinglePlayerRecord].carId = CarIdFromIndex(item);
    m_Players[kSinglePlayerRecord].tyre = value;
}

int CGameStateMan::GetFreeSkinMask(int racer) const {
    int mask = 1556;
    int taken = std::clamp(racer, 0, kMaxRacers);
    for (int slot = 0; slot < taken; ++slot) {
        int skin = m_RaceSetup.skin[slot];
        // Skins come from the settings file; only those that name a bit of the mask count.
        if (skin >= 0 && skin < 32)
            mask &= ~static_cast<int>(1u << skin);
    }
    return mask;
}

int CGameStateMan::GetOpponentMask() {
    if (m_nGameMode != 0)
        return 240;
    if (m_pServices)
        m_pServices->CopyCampaignSetup(m_pServices->GetCurrentCampaignNode(), m_RaceSetup);
    int mask = 0;
    int racers = std::clamp(m_RaceSetup.racerCount, 0, kMaxRacers);
    for (int slot = 0; slot < racers; ++slot) {
        int character = m_RaceSetup.driver[slot];
        if (m_RaceSetup.kind[slot] != DRIVER_KIND_HUMAN && character >= 0 && character < 31)
            mask |= 1 << character;
    }
    return mask;
}
