#include "EventsTestKit.h"

#include "events/AssetScriptCache.h"
#include "events/ScriptCache.h"
#include "events/WorldEventController.h"
#include "foundation/assets/AssetMan.h"
#include "support/SampleSet.h"
#include "support/TempFolder.h"
#include "world/SplodgeWO.h"
#include "world/WorldObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

using namespace zentrix;

namespace {

using eventstest::CountingSource;
using eventstest::Describe;
using zentrix::CScriptCache;
using zentrix::CScriptParser;

const char* const kGood = "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<Type=2>[event_end]";
const char* const kBad = "[event_begin]AlwaysTrigger<>[then]CarCrazyFX<Type=9>[event_end]";
const char* const kBadMessage =
    "Data out of range from data element 1 in Trigger/Effect number 2 from Event number 1";

TEST(ScriptCache, ParsesEachScriptOnceAndRemembersFailuresAndAbsence) {
    CountingSource source;
    source.assetScripts = {{7, kGood}, {8, kBad}};
    source.resourceTexts = {{50, kGood}, {51, kBad}, {52, ""}};
    CScriptCache cache(&source);
    ASSERT_TRUE(cache.Init());

    // Asset scripts: each id is read once, whatever the answer.
    const CScriptParser::TEventList* good = cache.GetScript(7);
    ASSERT_NE(good, nullptr);
    EXPECT_EQ(Describe(*good), "0{} then 23{0:i2}");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(cache.GetScript(7), good);
        EXPECT_EQ(cache.GetScript(8), nullptr);
        EXPECT_EQ(cache.GetScript(9), nullptr); // no script at all
    }
    EXPECT_EQ(source.assetLoads, 3);
    EXPECT_EQ(
        source.reports,
        (std::vector<std::string>{
            "17|Starting to parse script Objects\\7.msc, object ID 7 ... \r\n \r\n... successfully parsed "
            "script \r\n ",
            "17|Starting to parse script Objects\\8.msc, object ID 8 ... \r\n \r\n" +
                std::string(kBadMessage) + "\r\n \r\n... failed to parse script \r\n \r\n"}));

    // Resource scripts: a failure is remembered, an empty text is asked for again.
    source.reports.clear();
    const CScriptParser::TEventList* resource = cache.GetResourceScript(50);
    ASSERT_NE(resource, nullptr);
    EXPECT_NE(resource, good); // a list of its own
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(cache.GetResourceScript(50), resource);
        EXPECT_EQ(cache.GetResourceScript(51), nullptr);
        EXPECT_EQ(cache.GetResourceScript(52), nullptr);
    }
    EXPECT_EQ(source.textLoads, 4);
    EXPECT_EQ(source.reports,
              std::vector<std::string>{"17|" + std::string(kBadMessage) + " : From scriptFileID 51"});
    EXPECT_EQ(cache.GetScript(50), nullptr); // the two ways keep their own lists
}

TEST(ScriptCache, EntersNothingWithoutTheTablesAndForgetsEverythingWhenCleared) {
    CountingSource source;
    source.assetScripts = {{7, kGood}, {8, kGood}};
    source.resourceTexts = {{50, kGood}};
    CScriptCache cache(&source);

    // Not built: nothing is parsed or entered, so the ids are read again later.
    CScriptParser::FreeKeywordTables();
    EXPECT_FALSE(cache.IsInitialised());
    EXPECT_EQ(cache.GetScript(7), nullptr);
    EXPECT_EQ(cache.GetResourceScript(50), nullptr);
    EXPECT_TRUE(cache.Init());
    EXPECT_NE(cache.GetScript(7), nullptr);
    EXPECT_NE(cache.GetResourceScript(50), nullptr);
    EXPECT_EQ(source.assetLoads, 2);
    EXPECT_EQ(source.textLoads, 2);

    // Cleared: the known ids answer null without a new read, and the tables are gone.
    cache.Clear();
    EXPECT_FALSE(cache.IsInitialised());
    EXPECT_FALSE(CScriptParser().IsReady());
    EXPECT_EQ(cache.GetScript(7), nullptr);
    EXPECT_EQ(cache.GetResourceScript(50), nullptr);
    EXPECT_EQ(source.assetLoads, 2);

    // Started again: new ids parse, the old ones stay null.
    EXPECT_TRUE(cache.Init());
    EXPECT_NE(cache.GetScript(8), nullptr);
    EXPECT_EQ(cache.GetScript(7), nullptr);
    cache.Clear();
    cache.Clear();

    // Bad definitions leave the cache uninitialised, with the tables usable; no source finds nothing.
    source.definitions = "no colon";
    EXPECT_FALSE(cache.Init());
    EXPECT_TRUE(CScriptParser().IsReady());
    CScriptCache detached(nullptr);
    EXPECT_TRUE(detached.Init());
    EXPECT_EQ(detached.GetScript(7), nullptr);
    EXPECT_EQ(detached.GetResourceScript(50), nullptr);
}

