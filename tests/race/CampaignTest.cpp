// The campaign: its definition from the sample set, node states from the stored progress, the items
// nodes keep locked, and definitions that are cut short or claim too much.

#include "RaceSample.h"

#include "app/RaceSetup.h"
#include "foundation/data/DataFile.h"
#include "fuzz/CampaignDictionary.h"
#include "race/CampaignAsset.h"
#include "race/CampaignMan.h"
#include "race/CampaignNode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using States = std::vector<int>;

class Campaign : public racetest::RaceSample {
protected:
    States StatesOf(const CCampaignMan& campaign) const {
        States out;
        for (int i = 0; i < campaign.GetNodeCount(); ++i)
            out.push_back(campaign.GetNodeState(i));
        return out;
    }
    static bool Locked(const CCampaignMan& campaign, int index, int group) {
        int position = -1;
        return campaign.FindLockedItem(index, group, position);
    }
    std::string Stored() const {
        std::string value;
        return store.Get(CCampaignMan::kProgressSetting, value) ? value : "<absent>";
    }
};

TEST_F(Campaign, NodeStatesAndLockedItemsFollowTheStoredProgress) {
    const struct {
        const char* stored; // nullptr: absent
        States states;
        bool item105, item210;
    } cases[] = {
        {nullptr, {1, 0, 0, 0, 0, 0}, true, true}, {"0", {1, 0, 0, 0, 0, 0}, true, true},
        {"2", {2, 2, 1, 0, 0, 0}, false, true},    {"4", {2, 2, 2, 2, 1, 0}, false, false},
        {"-3", {1, 0, 0, 0, 0, 0}, true, true},    {"6", {2, 2, 2, 2, 2, 2}, false, false},
        {"99", {2, 2, 2, 2, 2, 2}, false, false},  {"two", {1, 0, 0, 0, 0, 0}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "absent");
        plat::settings::MemoryStore fresh;
        if (c.stored)
            fresh.Set(CCampaignMan::kProgressSetting, c.stored);
        CAppSettings values(fresh);
        CCampaignMan campaign(assets.get(), &values);
        ASSERT_EQ(campaign.StartManager(), 0);
        EXPECT_TRUE(campaign.IsStarted());
        EXPECT_EQ(StatesOf(campaign), c.states);
        EXPECT_EQ(Locked(campaign, 5, 1), c.item105);
        EXPECT_EQ(Locked(campaign, 10, 2), c.item210);
        EXPECT_EQ(campaign.GetCurrentNode(), -1);
        // Starting never writes the progress.
        std::string after;
        EXPECT_EQ(fresh.Get(CCampaignMan::kProgressSetting, after), c.stored != nullptr);
        if (c.stored)
            EXPECT_EQ(after, c.stored);
    }
}

TEST_F(Campaign, NodesTakeTheirQuotedStringsByGroupAndPlace) {
    CCampaignMan campaign(assets.get(), &settings);
    ASSERT_EQ(campaign.StartManager(), 0);
    ASSERT_EQ(campaign.GetNodeCount(), 6);
    const struct {
        const char* track;
        int laps, world;
        std::uint32_t mask;
        int locked;
    } nodes[] = {
        {"camp01.trk", 3, 0, 256 | 512, -1},
        {"camp02.trk", 3, 1, 1024 | 2048, 105},
        {"camp03.trk", 4, 2, 65536 | 131072 | 262144, -1},
        {"camp04.trk", 4, 3, 524288, 210},
        {"camp05.trk", 5, 0, 4096 | 256 | 512, -1},
        {"camp06.trk", 3, 2, 262144 | 131072 | 524288, -1},
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const CCampaignNode* node = campaign.GetNode(i);
        ASSERT_NE(node, nullptr);
        EXPECT_TRUE(node->IsFilled());
        const CCampaignNode::SRecord& record = node->GetRecord();
        EXPECT_STREQ(record.trackFile, nodes[i].track);
        EXPECT_EQ(record.laps, nodes[i].laps);
        EXPECT_EQ(record.world, nodes[i].world);
        EXPECT_EQ(record.opponentMask, nodes[i].mask);
        EXPECT_EQ(record.lockedItem, nodes[i].locked);
    }
    EXPECT_EQ(campaign.GetNode(6), nullptr);
    EXPECT_EQ(campaign.GetNode(-1), nullptr);
    EXPECT_EQ(campaign.GetLockedItems()[0], 105);
    EXPECT_EQ(campaign.GetLockedItems()[1], 210);
    EXPECT_EQ(campaign.GetLockedItems()[2], -1);
    int position = -1;
    EXPECT_TRUE(campaign.FindLockedItem(10, 2, position));
    EXPECT_EQ(position, 1);
    EXPECT_FALSE(campaign.FindLockedItem(5, 2, position));
    EXPECT_FALSE(campaign.FindLockedItem(-1, -1, position));

    CRaceSetup setup;
    ClearRaceSetup(setup);
    campaign.CopyNodeSetup(5, setup);
    EXPECT_STREQ(setup.trackFile, "camp06.trk");
    EXPECT_EQ(setup.trackDirectory, CCampaignMan::kTrackFolder);
    EXPECT_EQ(setup.laps, 3);
    EXPECT_EQ(setup.world, 2);
    campaign.CopyNodeSetup(6, setup);
    campaign.CopyNodeSetup(-1, setup);
    EXPECT_STREQ(setup.trackFile, "camp06.trk");
}

