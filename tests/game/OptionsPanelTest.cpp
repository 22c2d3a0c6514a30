// The options panel: volumes, effects detail, screen size and the controllers' devices, as a player
// sets them, and the boxes it opens.

#include "HeadlessGame.h"

#include "app/AppParts.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "foundation/base/GameStates.h"
#include "frontend/OptionsSlideOut.h"
#include "platform/gfx2d/PixelFormat.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "render/CompoundOverlay.h"
#include "render/Overlay.h"
#include "ui/HelpPanel.h"
#include "ui/SlideOutMan.h"
#include "ui/SliderBar.h"
#include "ui/ToggleButton.h"
#include "world/WorldMan.h"

#include <gtest/gtest.h>

using namespace zentrix;
using gametest::Count;
using gametest::GameSetup;
using gametest::HeadlessGame;

namespace {

constexpr int kOptionsPanel = 15;

COptionsSlideOut* Options(HeadlessGame& game) {
    return dynamic_cast<COptionsSlideOut*>(game.App().GetSlideOutMan()->GetSlideOutByIndex(kOptionsPanel));
}

/// By the main screen to the fully shown options, with the log emptied on the way.
COptionsSlideOut* OpenOptions(HeadlessGame& game) {
    game.App().GetGameStateMan()->SetState(GAMESTATE_MAIN);
    if (!game.Reach(GAMESTATE_MAIN))
        return nullptr;
    game.log.clear();
    game.App().GetGameStateMan()->SetState(GAMESTATE_OPTIONS);
    return game.Reach(GAMESTATE_OPTIONS) ? Options(game) : nullptr;
}

std::string Stored(HeadlessGame& game, const char* name) {
    std::string value;
    game.store->Get(name, value);
    return value;
}

/// The colour of the panel's picture at panel point (x, y).
std::uint16_t PanelPixel(COptionsSlideOut& panel, int x, int y) {
    plat::gfx2d::Surface* surface = panel.GetOverlay()->GetSurface();
    plat::gfx2d::SurfaceView view;
    if (surface->Lock(view) != plat::gfx2d::Result::Ok)
        return 0;
    const std::uint16_t pixel = view.Row16(y)[x];
    surface->Unlock();
    return pixel;
}

TEST(OptionsPanel, VolumesAreWrittenAtTheFirstUpdateAndWhenASliderIsLetGo) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    COptionsSlideOut* options = OpenOptions(game);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->GetWorld(), CWorldMan::GetWorld(CWorldMan::kOptions));
    // Both as they were, without the slider's sound.
    EXPECT_EQ(Count(game.log, "volume 50"), 1);
    EXPECT_EQ(Count(game.log, "music 50"), 1);
    EXPECT_EQ(Count(game.log, "ui 51070"), 0);

    // A drag writes nothing until the slider is let go, then once with its sound.
    auto* volume = dynamic_cast<CSliderBar*>(options->FindControl(COptionsSlideOut::kVolumeSlider));
    ASSERT_NE(volume, nullptr);
    const int y = options->GetY() + volume->GetY() + 10;
    const int left = options->GetX() + volume->GetX();
    game.log.clear();
    game.window->Push({plat::window::EventKind::MouseMove, left + 20, y});
    game.window->Push({plat::window::EventKind::ButtonDown, left + 20, y});
    game.Frames(3);
    game.window->Push({plat::window::EventKind::MouseMove, left + 150, y});
    game.Frames(3);
    EXPECT_TRUE(volume->IsDragging());
    EXPECT_TRUE(game.log.empty());
    game.window->Push({plat::window::EventKind::ButtonUp, left + 150, y});
    game.Frames(3);
    EXPECT_FALSE(volume->IsDragging());
    ASSERT_EQ(game.log.size(), 2u);
    EXPECT_EQ(game.log[1], "ui 51070");
    EXPECT_EQ(game.log[0], "volume " + std::to_string(volume->GetValue()));
    EXPECT_EQ(Stored(game, "Volume"), std::to_string(volume->GetValue()));
    EXPECT_GT(volume->GetValue(), 50);
}

