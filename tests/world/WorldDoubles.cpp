#include "WorldDoubles.h"

#include "render/assets/GraphicsCaches.h"
#include "support/SampleSet.h"
#include "support/TempFolder.h"
#include "world/ActiveWorldObject.h"
#include "world/SpawningMan.h"

#include <cstdlib>
#include <stdexcept>

namespace worldtest {

namespace {

bool SetsUpSharedWorld(int id) {
    return id == 0 || id == 1 || id == 2 || id == 4 || id == 5 || id == 6 || id == 11;
}

} // namespace

WorldFixture::WorldFixture() : m_previous(std::filesystem::current_path()) {}

WorldFixture::~WorldFixture() {
    std::filesystem::current_path(m_previous);
}

void WorldFixture::SetUp() {
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
    CAssetMan::SLinks links;
    links.host = &assetHost;
    CGraphicsCaches* caches = nullptr;
    links.makeGraphicsCaches = [&caches](CAssetMan& a) {
        auto made = std::make_unique<CGraphicsCaches>(a);
        caches = made.get();
        return made;
    };
    assets = std::make_unique<CAssetMan>(std::move(links));
    ASSERT_EQ(assets->StartManager(), 0);
    CEngineMan::SetTextureLoader([caches](const char* name) { return caches->EngineTextureCallback(name); });
    // The engine's pointer picture, so the scene starts as in the game.
    assets->GetAssetData(CEngineMan::kPointerImageId, engineServices.assets[CEngineMan::kPointerImageId]);
    engine = std::make_unique<CEngineMan>(&engineServices);
    ASSERT_TRUE(engine->CreateDevice(nullptr, 0));
    ASSERT_TRUE(engine->InitScene());
    renderAssets = std::make_unique<CAssetRenderAssets>(*assets);
    animTextures = std::make_unique<CAssetAnimTextures>(*assets);
    services.assets = assets.get();
    services.engine = engine.get();
    services.renderAssets = renderAssets.get();
    services.animTextures = animTextures.get();
    CWorldMan::SetLinks(Links());
}

void WorldFixture::TearDown() {
    CWorldMan::DestroyWorlds();
    CWorldMan::SetLinks({});
    EXPECT_EQ(CWorldObject::LiveCount(), 0);
    EXPECT_EQ(CWorldMan::LiveCount(), 0);
    engine.reset();
    CEngineMan::SetTextureLoader(nullptr);
    if (assets)
        assets->StopManager();
    assets.reset();
}

SWorldLinks WorldFixture::Links() {
    SWorldLinks links;
    links.services = &services;
    links.makeWorld = [this](int id) -> std::unique_ptr<CWorldMan> {
        std::unique_ptr<RecordingWorld> world;
        if (id == CWorldMan::kRace)
            world = std::make_unique<RecordingRaceWorld>(log);
        else
            world = std::make_unique<RecordingWorld>(id, log, SetsUpSharedWorld(id));
        world->failCreate = std::find(failingWorlds.begin(), failingWorlds.end(), id) != failingWorlds.end();
        return world;
    };
    links.makeSpawningMan = [this]() -> std::unique_ptr<ISpawningManLink> {
        if (realSpawning)
            return std::make_unique<CSpawningMan>();
        return withSpawning ? std::make_unique<RecordingSpawning>(log) : nullptr;
    };
    links.makeEventController = [this](CWorldObject&) {
        return std::make_unique<RecordingEvents>(log, scripted);
    };
    // The stand-in car 60090 and truck 60095: active objects answering as cars; every other object is
    // the world's own.
    links.makeObjectOfKind = [](int, int assetId, int lifeMs) -> std::unique_ptr<CWorldObject> {
        if (assetId == kStandInCar || assetId == kStandInTruck)
            return std::make_unique<TestCar>(assetId, lifeMs, assetId != kStandInCar);
        return nullptr;
    };
    return links;
}

void WorldFixture::CreateWorlds() {
    CWorldMan::SetLinks(Links());
    ASSERT_TRUE(CWorldMan::CreateWorlds());
}

Log WorldFixture::Without(const std::vector<std::string>& prefixes) const {
    Log out;
    for (const std::string& entry : log) {
        bool skip = false;
        for (const std::string& prefix : prefixes)
            skip = skip || entry.rfind(prefix, 0) == 0;
        if (!skip)
            out.push_back(entry);
    }
    return out;
}

} // namespace worldtest
