// The panels over the race, in the headless game on the sample set: the pause menu's buttons and keys,
// the race-end choice, and the lap of honour that the world switch sets up from the race's winner.
// Race frames draw the 3D view and cost time, so each case runs as few of them as it needs.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "foundation/base/Message.h"
#include "frontend/LapOfHonourSlideOut.h"
#include "frontend/RaceEndOptionsSlideOut.h"
#include "frontend/RaceOptionsSlideOut.h"
#include "race/CampaignMan.h"
#include "race/Driver.h"
#include "race/RaceResultsMan.h"
#include "race/TauntMonitor.h"
#include "race/WorldRaceMan.h"
#include "render/CompoundOverlay.h"
#include "render/EngineMan.h"
#include "ui/SlideOutMan.h"
#include "ui/TextBoxControl.h"
#include "world/CarObject.h"

#include <gtest/gtest.h>

#include <string>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

constexpr int kRaceOptionsPanel = 4;
constexpr int kRaceEndPanel = 5;
constexpr int kLapOfHonourPanel = 14;

gametest::GameSetup LongFrames() {
    gametest::GameSetup setup;
    setup.frameMs = 190;
    return setup;
}

template <typename Panel> Panel* PanelAt(HeadlessGame& game, int index) {
    return dynamic_cast<Panel*>(game.App().GetSlideOutMan()->GetSlideOutByIndex(index));
}

/// The race of the second main screen, set up (its track, cars and drivers) but not yet run.
CWorldRaceMan* SetUpRace(HeadlessGame& game) {
    CGameStateMan* states = game.App().GetGameStateMan();
    states->SetGameMode(CWorldRaceMan::kRaceMode);
    states->SetState(GAMESTATE_RACE);
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    return race && race->HasStarted() ? race : nullptr;
}

/// The race set up and let go at once, as the start light lets it go, before the intro camera moves.
CWorldRaceMan* StartRacing(HeadlessGame& game) {
    CWorldRaceMan* race = SetUpRace(game);
    if (!race)
        return nullptr;
    game.Frames(5);
    race->StartRacing();
    return race->GetState() == CWorldRaceMan::kRacing ? race : nullptr;
}

/// Takes every queued hide-pointer message.
void DrainHides(CEventMan& events) {
    while (events.FindMessage(VORNMSG_HIDE_POINTER, nullptr, true)) {
    }
}

std::string AssetText(HeadlessGame& game, int id) {
    std::vector<std::uint8_t> bytes;
    if (!game.App().GetAssetMan()->GetAssetData(id, bytes))
        return {};
    return std::string(bytes.begin(), bytes.end());
}