TEST_F(Campaign, ANodeDoneRaisesTheProgressAndFreesItsItemButNothingLowersIt) {
    store.Set(CCampaignMan::kProgressSetting, "2");
    CCampaignMan campaign(assets.get(), &settings);
    ASSERT_EQ(campaign.StartManager(), 0);
    const struct {
        int node, state;
        const char* stored;
    } steps[] = {
        {3, 2, "4"}, {1, 2, "4"}, {0, 1, "4"}, {5, 2, "6"}, {4, 2, "6"}, {6, 2, "6"}, {-1, 2, "6"},
    };
    for (const auto& s : steps) {
        campaign.SetNodeState(s.node, s.state);
        EXPECT_EQ(Stored(), s.stored) << s.node;
    }
    EXPECT_EQ(StatesOf(campaign), (States{1, 2, 1, 2, 2, 2}));
    EXPECT_FALSE(Locked(campaign, 10, 2));
    EXPECT_EQ(campaign.GetNodeState(6), -1);
    EXPECT_EQ(campaign.GetProgress(), 6);

    for (const auto& [asked, kept] : {std::pair{3, 3}, {-1, -1}, {5, 5}, {6, 5}, {-2, 5}}) {
        campaign.SetCurrentNode(asked);
        EXPECT_EQ(campaign.GetCurrentNode(), kept) << asked;
    }
    EXPECT_EQ(campaign.GetUnlockStage(), 0);
}

TEST_F(Campaign, StartAndStopLeaveNothingBehindAndAFailedStartNothingAtAll) {
    const int liveNodes = CCampaignNode::LiveCount();
    {
        CCampaignMan campaign(assets.get(), &settings);
        ASSERT_EQ(campaign.StartManager(), 0);
        ASSERT_EQ(campaign.StartManager(), 0); // again: the old nodes go first
        EXPECT_EQ(campaign.GetNodeCount(), 6);
        EXPECT_EQ(CCampaignNode::LiveCount(), liveNodes + 6);
        campaign.SetCurrentNode(2);
        EXPECT_EQ(campaign.StopManager(), 0);
        EXPECT_FALSE(campaign.IsStarted());
        EXPECT_EQ(campaign.GetCurrentNode(), -1);
        EXPECT_EQ(campaign.GetNodeCount(), 0);
        EXPECT_EQ(CCampaignNode::LiveCount(), liveNodes);
    }
    CCampaignMan none(nullptr, nullptr);
    EXPECT_EQ(none.StartManager(), 1);
    EXPECT_FALSE(none.IsStarted());
    EXPECT_EQ(none.GetNodeCount(), 0);
    EXPECT_EQ(none.GetLockedItems()[0], -1);
    EXPECT_EQ(none.GetProgress(), 0);
    EXPECT_EQ(CCampaignAsset::LiveCount(), 0);
}

