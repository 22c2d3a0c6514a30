// The computer drivers' parameters and cornering speeds, read from the sample set's assets and text
// file, and the text reader's lines.

#include "RaceSample.h"

#include "platform/fs/FileSystem.h"
#include "race/AIData.h"
#include "race/CorneringData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Block = CAIData::SBlock;
const Block kDefaults;

class AIData : public racetest::RaceSample {};

TEST_F(AIData, BlocksComeFromTheCarsAssetsElseTheirTextFile) {
    const struct {
        int carId;
        bool loaded;
        Block block;
    } cases[] = {
        {60001, true, {0, 90, 0, 120, 60, 95, 200, 10, 20, 80, 35}},
        {60003, true, {0, 60, 0, 90, 80, 85, 350, 45, 5, 50, 0}},
        {60009, true, {7, 100, 3, 100, 30, 100, 150, 0, 30, 100, 10}},
        // Out of range in the asset: held to the ranges the text path keeps.
        {60010, true, {0, 100, 0, 200, 0, 100, 250, 100, 100, 100, 100}},
        // Twelve bytes: the rest keep their defaults; 24 bytes: the first 20 are the block.
        {60011, true, {0, 50, 0, 70, 40, 75, 250, 0, 0, 100, 0}},
        {60012, true, {0, 80, 0, 140, 70, 90, 220, 15, 25, 70, 15}},
        // No asset: the text file.
        {60000, true, {0, 70, 0, 110, 45, 88, 300, 20, 15, 60, 5}},
        // Neither asset nor text file; the jam truck and ids outside the cars have no text file.
        {60002, false, kDefaults},
        {60015, false, kDefaults},
        {59999, false, kDefaults},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.carId);
        CAIData data(assets.get());
        EXPECT_EQ(data.LoadAIData(c.carId), c.loaded);
        EXPECT_EQ(CAIData::ToBytes(data.GetBlock()), CAIData::ToBytes(c.block));
    }
    EXPECT_FALSE(CAIData(nullptr).LoadAIData(60001));
}

TEST_F(AIData, TheTextPathWritesItsBlockBesideTheFileAndReplacesAnOldCopy) {
    const std::string bin = folder.Native("Resources/AIData/bugracer.bin");
    testsupport::WriteTextFile(bin, "an older copy, longer than a block");
    CAIData data(assets.get());
    ASSERT_TRUE(data.LoadAIData(60000));
    const plat::fs::ReadResult read = plat::fs::ReadWholeFile(bin);
    const CAIData::Bytes expected = CAIData::ToBytes(data.GetBlock());
    EXPECT_EQ(read.bytes, std::vector<std::uint8_t>(expected.begin(), expected.end()));

    // A copy that cannot be written fails the load, and leaves the old copy whole.
    plat::fs::ScopedWriteFailure full(4);
    CAIData again(assets.get());
    EXPECT_FALSE(again.LoadAIData(60000));
    EXPECT_EQ(plat::fs::ReadWholeFile(bin).bytes, read.bytes);
}

TEST(AIDataText, LinesTakeTheirFirstKeyAndTheNumberAfterTheFirstEquals) {
    static const char kNoChange[] = "[Speed] 40\n[speed] = 4\n[Speed]\0= 9\n";
    const std::string longPrefix(300, 'a');
    const struct {
        std::string text;
        Block block;
    } cases[] = {
        {"[Speed] = 150\n", {0, 100, 0, 100, 100, 100, 250, 0, 0, 100, 0}},
        {"[Braking] = 150\n", {0, 100, 0, 150, 100, 100, 250, 0, 0, 100, 0}},
        {"[Braking]=-7\n[Reflex] = -5\n", {0, 100, 0, 0, 100, 100, 0, 0, 0, 100, 0}},
        // Reflex comes first in the order, whatever the line's own order.
        {"[Speed] [Reflex] = 40\n", {0, 100, 0, 100, 100, 100, 40, 0, 0, 100, 0}},
        // The last line has no line end: it is not read.
        {"[Blocking] = 30\n[Speed] = 40", {0, 100, 0, 100, 100, 100, 250, 30, 0, 100, 0}},
        // No "=", a lower-case key, a NUL before the "=": nothing changes.
        {std::string(kNoChange, sizeof kNoChange - 1), kDefaults},
        // Numbers saturate before they are held to the range; no digits read as 0.
        {"[Overtaking] = 99999999999999\n[Reflex] = 99999999999999\n[Craziness] = x\n",
         {0, 100, 0, 100, 100, 100, 2147483647u, 0, 0, 100, 0}},
        {"= 5 [CutsCorners]\n\t[RacingLine]\t=\t+12 apples\r\n",
         {0, 12, 0, 100, 100, 100, 250, 0, 5, 100, 0}},
        // A line longer than the buffer goes on as the next line: the key after 300 bytes is read, one
        // cut by the buffer's end is not.
        {longPrefix + "[Intelligence] = 7\n", {0, 100, 0, 100, 100, 100, 250, 0, 0, 7, 0}},
        {std::string(250, 'a') + "[Intelligence] = 7\n", kDefaults},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        Block block;
        CAIData::ReadText(c.text, block);
        EXPECT_EQ(CAIData::ToBytes(block), CAIData::ToBytes(c.block));
    }
}

