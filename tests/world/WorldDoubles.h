#pragma once

// Doubles of the world's seams, each answering as the class it stands for will, and a fixture that
// serves the world from the sample set: the real asset manager (with its texture and mesh caches), a
// headless engine manager, and a shell that records what the world asks of it.

#include "app/RaceSetup.h"
#include "foundation/assets/AssetHost.h"
#include "foundation/assets/AssetMan.h"
#include "foundation/math/Random.h"
#include "render/AssetAnimTextures.h"
#include "render/AssetRenderAssets.h"
#include "render/EngineMan.h"
#include "render/FakeEngineServices.h"
#include "ui/SlideOut.h"
#include "world/ActiveWorldObject.h"
#include "world/CarLink.h"
#include "world/EventControllerLink.h"
#include "world/LapOfHonourLink.h"
#include "world/RaceWorldLink.h"
#include "world/SpawningManLink.h"
#include "world/WorldMan.h"
#include "world/WorldObject.h"
#include "world/WorldServices.h"
#include "world/WorldSounds.h"
#include "world/WorldTopography.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace zentrix;

namespace worldtest {

using Log = std::vector<std::string>;

/// The sounds of the world's objects, logged: "at 55011 loop slot 2", "car 51093 slot 0".
class RecordingSounds : public IWorldSounds {
public:
    void PlayCarSound(int soundId, int slot) override {
        played.push_back("car " + std::to_string(soundId) + " slot " + std::to_string(slot));
    }
    void StartCarSound(int, int) override {}
    void SetCarPosition(int, const CVector&, float) override {}
    void StartCarLoop(int, int) override {}
    void StopCarLoop(int) override {}
    void PlaySoundAt(int soundId, const CVector&, bool looping, int driverSlot) override {
        played.push_back("at " + std::to_string(soundId) + (looping ? " loop" : " once") + " slot " +
                         std::to_string(driverSlot));
    }
    float GetHearingDistance() const override { return 90.0f; }

    Log played;
};

/// The assets of the tests' stand-in car and jam truck, which the tests' links make.
constexpr int kStandInCar = 60090;
constexpr int kStandInTruck = 60095;

/// A car as pieces, pickups and pads see it: an active object with a driver slot (-1: no driver), whether
/// it takes pickups, the type it holds, and the types it was given. The jam truck is one that never takes
/// pickups.
class TestCar : public CActiveWorldObject, public ICarLink {
public:
    TestCar(int assetId, int lifeMs, bool jamTruck)
        : CActiveWorldObject(assetId, lifeMs), truck(jamTruck), takes(!jamTruck), slot(jamTruck ? 4 : 0) {}
    int GetDriverSlot() const override { return slot; }
    bool TakesPickups() const override { return takes; }
    int GetPickupType() const override { return held; }
    void GivePickup(int type) override {
        held = type;
        given.push_back(type);
    }
    bool IsJamTruck() const override { return truck; }

    bool truck;
    bool takes;
    int slot;
    int held = -1;
    std::vector<int> given;
};

/// The shell as the world reaches it: real asset and engine managers, everything else recorded.
class FakeWorldServices : public IWorldServices {
public:
    explicit FakeWorldServices(worldtest::Log& log) : m_log(log) {}

    CAssetMan* GetAssetMan() override { return assets; }
    CEngineMan* GetEngineMan() override { return engine; }
    IRenderAssets* GetRenderAssets() override { return renderAssets; }
    IAnimTextures* GetAnimTextures() override { return animTextures; }
    float GetFrameFactor() const override { return 1.0f; }
    void ClearMessages() override { m_log.push_back("clear messages"); }
    int GetPreviousGameState() const override { return previousState; }
    void BuildRaceSetup(CRaceSetup& setup) override {
        m_log.push_back("build set-up");
        ClearRaceSetup(setup);
        setup.world = theme;
        setup.racerCount = 2;
        setup.driver[0] = 9;
        setup.driver[1] = 3;
    }
    void SetInputRecording(bool on) override { m_log.push_back(on ? "recording on" : "recording off"); }
    void SetInputPlayback(bool on) override { m_log.push_back(on ? "playback on" : "playback off"); }
    CSlideOut* FindSlideOut(int index) override {
        return index == CWorldMan::kLapOfHonourPanel ? lapPanel : nullptr;
    }
    bool UseGameTimer() const override { return gameTimer; }
    void Log(int channel, const std::string& text) override {
        m_log.push_back("log " + std::to_string(channel) + " " + text);
    }
    /// Kept as "<level> <text>" while `recordTraces` is set (every physics step traces).
    void Trace(int level, const std::string& text) override {
        if (recordTraces)
            traces.push_back(std::to_string(level) + " " + text);
    }
    IWorldSounds* GetSounds() override { return sounds; }
    int GetGameState() const override { return gameState; }

