#pragma once

// Application parts that record, in one shared log, what the application object does with them.

#include "app/App.h"
#include "app/AppParts.h"
#include "app/CommandLineParser.h"
#include "app/ErrorMan.h"
#include "app/GameOptions.h"
#include "app/GameStateMan.h"
#include "app/IOManager.h"
#include "app/PerformanceMonitor.h"
#include "app/Splash.h"
#include "app/Win.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "foundation/base/EventMan.h"
#include "platform/clock/Clock.h"
#include "platform/input/ScriptedInput.h"
#include "platform/settings/MemoryStore.h"
#include "platform/window/ScriptedWindow.h"
#include "render/AdaptiveSfxMan.h"
#include "render/EngineMan.h"
#include "support/PanelDoubles.h"
#include "support/TempFolder.h"
#include "ui/SlideOutMan.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

using namespace zentrix;

namespace appdoubles {

using Log = std::vector<std::string>;

/// How the doubles behave; the test sets it before the start.
struct Script {
    std::deque<bool> deviceResults;     ///< CreateDevice answers, in order (true once they run out)
    int assetStart = 0;                 ///< the asset manager's start result
    int inputStart = 0;                 ///< the input manager's start result
    bool driversStart = true;           ///< what starting the drivers answers
    bool racePaused = false;            ///< what IsRacePaused answers
    int pendingPrintJobs = 0;           ///< print jobs waiting, one taken per ProcessPendingJob
    std::uint64_t frameNs = 16000000;   ///< how far each rendered frame moves the clock
    std::string windowError;            ///< when set, the window cannot be opened, for this reason
    std::function<void()> onHelpUpdate; ///< runs at each help update
    std::vector<std::string> effects;   ///< the taunt, shadow and skid-mark settings the parts were given
};

struct Parser : CCommandLineParser {
    explicit Parser(Log& l) : log(l) {}
    ~Parser() override { log.push_back("delete parser"); }
    Log& log;
};

struct Errors : CErrorMan {
    Errors(appdoubles::Log& l, const std::filesystem::path& folder) : CErrorMan(folder), log(l) {}
    ~Errors() override { log.push_back("delete errors"); }
    appdoubles::Log& log;
};

struct Settings : CAppSettings {
    Settings(Log& l, plat::settings::Store& store) : CAppSettings(store), log(l) {}
    ~Settings() override { log.push_back("delete settings"); }
    Log& log;
};

struct Options : CGameOptions {
    Options(Log& l, CAppSettings& settings, IGameOptionEffects* effects)
        : CGameOptions(settings, effects), log(l) {}
    ~Options() override { log.push_back("delete options"); }
    Log& log;
};

struct Monitor : CPerformanceMonitor {
    Monitor(Log& l, plat::clock::Clock& clock) : CPerformanceMonitor(clock), log(l) {}
    ~Monitor() override { log.push_back("delete monitor"); }
    Log& log;
};

struct Win : CWin {
    Win(Log& l, std::unique_ptr<plat::window::Window> window, std::string openError = {})
        : CWin(std::move(window), std::move(openError)), log(l) {}
    ~Win() override { log.push_back("delete window"); }
    Log& log;
};

struct Splash : CSplash {
    explicit Splash(Log& l) : log(l) {}
    ~Splash() override { log.push_back("splash closed"); }
    void Repaint() override { log.push_back("repaint"); }
    Log& log;
};

/// The start, stop and delete records every manager double shares.
template <typename Base> struct Managed : Base {
    template <typename... Args>
    Managed(Log& l, std::string n, Args&&... args)
        : Base(std::forward<Args>(args)...), log(l), name(std::move(n)) {}
    ~Managed() override { log.push_back("delete " + name); }
    int StartManager() override {
        log.push_back("start " + name);
        return Base::StartManager();
    }
    int StopManager() override {
        log.push_back("stop " + name);
        return Base::StopManager();
    }
    Log& log;
    std::string name;
};

struct Assets : Managed<CAssetMan> {
    Assets(Log& l, Script& s, CAssetMan::SLinks links) : Managed(l, "assets", std::move(links)), script(s) {}
    int StartManager() override {
        log.push_back("start assets");
        m_started = true;
        return script.assetStart;
    }
    void StartupHook() override { log.push_back("hook"); }
    Script& script;
};

struct Engine : Managed<CEngineMan> {
    Engine(Log& l, Script& s, plat::clock::FakeClock& c, IEngineServices* services)
        : Managed(l, "engine", services), script(s), clock(c) {}
    bool CreateDevice(plat::window::Window* window, int mode) override {
        log.push_back("device " + std::to_string(mode));
        bool ok = window != nullptr;
        if (!script.deviceResults.empty()) {
            ok = script.deviceResults.front();
            script.deviceResults.pop_front();
        }
        return ok;
    }
    bool InitScene() override {
        log.push_back("scene");
        return true;
    }
    void Update() override { log.push_back("engine update"); }
    void RenderFrame() override {
        log.push_back("render");
        clock.Advance(script.frameNs);
    }
    void RecreateCursor() override { log.push_back("cursor"); }
    Script& script;
    plat::clock::FakeClock& clock;
};

struct Input : Managed<CIOManager> {
    Input(Log& l, Script& s, IInputServices* services) : Managed(l, "input", services), script(s) {}
    int StartManager() override {
        log.push_back("start input");
        if (script.inputStart != 0)
            return script.inputStart;
        return CIOManager::StartManager();
    }
    Script& script;
};

struct Panels : Managed<CSlideOutMan> {
    Panels(Log& l, IPanelServices& services, PanelFactory factory)
        : Managed(l, "panels", services, std::move(factory)) {}
    bool SwitchTo(int index) override {
        log.push_back("panel " + std::to_string(index));
        return CSlideOutMan::SwitchTo(index);
    }
    void Update(int ms) override {
        log.push_back("panels update");
        CSlideOutMan::Update(ms);
    }
    void OnButtonDown(int x, int y, int b) override { log.push_back(Where("down", x, y, b)); }
    void OnButtonUp(int x, int y, int b) override { log.push_back(Where("up", x, y, b)); }
    void OnChar(int c) override { log.push_back("char " + std::to_string(c)); }
    void OnMouseWheel(int d) override { log.push_back("wheel " + std::to_string(d)); }
    void Reactivate() override { log.push_back("reactivate"); }
    static std::string Where(const char* what, int x, int y, int b) {
        return std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
               std::to_string(b);
    }
};

struct Effects : Managed<CAdaptiveSfxMan> {
    Effects(Log& l, IEffectsLevelLinks& links) : Managed(l, "effects", &links) {}
};

/// Parts whose every manager is a recording double, on memory settings, a fake clock and a scripted
/// window. The raw pointers observe the doubles while the application owns them.
class Parts : public CAppParts {
public:
    Parts(Log& l, Script& s, plat::settings::MemoryStore*& storeOut, plat::clock::FakeClock*& clockOut)
        : CAppParts(MakeStore(storeOut), MakeClock(clockOut)), log(l), script(s), clock(*clockOut) {}