TEST(RaceOptionsPanel, EachButtonResumesWithItsRequest) {
    HeadlessGame game(LongFrames());
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    CGameStateMan* states = game.App().GetGameStateMan();
    CEventMan* events = game.App().GetEventMan();
    CCampaignMan* campaign = game.App().GetCampaignMan();
    ASSERT_NE(campaign, nullptr);
    auto* panel = PanelAt<CRaceOptionsSlideOut>(game, kRaceOptionsPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetRaceWorld(), CWorldRaceMan::GetInstance());

    const struct {
        int control;
        int state;        ///< game state afterwards
        int request;      ///< the race world's leave request afterwards
        int raceState;    ///< the race state afterwards (the state it was paused in: the countdown's)
        unsigned hides;   ///< hide-pointer messages posted
        int campaignNode; ///< the current campaign node afterwards (0 before)
    } cases[] = {
        {7, GAMESTATE_RACE_OPTIONS, -1, CWorldRaceMan::kPaused, 0, 0},
        {-1, GAMESTATE_RACE_OPTIONS, -1, CWorldRaceMan::kPaused, 0, 0},
        {CRaceOptionsSlideOut::kRestartButton, GAMESTATE_RACE, 0, CWorldRaceMan::kNotRacing, 1, 0},
        {CRaceOptionsSlideOut::kLeaveButton, GAMESTATE_RACE, 1, CWorldRaceMan::kNotRacing, 1, -1},
        {CRaceOptionsSlideOut::kResumeButton, GAMESTATE_RACE, -1, CWorldRaceMan::kNotRacing, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        // Back on the second main screen until the menu has slid away, then a race paused in its countdown.
        states->SetState(GAMESTATE_MAIN2);
        ASSERT_TRUE(game.RunUntil([&] { return panel->GetState() == CSlideOut::kHiddenState; }, 40));
        CWorldRaceMan* race = SetUpRace(game);
        ASSERT_NE(race, nullptr);
        while (events->FindMessage(VORNMSG_SHOW_POINTER, nullptr, true)) {
        }
        race->RequestPause();
        ASSERT_EQ(states->GetState(), GAMESTATE_RACE_OPTIONS);
        ASSERT_EQ(race->GetState(), CWorldRaceMan::kPaused);
        EXPECT_EQ(events->GetPendingCount(VORNMSG_SHOW_POINTER), 1u) << "the menu shows the pointer";
        campaign->SetCurrentNode(0);
        ASSERT_EQ(campaign->GetCurrentNode(), 0);
        DrainHides(*events);

        panel->OnControl(c.control);
        EXPECT_EQ(states->GetState(), c.state);
        EXPECT_EQ(race->GetLeaveRequest(), c.request);
        EXPECT_EQ(race->GetState(), c.raceState);
        EXPECT_EQ(events->GetPendingCount(VORNMSG_HIDE_POINTER), c.hides);
        EXPECT_EQ(campaign->GetCurrentNode(), c.campaignNode);
        if (race->IsPaused())
            race->SetPaused(false);
    }
}

TEST(RaceOptionsPanel, EscapeAndSpaceResumeOnlyOnceThePanelIsShown) {
    HeadlessGame game(LongFrames());
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    CGameStateMan* states = game.App().GetGameStateMan();
    auto* panel = PanelAt<CRaceOptionsSlideOut>(game, kRaceOptionsPanel);
    ASSERT_NE(panel, nullptr);
    CWorldRaceMan* race = SetUpRace(game);
    ASSERT_NE(race, nullptr);
    race->RequestPause();
    // In order: while the menu slides in, then once it is shown.
    const struct {
        bool shown;
        int character;
        bool resumes;
    } cases[] = {{false, 27, false}, {false, 32, false}, {true, 'a', false},
                 {true, 13, false},  {true, 'q', false}, {true, 27, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.character);
        if (c.shown)
            ASSERT_TRUE(game.ReachPanel(kRaceOptionsPanel));
        else
            ASSERT_EQ(panel->GetState(), CSlideOut::kSlidingIn);
        panel->OnChar(c.character);
        EXPECT_EQ(states->GetState(), c.resumes ? GAMESTATE_RACE : GAMESTATE_RACE_OPTIONS);
        EXPECT_EQ(race->GetState(), c.resumes ? CWorldRaceMan::kNotRacing : CWorldRaceMan::kPaused);
    }
}

TEST(RaceEndPanel, RaceAgainOrBackByTheGameMode) {
    HeadlessGame game(LongFrames());
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    CGameStateMan* states = game.App().GetGameStateMan();
    CEventMan* events = game.App().GetEventMan();
    auto* panel = PanelAt<CRaceEndOptionsSlideOut>(game, kRaceEndPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetRaceWorld(), CWorldRaceMan::GetInstance());
    const struct {
        int mode;
        int control;
        int next;       ///< game state afterwards
        int world;      ///< current world afterwards
        unsigned hides; ///< hide-pointer messages queued afterwards
    } cases[] = {
        {CWorldRaceMan::kRaceMode, 0, GAMESTATE_RACE_END, CWorldMan::kPreRace, 0},
        {CWorldRaceMan::kRaceMode, 3, GAMESTATE_RACE_END, CWorldMan::kPreRace, 0},
        // The switch to the second main screen empties the queue; the panel's message follows it.
        {CWorldRaceMan::kRaceMode, CRaceEndOptionsSlideOut::kLeaveButton, GAMESTATE_MAIN2,
         CWorldMan::kMainScreen2, 1},
        // A mode that never ends here has no screen to go back to.
        {CWorldRaceMan::kTestDriveMode, CRaceEndOptionsSlideOut::kLeaveButton, GAMESTATE_RACE_END,
         CWorldMan::kPreRace, 1},
        // The race's start hides the pointer too.
        {CWorldRaceMan::kRaceMode, CRaceEndOptionsSlideOut::kRaceAgainButton, GAMESTATE_RACE,
         CWorldMan::kRace, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        SCOPED_TRACE(c.mode);
        states->SetGameMode(c.mode);
        states->SetState(GAMESTATE_RACE_END);
        ASSERT_TRUE(game.Reach(GAMESTATE_RACE_END));
        EXPECT_TRUE(game.App().GetEngineMan()->IsPointerVisible());
        DrainHides(*events);
        panel->OnControl(c.control);
        EXPECT_EQ(states->GetState(), c.next);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), c.world);
        EXPECT_EQ(events->GetPendingCount(VORNMSG_HIDE_POINTER), c.hides);
    }
    // Race again runs the same set-up: the demo track with its four racers.
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    EXPECT_EQ(race->GetCarCount(), 4);
    EXPECT_STREQ(race->GetRaceSetup().trackFile, "demo.trk");
}