    CAssetMan* assets = nullptr;
    CEngineMan* engine = nullptr;
    IRenderAssets* renderAssets = nullptr;
    IAnimTextures* animTextures = nullptr;
    CSlideOut* lapPanel = nullptr;
    IWorldSounds* sounds = nullptr;
    int gameState = -1;
    int previousState = 0;
    int theme = 2;
    bool gameTimer = false;
    bool recordTraces = false;
    worldtest::Log traces;

private:
    worldtest::Log& m_log;
};

/// The shell as the asset manager reaches it: only the current world id is asked (-1: none; 0 the workshop).
class FakeAssetHost : public IAssetHost {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
    void PostQuit() override {}
    int GetVideoMode() const override { return 0; }
    int GetGameMode() const override { return -1; }
    int GetCurrentCampaignNode() const override { return -1; }
    int GetCurrentWorldId() const override { return worldId; }
    int worldId = -1;
};

/// A world manager that logs each step ("4 activate") and does as told.
class RecordingWorld : public CWorldMan {
public:
    RecordingWorld(int id, Log& log, bool setsUpSharedWorld)
        : m_id(id), m_log(log), m_shared(setsUpSharedWorld) {}
    int Create() override {
        Note("create");
        CWorldMan::Create();
        if (failCreate)
            return 1;
        return m_shared && !InitSharedWorld() ? 1 : 0;
    }
    int Destroy() override {
        Note("destroy");
        if (m_shared)
            FreeSharedWorld();
        return CWorldMan::Destroy();
    }
    void Activate() override { Note("activate"); }
    void Deactivate() override {
        Note("deactivate");
        // A world may draw from the generator on its way out.
        Random::Next();
        CWorldMan::Deactivate();
    }
    bool CanActivate() override {
        Note("can activate");
        return canActivate;
    }
    void PreFrame() override {
        Note("pre-frame");
        if (onPreFrame)
            onPreFrame();
    }
    void Tick(unsigned ms) override {
        Note("tick " + std::to_string(ms));
        CWorldMan::Tick(ms);
    }

    bool failCreate = false;
    bool canActivate = true;
    std::function<void()> onPreFrame;

protected:
    void Note(const std::string& what) { m_log.push_back(std::to_string(m_id) + " " + what); }
    int m_id;
    Log& m_log;

private:
    bool m_shared;
};

/// The race world: starts are logged with the first three numbers the race draws.
class RecordingRaceWorld : public RecordingWorld, public IRaceWorldLink {
public:
    RecordingRaceWorld(Log& log) : RecordingWorld(1, log, true) {}
    void StartRace(const CRaceSetup& setup, bool lapOfHonour) override {
        std::vector<int> draws;
        for (int i = 0; i < 3; ++i)
            draws.push_back(Random::Next());
        starts.push_back({setup, lapOfHonour, draws});
        Note(lapOfHonour ? "lap of honour" : "start race");
    }
    IWorldTopographyLink* GetTopography() override { return ground; }
    bool HasStarted() const override { return started; }
    bool IsPaused() const override { return paused; }
    void ReportTauntEvent(CWorldObject* car, int event) override { taunts.push_back({car, event}); }
    bool IsRaceActive() const override { return active; }
    /// A jam truck (asset 60095) driven from `truckSlot`, or none when `refuseTruck`; logged.
    CWorldObject* SpawnJamTruck(int delayMs, int driverSlot) override {
        Note("spawn truck " + std::to_string(delayMs) + " " + std::to_string(driverSlot));
        if (refuseTruck)
            return nullptr;
        auto* truck = dynamic_cast<TestCar*>(CWorldMan::CreateWorldObject(60095, 0, 0, 0, -1));
        if (truck)
            truck->slot = truckSlot;
        return truck;
    }

    void RemoveJamTruck(CWorldObject* truck) override { removedTrucks.push_back(truck); }
    void RequestStuntCam(const CVector& position, CWorldObject* car, unsigned durationMs) override {
        stuntCams.push_back({position, car, durationMs});
    }

    std::vector<CWorldObject*> removedTrucks;
    bool active = true;
    bool refuseTruck = false;
    int truckSlot = 4;