    std::unique_ptr<CCommandLineParser> CreateCommandLineParser() override {
        log.push_back("create parser");
        return std::make_unique<Parser>(log);
    }
    std::unique_ptr<CSplash> CreateSplash() override {
        log.push_back("splash open");
        return std::make_unique<Splash>(log);
    }
    std::unique_ptr<CErrorMan> CreateErrorMan() override {
        log.push_back("create errors");
        return std::make_unique<Errors>(log, logFolder.Path());
    }
    std::unique_ptr<CAppSettings> CreateAppSettings() override {
        log.push_back("create settings");
        return std::make_unique<Settings>(log, Store());
    }
    std::unique_ptr<CGameOptions> CreateGameOptions(CAppSettings& settings,
                                                    IGameOptionEffects* effects) override {
        log.push_back("create options");
        return std::make_unique<Options>(log, settings, effects);
    }
    std::unique_ptr<CPerformanceMonitor> CreatePerformanceMonitor() override {
        log.push_back("create monitor");
        return std::make_unique<Monitor>(log, Clock());
    }
    std::unique_ptr<CGameStateMan> CreateGameStateMan(IGameStateServices* services,
                                                      CAppSettings* settings) override {
        log.push_back("create states");
        return std::make_unique<Managed<CGameStateMan>>(log, "states", services, settings);
    }
    std::unique_ptr<CWin> CreateWin(int width, int height) override {
        log.push_back("create window " + std::to_string(width) + "x" + std::to_string(height));
        if (!script.windowError.empty())
            return std::make_unique<Win>(log, nullptr, script.windowError);
        auto scripted = std::make_unique<plat::window::ScriptedWindow>();
        window = scripted.get();
        return std::make_unique<Win>(log, std::move(scripted));
    }
    std::unique_ptr<plat::text::FontLibrary> CreateFontLibrary() override { return nullptr; }
    std::unique_ptr<CAssetMan> CreateAssetMan(CAssetMan::SLinks links) override {
        log.push_back("create assets");
        return std::make_unique<Assets>(log, script, std::move(links));
    }
    std::unique_ptr<CEventMan> CreateEventMan() override {
        log.push_back("create events");
        return std::make_unique<Managed<CEventMan>>(log, "events");
    }
    std::unique_ptr<CEngineMan> CreateEngineMan(IEngineServices* services) override {
        log.push_back("create engine");
        return std::make_unique<Engine>(log, script, clock, services);
    }
    std::unique_ptr<CIOManager> CreateIOManager(IInputServices* services) override {
        log.push_back("create input");
        return std::make_unique<Input>(log, script, services);
    }
    std::unique_ptr<plat::input::InputSystem> CreateInputSystem(plat::window::Window*) override {
        return input.Share();
    }
    // The driver manager lives in the parts: its hooks are logged as the manager's own calls.
    bool StartDrivers() override {
        log.insert(log.end(), {"create drivers", "start drivers"});
        driversLive = true;
        return script.driversStart;
    }
    void StopDrivers() override {
        if (driversLive)
            log.insert(log.end(), {"stop drivers", "delete drivers"});
        driversLive = false;
    }
    void UpdateDrivers(int) override { log.push_back("drivers"); }
    std::unique_ptr<CSlideOutMan> CreateSlideOutMan(IPanelServices& services) override {
        log.push_back("create panels");
        return std::make_unique<Panels>(log, services, CreatePanelFactory());
    }
    // Plain panels where the game's parts put the screens' own.
    CSlideOutMan::PanelFactory CreatePanelFactory() override { return testsupport::PlainPanels(); }
    // The campaign lives in the parts: its hooks are logged as the manager's own calls.
    void CreateCampaignMan() override {
        log.insert(log.end(), {"create campaign", "start campaign"});
        campaignLive = true;
    }
    void DeleteCampaignMan() override {
        if (campaignLive)
            log.insert(log.end(), {"stop campaign", "delete campaign"});
        campaignLive = false;
    }
    // The route manager lives in the parts too.
    void CreateRouteNodeMan() override {
        log.insert(log.end(), {"create route", "start route"});
        routeLive = true;
    }
    void DeleteRouteNodeMan() override {
        if (routeLive)
            log.insert(log.end(), {"stop route", "delete route"});
        routeLive = false;
    }
    // The help and print managers live in the parts: their hooks are logged as the managers' own calls.
    void CreateHelpManager() override {
        log.insert(log.end(), {"create help", "start help"});
        helpLive = true;
    }
    void DeleteHelpManager() override {
        if (helpLive)
            log.insert(log.end(), {"stop help", "delete help"});
        helpLive = false;
    }
    void UpdateHelp(int) override {
        log.push_back("help");
        if (script.onHelpUpdate)
            script.onHelpUpdate();
    }
    void RestoreHelpAfterRestart() override { log.push_back("restore help"); }
    void CreatePrintManager() override {
        log.insert(log.end(), {"create print", "start print"});
        printLive = true;
    }
    void DeletePrintManager() override {
        if (printLive)
            log.insert(log.end(), {"stop print", "delete print"});
        printLive = false;
    }
    void UpdatePrint(int) override { log.push_back("print update"); }
    bool IsPrintJobPending() const override { return script.pendingPrintJobs > 0; }
    void ProcessPrintJob() override {
        log.push_back("print job");
        --script.pendingPrintJobs;
    }
    std::unique_ptr<CAdaptiveSfxMan> CreateAdaptiveSfxMan(IEffectsLevelLinks& links) override {
        log.push_back("create effects");
        return std::make_unique<Effects>(log, links);
    }