TEST(LapOfHonour, TheWinnerAloneComputerDrivenWithoutALapLimit) {
    HeadlessGame game(LongFrames());
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    CWorldRaceMan* race = StartRacing(game);
    ASSERT_NE(race, nullptr);
    const std::uint32_t seed = CWorldMan::GetRaceSeed();
    const CRaceSetup raceSetup = CWorldMan::GetSavedRaceSetup();
    auto* panel = PanelAt<CLapOfHonourSlideOut>(game, kLapOfHonourPanel);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetWinner(), CLapOfHonourSlideOut::kNoWinner);

    // The race ends as the results board ends it: the list names the winner, the results hand over.
    race->GetResults()->GetResultList();
    const CRaceResultsMan::SWinner winner = race->GetResults()->GetWinner();
    ASSERT_GE(winner.driver, 0);
    ASSERT_LE(winner.driver, 12);
    race->OnRaceFinished();
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_LAP_OF_HONOUR);
    EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kLapOfHonour);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kRaceOver);
    EXPECT_EQ(CWorldMan::GetRaceSeed(), seed);

    // The rewritten copy: the winner in the first entry, computer-driven, the rest empty, no lap limit.
    const CRaceSetup& lap = race->GetRaceSetup();
    const int first[] = {lap.driver[0], lap.kind[0], lap.car[0], lap.skin[0], lap.tyre[0]};
    const int expected[] = {winner.driver, DRIVER_KIND_COMPUTER, winner.car, winner.skin, winner.tyre};
    for (int field = 0; field < 5; ++field)
        EXPECT_EQ(first[field], expected[field]) << field;
    for (int i = 1; i < kMaxRacers; ++i) {
        SCOPED_TRACE(i);
        const int rest[] = {lap.driver[i], lap.kind[i], lap.car[i], lap.skin[i], lap.tyre[i]};
        const int cleared[] = {-2, -1, -1, -1, -1};
        for (int field = 0; field < 5; ++field)
            EXPECT_EQ(rest[field], cleared[field]) << field;
    }
    EXPECT_STREQ(lap.trackFile, raceSetup.trackFile);
    EXPECT_EQ(CWorldMan::GetSavedRaceSetup().driver[1], raceSetup.driver[1]) << "the race keeps its set-up";
    EXPECT_EQ(race->GetResults()->GetLaps(), -1);

    // One car on the track: the winner's model, driven by a computer driver.
    EXPECT_EQ(race->GetCarCount(), 1);
    EXPECT_EQ(race->GetHumanCount(), 0);
    auto* car = dynamic_cast<CCarObject*>(CWorldMan::GetCar(0));
    ASSERT_NE(car, nullptr);
    EXPECT_EQ(car->GetTypeId(), winner.car);
    ASSERT_NE(car->GetDriver(), nullptr);
    EXPECT_EQ(car->GetDriver()->GetKind(), DRIVER_KIND_COMPUTER);
    EXPECT_EQ(car->GetDriver()->GetDriverIndex(), winner.driver);
    for (int slot = 1; slot < 5; ++slot)
        EXPECT_EQ(CWorldMan::GetCar(slot), nullptr) << slot;

    // The panel names the winner under its heading.
    EXPECT_EQ(panel->GetWinner(), winner.driver);
    auto* heading = dynamic_cast<CTextBoxControl*>(panel->FindControl(CLapOfHonourSlideOut::kHeadingText));
    auto* name = dynamic_cast<CTextBoxControl*>(panel->FindControl(CLapOfHonourSlideOut::kWinnerText));
    ASSERT_NE(heading, nullptr);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(name->GetText(), nullptr);
    EXPECT_EQ(name->GetText(), AssetText(game, 7000 + winner.driver));
    ASSERT_NE(heading->GetText(), nullptr);
    EXPECT_EQ(heading->GetText(), AssetText(game, 7980));

    // A picture made afresh (as when the game window comes back) takes the taunt monitor along.
    ASSERT_NE(race->GetTauntMonitor(), nullptr);
    panel->CreateOverlay();
    ASSERT_NE(panel->GetOverlay(), nullptr);
    EXPECT_EQ(race->GetTauntMonitor()->GetTarget(), static_cast<COverlay*>(panel->GetOverlay()));

    // No lap ends it: past its countdown the car is let go and drives off, and the results never see a
    // finish.
    const CVector start = car->Position();
    ASSERT_TRUE(game.RunUntil([&] { return race->GetCountdown() <= 0; }, 40));
    EXPECT_TRUE(car->GetDriver()->IsActive());
    game.Frames(10);
    EXPECT_GT((car->Position() - start).Length(), 5.0f);
    EXPECT_EQ(race->GetState(), CWorldRaceMan::kRaceOver);
    EXPECT_EQ(race->GetResults()->GetFinisherCount(), 0);
    EXPECT_FALSE(race->GetResults()->IsRaceOver());
    game.App().GetEventMan()->SetKeyMessage(32);
    game.Frames(1);
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_RACE_END);
    EXPECT_EQ(panel->GetWinner(), CLapOfHonourSlideOut::kNoWinner);
}

