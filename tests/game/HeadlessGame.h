#pragma once

// The whole game on its own parts, headless, on the sample set: a scripted window and input, settings
// in memory, a fake clock, and a log of what reaches the sound controller, the music and spoken help.

#include "app/App.h"
#include "game/GameParts.h"
#include "platform/input/ScriptedInput.h"
#include "support/GoldenImage.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plat::settings {
class MemoryStore;
}
namespace plat::window {
class ScriptedWindow;
}

namespace gametest {

using Log = std::vector<std::string>;

/// How the run is set up before its start.
struct GameSetup {
    std::string commandLine;
    /// Milliseconds each frame takes on the fake clock (below 200, which the frame timing leaves out).
    int frameMs = 100;
    /// The first display device fails, so the start falls back to 640 x 480.
    bool failFirstDevice = false;
    /// False: the background and the 3D scene are never drawn (the camera, the picture's presentation, the
    /// particles and the panels run as ever), for runs of many frames that look at no picture.
    bool drawScene = true;
    /// True: the game's own sound and music start on the audio device (SDL's dummy driver in the tests),
    /// the music on the software synthesizer; false: neither starts and only the log notes what reaches them.
    bool sound = false;
};

/// One game on the sample set in this process, run in the sample set's folder and stopped again at the
/// end. The application is the one `g_pApp` while it exists.
class HeadlessGame {
public:
    explicit HeadlessGame(GameSetup setup = {});
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    /// Starts the application (after the test has set up `input`); true when it started.
    bool Start();
    zentrix::CApp& App() { return *m_app; }

    /// Pumps the window's events and runs `count` frames.
    void Frames(int count);
    /// Runs frames until `done` holds; false when it still does not after `limit` frames.
    bool RunUntil(const std::function<bool()>& done, int limit);
    /// Runs frames until the game is in `state` with its front panel fully shown.
    bool Reach(int state, int limit = 200);
    /// Runs frames until slide-out `index` is the current one and fully shown in front.
    bool ReachPanel(int index, int limit = 200);
    /// Moves the pointer to window point (x, y), presses and releases the left button there, and runs the
    /// frame that takes the click.
    void Click(int x, int y);
    /// Clicks the middle of control `controlId` of the front panel, then (for a push button that stays in
    /// front) runs frames until it can be pressed again; false when there is no such control.
    bool ClickControl(int controlId);
    /// Moves the pointer to (x, y) and runs the frames that bring it on screen.
    void MoveTo(int x, int y);
    /// Presses `key` as the window gives it (the key code, then its character) and runs the frame.
    void PressKey(int key);
    /// The picture on screen now.
    testsupport::RgbImage Screen() const;

    /// "ui <id>", "help <id>", "volume <n>", "music <n>" in order.
    Log log;
    /// The input devices every start of the input manager connects to.
    plat::input::ScriptedInput input;
    plat::window::ScriptedWindow* window = nullptr;
    plat::settings::MemoryStore* store = nullptr;
    /// The saved-tracks slot of the run (the editor's "AutoSaved.trk" goes there, not into the sample set).
    testsupport::TempFolder savedTracks;

private:
    GameSetup m_setup;
    std::filesystem::path m_previousFolder;
    std::unique_ptr<zentrix::CApp> m_app;
};

/// How many entries of the log equal `entry`.
int Count(const Log& log, const std::string& entry);

} // namespace gametest