    struct SStart {
        CRaceSetup setup;
        bool lapOfHonour;
        std::vector<int> draws;
    };
    std::vector<SStart> starts;
    struct SStuntCam {
        CVector position;
        CWorldObject* car;
        unsigned durationMs;
    };
    std::vector<SStuntCam> stuntCams;
    IWorldTopographyLink* ground = nullptr;
    bool started = false;
    bool paused = false;
    std::vector<std::pair<CWorldObject*, int>> taunts;
};

/// An event controller that logs what it runs; objects of `scripted` type ids have a script.
class RecordingEvents : public IEventControllerLink {
public:
    RecordingEvents(Log& log, std::vector<int> scripted) : m_log(log), m_scripted(std::move(scripted)) {}
    bool LoadScript(CWorldObject& owner) override {
        m_owner = &owner;
        m_log.push_back("script " + std::to_string(owner.GetTypeId()));
        return std::find(m_scripted.begin(), m_scripted.end(), owner.GetTypeId()) != m_scripted.end();
    }
    void Update(unsigned ms) override {
        m_log.push_back("events " + std::to_string(m_owner ? m_owner->GetTypeId() : -1) + " " +
                        std::to_string(ms));
    }
    /// Logged as "add events <owner> <script> <timeout>"; the cache would find every sample script.
    bool AddEvents(int scriptId, int timeoutMs) override {
        m_log.push_back("add events " + std::to_string(m_owner ? m_owner->GetTypeId() : -1) + " " +
                        std::to_string(scriptId) + " " + std::to_string(timeoutMs));
        return true;
    }

private:
    Log& m_log;
    std::vector<int> m_scripted;
    CWorldObject* m_owner = nullptr;
};

/// The spawning manager: logs what it is told ("spawn remove 31000").
class RecordingSpawning : public ISpawningManLink {
public:
    explicit RecordingSpawning(Log& log) : m_log(log) {}
    int StartManager() override {
        m_log.push_back("spawn start");
        return 0;
    }
    int StopManager() override {
        m_log.push_back("spawn stop");
        return 0;
    }
    void Enable() override { m_log.push_back("spawn enable"); }
    void Disable() override { m_log.push_back("spawn disable"); }
    void AddObject(CWorldObject* o) override {
        m_log.push_back("spawn add " + std::to_string(o->GetTypeId()));
    }
    void RemoveObject(CWorldObject* o) override {
        m_log.push_back("spawn remove " + std::to_string(o->GetTypeId()));
    }
    void RemoveAllPickups() override { m_log.push_back("spawn remove pickups"); }
    void Update(unsigned ms) override { m_log.push_back("spawn update " + std::to_string(ms)); }

private:
    Log& m_log;
};

/// The lap-of-honour panel: racers in reverse order.
class ReversingPanel : public CSlideOut, public ILapOfHonourLink {
public:
    ReversingPanel() : CSlideOut(0, nullptr, false) {}
    void OnControl(int) override {}
    void AttachWorld() override {}
    void FillRaceSetup(CRaceSetup& setup) override {
        std::reverse(setup.driver, setup.driver + std::max(0, std::min(setup.racerCount, kMaxRacers)));
    }
};

/// The sample set as the working folder, an asset manager started on it with the real graphics caches,
/// a headless engine manager with its scene, and the world registry linked to them and to the doubles
/// above. Each test leaves the registry empty.
class WorldFixture : public testing::Test {
protected:
    WorldFixture();
    ~WorldFixture() override;
    void SetUp() override;
    void TearDown() override;

    /// The registry's links: the services, the recording worlds (`worlds` made when asked), the
    /// spawning and event doubles, and the stand-in car and truck.
    SWorldLinks Links();
    /// Links installed and worlds created.
    void CreateWorlds();
    /// The recording world of an id (the race world for 1 and 3).
    RecordingWorld* World(int id) { return dynamic_cast<RecordingWorld*>(CWorldMan::GetWorld(id)); }
    RecordingRaceWorld* Race() { return dynamic_cast<RecordingRaceWorld*>(CWorldMan::GetWorld(1)); }
    /// The log without the entries that begin with any of the prefixes.
    Log Without(const std::vector<std::string>& prefixes) const;

    Log log;
    FakeWorldServices services{log};
    FakeEngineServices engineServices;
    FakeAssetHost assetHost;
    std::unique_ptr<CAssetMan> assets;
    std::unique_ptr<CEngineMan> engine;
    std::unique_ptr<CAssetRenderAssets> renderAssets;
    std::unique_ptr<CAssetAnimTextures> animTextures;
    std::vector<int> scripted;
    /// Worlds whose Create fails, and whether the worlds make the spawning manager.
    std::vector<int> failingWorlds;
    bool withSpawning = true;
    /// The game's spawning manager rather than the recording one.
    bool realSpawning = false;

private:
    std::filesystem::path m_previous;
};

} // namespace worldtest