TEST_F(AIData, CutTextReadsOnlyItsCompleteLinesAndCutBlocksOnlyTheirBytes) {
    const std::string text = testsupport::ReadTextFile(folder / "Resources/AIData/bugracer.txt");
    ASSERT_FALSE(text.empty());
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const std::string prefix = text.substr(0, cut);
        Block block;
        CAIData::ReadText(prefix, block);
        // The first line is a comment; each complete line after it sets one field.
        const CAIData::Bytes bytes = CAIData::ToBytes(block), defaults = CAIData::ToBytes(kDefaults);
        int changed = 0;
        for (const auto field :
             {block.reflex != kDefaults.reflex, block.racingLine != kDefaults.racingLine,
              block.overtaking != kDefaults.overtaking, block.blocking != kDefaults.blocking,
              block.cutsCorners != kDefaults.cutsCorners, block.craziness != kDefaults.craziness,
              block.speed != kDefaults.speed, block.braking != kDefaults.braking,
              block.intelligence != kDefaults.intelligence})
            changed += field;
        const auto lines = static_cast<int>(std::count(prefix.begin(), prefix.end(), '\n'));
        EXPECT_EQ(changed, std::max(lines - 1, 0)) << cut;
        EXPECT_EQ(bytes[0], defaults[0]);
    }

    std::vector<std::uint8_t> asset;
    ASSERT_TRUE(assets->GetAssetData(64, asset));
    ASSERT_EQ(asset.size(), CAIData::kBlockSize);
    const CAIData::Bytes defaults = CAIData::ToBytes(kDefaults);
    for (std::size_t cut = 0; cut <= asset.size(); ++cut) {
        Block block;
        CAIData::CopyBytes(std::span(asset.data(), cut), block);
        const CAIData::Bytes bytes = CAIData::ToBytes(block);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + static_cast<long>(cut), asset.begin())) << cut;
        EXPECT_TRUE(std::equal(bytes.begin() + static_cast<long>(cut), bytes.end(),
                               defaults.begin() + static_cast<long>(cut)))
            << cut;
    }
}

using Values = std::vector<float>;

Values ValuesOf(const CCorneringData& data) {
    Values out;
    for (int i = 0; i < CCorneringData::kClassCount; ++i)
        out.push_back(data.GetValue(i));
    return out;
}

TEST_F(AIData, CorneringValuesComeFromTheWorldsAssetInClassOrder) {
    const Values jungle{2.2f, 2.8f, 2.0f, 1.8f, 2.6f, 2.4f, 2.5f, 2.1f, 2.3f, 1.9f};
    const Values ice{1.6f, 2.1f, 1.5f, 1.3f, 1.9f, 1.7f, 1.8f, 1.4f, 4.5f, 4.5f};
    const Values desert{2.5f, 3.1f, 2.3f, 2.0f, 2.9f, 2.7f, 2.8f, 2.4f, 2.6f, 2.2f};
    const Values city{2.0f, 2.6f, 1.9f, 1.7f, 2.4f, 2.2f, 2.3f, 1.8f, 2.1f, 1.6f};
    const Values top(10, 4.5f), cleared(10, 3.0f);
    const struct {
        int world, carTypeId;
        bool bound;
        int id;
        Values values;
    } cases[] = {
        {0, 60000, true, 60000, jungle}, {1, 60003, true, 60003, ice},  {2, 60009, true, 60009, desert},
        {3, 60001, true, 60001, city},   {4, 60001, true, 60001, city}, {5, 60001, false, 60001, top},
        {-1, 60001, false, 60001, top},  {0, 0, false, 0, cleared},     {2, -4, false, 0, cleared},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.world) + " " + std::to_string(c.carTypeId));
        assets->SetWorld(c.world, true);
        CCorneringData data(assets.get());
        EXPECT_EQ(data.LoadCorneringData(c.carTypeId, 4.5f), c.bound);
        EXPECT_EQ(data.GetCarTypeId(), c.id);
        EXPECT_EQ(ValuesOf(data), c.values);
    }
    assets->SetWorld(0, true);
    CCorneringData data(assets.get());
    data.LoadCorneringData(60000, 4.5f);
    EXPECT_FLOAT_EQ(data.GetCornerSpeedLimit(1, 50.0f), 1.4f);
    EXPECT_FLOAT_EQ(data.GetCornerSpeedLimit(9, 200.0f), 3.8f);
    EXPECT_EQ(data.GetCornerSpeedLimit(10, 100.0f), 0.0f);
    EXPECT_EQ(data.GetCornerSpeedLimit(-1, 100.0f), 0.0f);
}

TEST_F(AIData, CutOrBrokenCorneringValuesKeepTheTopSpeedWhereTheyFail) {
    std::vector<std::uint8_t> asset;
    ASSERT_TRUE(assets->GetAssetData(1999, asset));
    ASSERT_EQ(asset.size(), 40u);
    CCorneringData full(nullptr);
    full.CopyValues(asset);
    for (std::size_t cut = 0; cut <= asset.size(); ++cut) {
        CCorneringData data(nullptr);
        data.Clear(4.5f);
        EXPECT_EQ(data.CopyValues(std::span(asset.data(), cut)), static_cast<int>(cut / 4));
        for (int i = 0; i < CCorneringData::kClassCount; ++i)
            EXPECT_EQ(data.GetValue(i), i < static_cast<int>(cut / 4) ? full.GetValue(i) : 4.5f) << cut;
    }
    // Values that are no numbers are left as they were.
    for (float bad : {NAN, INFINITY, -INFINITY}) {
        std::vector<std::uint8_t> broken = asset;
        std::memcpy(broken.data() + 12, &bad, 4);
        CCorneringData data(nullptr);
        data.Clear(4.5f);
        EXPECT_EQ(data.CopyValues(broken), 9);
        EXPECT_EQ(data.GetValue(3), 4.5f);
        EXPECT_EQ(data.GetValue(4), full.GetValue(4));
    }
}

} // namespace
