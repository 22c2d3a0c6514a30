// The game's own parts on the sample set, in this process, with SDL's audio device (the dummy driver in
// the tests): the interface sounds and the music play in real time.

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/Win.h"
#include "audio/GameSoundController.h"
#include "audio/MusicManager.h"
#include "audio/MusicWrapper.h"
#include "audio/SoundManager.h"
#include "game/GameParts.h"
#include "platform/clock/Clock.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "support/TempFolder.h"
#include "ui/SlideOutMan.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace zentrix;

namespace {

/// The game's parts with a scripted window and input, settings in memory and no splash.
class HeadlessGameParts final : public CGameParts {
public:
    HeadlessGameParts()
        : CGameParts(std::make_unique<plat::settings::MemoryStore>(),
                     std::make_unique<plat::clock::SystemClock>()) {}
    std::unique_ptr<CSplash> CreateSplash() override { return nullptr; }
    std::unique_ptr<CWin> CreateWin(int, int) override {
        return std::make_unique<CWin>(std::make_unique<plat::window::ScriptedWindow>());
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return std::make_unique<plat::input::ScriptedInput>();
    }
};

/// Runs frames until `done` holds or two seconds have passed; whether it held.
bool RunUntil(CApp& app, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        app.Update();
    return done();
}

TEST(RunningAudio, InterfaceSoundsAndTheFrontEndMusicPlayOnTheAudioDevice) {
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
        CGameSoundController* sound = app.GetGameSoundController();
        CMusicManager* music = app.GetMusicManager();
        ASSERT_NE(sound, nullptr);
        ASSERT_NE(music, nullptr);
        ASSERT_NE(sound->GetDirectSound(), nullptr) << "no audio device: run with SDL_AUDIODRIVER=dummy";
        plat::midi::MusicPlayer* player = music->GetLoader();
        ASSERT_NE(player, nullptr);

        // The start-up pictures are silent; the main screen plays the front-end piece.
        app.Update();
        EXPECT_FALSE(player->IsPlaying());
        // The picture's time counts once it has slid in.
        for (int i = 0; i < 30 && app.GetGameStateMan()->GetState() != GAMESTATE_MAIN; ++i)
            app.GetSlideOutMan()->Update(3001);
        ASSERT_EQ(app.GetGameStateMan()->GetState(), GAMESTATE_MAIN);
        app.Update();
        EXPECT_EQ(music->GetWrapper()->GetCurrentSegmentId(), 49936);
        EXPECT_TRUE(player->IsPlaying());
        EXPECT_TRUE(RunUntil(app, [&] { return player->GetPosition() > 20.0; }))
            << "the device renders the music";

        // A click plays on channel 0 and its end (60 ms) comes back from the device's thread.
        app.GetParts().PlayUiSound(50100);
        EXPECT_TRUE(sound->GetSoundManager()->IsChannelPlaying(CSoundManager::kFrontEndChannel));
        EXPECT_TRUE(RunUntil(app, [&] {
            return !sound->GetSoundManager()->IsChannelPlaying(CSoundManager::kFrontEndChannel);
        }));

        app.StopManager();
        EXPECT_EQ(sound->GetDirectSound(), nullptr);
        EXPECT_EQ(music->GetLoader(), nullptr);
        g_pApp = nullptr;
    }
    std::filesystem::current_path(previous);
}

} // namespace
