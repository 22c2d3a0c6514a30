// Whole race frames per second: the game on the sample set, started from the second main screen's race
// (four cars on "demo.trk"), the player's car driven round by the held throttle key. One frame is the
// application's update at 40 ms: input, panels (the race panel among them), drivers, the 3D scene drawn
// at 640 x 480 by the software rasterizer, the race's tick and results. A scripted window and input, a
// fake clock and settings in memory stand in for the desktop; no sound device is opened.

#include "app/App.h"
#include "app/GameStateMan.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "foundation/base/GameStates.h"
#include "game/GameParts.h"
#include "platform/clock/Clock.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "race/WorldRaceMan.h"

#include "BenchSampleSet.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <unistd.h>

using namespace zentrix;

namespace {

constexpr std::uint64_t kFrameNs = 40'000'000;
constexpr int kThrottleKey = 200;

std::filesystem::path SampleSet() {
    return BenchSampleSet("race");
}

/// The game's parts on a scripted desktop, silent.
class BenchParts final : public CGameParts {
public:
    explicit BenchParts(plat::input::ScriptedInput& input)
        : CGameParts(std::make_unique<plat::settings::MemoryStore>(),
                     std::make_unique<plat::clock::FakeClock>(0, kFrameNs)),
          m_input(input) {}
    std::unique_ptr<CSplash> CreateSplash() override { return nullptr; }
    std::unique_ptr<CWin> CreateWin(int, int) override {
        return std::make_unique<CWin>(std::make_unique<plat::window::ScriptedWindow>());
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return m_input.Share();
    }
    void StartGameSound() override {}
    void StartMusic() override {}

private:
    plat::input::ScriptedInput& m_input;
};

void Frame(CApp& app) {
    app.Run(false);
    app.Update();
}

void BM_RaceFrame(benchmark::State& state) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(SampleSet());
    plat::input::ScriptedInput input;
    auto app = std::make_unique<CApp>("", std::make_unique<BenchParts>(input));
    g_pApp = app.get();
    if (app->StartManager() != 0) {
        state.SkipWithError("the game did not start");
    } else {
        CGameStateMan* states = app->GetGameStateMan();
        states->SetGameMode(3);
        states->SetState(GAMESTATE_RACE);
        const auto racing = [] {
            const CWorldRaceMan* race = CWorldRaceMan::GetInstance();
            return race && race->GetState() == CWorldRaceMan::kRacing;
        };
        for (int i = 0; i < 1000 && !racing(); ++i)
            Frame(*app);
        if (!racing()) {
            state.SkipWithError("the race did not start");
        } else {
            input.SetKey(kThrottleKey, true);
            for (auto _ : state)
                Frame(*app);
            state.SetItemsProcessed(state.iterations());
            state.counters["cars"] = CWorldRaceMan::GetInstance()->GetCarCount();
        }
    }
    app->StopManager();
    app.reset();
    g_pApp = nullptr;
    std::filesystem::current_path(previous);
}

} // namespace

// About 215 frames make a lap of the demo track and the player finishes after some 860: 500 frames
// stay within the race, all four cars on the track.
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMillisecond)->Iterations(500);