    void SetCurrentDirectory(const std::string& path) override { log.push_back("path " + path); }
    bool CreateWorlds() override {
        log.push_back("worlds");
        return CAppParts::CreateWorlds();
    }
    void DestroyWorlds() override {
        log.push_back("destroy worlds");
        CAppParts::DestroyWorlds();
    }
    void FrameCurrentWorld(int ms) override { log.push_back("world frame " + std::to_string(ms)); }
    bool SetCurrentWorld(int worldId, CEventMan* events) override {
        log.push_back("world " + std::to_string(worldId));
        return CAppParts::SetCurrentWorld(worldId, events);
    }
    bool IsRacePaused() const override { return script.racePaused; }
    void ResetRaceTauntPanel() override { log.push_back("taunt panel"); }
    void FreeParticleKinds() override { log.push_back("free particles"); }
    void SetTauntsEnabled(bool on) override { script.effects.push_back(on ? "taunts on" : "taunts off"); }
    void SetShadowsOff(bool off) override { script.effects.push_back(off ? "shadows off" : "shadows on"); }
    void SetSkidMarkCount(int n) override { script.effects.push_back("skid marks " + std::to_string(n)); }
    void FreeKeywordTables() override { log.push_back("free keywords"); }
    void StartGameSound() override { log.push_back("start sound"); }
    void StopGameSound() override { log.push_back("stop sound"); }
    void UpdateGameSound(int) override { log.push_back("sound update"); }
    void PauseGameSound(bool pause) override { log.push_back(pause ? "sound pause" : "sound resume"); }
    void SetGameSoundVolume(int volume) override { log.push_back("sound volume " + std::to_string(volume)); }
    void StartMusic() override { log.push_back("start music"); }
    void StopMusic() override { log.push_back("stop music"); }
    void UpdateMusic(int) override { log.push_back("music update"); }
    void SetMusicVolume(int volume) override { log.push_back("music volume " + std::to_string(volume)); }
    void SetMusicEnabled(bool enabled) override { log.push_back(enabled ? "music on" : "music off"); }

