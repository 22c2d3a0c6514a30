// Taunts in a race on the sample set at effects level 2: a report about the player's car shows the
// player's face clip for the expression, with its sound, over the first plate; the monitor follows the
// race panel's picture as the panel slides away and back, and draws only inside whatever it is given.

#include "HeadlessGame.h"

#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "foundation/base/GameStates.h"
#include "frontend/VideoFile.h"
#include "frontend/VideoPlayer.h"
#include "race/Driver.h"
#include "race/RaceSlideOut.h"
#include "race/TauntEventQueue.h"
#include "race/TauntMonitor.h"
#include "race/WorldRaceMan.h"
#include "render/CompoundOverlay.h"
#include "support/FrameStamp.h"
#include "ui/SlideOutMan.h"
#include "world/CarObject.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::HeadlessGame;

namespace {

/// The car whose driver has index `driverIndex` (null: none).
CWorldObject* CarOfDriver(int driverIndex) {
    for (int slot = 0; slot < CWorldMan::kCarSlots; ++slot)
        if (auto* car = dynamic_cast<CCarObject*>(CWorldMan::GetCar(slot)))
            if (car->GetDriver() && car->GetDriver()->GetDriverIndex() == driverIndex)
                return car;
    return nullptr;
}

/// The raw pixel at (x, y) of a surface.
std::uint16_t PixelAt(plat::gfx2d::Surface& surface, int x, int y) {
    plat::gfx2d::SurfaceView view;
    if (surface.Lock(view) != plat::gfx2d::Result::Ok)
        return 0xFFFF;
    const auto* row = static_cast<const std::uint8_t*>(view.pixels) + y * view.pitch;
    const std::uint16_t pixel = reinterpret_cast<const std::uint16_t*>(row)[x];
    surface.Unlock();
    return pixel;
}

TEST(TauntRun, PlayerFaceOverThePlate) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.App().GetGameOptions()->SetOption(CGameOptions::OPTION_EFFECTS_LEVEL, 2));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN));
    ASSERT_TRUE(game.ClickControl(0));
    ASSERT_TRUE(game.Reach(GAMESTATE_MAIN2));
    ASSERT_TRUE(game.ClickControl(4));
    ASSERT_TRUE(game.Reach(GAMESTATE_RACE));

    CWorldRaceMan* race = CWorldRaceMan::GetInstance();
    ASSERT_NE(race, nullptr);
    ASSERT_TRUE(race->AreTauntsEnabled());
    CTauntMonitor* monitor = race->GetTauntMonitor();
    CTauntEventQueue* queue = race->GetTauntEventQueue();
    ASSERT_NE(monitor, nullptr);
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(game.App().GetTauntEventQueue(), queue);
    auto* panel =
        dynamic_cast<CRaceSlideOut*>(game.App().GetSlideOutMan()->FindSlideOut(CSlideOutMan::kRace));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(monitor->HasFramePicture());
    EXPECT_TRUE(monitor->IsAttached());
    EXPECT_EQ(monitor->GetTarget(), panel->GetOverlay());
    EXPECT_TRUE(queue->IsEnabled());

    // Each attach replaces the player and its surface; what they held goes with them (counted below).
    race->ResetTauntPanel();
    const int players = CVideoPlayer::LiveCount();
    const int files = CVideoFile::LiveCount();
    ASSERT_NE(monitor->GetVideoSurface(), nullptr);

    // Still in the countdown: a computer driver's brake is never shown, the player's crash is.
    CWorldObject* player = CarOfDriver(10);
    CWorldObject* computer = CarOfDriver(6);
    ASSERT_NE(player, nullptr);
    ASSERT_NE(computer, nullptr);
    ASSERT_EQ(race->GetState(), CWorldRaceMan::kNotRacing);
    race->ReportTauntEvent(computer, 3);
    EXPECT_EQ(queue->GetCount(), 0);
    race->ReportTauntEvent(player, 22);
    EXPECT_EQ(queue->GetCount(), 1);
    // The frame's taunt step takes the report; the cars' own driving reports of the tick that follows it
    // wait for the next frame.
    game.Frames(1);
    EXPECT_EQ(monitor->GetTag(), 22);
    EXPECT_EQ(monitor->GetDriver(), 10);
    EXPECT_EQ(gametest::Count(game.log, "ui " + std::to_string(CTauntMonitor::TauntSound(10, 22))), 1);
    EXPECT_EQ(CVideoFile::LiveCount(), files + 1); // the player's face video, open while the player lives

    // The face video carries each frame's number in its corner: the clip shows the expression's frames.
    const CTauntScript& script = monitor->GetScript(10);
    game.Frames(1);
    plat::gfx2d::Surface& face = *monitor->GetVideoSurface();
    const int shown = testsupport::StampedFrameNumber([&](int x, int y) { return PixelAt(face, x, y); });
    EXPECT_GE(shown, script.GetFirst(22));
    EXPECT_LT(shown, script.GetLast(22));
    game.Frames(2);
    EXPECT_TRUE(testsupport::MatchesGolden("race_taunt", game.Screen()));

    // A picture smaller than the frame: the monitor draws what fits and nothing beyond.
    {
        COverlay small(30, 20);
        ASSERT_NE(small.GetSurface(), nullptr);
        ASSERT_TRUE(small.FillRect(0xFF00FF, {0, 0, 30, 20}));
        const std::uint16_t magenta = small.ColourToPixel(0xFF00FF);
        monitor->Attach(&small);
        EXPECT_TRUE(monitor->PlayTaunt(13, 10, false, false));
        monitor->Update();
        EXPECT_NE(PixelAt(*small.GetSurface(), 0, 0), magenta);   // the frame
        EXPECT_NE(PixelAt(*small.GetSurface(), 29, 19), magenta); // the face, cut at the edge
        // What the monitor takes: every expression of a known driver, a hold only when it is new.
        const struct {
            int tag, driver;
            bool loop, hold, taken;
        } plays[] = {
            {20, 10, false, true, true},   {20, 10, false, true, false},  {4, 10, true, true, false},
            {4, 6, false, true, true},     {23, 13, false, false, false}, {23, -1, false, false, false},
            {28, 10, false, false, false}, {27, 12, true, false, true},
        };
        for (const auto& play : plays) {
            EXPECT_EQ(monitor->PlayTaunt(play.tag, play.driver, play.loop, play.hold), play.taken)
                << play.tag << "/" << play.driver;
            EXPECT_TRUE(monitor->IsBusy()); // busy from the call on, taken or not
        }
        EXPECT_EQ(monitor->GetDriver(), 12);
        race->ResetTauntPanel();
    }
    EXPECT_EQ(monitor->GetTarget(), panel->GetOverlay());
    EXPECT_EQ(CVideoPlayer::LiveCount(), players);
    EXPECT_EQ(CVideoFile::LiveCount(), files);

    // The race panel's picture goes (the panel hidden at once): the monitor lets go of it at the next
    // frame, and follows the panel's new picture when the panels are rebuilt.
    panel->Deactivate(true);
    ASSERT_EQ(panel->GetOverlay(), nullptr);
    race->ReportTauntEvent(player, 21);
    game.Frames(1);
    EXPECT_FALSE(monitor->IsAttached());
    game.App().GetSlideOutMan()->Reactivate();
    ASSERT_NE(panel->GetOverlay(), nullptr);
    EXPECT_TRUE(monitor->IsAttached());
    EXPECT_EQ(monitor->GetTarget(), panel->GetOverlay());

    // At a lower effects level the reports wait for nothing and nothing new is shown.
    ASSERT_TRUE(game.App().GetGameOptions()->SetOption(CGameOptions::OPTION_EFFECTS_LEVEL, 0));
    EXPECT_FALSE(race->AreTauntsEnabled());
    monitor->EndHold();
    race->ReportTauntEvent(player, 15);
    game.Frames(1);
    EXPECT_NE(monitor->GetTag(), 15);
}

} // namespace