TEST(ScriptCache, ServesTheSampleScriptsThroughTheAssetManager) {
    testsupport::TempFolder folder;
    std::filesystem::copy(testsupport::GeneratedSampleSet(), folder.Path(),
                          std::filesystem::copy_options::recursive);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());

    CAssetMan::SLinks links;
    links.makeScriptCache = [](CAssetMan& assets) {
        return std::make_unique<zentrix::CAssetScriptCache>(assets, nullptr);
    };
    CAssetMan assets(std::move(links));
    ASSERT_EQ(assets.StartManager(), 0);
    CScriptCache* cache = zentrix::CAssetScriptCache::Find(&assets);
    ASSERT_NE(cache, nullptr);
    EXPECT_TRUE(cache->IsInitialised());
    assets.PreloadRaceAssets();

    const std::pair<int, std::string> scripts[] = {
        // beside the asset in a library, through data id 64, beside it as loose files
        {30016,
         "3{0:i0 1:f12 6:i0 7:l[60015]} then 20{0:f2.5 1:i800} & 18{0:i9022 1:v(0,1.5,0) 2:i500 3:i0}"},
        {30012,
         "1{0:i2000 1:i5000 2:i500} then 12{0:l[30001] 1:v(0,4,0) 2:v(0.2,0,0) 6:i1 8:i1 9:i8000 10:i1000 "
         "11:i100 14:i0 12:i0 13:v(0,1,0)}"},
        {30014, "3{0:i0 1:f3 6:i0} then 21{0:i7 1:i0} & 17{0:i1}"},
        {60000, "7{0:i3} then 16{0:f1.5 1:f1 2:f1 3:f1.2 4:f1.2 5:f1.3 6:f1 7:i3000 8:i1}"},
        {30001,
         "5{0:f0.5 1:f40} then 11{0:i1 1:i0 2:i80 3:i100 5:l[40010] 6:i2 7:i0 8:i50 9:i60 10:i80} | "
         "3{0:i1 2:f4 3:f3 4:f6 5:v(0,1,0) 6:i0} & 2{0:i500 1:i1500} then 10{0:i2 1:v(1,0.5,0) 2:f3 3:f0} & "
         "15{0:i50074 1:i1000}"},
        // texts that are not scripts, and an asset without one
        {15299, "null"},
        {30003, "null"},
        {16200, "null"},
    };
    for (const auto& [id, expected] : scripts) {
        const CScriptParser::TEventList* events = cache->GetScript(id);
        EXPECT_EQ(events ? Describe(*events) : "null", expected) << id;
    }
    const std::pair<int, std::string> resources[] = {
        {50069, "0{} then 19{0:i1 1:i1200 2:i360}"},
        {50072, "0{} then 23{0:i2 1:i3000}"},
        {50074, "0{} then 24{0:f1.5} & 22{0:i0 1:i1500}"},
    };
    for (const auto& [id, expected] : resources) {
        const CScriptParser::TEventList* events = cache->GetResourceScript(id);
        EXPECT_EQ(events ? Describe(*events) : "null", expected) << id;
    }

    EXPECT_EQ(assets.StopManager(), 0);
    EXPECT_EQ(zentrix::CAssetScriptCache::Find(&assets), nullptr);
    EXPECT_FALSE(CScriptParser().IsReady());
    CScriptParser::BuildKeywordTables("");
    std::filesystem::current_path(previous);
}

