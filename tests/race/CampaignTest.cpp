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

/// The sample campaign's nodes: each keeps a palette item locked, the last the scenery's item 14.
constexpr int kNodes = 34;
constexpr int kLastNode = kNodes - 1;

class Campaign : public racetest::RaceSample {
protected:
    /// The states of nodes -1 to 5 and of the last node and the one past it.
    static States StatesOf(const CCampaignMan& campaign) {
        States out;
        for (int i : {-1, 0, 1, 2, 3, 4, 5, kLastNode, kLastNode + 1})
            out.push_back(campaign.GetNodeState(i));
        return out;
    }
    static bool Locked(const CCampaignMan& campaign, int index, int group) {
        int position = -1;
        return campaign.FindLockedItem(index, group, position);
    }
};

TEST_F(Campaign, NodeStatesAndLockedItemsFollowTheStoredProgress) {
    const struct {
        const char* stored; // null: absent
        States states;      // nodes -1 to 5, the last and the one past it
        bool item105, item210, item214;
    } cases[] = {
        {nullptr, {-1, 1, 0, 0, 0, 0, 0, 0, -1}, true, true, true},
        {"2", {-1, 2, 2, 1, 0, 0, 0, 0, -1}, false, true, true},
        {"4", {-1, 2, 2, 2, 2, 1, 0, 0, -1}, false, false, true},
        {"-3", {-1, 1, 0, 0, 0, 0, 0, 0, -1}, true, true, true},
        {"33", {-1, 2, 2, 2, 2, 2, 2, 1, -1}, false, false, true},
        {"99", {-1, 2, 2, 2, 2, 2, 2, 2, -1}, false, false, false},
        {"two", {-1, 1, 0, 0, 0, 0, 0, 0, -1}, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "absent");
        plat::settings::MemoryStore values;
        if (c.stored)
            values.Set(CCampaignMan::kProgressSetting, c.stored);
        CAppSettings progress(values);
        CCampaignMan campaign(assets.get(), &progress);
        ASSERT_EQ(campaign.StartManager(), 0);
        EXPECT_EQ(StatesOf(campaign), c.states);
        EXPECT_EQ(Locked(campaign, 5, 1), c.item105);
        EXPECT_EQ(Locked(campaign, 10, 2), c.item210);
        EXPECT_EQ(Locked(campaign, 14, 2), c.item214);
        // Starting never writes the progress, not even one out of range.
        EXPECT_EQ(values.Writes(), c.stored ? 1 : 0);
    }
}

TEST_F(Campaign, NodesTakeTheirQuotedStringsByGroupAndPlace) {
    CCampaignMan campaign(assets.get(), &settings);
    ASSERT_EQ(campaign.StartManager(), 0);
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
        {"camp34.trk", 3, 1, 262144 | 524288 | 4096, 214},
    };
    ASSERT_EQ(campaign.GetNodeCount(), kNodes);
    for (int n = 0; n < 7; ++n) {
        const int i = n < 6 ? n : kLastNode;
        const CCampaignNode::SRecord& record = campaign.GetNode(i)->GetRecord();
        EXPECT_STREQ(record.trackFile, nodes[n].track);
        EXPECT_EQ(record.laps * 10 + record.world, nodes[n].laps * 10 + nodes[n].world) << i;
        EXPECT_EQ(record.opponentMask, nodes[n].mask) << i;
        EXPECT_EQ(record.lockedItem, nodes[n].locked) << i;
    }
    int position = -1;
    EXPECT_TRUE(campaign.FindLockedItem(10, 2, position));
    EXPECT_EQ(position, 1);
    CRaceSetup setup;
    ClearRaceSetup(setup);
    campaign.CopyNodeSetup(5, setup);
    campaign.CopyNodeSetup(kNodes, setup);
    EXPECT_STREQ(setup.trackFile, "camp06.trk");
    EXPECT_EQ(setup.trackDirectory * 100 + setup.laps * 10 + setup.world, 432);

    // A node done raises the progress past it and frees its item; nothing lowers the progress.
    const struct {
        int node;
        const char* stored;
    } steps[] = {{3, "4"}, {1, "4"}, {5, "6"}, {kNodes, "6"}, {-1, "6"}};
    for (const auto& s : steps) {
        campaign.SetNodeState(s.node, CCampaignNode::kDone);
        std::string stored;
        EXPECT_TRUE(store.Get(CCampaignMan::kProgressSetting, stored));
        EXPECT_EQ(stored, s.stored) << s.node;
    }
    EXPECT_FALSE(Locked(campaign, 10, 2));
    for (const auto& [asked, kept] :
         {std::pair{3, 3}, {-1, -1}, {kLastNode, kLastNode}, {kNodes, kLastNode}, {-2, kLastNode}}) {
        campaign.SetCurrentNode(asked);
        EXPECT_EQ(campaign.GetCurrentNode(), kept) << asked;
    }

    // Stopping forgets the nodes; a campaign without its definition starts with none and nothing locked.
    const int live = CCampaignNode::LiveCount();
    EXPECT_EQ(campaign.StopManager(), 0);
    EXPECT_EQ(CCampaignNode::LiveCount(), live - kNodes);
    EXPECT_EQ(campaign.GetCurrentNode(), -1);
    CCampaignMan none(nullptr, nullptr);
    EXPECT_EQ(none.StartManager(), 1);
    EXPECT_EQ(none.GetNodeCount() + none.GetProgress(), 0);
    EXPECT_EQ(none.GetLockedItems()[0], -1);
}

