#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "engine/DisplayDevice.h"
#include "foundation/assets/FileSaver.h"
#include "foundation/math/Random.h"
#include "platform/clock/Clock.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "render/CameraController.h"
#include "render/EngineMan.h"
#include "render/ParticleSystem.h"
#include "support/SampleSet.h"
#include "ui/Control.h"
#include "ui/PushButton.h"
#include "ui/SlideOut.h"
#include "ui/SlideOutMan.h"
#include "ui/ToggleButton.h"

#include <algorithm>

using namespace zentrix;

namespace gametest {

namespace {

/// An engine whose first display device cannot be opened.
struct FallingBackEngine final : CEngineMan {
    using CEngineMan::CEngineMan;
    bool CreateDevice(plat::window::Window* window, int videoMode) override {
        if (!failed) {
            failed = true;
            return false;
        }
        return CEngineMan::CreateDevice(window, videoMode);
    }
    bool failed = false;
};

/// An engine that draws no background and no scene: the rest of its frame as the engine runs it.
struct UndrawnSceneEngine final : CEngineMan {
    using CEngineMan::CEngineMan;
    void RenderFrame() override {
        CDisplayDevice* device = GetDisplayDevice();
        if (!device)
            return;
        if (CCameraController* camera = GetCameraController())
            camera->Update();
        device->FlipDevice();
        const float ticks = (g_pApp ? g_pApp->GetFrameFactor() : 1.0f) * 25.0f;
        CParticleSystem::UpdateAll(ticks > 0.0f && ticks < 1.0e6f ? static_cast<int>(ticks) : 0);
    }
};

class HeadlessGameParts final : public CGameParts {
public:
    HeadlessGameParts(HeadlessGame& game, const GameSetup& setup)
        : CGameParts(MakeStore(game), std::make_unique<plat::clock::FakeClock>(
                                          0, static_cast<std::uint64_t>(setup.frameMs) * 1000000ull)),
          m_game(game), m_failFirstDevice(setup.failFirstDevice), m_drawScene(setup.drawScene),
          m_sound(setup.sound) {}

    std::unique_ptr<CSplash> CreateSplash() override { return nullptr; }
    std::unique_ptr<CWin> CreateWin(int, int) override {
        auto window = std::make_unique<plat::window::ScriptedWindow>();
        m_game.window = window.get();
        return std::make_unique<CWin>(std::move(window));
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return m_game.input.Share();
    }
    std::unique_ptr<CEngineMan> CreateEngineMan(IEngineServices* services) override {
        if (m_failFirstDevice)
            return std::make_unique<FallingBackEngine>(services);
        if (!m_drawScene)
            return std::make_unique<UndrawnSceneEngine>(services);
        return CGameParts::CreateEngineMan(services);
    }
    // The screens' sounds and volumes are noted; unless asked, no audio device or synthesizer is opened
    // for them.
    void StartGameSound() override {
        if (m_sound)
            CGameParts::StartGameSound();
    }
    void StartMusic() override {
        if (m_sound)
            CGameParts::StartMusic();
    }
    void PlayUiSound(int soundId) override {
        m_game.log.push_back("ui " + std::to_string(soundId));
        CGameParts::PlayUiSound(soundId);
    }
    void SetGameSoundVolume(int volume) override {
        m_game.log.push_back("volume " + std::to_string(volume));
        CGameParts::SetGameSoundVolume(volume);
    }
    void SetMusicVolume(int volume) override {
        m_game.log.push_back("music " + std::to_string(volume));
        CGameParts::SetMusicVolume(volume);
    }
    void PlayHelp(int helpId, int priority) override {
        m_game.log.push_back("help " + std::to_string(helpId));
        CGameParts::PlayHelp(helpId, priority);
    }

private:
    static std::unique_ptr<plat::settings::Store> MakeStore(HeadlessGame& game) {
        auto store = std::make_unique<plat::settings::MemoryStore>();
        game.store = store.get();
        return store;
    }