    Log& log;
    Script& script;
    plat::clock::FakeClock& clock;
    plat::window::ScriptedWindow* window = nullptr;
    plat::input::ScriptedInput input;
    bool helpLive = false;
    bool driversLive = false;
    bool campaignLive = false;
    bool printLive = false;
    bool routeLive = false;
    testsupport::TempFolder logFolder;

private:
    static std::unique_ptr<plat::settings::Store> MakeStore(plat::settings::MemoryStore*& out) {
        auto store = std::make_unique<plat::settings::MemoryStore>();
        out = store.get();
        return store;
    }
    static std::unique_ptr<plat::clock::Clock> MakeClock(plat::clock::FakeClock*& out) {
        auto clock = std::make_unique<plat::clock::FakeClock>(0, 0, 1000000000ull);
        out = clock.get();
        return clock;
    }
};

/// An application made of recording parts, reachable through the global pointer while it lives.
class TestApp {
public:
    explicit TestApp(std::string commandLine = "") {
        auto parts = std::make_unique<Parts>(log, script, store, clock);
        this->parts = parts.get();
        app = std::make_unique<CApp>(std::move(commandLine), std::move(parts));
        g_pApp = app.get();
    }
    ~TestApp() {
        app.reset();
        g_pApp = nullptr;
    }
    TestApp(const TestApp&) = delete;
    TestApp& operator=(const TestApp&) = delete;

    /// The log without the entries for which `skip` is true.
    Log Filtered(const std::function<bool(const std::string&)>& skip) const {
        Log out;
        for (const std::string& entry : log)
            if (!skip(entry))
                out.push_back(entry);
        return out;
    }

    Log log;
    Script script;
    plat::settings::MemoryStore* store = nullptr;
    plat::clock::FakeClock* clock = nullptr;
    Parts* parts = nullptr;
    std::unique_ptr<CApp> app;
};

} // namespace appdoubles