// A definition of `count` nodes made in memory, with the track texts of all eight groups.
std::vector<std::uint8_t> Definition(int count) {
    CDataFile file(campaignfuzz::CampaignDictionary());
    const std::int32_t format[] = {44}, value[] = {count};
    file.SetInts(0, format);
    file.SetInts(281, value);
    for (int group = 0; group < 8; ++group) {
        std::string tracks;
        for (int place = 0; place < 5; ++place)
            tracks += "\"t" + std::to_string(group * 5 + place) + ".trk\" ";
        file.SetText(282 + group, tracks);
    }
    return file.WriteToMemory("test");
}

TEST(CampaignAsset, CountsBeyondTheFieldsAreRefusedAndQuotedStringsTakenByPlace) {
    const std::pair<int, int> counts[] = {{40, 40}, {41, -1}, {2000000000, -1}, {0, 0}, {-3, 0}};
    for (const auto& [count, nodes] : counts) {
        CDataFile file(campaignfuzz::CampaignDictionary());
        ASSERT_TRUE(file.LoadFromMemory(Definition(count), true));
        CCampaignAsset asset;
        EXPECT_EQ(asset.Load(&file), nodes >= 0) << count;
        EXPECT_EQ(asset.GetNodeCount(), std::max(nodes, 0)) << count;
        if (nodes == 40)
            EXPECT_STREQ(asset.GetNode(39)->GetRecord().trackFile, "t39.trk");
    }
    // A refusal names the asset and the field: a record of another format has none of the fields.
    std::vector<std::uint8_t> otherFormat;
    {
        CDataFile file(campaignfuzz::CampaignDictionary());
        ASSERT_TRUE(file.LoadFromMemory(Definition(2), true));
        const std::int32_t format[] = {45};
        file.SetInts(0, format);
        otherFormat = file.WriteToMemory("test");
    }
    const std::vector<std::uint8_t> tooMany = Definition(41), two = Definition(2);
    const struct {
        const std::vector<std::uint8_t>* bytes; // null: no record
        const char* failure;
    } refusals[] = {
        {nullptr, "asset 4: missing"},
        {&otherFormat, "asset 4, field 280: cannot be read"},
        {&tooMany, "asset 4, field 281: a node count of 41, more than the 40 the fields have room for"},
        {&two, ""},
    };
    for (const auto& r : refusals) {
        CDataFile file(campaignfuzz::CampaignDictionary());
        if (r.bytes)
            ASSERT_TRUE(file.LoadFromMemory(*r.bytes, true));
        CCampaignAsset asset;
        EXPECT_EQ(asset.Load(r.bytes ? &file : nullptr), r.failure[0] == 0);
        EXPECT_EQ(asset.GetFailure(), r.failure);
    }

    const std::string longName(2000, 'n');
    const struct {
        std::string text;
        int place;
        std::string out;
    } cases[] = {
        {"\"a\" \"bb\" \"c\"", 1, "bb"}, {"\"a\" \"bb\"", 2, ""},
        {"x\"open", 0, "open"},          {"\"a\"", -1, ""},
        {"\"a\"\"b\"", 1, "b"},          {"\"" + longName + "\"", 0, longName.substr(0, 1023)},
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
    int refused = 0;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        // The data file keeps the values before the cut; the fields after it answer their defaults.
        CDataFile file(campaignfuzz::CampaignDictionary());
        file.LoadFromMemory(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(cut)),
                            true);
        CCampaignAsset asset;
        refused += !asset.Load(&file);
        ASSERT_TRUE(asset.GetNodeCount() == 0 || asset.GetNodeCount() == kNodes) << cut;
        for (int i = 0; i < asset.GetNodeCount(); ++i) {
            const CCampaignNode::SRecord& got = asset.GetNode(i)->GetRecord();
            const CCampaignNode::SRecord& want = full.GetNode(i)->GetRecord();
            EXPECT_TRUE(std::strcmp(got.trackFile, want.trackFile) == 0 || got.trackFile[0] == 0) << cut;
            EXPECT_TRUE(got.lockedItem == want.lockedItem || got.lockedItem == -1) << cut;
        }
    }
    EXPECT_EQ(refused, static_cast<int>(CDataFile::kHeaderSize)); // only a cut header gives no file
}

} // namespace