TEST(LapOfHonour, TheSetUpKeepsTheWinnerAloneAndNoLapLimit) {
    HeadlessGame game(LongFrames());
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    auto* panel = PanelAt<CLapOfHonourSlideOut>(game, kLapOfHonourPanel);
    ASSERT_NE(panel, nullptr);
    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    // The race world before any race: its winner record names nobody.
    auto* heading = dynamic_cast<CTextBoxControl*>(panel->FindControl(CLapOfHonourSlideOut::kHeadingText));
    auto* name = dynamic_cast<CTextBoxControl*>(panel->FindControl(CLapOfHonourSlideOut::kWinnerText));
    ASSERT_NE(heading, nullptr);
    ASSERT_NE(name, nullptr);
    ASSERT_TRUE(name->SetText("the last winner"));
    CRaceSetup setup{};
    DefaultRaceSetup(CWorldRaceMan::kRaceMode, setup);
    const CRaceSetup before = setup;
    panel->FillRaceSetup(setup);
    EXPECT_TRUE(race->IsRaceOver());
    EXPECT_EQ(setup.laps, -1);
    const int expected[kMaxRacers][5] = {
        {CRaceResultsMan::kNoWinner, DRIVER_KIND_COMPUTER, -1, -1, -1},
        {-2, -1, -1, -1, -1},
        {-2, -1, -1, -1, -1},
        {-2, -1, -1, -1, -1},
    };
    for (int i = 0; i < kMaxRacers; ++i) {
        const int entry[] = {setup.driver[i], setup.kind[i], setup.car[i], setup.skin[i], setup.tyre[i]};
        for (int field = 0; field < 5; ++field)
            EXPECT_EQ(entry[field], expected[i][field]) << i << " " << field;
    }
    // The rest of the race stays: track, folder, world and the racer count.
    EXPECT_STREQ(setup.trackFile, before.trackFile);
    EXPECT_EQ(setup.trackDirectory, before.trackDirectory);
    EXPECT_EQ(setup.world, before.world);
    EXPECT_EQ(setup.racerCount, before.racerCount);
    // Nobody to name (text 7013 would be some other text, or none): no name, not the last one; the heading
    // all the same.
    EXPECT_EQ(name->GetText(), nullptr);
    ASSERT_NE(heading->GetText(), nullptr);
    EXPECT_EQ(heading->GetText(), AssetText(game, 7980));
    EXPECT_EQ(panel->GetWinner(), CRaceResultsMan::kNoWinner);
    // Only shown panels forget their winner.
    panel->Deactivate(true);
    EXPECT_EQ(panel->GetWinner(), CRaceResultsMan::kNoWinner);
}

} // namespace
