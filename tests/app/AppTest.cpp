#include "AppDoubles.h"

#include <gtest/gtest.h>

#include "app/GameOptions.h"
#include "platform/system/TerminationSignals.h"
#include "render/AdaptiveSfxMan.h"
#include "render/ParticleSystem.h"

#include <algorithm>

using namespace zentrix;

namespace {

using appdoubles::Log;
using appdoubles::TestApp;

bool IsRepaint(const std::string& entry) {
    return entry == "repaint";
}

int Count(const Log& log, const std::string& entry) {
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

TEST(App, StartsEveryManagerInOrderAndEntersTheStartUpPictures) {
    TestApp t;
    t.store->Set("Path", "\\games\\zentrix");
    ASSERT_EQ(t.app->StartManager(), 0);
    const Log expected = {
        "create parser",
        "splash open",
        "create errors",
        "create settings",
        "path \\games\\zentrix",
        "create options",
        "create monitor",
        "create states",
        "start states",
        "create window 640x480",
        "create assets",
        "start assets",
        "create events",
        "start events",
        "create engine",
        "start engine",
        "create input",
        "start input",
        "create drivers",
        "start drivers",
        "start sound",
        "start music",
        "splash closed",
        "device 0",
        "scene",
        "worlds",
        "create panels",
        "start panels",
        "create campaign",
        "start campaign",
        "create route",
        "start route",
        "create help",
        "start help",
        "create print",
        "start print",
        "create effects",
        "start effects",
        // State 21 restarts the input manager, then shows its panel and world.
        "stop input",
        "start input",
        "panel 18",
        "world 14",
        "hook",
    };
    EXPECT_EQ(t.Filtered(IsRepaint), expected);
    // Repainted after the settings, the states, the window and the seven managers up to the music.
    EXPECT_EQ(Count(t.log, "repaint"), 10);
    EXPECT_TRUE(t.app->IsRunning());
    EXPECT_FALSE(t.app->IsQuitting());
    EXPECT_EQ(t.app->GetGameStateMan()->GetState(), GAMESTATE_STARTUP);
    EXPECT_TRUE(t.app->GetPerformanceMonitor()->IsStarted());
}

TEST(App, ARestartShowsNoSplashAndOpensTheOptions) {
    TestApp t(" RESTART");
    ASSERT_EQ(t.app->StartManager(), 0);
    EXPECT_EQ(Count(t.log, "splash open"), 0);
    EXPECT_EQ(Count(t.log, "repaint"), 0);
    Log tail(t.log.end() - 6, t.log.end());
    // The options are entered without restarting the input manager.
    EXPECT_EQ(tail, (Log{"panel 18", "world 14", "hook", "restore help", "panel 15", "world 11"}));
    EXPECT_EQ(t.app->GetGameStateMan()->GetState(), GAMESTATE_OPTIONS);
    EXPECT_EQ(t.app->GetGameStateMan()->GetPreviousState(), GAMESTATE_STARTUP);
}

TEST(App, StopsInOrderAndASecondStopOnlyRepeatsTheSafeSteps) {
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    t.log.clear();
    EXPECT_EQ(t.app->StopManager(), 0);
    const Log expected = {
        "free particles",  "delete window",  "stop effects",   "delete effects", "free keywords",
        "stop states",     "delete states",  "destroy worlds", "stop panels",    "delete panels",
        "stop assets",     "delete assets",  "stop sound",     "stop music",     "stop print",
        "delete print",    "stop help",      "delete help",    "stop engine",    "delete engine",
        "delete monitor",  "delete events",  "stop drivers",   "delete drivers", "stop input",
        "delete input",    "stop route",     "delete route",   "stop campaign",  "delete campaign",
        "delete settings", "delete options", "delete errors",  "delete parser",
    };
    EXPECT_EQ(t.log, expected);
    EXPECT_FALSE(t.app->IsRunning());
    EXPECT_EQ(t.app->GetWin(), nullptr);
    EXPECT_EQ(t.app->GetEventMan(), nullptr);

    t.log.clear();
    t.app.reset();
    EXPECT_EQ(t.log, (Log{"free particles", "free keywords", "destroy worlds"}));
}

TEST(App, TheStoredResolutionIsReplacedByTheModeTheEngineStartedIn) {
    TestApp t;
    t.store->Set("Resolution", "1");
    ASSERT_EQ(t.app->StartManager(), 0);
    std::string stored;
    ASSERT_TRUE(t.store->Get("Resolution", stored));
    EXPECT_EQ(stored, "0");
    EXPECT_EQ(t.app->GetScreenWidth(), 640);
    EXPECT_EQ(Count(t.log, "create window 640x480"), 1);
}

TEST(App, EngineStartFallsBackOnceThenGivesUp) {
    struct Case {
        const char* name;
        std::deque<bool> devices;
        const char* windowError; // "" when the window opens
        int startResult;
        bool fallback;
        int deviceCalls;
        const char* failure; // what the player is told
    };
    const Case cases[] = {
        {"first try", {true}, "", 0, false, 1, ""},
        {"second try", {false, true}, "", 0, true, 2, ""},
        {"both fail",
         {false, false},
         "",
         1,
         true,
         2,
         "The game's display could not be started at 640 x 480."},
        // Without a window the engine is not asked: it would run unseen.
        {"no window",
         {true},
         "no display here",
         1,
         false,
         0,
         "The game's window could not be opened: no display here."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.script.deviceResults = c.devices;
        t.script.windowError = c.windowError;
        testing::internal::CaptureStderr();
        EXPECT_EQ(t.app->StartManager(), c.startResult);
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(t.app->GetStartFailure(), c.failure);
        if (*c.failure != '\0')
            EXPECT_NE(told.find(c.failure), std::string::npos) << told;
        EXPECT_EQ(t.app->HasVideoModeFallenBack(), c.fallback);
        EXPECT_EQ(Count(t.log, "device 0"), c.deviceCalls);
        bool started = c.startResult == 0;
        EXPECT_EQ(t.app->IsQuitting(), !started);
        EXPECT_EQ(t.app->IsRunning(), started);
        EXPECT_EQ(Count(t.log, "scene"), started ? 1 : 0);
        EXPECT_EQ(Count(t.log, "worlds"), started ? 1 : 0);
        EXPECT_EQ(t.app->GetSlideOutMan() != nullptr, started);
        EXPECT_EQ(Count(t.log, "splash closed"), 1);
        if (!started) {
            // The run ends before its first frame, and the stop still deletes what was made.
            t.log.clear();
            EXPECT_FALSE(t.app->Run(true));
            EXPECT_TRUE(t.log.empty());
            t.app->StopManager();
            EXPECT_EQ(Count(t.log, "delete engine"), 1);
            EXPECT_EQ(Count(t.log, "delete parser"), 1);
            EXPECT_EQ(Count(t.log, "delete panels"), 0);
        }
    }
}

TEST(App, AStartWithoutResourceTableOrInputEndsBeforeTheLaterManagers) {
    struct Case {
        const char* name;
        int assetStart;
        int inputStart;
        bool driversStart;
        const char* lastCreated;
        const char* firstMissing;
    };
    const Case cases[] = {
        {"no resource table", 1, 0, true, "create assets", "create events"},
        {"no input", 0, 1, true, "create input", "create drivers"},
        {"drivers refuse", 0, 0, false, "create drivers", "start sound"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.script.assetStart = c.assetStart;
        t.script.inputStart = c.inputStart;
        t.script.driversStart = c.driversStart;
        EXPECT_EQ(t.app->StartManager(), 1);
        EXPECT_TRUE(t.app->IsQuitting());
        EXPECT_FALSE(t.app->IsRunning());
        EXPECT_EQ(Count(t.log, c.lastCreated), 1);
        EXPECT_EQ(Count(t.log, c.firstMissing), 0);
        EXPECT_EQ(Count(t.log, "splash closed"), 1);
        EXPECT_EQ(Count(t.log, "device 0"), 0);
        EXPECT_FALSE(t.app->Run(true));
    }
}

TEST(App, AFrameUpdatesTheManagersInOrder) {
    struct Case {
        const char* name;
        bool quitting;
        bool racePaused;
        Log expected;
    };
    const Case cases[] = {
        {"normal",
         false,
         false,
         {"help", "panels update", "engine update", "drivers", "render", "world frame 16", "sound update",
          "help", "music update", "print update"}},
        {"quitting",
         true,
         false,
         {"help", "sound pause", "panels update", "engine update", "drivers", "render", "world frame 16",
          "sound update", "help", "music update", "print update"}},
        {"race paused",
         false,
         true,
         {"help", "panels update", "engine update", "render", "world frame 16", "sound update", "help",
          "music update", "print update"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        ASSERT_EQ(t.app->StartManager(), 0);
        t.clock->Advance(16000000);
        if (c.quitting)
            t.app->RequestQuit();
        t.script.racePaused = c.racePaused;
        t.log.clear();
        t.app->Update();
        EXPECT_EQ(t.log, c.expected);
        EXPECT_FLOAT_EQ(t.app->GetFrameFactor(), 30.0f / 62.5f);
    }
}

TEST(App, AQuitRequestShowsTheExitPicturesAndStateThirteenEndsTheLoop) {
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    t.app->GetEventMan()->PostMessage(VORNMSG_QUIT_REQUEST);
    t.app->Update();
    // Taken in the frame it was posted in.
    EXPECT_TRUE(t.app->IsExiting());
    EXPECT_EQ(t.app->GetGameStateMan()->GetState(), GAMESTATE_STARTUP);
    EXPECT_FALSE(t.app->IsQuitting());
    EXPECT_EQ(t.app->GetEventMan()->GetPendingCount(VORNMSG_QUIT_REQUEST), 0u);

    // The picture panel sets state 13 after the last exit picture; the loop ends behind it.
    t.log.clear();
    t.app->GetGameStateMan()->SetState(GAMESTATE_QUIT);
    EXPECT_FALSE(t.app->IsQuitting()) << "the quit comes through the window's queue";
    EXPECT_FALSE(t.app->Run(true));
    EXPECT_TRUE(t.app->IsQuitting());
    EXPECT_EQ(Count(t.log, "music off"), 1);
    EXPECT_EQ(Count(t.log, "render"), 1);
}

TEST(App, ATerminationSignalEndsTheLoopAfterItsFrameWithoutTheExitPictures) {
    // One made before the application does not count.
    plat::system::RequestTermination();
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    // With a window the frame loop watches for the signals; once stopped it no longer does.
    EXPECT_TRUE(plat::system::IsTerminationWatched());
    // The signal comes during the second frame, which is finished.
    t.script.onHelpUpdate = [&] {
        if (Count(t.log, "render") == 2)
            plat::system::RequestTermination();
    };
    t.log.clear();
    EXPECT_FALSE(t.app->Run(true));
    EXPECT_EQ(Count(t.log, "render"), 2);
    EXPECT_EQ(t.log.back(), "print update");
    EXPECT_TRUE(t.app->IsQuitting());
    EXPECT_FALSE(t.app->IsExiting());
    t.app->StopManager();
    EXPECT_FALSE(plat::system::IsTerminationWatched());
}

TEST(App, TheRunReturnsTheRestartRequest) {
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    t.script.onHelpUpdate = [&] { t.app->RequestRestart(); };
    EXPECT_TRUE(t.app->Run(true));
    EXPECT_EQ(Count(t.log, "render"), 1);
}

TEST(App, ThePumpHandlesEveryWaitingEventAndThePrintJobsAfterEach) {
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    plat::window::Event quit;
    quit.kind = plat::window::EventKind::Quit;
    plat::window::Event key;
    key.kind = plat::window::EventKind::Key;
    key.key = 65;
    t.parts->window->Push(quit);
    t.parts->window->Push(key);
    t.script.pendingPrintJobs = 5;
    t.log.clear();

    EXPECT_FALSE(t.app->Run(false));
    // One drain and no frame: the quit is seen and the key behind it still reaches the window procedure.
    EXPECT_TRUE(t.app->IsQuitting());
    EXPECT_EQ(t.log, (Log{"print job", "print job"}));
    CMessage message;
    ASSERT_TRUE(t.app->GetEventMan()->GetLatest(VORNMSG_KEY_DOWN, &message));
    EXPECT_EQ(message.GetParam(0), 65.0);
}

TEST(App, ResultsAndInputStartDependOnTheApplicationAndItsErrorManager) {
    ASSERT_EQ(g_pApp, nullptr);
    EXPECT_TRUE(IsResultOk(-1));
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    EXPECT_TRUE(IsResultOk(0));
    EXPECT_FALSE(IsResultOk(-1));
    CIOManager* input = t.app->GetIOManager();
    EXPECT_TRUE(input->IsStarted());
    EXPECT_FALSE(input->CannotStart(nullptr));
    CIOManager unstarted(nullptr);
    EXPECT_TRUE(input->CannotStart(&unstarted));
    EXPECT_FALSE(input->CannotStart(input));
}

TEST(App, TheVolumeOptionsReachTheSoundAndTheMusic) {
    TestApp t;
    ASSERT_EQ(t.app->StartManager(), 0);
    t.log.clear();
    t.app->GetGameOptions()->SetOption(CGameOptions::OPTION_BALANCE, 70);
    t.app->GetGameOptions()->SetOption(CGameOptions::OPTION_VOLUME, 300); // one byte reaches the sound
    EXPECT_EQ(t.log, (Log{"music volume 70", "sound volume 44"}));
}

TEST(App, TheEffectsLevelIsAppliedAtTheStartAndWheneverItIsSet) {
    TestApp t;
    t.store->Set("EffectsLevel", "2");
    ASSERT_EQ(t.app->StartManager(), 0);
    EXPECT_EQ(t.script.effects, (std::vector<std::string>{"taunts on", "shadows on", "skid marks 170"}));
    EXPECT_TRUE(CParticleSystem::IsEnabled());
    t.script.effects.clear();
    t.app->GetGameOptions()->SetOption(CGameOptions::OPTION_EFFECTS_LEVEL, 0);
    EXPECT_EQ(t.script.effects, (std::vector<std::string>{"taunts off", "shadows on", "skid marks 0"}));
    EXPECT_FALSE(CParticleSystem::IsEnabled());
    t.script.effects.clear();
    t.app->GetGameOptions()->SetOption(CGameOptions::OPTION_EFFECTS_LEVEL, 7);
    EXPECT_TRUE(t.script.effects.empty());
    EXPECT_EQ(t.app->GetAdaptiveSfxMan()->GetLevel(), 0);
    CParticleSystem::SetEnabled(true);
}

} // namespace
