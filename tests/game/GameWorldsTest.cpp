// The application on the game's parts, headless, on the sample set: the worlds follow the game state.

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/Win.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/base/EventMan.h"
#include "foundation/base/GameStates.h"
#include "game/GameParts.h"
#include "platform/clock/Clock.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "race/WorldRaceMan.h"
#include "render/ShadowMan.h"
#include "support/TempFolder.h"
#include "world/WorldGrid.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace zentrix;

namespace {

/// The game's parts with a scripted window and input, settings in memory and a clock that moves 100 ms
/// a frame.
class HeadlessGameParts final : public CGameParts {
public:
    HeadlessGameParts()
        : CGameParts(std::make_unique<plat::settings::MemoryStore>(),
                     std::make_unique<plat::clock::FakeClock>(0, 100000000ull)) {}
    std::unique_ptr<CSplash> CreateSplash() override { return nullptr; }
    std::unique_ptr<CWin> CreateWin(int, int) override {
        return std::make_unique<CWin>(std::make_unique<plat::window::ScriptedWindow>());
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return std::make_unique<plat::input::ScriptedInput>();
    }
};

TEST(GameWorlds, TheWorldFollowsTheGameStateFromStartUpToQuit) {
    testsupport::TempFolder folder;
    const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                folder.Native() + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    {
        CApp app("", std::make_unique<HeadlessGameParts>());
        g_pApp = &app;
        ASSERT_EQ(app.StartManager(), 0);
        EXPECT_EQ(CWorldMan::LiveCount(), 14);
        ASSERT_NE(CShadowMan::GetInstance(), nullptr);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kStartUp);
        EXPECT_EQ(app.GetWorldMan(), CWorldMan::GetWorld(CWorldMan::kStartUp));

        // The start-up pictures give way to the main screen after 3000 ms.
        int frames = 0;
        while (CWorldMan::GetCurrentWorldId() == CWorldMan::kStartUp && frames < 100) {
            app.Update();
            ++frames;
        }
        EXPECT_GE(frames, 30);
        EXPECT_EQ(app.GetGameStateMan()->GetState(), GAMESTATE_MAIN);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen);

        // A race starts the race world; going back to the main screen ends it and clears the world.
        auto* race = dynamic_cast<CWorldRaceMan*>(CWorldMan::GetWorld(CWorldMan::kRace));
        ASSERT_NE(race, nullptr);
        app.GetGameStateMan()->SetState(GAMESTATE_RACE);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kRace);
        EXPECT_TRUE(race->HasStarted());
        // The program reads a track into the race world through its track builder.
        ASSERT_TRUE(CWorldMan::LoadTrack("demo.trk", CFileSaver::kGameTracks));
        EXPECT_NE(CWorldMan::GetBasePlate(), nullptr);
        EXPECT_NE(CWorldMan::GetWorldGrid()->GetPieceAt(0, 0), nullptr);
        ASSERT_NE(CWorldMan::CreateWorldObject(31001, 0, 0, 0, -1), nullptr);
        app.Update();
        app.GetGameStateMan()->SetState(GAMESTATE_MAIN);
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kMainScreen);
        EXPECT_FALSE(race->HasStarted());
        EXPECT_TRUE(CWorldMan::GetObjectList().empty());

        // A quit request shows the exit pictures in the start-up world.
        app.GetEventMan()->PostMessage(VORNMSG_QUIT_REQUEST);
        app.Update();
        EXPECT_EQ(CWorldMan::GetCurrentWorldId(), CWorldMan::kStartUp);

        app.StopManager();
        EXPECT_EQ(CWorldMan::LiveCount(), 0);
        EXPECT_EQ(CShadowMan::GetInstance(), nullptr);
        EXPECT_EQ(CWorldObject::LiveCount(), 0);
        g_pApp = nullptr;
    }
    std::filesystem::current_path(previous);
}

} // namespace