// Every resource script a race can start is parsed by the preload at the race's start, not at its first
// use during play: the real cache, watched for what the asset manager asks of it.
TEST(ScriptCache, TheRacePreloadParsesEveryScriptARaceCanStart) {
    struct WatchedCache : IScriptCacheLink {
        explicit WatchedCache(CAssetMan& assets) : real(assets, nullptr) {}
        void Init() override { real.Init(); }
        void Clear() override { real.Clear(); }
        void GetResourceScript(int id) override {
            asked.push_back(id);
            real.GetResourceScript(id);
        }
        zentrix::CAssetScriptCache real;
        std::vector<int> asked;
    };
    testsupport::TempFolder folder;
    std::filesystem::copy(testsupport::GeneratedSampleSet(), folder.Path(),
                          std::filesystem::copy_options::recursive);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    WatchedCache* watched = nullptr;
    CAssetMan::SLinks links;
    links.makeScriptCache = [&watched](CAssetMan& assets) {
        auto cache = std::make_unique<WatchedCache>(assets);
        watched = cache.get();
        return cache;
    };
    CAssetMan assets(std::move(links));
    ASSERT_EQ(assets.StartManager(), 0);
    ASSERT_NE(watched, nullptr);
    assets.PreloadRaceAssets();

    const std::pair<const char*, int> started[] = {
        {"a spin splat", CSplodgeWO::kSpinScript},      {"a crazy splat", CSplodgeWO::kCrazyScript},
        {"a bounce splat", CSplodgeWO::kBounceScript},  {"the barrel's effect on what hits it", 50074},
        {"the beacon's glow on what passes it", 50075},
    };
    for (const auto& [what, id] : started)
        EXPECT_NE(std::find(watched->asked.begin(), watched->asked.end(), id), watched->asked.end()) << what;
    // Whatever the list names is a script that parses: no record that is not one.
    for (int id : watched->asked)
        EXPECT_NE(watched->real.GetCache().GetResourceScript(id), nullptr) << id;

    EXPECT_EQ(assets.StopManager(), 0);
    CScriptParser::BuildKeywordTables("");
    std::filesystem::current_path(previous);
}

// A world object's controller loads the script of the object's type from the asset manager's cache.
TEST(ScriptCache, AWorldObjectsControllerLoadsTheScriptOfItsType) {
    testsupport::TempFolder folder;
    std::filesystem::copy(testsupport::GeneratedSampleSet(), folder.Path(),
                          std::filesystem::copy_options::recursive);
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    CAssetMan::SLinks links;
    links.makeScriptCache = [](CAssetMan& assets) {
        return std::make_unique<zentrix::CAssetScriptCache>(assets, nullptr);
    };
    CAssetMan assets(std::move(links));
    ASSERT_EQ(assets.StartManager(), 0);
    const std::pair<int, bool> objects[] = {{30016, true}, {31001, false}, {15224, true}};
    for (auto [typeId, loaded] : objects) {
        zentrix::CWorldObject object(typeId, -1);
        auto controller = zentrix::CWorldEventController::Make(&assets);
        EXPECT_EQ(controller->LoadScript(object), loaded) << typeId;
        controller->Update(16);
    }
    // Without an asset manager there is no cache: nothing loads.
    zentrix::CWorldObject object(30016, -1);
    EXPECT_FALSE(zentrix::CWorldEventController::Make(nullptr)->LoadScript(object));
    EXPECT_EQ(assets.StopManager(), 0);
    CScriptParser::BuildKeywordTables("");
    std::filesystem::current_path(previous);
}

} // namespace