// A definition of `count` nodes made in memory, each group's texts filled for five nodes.
std::vector<std::uint8_t> Definition(int count) {
    CDataFile file(campaignfuzz::CampaignDictionary());
    const std::int32_t format[] = {44};
    file.SetInts(0, format);
    const std::int32_t value[] = {count};
    file.SetInts(281, value);
    for (int group = 0; group < 8; ++group) {
        std::string tracks;
        for (int place = 0; place < 5; ++place)
            tracks += "\"t" + std::to_string(group * 5 + place) + ".trk\" ";
        file.SetText(282 + group, tracks);
    }
    return file.WriteToMemory("test");
}

TEST(CampaignAsset, CountsBeyondTheFieldsAreRefusedAndNoneGiveNoNodes) {
    const struct {
        int count;
        bool loaded;
        int nodes;
    } cases[] = {{40, true, 40}, {41, false, 0}, {2000000000, false, 0}, {0, true, 0}, {-3, true, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        CDataFile file(campaignfuzz::CampaignDictionary());
        ASSERT_TRUE(file.LoadFromMemory(Definition(c.count), true));
        CCampaignAsset asset;
        EXPECT_EQ(asset.Load(&file), c.loaded);
        EXPECT_EQ(asset.GetNodeCount(), c.nodes);
        if (c.nodes == 40) {
            EXPECT_STREQ(asset.GetNode(39)->GetRecord().trackFile, "t39.trk");
            EXPECT_EQ(asset.GetNode(39)->GetRecord().laps, 3);        // the dictionary's default
            EXPECT_EQ(asset.GetNode(39)->GetRecord().lockedItem, -1); // likewise
        }
    }
    CCampaignAsset none;
    EXPECT_FALSE(none.Load(nullptr));
}

TEST(CampaignAsset, QuotedStringsByPlace) {
    const std::string longName(2000, 'n');
    const struct {
        std::string text;
        int place;
        std::string out;
    } cases[] = {
        {"\"a\" \"bb\" \"c\"", 1, "bb"},
        {"\"a\" \"bb\"", 2, ""},
        {"x\"open", 0, "open"},
        {"\"\" \"b\"", 0, ""},
        {"\"a\"", -1, ""},
        {"no quotes", 0, ""},
        {"\"" + longName + "\"", 0, longName.substr(0, 1023)},
        {"\"a\"\"b\"", 1, "b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CCampaignAsset::QuotedString(c.text, c.place), c.out) << c.text.substr(0, 20) << c.place;
    EXPECT_EQ(CCampaignAsset::OpponentMask("fgsrvbamxF?"),
              256u | 512 | 1024 | 2048 | 65536 | 131072 | 262144 | 524288 | 4096);
}

TEST_F(Campaign, ACutDefinitionGivesItsNodesOrTheDefaultsNeverPartOfAValue) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(assets->GetAssetData(CCampaignAsset::kAssetId, bytes));
    CDataFile whole(campaignfuzz::CampaignDictionary());
    ASSERT_TRUE(whole.LoadFromMemory(bytes, true));
    CCampaignAsset full;
    ASSERT_TRUE(full.Load(&whole));
    ASSERT_EQ(full.GetNodeCount(), 6);
    EXPECT_EQ(full.GetValue(), 7);
    int refused = 0;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        // The data file keeps the values before the cut; the fields after it answer their defaults.
        CDataFile file(campaignfuzz::CampaignDictionary());
        file.LoadFromMemory(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)),
                            true);
        CCampaignAsset asset;
        refused += !asset.Load(&file);
        ASSERT_TRUE(asset.GetNodeCount() == 0 || asset.GetNodeCount() == 6);
        for (int i = 0; i < asset.GetNodeCount(); ++i) {
            const CCampaignNode::SRecord& got = asset.GetNode(i)->GetRecord();
            const CCampaignNode::SRecord& want = full.GetNode(i)->GetRecord();
            EXPECT_TRUE(std::strcmp(got.trackFile, want.trackFile) == 0 || got.trackFile[0] == 0) << i;
            EXPECT_TRUE(got.lockedItem == want.lockedItem || got.lockedItem == -1) << i;
            EXPECT_TRUE(got.opponentMask == want.opponentMask || got.opponentMask == 0) << i;
        }
    }
    // Only a cut inside the header leaves no data file at all.
    EXPECT_EQ(refused, static_cast<int>(CDataFile::kHeaderSize));
}

} // namespace