TEST(OptionsPanel, TheChosenTogglesShowGoldDisabledAndSilentAndOnlySixForEightyCanBeHad) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    COptionsSlideOut* options = OpenOptions(game);
    ASSERT_NE(options, nullptr);
    const std::uint16_t gold = plat::gfx2d::PackRgb565(250, 210, 60);
    const std::uint16_t blue = plat::gfx2d::PackRgb565(40, 90, 170);
    auto face = [&](int id) {
        CControl* toggle = options->FindControl(id);
        return PanelPixel(*options, toggle->GetX() + 4, toggle->GetY() + 4);
    };
    for (int level : {2, 1, 0}) {
        SCOPED_TRACE(level);
        ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kFirstEffectsToggle + level));
        game.MoveTo(600, 60);
        EXPECT_EQ(Stored(game, "EffectsLevel"), std::to_string(level));
        for (int i = 0; i < 3; ++i) {
            CControl* toggle = options->FindControl(COptionsSlideOut::kFirstEffectsToggle + i);
            EXPECT_EQ(toggle->GetState(), i == level ? CControl::kInactive : CControl::kActive);
            EXPECT_EQ(toggle->GetSound(), i == level ? -1 : CControl::kSoundToggleButton);
            EXPECT_EQ(face(COptionsSlideOut::kFirstEffectsToggle + i), i == level ? gold : blue);
        }
    }
    EXPECT_EQ(options->FindControl(COptionsSlideOut::kSmallScreenToggle)->GetState(), CControl::kInactive);
    EXPECT_EQ(face(COptionsSlideOut::kSmallScreenToggle), gold);
    ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kLargeScreenToggle));
    game.MoveTo(600, 60);
    EXPECT_FALSE(dynamic_cast<CToggleButton*>(options->FindControl(COptionsSlideOut::kLargeScreenToggle))
                     ->IsChecked());
    EXPECT_EQ(face(COptionsSlideOut::kLargeScreenToggle), blue);
    EXPECT_EQ(face(COptionsSlideOut::kSmallScreenToggle), gold);
}

TEST(OptionsPanel, SharedDevicesAreMarkedAndKeepThePlayerInTheOptions) {
    HeadlessGame game;
    ASSERT_TRUE(game.Start());
    COptionsSlideOut* options = OpenOptions(game);
    ASSERT_NE(options, nullptr);
    CIOManager* input = game.App().GetIOManager();
    ASSERT_EQ(input->GetNumInputDevices(), 4);
    EXPECT_EQ(options->GetControllerCount(), 4);
    EXPECT_FALSE(options->HasConflict());

    // Controller 1 moves from keyboard 1 to keyboard 2, which controller 2 has.
    ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kFirstDeviceButton));
    EXPECT_EQ(input->GetControllerDevice(0), 2);
    EXPECT_EQ(Stored(game, "Controller1"), "2");
    game.Frames(1);
    EXPECT_TRUE(options->HasConflict());
    EXPECT_TRUE(options->IsMarked(0));
    EXPECT_TRUE(options->IsMarked(1));
    EXPECT_FALSE(options->IsMarked(2));
    // The shared-device mark is drawn over the button's edge.
    CControl* button = options->FindControl(COptionsSlideOut::kFirstDeviceButton);
    game.MoveTo(600, 60);
    EXPECT_EQ(PanelPixel(*options, button->GetX() + 1, button->GetY() + 1),
              plat::gfx2d::PackRgb565(220, 40, 40));

    // Back shows the conflict box instead, once until it is answered.
    options->OnControl(COptionsSlideOut::kBackButton);
    options->OnControl(COptionsSlideOut::kBackButton);
    EXPECT_TRUE(options->IsConflictBoxOpen());
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
    EXPECT_EQ(game.App().GetSlideOutMan()->GetSlideOutByIndex(CSlideOutMan::kMessageBox)->GetSoundId(), -1);
    ASSERT_TRUE(game.ClickControl(1));
    ASSERT_TRUE(game.ReachPanel(kOptionsPanel));
    EXPECT_FALSE(options->IsConflictBoxOpen());
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_OPTIONS);
    ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kBackButton));
    EXPECT_TRUE(options->IsConflictBoxOpen()) << "again after the answer";
    ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
    ASSERT_TRUE(game.ClickControl(1));
    ASSERT_TRUE(game.ReachPanel(kOptionsPanel));

    // On round: keyboard 3, then past the last device back to the mouse, then keyboard 1 again.
    for (int expected : {3, 0, 1}) {
        ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kFirstDeviceButton));
        EXPECT_EQ(input->GetControllerDevice(0), expected);
    }
    game.Frames(1);
    EXPECT_FALSE(options->HasConflict());
    ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kBackButton));
    EXPECT_EQ(game.App().GetGameStateMan()->GetState(), GAMESTATE_MAIN);
}

