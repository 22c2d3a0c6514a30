#include "app/GameStateMan.h"
#include "app/GameStateServices.h"
#include "foundation/base/AppSettings.h"
#include "foundation/math/Random.h"
#include "platform/settings/MemoryStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

// Records every call the state machine makes on the rest of the game, in order.
class RecordingServices : public IGameStateServices {
public:
    bool HasSlideOutMan() const override { return slideOutMan; }
    void SwitchPanel(int index) override { calls.push_back("panel " + std::to_string(index)); }
    void SetVideo(int video, int next) override {
        calls.push_back("video " + std::to_string(video) + " then " + std::to_string(next));
    }
    void SetCurrentWorld(int world) override {
        calls.push_back("world " + std::to_string(world));
        if (machine)
            seenOnWorldSwitch = {machine->GetState(), machine->GetPreviousState()};
    }
    void ResumeAutoSavedTrack() override { calls.push_back("resume"); }
    void RestartIOManager() override { calls.push_back("input"); }
    void MusicOff() override { calls.push_back("music off"); }
    void PostQuit() override { calls.push_back("quit"); }
    int GetCurrentWorldTheme() const override { return theme; }
    int GetCurrentCampaignNode() const override { return 7; }
    void CopyCampaignSetup(int index, CRaceSetup& setup) override {
        calls.push_back("campaign " + std::to_string(index));
        DefaultRaceSetup(3, setup);
        setup.kind[1] = DRIVER_KIND_HUMAN;
        setup.racerCount = 4;
    }

    bool slideOutMan = true;
    int theme = 1;
    std::vector<std::string> calls;
    const CGameStateMan* machine = nullptr;
    std::pair<int, int> seenOnWorldSwitch{-100, -100};
};

class GameStateManTest : public testing::Test {
protected:
    void SetUp() override {
        services.machine = &states;
        states.StartManager();
        services.calls.clear();
    }

    // Enters `from` and forgets the calls that took.
    void Enter(int from) {
        states.SetState(from);
        services.calls.clear();
    }

    plat::settings::MemoryStore store;
    CAppSettings settings{store};
    RecordingServices services;
    CGameStateMan states{&services, &settings};
};

using Calls = std::vector<std::string>;