    HeadlessGame& m_game;
    bool m_failFirstDevice;
    bool m_drawScene;
    bool m_sound;
};

} // namespace

int Count(const Log& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

HeadlessGame::HeadlessGame(GameSetup setup) : m_setup(std::move(setup)) {
    // Every run draws the same numbers (the help character's clips among them), whatever ran before.
    Random::Seed(1);
    m_previousFolder = std::filesystem::current_path();
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    m_app = std::make_unique<CApp>(m_setup.commandLine, std::make_unique<HeadlessGameParts>(*this, m_setup));
    g_pApp = m_app.get();
}

HeadlessGame::~HeadlessGame() {
    m_app->StopManager();
    m_app.reset();
    g_pApp = nullptr;
    std::filesystem::current_path(m_previousFolder);
}

bool HeadlessGame::Start() {
    const bool started = m_app->StartManager() == 0;
    // The player's tracks of the sample set, copied, so that what a run saves stays with the run.
    const std::filesystem::path samples = testsupport::GeneratedSampleSet() / "SavedTracks";
    if (std::filesystem::is_directory(samples))
        for (const auto& entry : std::filesystem::directory_iterator(samples))
            std::filesystem::copy_file(entry.path(), savedTracks / entry.path().filename());
    if (CAssetMan* assets = m_app->GetAssetMan())
        assets->GetFileSaver()->SetSlot(savedTracks.Game(), CFileSaver::kSavedTracks);
    return started;
}

void HeadlessGame::Frames(int count) {
    for (int i = 0; i < count && !m_app->IsQuitting(); ++i) {
        m_app->Run(false);
        m_app->Update();
    }
}

bool HeadlessGame::RunUntil(const std::function<bool()>& done, int limit) {
    for (int i = 0; i < limit && !done(); ++i)
        Frames(1);
    return done();
}

bool HeadlessGame::Reach(int state, int limit) {
    return RunUntil(
        [&] {
            CSlideOut* front = m_app->GetSlideOutMan()->GetActiveSlideOut();
            return m_app->GetGameStateMan()->GetState() == state && front &&
                   front->GetState() == CSlideOut::kShown;
        },
        limit);
}

bool HeadlessGame::ReachPanel(int index, int limit) {
    return RunUntil(
        [&] {
            CSlideOutMan* panels = m_app->GetSlideOutMan();
            CSlideOut* front = panels->GetActiveSlideOut();
            return panels->GetCurrentSlideOutId() == index && front && front->GetState() == CSlideOut::kShown;
        },
        limit);
}

void HeadlessGame::MoveTo(int x, int y) {
    window->Push({plat::window::EventKind::MouseMove, x, y});
    // The engine takes the new position after drawing the pointer: it shows at the second frame.
    Frames(2);
}

void HeadlessGame::PressKey(int key) {
    plat::window::Event down{plat::window::EventKind::Key};
    down.key = key;
    plat::window::Event typed{plat::window::EventKind::Char};
    typed.character = static_cast<std::uint8_t>(key);
    window->Push(down);
    window->Push(typed);
    Frames(1);
}

void HeadlessGame::Click(int x, int y) {
    plat::window::Event move{plat::window::EventKind::MouseMove, x, y};
    plat::window::Event down = move;
    down.kind = plat::window::EventKind::ButtonDown;
    plat::window::Event up = move;
    up.kind = plat::window::EventKind::ButtonUp;
    window->Push(move);
    window->Push(down);
    window->Push(up);
    Frames(1);
}

bool HeadlessGame::ClickControl(int controlId) {
    CSlideOut* front = m_app->GetSlideOutMan()->GetActiveSlideOut();
    CControl* control = front ? front->FindControl(controlId) : nullptr;
    if (!control)
        return false;
    Click(front->GetX() + control->GetX() + control->GetWidth() / 2,
          front->GetY() + control->GetY() + control->GetHeight() / 2);
    // A pressed button takes no click until its press has run out, counted in the panel's updates of
    // that control (one control an update): wait for it while its panel stays in front.
    auto* button = dynamic_cast<CPushButton*>(control);
    if (button && !dynamic_cast<CToggleButton*>(control))
        RunUntil(
            [&] {
                return button->GetButtonState() != CPushButton::kPressed ||
                       m_app->GetSlideOutMan()->GetActiveSlideOut() != front || !front->IsActive();
            },
            100);
    return true;
}

testsupport::RgbImage HeadlessGame::Screen() const {
    plat::gfx2d::Surface* shown = m_app->GetEngineMan()->GetDisplayDevice()->GetPrimarySurface();
    plat::gfx2d::SurfaceView view;
    if (!shown || shown->Lock(view) != plat::gfx2d::Result::Ok)
        return {};
    testsupport::RgbImage image = testsupport::FromRgb565(view.Row16(0), view.pitch, 640, 480);
    shown->Unlock();
    return image;
}

} // namespace gametest