TEST(OptionsPanel, ControllersBeyondTheDevicesAreDisabledAndShowTheBasePicture) {
    HeadlessGame game;
    game.input.Detach(plat::input::kSystemKeyboard);
    ASSERT_TRUE(game.Start());
    COptionsSlideOut* options = OpenOptions(game);
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(game.App().GetIOManager()->GetNumInputDevices(), 3);
    EXPECT_EQ(options->GetControllerCount(), 3);
    game.MoveTo(600, 60);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        CControl* button = options->FindControl(COptionsSlideOut::kFirstDeviceButton + i);
        EXPECT_EQ(button->GetState(), i < 3 ? CControl::kActive : CControl::kInactive);
        // Inside the border: the face of a device picture, or the grey of the base.
        EXPECT_EQ(PanelPixel(*options, button->GetX() + 4, button->GetY() + 4),
                  i < 3 ? plat::gfx2d::PackRgb565(40, 90, 170) : plat::gfx2d::PackRgb565(50, 55, 70));
    }
}

TEST(OptionsPanel, TheFallBackNoticeShowsOnceAndOnlyAfterAFallBack) {
    for (bool fallBack : {false, true}) {
        SCOPED_TRACE(fallBack);
        GameSetup setup;
        setup.failFirstDevice = fallBack;
        HeadlessGame game(setup);
        ASSERT_TRUE(game.Start());
        ASSERT_EQ(game.App().HasVideoModeFallenBack(), fallBack);
        COptionsSlideOut* options = OpenOptions(game);
        ASSERT_NE(options, nullptr);
        game.Frames(1);
        EXPECT_EQ(options->IsFallBackBoxOpen(), fallBack);
        if (fallBack) {
            ASSERT_TRUE(game.ReachPanel(CSlideOutMan::kMessageBox));
            ASSERT_TRUE(game.ClickControl(1));
            ASSERT_TRUE(game.ReachPanel(kOptionsPanel));
            EXPECT_FALSE(options->IsFallBackBoxOpen());
        }
        // Not again at the next visit.
        ASSERT_NE(OpenOptions(game), nullptr);
        game.Frames(1);
        EXPECT_FALSE(options->IsFallBackBoxOpen());
        EXPECT_EQ(game.App().GetSlideOutMan()->GetCurrentSlideOutId(), kOptionsPanel);
    }
}

TEST(OptionsPanel, AfterARelaunchTheFirstShowingSpeaksNoHelpAndTheHelpCharacterWaitsForTheMainScreen) {
    GameSetup setup;
    setup.commandLine = " RESTART";
    HeadlessGame game(setup);
    game.store->Set("HelpOnBeforeRestart", "1"); // help was on before the relaunch
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.Reach(GAMESTATE_OPTIONS));
    COptionsSlideOut* options = Options(game);
    EXPECT_EQ(options->GetHelpId(), -1);
    EXPECT_EQ(Count(game.log, "help 57300"), 0);
    // The help character waits for the main screen: its window in the help corner shows the colour key.
    auto characterShows = [&] {
        game.Frames(2);
        plat::gfx2d::Surface* picture = game.App().GetParts().GetHelpPanel()->GetOverlay()->GetSurface();
        plat::gfx2d::SurfaceView view;
        picture->Lock(view);
        const std::uint16_t pixel = view.Row16(7)[23];
        picture->Unlock();
        return pixel != plat::gfx2d::PackRgb565(255, 0, 255);
    };
    EXPECT_FALSE(characterShows());
    ASSERT_TRUE(game.ClickControl(COptionsSlideOut::kBackButton));
    ASSERT_NE(OpenOptions(game), nullptr);
    EXPECT_EQ(options->GetHelpId(), COptionsSlideOut::kHelpItem);
    EXPECT_EQ(Count(game.log, "help 57300"), 1);
    EXPECT_EQ(options->GetActivationCount(), 2);
    EXPECT_TRUE(characterShows()) << "the main screen came between";
}

} // namespace