TEST_F(GameStateManTest, EveryStateShowsItsPanelAndWorld) {
    struct Case {
        int state;
        Calls calls; // after the input restart
        bool recorded;
    };
    const Case cases[] = {
        {0, {"panel 7", "world 4"}, true},
        {1, {"panel 8", "world 5"}, true},
        {2, {"panel 15", "world 11"}, true},
        {3, {"panel 0", "world 2"}, true},
        {4, {"panel 1", "world 2"}, true},
        {5, {"panel 2", "world 2"}, true},
        {6, {"panel 11", "world 8"}, true},
        {7, {"panel 12", "world 9"}, true},
        {8, {"panel 13", "world 7"}, true},
        {9, {"panel 9", "world 6"}, true},
        {10, {"panel 10", "world 10"}, true},
        {11, {"panel 6", "world 0"}, true},
        {12, {}, true},
        {13, {"music off", "quit"}, true},
        {14, {}, true},
        {15, {"panel 3", "world 1"}, true},
        {16, {"panel 4", "world 1"}, true},
        {17, {"panel 5", "world 6"}, true},
        {18, {"panel 14", "world 3"}, true},
        {19, {"panel 16"}, false},
        {20, {"panel 17", "world 13"}, true},
        {21, {"panel 18", "world 14"}, true},
        {22, {"video 5121 then 0", "world 14", "panel -1", "panel 17", "world 13"}, true},
        {23, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Enter(GAMESTATE_NONE14);
        Enter(GAMESTATE_NONE14);
        ASSERT_TRUE(states.SetState(c.state));
        Calls want = c.calls;
        if (c.state != GAMESTATE_OPTIONS && c.state != GAMESTATE_MESSAGE_BOX)
            want.insert(want.begin(), "input");
        EXPECT_EQ(services.calls, want);
        EXPECT_EQ(states.GetState(), c.recorded ? c.state : GAMESTATE_NONE14);
        EXPECT_EQ(states.GetPreviousState(), GAMESTATE_NONE14);
    }
}

TEST_F(GameStateManTest, InputIsRestartedExceptWithinARaceAndForOptionsOrMessageBox) {
    struct Case {
        int from;
        int to;
        bool restart;
    };
    const Case cases[] = {
        {0, 3, true},   {15, 16, false}, {16, 15, false}, {17, 15, false}, {18, 17, false},
        {14, 15, true}, {0, 2, false},   {15, 2, false},  {3, 19, false},  {21, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        Enter(c.from);
        states.SetState(c.to);
        ASSERT_FALSE(services.calls.empty());
        EXPECT_EQ(services.calls.front() == "input", c.restart);
    }
}

TEST_F(GameStateManTest, ConstructionResumesTheAutoSavedTrackOnlyFromTheMainScreen) {
    Enter(GAMESTATE_MAIN);
    states.SetState(GAMESTATE_CONSTRUCT);
    EXPECT_EQ(services.calls, (Calls{"input", "resume", "panel 0", "world 2"}));
    Enter(GAMESTATE_CONSTRUCT_LOADSAVE);
    states.SetState(GAMESTATE_CONSTRUCT);
    EXPECT_EQ(services.calls, (Calls{"input", "panel 0", "world 2"}));
}

TEST_F(GameStateManTest, TheWorldSwitchStillSeesTheStatesItComesFrom) {
    Enter(GAMESTATE_LAP_OF_HONOUR);
    Enter(GAMESTATE_RACE_END);
    states.SetState(GAMESTATE_RACE);
    EXPECT_EQ(services.seenOnWorldSwitch, std::make_pair(17, 18));
    EXPECT_EQ(states.GetState(), GAMESTATE_RACE);
    EXPECT_EQ(states.GetPreviousState(), GAMESTATE_RACE_END);
}

TEST_F(GameStateManTest, WithoutASlideOutManagerNothingChanges) {
    Enter(GAMESTATE_MAIN);
    services.slideOutMan = false;
    EXPECT_FALSE(states.SetState(GAMESTATE_OPTIONS));
    EXPECT_TRUE(services.calls.empty());
    EXPECT_EQ(states.GetState(), GAMESTATE_MAIN);

    CGameStateMan unlinked(nullptr, nullptr);
    EXPECT_FALSE(unlinked.SetState(GAMESTATE_MAIN));
    EXPECT_EQ(unlinked.GetState(), GAMESTATE_NONE);
}

TEST_F(GameStateManTest, TheMainScreensForgetTheGameModeAndRaceSetup) {
    states.SetGameMode(3);
    states.SetState(GAMESTATE_MAIN2);
    EXPECT_EQ(states.GetGameMode(), -1);
    EXPECT_EQ(states.GetRaceSetup().racerCount, 0);
    EXPECT_EQ(states.GetRaceSetup().trackFile[0], '\0');
}

TEST_F(GameStateManTest, StartWritesDefaultsWhenThePlayerRecordIsIncomplete) {
    plat::settings::MemoryStore partial;
    partial.Set("Campaign_Player_Avatar", "11");
    partial.Set("Campaign_Player_Car", "60011");
    CAppSettings partialSettings(partial);
    CGameStateMan machine(&services, &partialSettings);
    machine.StartManager();
    machine.SetGameMode(1);
    SPlayerRecord record{};
    ASSERT_TRUE(machine.GetPlayerRecord(record, 0));
    EXPECT_EQ(record, (SPlayerRecord{10, 9, 60010, 0}));
    for (auto [name, value] :
         {std::pair{"Campaign_Player_Avatar", "10"}, std::pair{"Campaign_Player_Car", "60010"},
          std::pair{"Campaign_Player_Skin", "9"}, std::pair{"Campaign_Player_Tyre", "0"}}) {
        std::string stored;
        ASSERT_TRUE(partial.Get(name, stored)) << name;
        EXPECT_EQ(stored, value) << name;
    }
}

TEST_F(GameStateManTest, StartTakesACompleteStoredPlayerRecord) {
    plat::settings::MemoryStore full;
    full.Set("Campaign_Player_Avatar", "12");
    full.Set("Campaign_Player_Car", "60004");
    full.Set("Campaign_Player_Skin", "3");
    full.Set("Campaign_Player_Tyre", "2");
    CAppSettings fullSettings(full);
    CGameStateMan machine(&services, &fullSettings);
    machine.StartManager();
    EXPECT_EQ(full.Writes(), 4) << "nothing written back";
    machine.SetGameMode(1);
    SPlayerRecord record{};
    ASSERT_TRUE(machine.GetPlayerRecord(record, 3));
    EXPECT_EQ(record, (SPlayerRecord{12, 3, 60004, 2}));
    // Test drives put the single player in the first racer slot, in the current world theme.
    const CRaceSetup& setup = machine.GetRaceSetup();
    EXPECT_EQ(setup.driver[0], 12);
    EXPECT_EQ(setup.car[0], 60004);
    EXPECT_EQ(setup.skin[0], 3);
    EXPECT_EQ(setup.tyre[0], 2);
    EXPECT_EQ(setup.world, services.theme);
    EXPECT_STREQ(setup.trackFile, "AutoSaved.trk");
}

TEST_F(GameStateManTest, InTestDrivesPlayerChoicesLandInTheSettings) {
    states.SetGameMode(1);
    ASSERT_TRUE(states.SetPlayerRecord({9, 2, 60008, 1}, 3));
    SPlayerRecord record{};
    ASSERT_TRUE(states.GetPlayerRecord(record, 0));
    EXPECT_EQ(record, (SPlayerRecord{9, 2, 60008, 1}));
    std::string car;
    ASSERT_TRUE(store.Get("Campaign_Player_Car", car));
    EXPECT_EQ(car, "60008");
}

TEST_F(GameStateManTest, PlayerRecordsRefuseModesAndPlayersWithoutOne) {
    SPlayerRecord record{1, 1, 1, 1};
    states.SetGameMode(3);
    EXPECT_FALSE(states.SetPlayerRecord(record, 4)) << "record 4 is only reached through modes 0 and 1";
    EXPECT_FALSE(states.SetPlayerRecord(record, -1));
    EXPECT_FALSE(states.GetPlayerRecord(record, 4));
    EXPECT_TRUE(states.SetPlayerRecord(record, 3));
    states.SetGameMode(-1);
    EXPECT_FALSE(states.GetPlayerRecord(record, 0));
    EXPECT_FALSE(states.SetPlayerRecord(record, 0));
}

TEST_F(GameStateManTest, ThePlayerCursorStaysWithinThePlayers) {
    states.SetGameMode(3);
    states.SetNumPlayers(3);
    states.PreviousPlayer();
    EXPECT_EQ(states.GetCurrentPlayer(), 0);
    for (int i = 0; i < 5; ++i)
        states.NextPlayer();
    EXPECT_EQ(states.GetCurrentPlayer(), 2);
    states.SetNumPlayers(0);
    states.NextPlayer();
    EXPECT_EQ(states.GetCurrentPlayer(), 0);
}

TEST_F(GameStateManTest, RacerSlotsTakeCharactersWithTheirDefaults) {
    states.SetGameMode(3);
    ASSERT_TRUE(states.SetRacerCharacter(5, 2));
    EXPECT_EQ(states.GetRaceSetup().racerCount, 3);
    int character = 0, car = 0, skin = 0, tyre = 0;
    ASSERT_TRUE(states.GetRacer(2, character, car, skin, tyre));
    EXPECT_EQ(character, 5);
    EXPECT_EQ(car, 60005);
    EXPECT_EQ(skin, -2);
    EXPECT_EQ(states.GetRaceSetup().kind[2], DRIVER_KIND_COMPUTER);
    for (int slot : {-1, 4, 100}) {
        EXPECT_FALSE(states.SetRacerCharacter(9, slot));
        EXPECT_FALSE(states.GetRacer(slot, character, car, skin, tyre));
        EXPECT_EQ(states.GetRacerCharacter(slot), -2);
    }
    EXPECT_EQ(states.GetRaceSetup().racerCount, 3);
}

TEST_F(GameStateManTest, AHumanCharacterResetsThatPlayersRecord) {
    states.SetGameMode(3);
    states.SetPlayerRecord({10, 1, 60001, 2}, 1);
    states.SetRacerCharacter(11, 1);
    SPlayerRecord record{};
    ASSERT_TRUE(states.GetPlayerRecord(record, 1));
    EXPECT_EQ(record, (SPlayerRecord{11, 4, 60011, 0}));
}

TEST_F(GameStateManTest, ChoicesGoToTheFirstUnchosenSlotOfTheCharacterElseTheLast) {
    states.SetGameMode(3);
    states.SetRacerCharacter(10, 0);
    states.SetRacerCharacter(10, 1);
    ASSERT_TRUE(states.SetRacerChoices(10, 60003, 6, 1));
    EXPECT_EQ(states.GetRaceSetup().car[1], 60003) << "both slots hold a car, so the last takes it";
    EXPECT_EQ(states.GetRaceSetup().car[0], 60010);

    // The jam truck has no default car, so its slots start unchosen and are filled in order.
    states.SetGameMode(2);
    for (int slot = 0; slot < 3; ++slot)
        states.SetRacerCharacter(-1, slot);
    for (int expected : {0, 1, 2, 2}) {
        SCOPED_TRACE(expected);
        ASSERT_TRUE(states.SetRacerChoices(-1, 60015 + expected, 0, 0));
        EXPECT_EQ(states.GetRaceSetup().car[expected], 60015 + expected);
    }
    EXPECT_FALSE(states.SetRacerChoices(3, 60000, 0, 0));
}

TEST_F(GameStateManTest, TrackFileNamesAreCutToFitAndTerminated) {
    std::string longName(400, 'x');
    states.SetTrackFile(longName.c_str(), 2);
    EXPECT_EQ(std::strlen(states.GetRaceSetup().trackFile), static_cast<std::size_t>(kTrackFileSize - 1));
    EXPECT_EQ(states.GetRaceSetup().trackDirectory, 2);
    states.SetTrackFile("short.trk", 1);
    EXPECT_STREQ(states.GetRaceSetup().trackFile, "short.trk");
}

TEST_F(GameStateManTest, BuildRaceSetupFollowsTheGameMode) {
    states.SetGameMode(3);
    CRaceSetup race{};
    states.BuildRaceSetup(race);
    EXPECT_STREQ(race.trackFile, "demo.trk");
    EXPECT_EQ(race.trackDirectory, 5);
    EXPECT_EQ(race.world, 3);
    EXPECT_EQ(race.laps, 3);
    EXPECT_EQ(race.driver[0], 10);
    EXPECT_EQ(race.car[3], 60003);

    services.theme = 2;
    states.SetGameMode(1);
    services.theme = 0;
    states.BuildRaceSetup(race);
    EXPECT_EQ(race.world, 0) << "a test drive runs in the world theme of the moment";
    EXPECT_STREQ(race.trackFile, "AutoSaved.trk");
    EXPECT_EQ(race.laps, -1);
}

TEST_F(GameStateManTest, RandomSetupDrawsFromTheGamesGenerator) {
    Random::Seed(1);
    states.SetGameMode(5);
    // The classic sequence from seed 1 is 41, 18467, 6334.
    EXPECT_EQ(services.calls, Calls{"campaign 1"});
    const CRaceSetup& setup = states.GetRaceSetup();
    EXPECT_EQ(setup.driver[0], 9 + 18467 % 4);
    EXPECT_EQ(setup.car[0], 60000 + 6334 % 13);
    EXPECT_EQ(setup.skin[0], DriverDefaultSkin(setup.driver[0]));
    EXPECT_EQ(setup.racerCount, 1);
    EXPECT_EQ(states.GetNumPlayers(), 0);
}

TEST_F(GameStateManTest, FreeSkinsLeaveOutTakenOnesAndIgnoreSkinsOutOfRange) {
    states.SetGameMode(2);
    states.SetRacerCharacter(10, 0);
    states.SetRacerCharacter(11, 1);
    states.SetRacerCharacter(12, 2);
    states.SetRacerChoices(10, 60010, 4, 0);
    states.SetRacerChoices(11, 60011, 40, 0);
    states.SetRacerChoices(12, 60001, 9, 0);
    EXPECT_EQ(states.GetFreeSkinMask(0), 1556);
    EXPECT_EQ(states.GetFreeSkinMask(1), 1556 & ~(1 << 4));
    EXPECT_EQ(states.GetFreeSkinMask(2), 1556 & ~(1 << 4)) << "skin 40 names no bit";
    EXPECT_EQ(states.GetFreeSkinMask(3), 1556 & ~(1 << 4) & ~(1 << 9));
    EXPECT_EQ(states.GetFreeSkinMask(99), states.GetFreeSkinMask(4));
}

TEST_F(GameStateManTest, OpponentsComeFromTheCampaignOnlyInModeZero) {
    states.SetGameMode(3);
    EXPECT_EQ(states.GetOpponentMask(), 240);
    states.SetGameMode(0);
    services.calls.clear();
    // The campaign double hands out the race record with slot 1 made human: opponents 7 and 4 remain.
    EXPECT_EQ(states.GetOpponentMask(), (1 << 7) | (1 << 4));
    EXPECT_EQ(services.calls, Calls{"campaign 7"});
}

} // namespace
