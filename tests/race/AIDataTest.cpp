// The computer drivers' parameters and cornering speeds, from the sample set's assets and text file.

#include "RaceSample.h"

#include "platform/fs/FileSystem.h"
#include "race/AIData.h"
#include "race/CorneringData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Block = CAIData::SBlock;
const Block kDefaults;
class AIData : public racetest::RaceSample {};

TEST_F(AIData, BlocksComeFromTheCarsAssetsElseTheirTextFileCopiedBesideIt) {
    const struct {
        int carId;
        bool loaded;
        Block block;
    } cases[] = {
        {60001, true, {0, 90, 0, 120, 60, 95, 200, 10, 20, 80, 35}},
        {60009, true, {7, 100, 3, 100, 30, 100, 150, 0, 30, 100, 10}},
        {60010, true, {0, 100, 0, 200, 0, 100, 250, 100, 100, 100, 100}}, // out of range: held
        {60011, true, {0, 50, 0, 70, 40, 75, 250, 0, 0, 100, 0}},         // 12 bytes: the rest default
        {60012, true, {0, 80, 0, 140, 70, 90, 220, 15, 25, 70, 15}},      // 24 bytes: the first 20
        {60000, true, {0, 70, 0, 110, 45, 88, 300, 20, 15, 60, 5}},       // no asset: the text file
        {60002, false, kDefaults},
        {60015, false, kDefaults},
        {59999, false, kDefaults},
    };
    for (const auto& c : cases) {
        CAIData data(assets.get());
        EXPECT_EQ(data.LoadAIData(c.carId), c.loaded) << c.carId;
        EXPECT_EQ(CAIData::ToBytes(data.GetBlock()), CAIData::ToBytes(c.block)) << c.carId;
    }
    const plat::fs::ReadResult bin = plat::fs::ReadWholeFile(folder.Native("Resources/AIData/bugracer.bin"));
    const CAIData::Bytes text = CAIData::ToBytes(cases[5].block);
    EXPECT_EQ(bin.bytes, std::vector<std::uint8_t>(text.begin(), text.end()));
    // A copy that cannot be written fails the load and leaves the old copy whole.
    plat::fs::ScopedWriteFailure full(4);
    EXPECT_FALSE(CAIData(assets.get()).LoadAIData(60000));
    EXPECT_EQ(plat::fs::ReadWholeFile(folder.Native("Resources/AIData/bugracer.bin")).bytes, bin.bytes);
}

TEST(AIDataText, LinesTakeTheirFirstKeyAndTheNumberAfterTheFirstEquals) {
    static const char kNothing[] = "[Speed] 40\n[speed] = 4\n[Speed]\0= 9\n"; // no "=", lower case, NUL
    const struct {
        std::string text;
        Block block;
    } cases[] = {
        {"[Speed] = 150\n[Braking] = 150\n[Reflex] = -5\n", {0, 100, 0, 150, 100, 100, 0, 0, 0, 100, 0}},
        {"[Speed] [Reflex] = 40\n[Blocking] = 30\n[Craziness] = 40",
         {0, 100, 0, 100, 100, 100, 40, 30, 0, 100, 0}},
        {std::string(kNothing, sizeof kNothing - 1), kDefaults},
        {"[Overtaking] = 99999999999999\n[Reflex] = 99999999999999\n[Intelligence] = x\n",
         {0, 100, 0, 100, 100, 100, 2147483647u, 0, 0, 0, 0}},
        {"= 5 [CutsCorners]\n\t[RacingLine]\t=\t+12 apples\r\n",
         {0, 12, 0, 100, 100, 100, 250, 0, 5, 100, 0}},
        // Lines go on as new lines after 255 bytes: a key cut there is lost, one after it read.
        {std::string(300, 'a') + "[Speed] = 7\n" + std::string(250, 'a') + "[Braking] = 7\n",
         {0, 100, 0, 100, 100, 7, 250, 0, 0, 100, 0}},
    };
    for (const auto& c : cases) {
        Block block;
        CAIData::ReadText(c.text, block);
        EXPECT_EQ(CAIData::ToBytes(block), CAIData::ToBytes(c.block)) << c.text.substr(0, 40);
    }
}

TEST_F(AIData, CutFilesGiveWhatTheirWholeLinesAndBytesHold) {
    const std::string text = testsupport::ReadTextFile(folder / "Resources/AIData/bugracer.txt");
    Block whole;
    CAIData::ReadText(text, whole);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        Block block;
        CAIData::ReadText(text.substr(0, cut), block);
        // Nine key lines after a comment line: the fields set are those of the complete lines.
        const std::size_t lines = std::count(text.begin(), text.begin() + static_cast<long>(cut), '\n');
        EXPECT_EQ(block.reflex, lines >= 2 ? whole.reflex : kDefaults.reflex) << cut;
        EXPECT_EQ(block.intelligence, lines >= 10 ? whole.intelligence : kDefaults.intelligence) << cut;
    }
    std::vector<std::uint8_t> asset;
    ASSERT_TRUE(assets->GetAssetData(64, asset));
    const CAIData::Bytes defaults = CAIData::ToBytes(kDefaults);
    for (std::size_t cut = 0; cut <= asset.size(); ++cut) {
        Block block;
        CAIData::CopyBytes(std::span(asset.data(), cut), block);
        const CAIData::Bytes bytes = CAIData::ToBytes(block);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            EXPECT_EQ(bytes[i], i < cut ? asset[i] : defaults[i]) << cut;
    }
}

TEST_F(AIData, CorneringValuesComeFromTheWorldsAssetInClassOrder) {
    using Values = std::vector<float>;
    const Values jungle{2.2f, 2.8f, 2.0f, 1.8f, 2.6f, 2.4f, 2.5f, 2.1f, 2.3f, 1.9f};
    const Values ice{1.6f, 2.1f, 1.5f, 1.3f, 1.9f, 1.7f, 1.8f, 1.4f, 4.5f, 4.5f}; // eight in the asset
    const Values city{2.0f, 2.6f, 1.9f, 1.7f, 2.4f, 2.2f, 2.3f, 1.8f, 2.1f, 1.6f};
    const struct {
        int world, carTypeId;
        bool bound;
        int id;
        Values values;
    } cases[] = {
        {0, 60000, true, 60000, jungle},
        {1, 60003, true, 60003, ice},
        {3, 60001, true, 60001, city},
        {4, 60001, true, 60001, city},
        {5, 60001, false, 60001, Values(10, 4.5f)},
        {-1, 60001, false, 60001, Values(10, 4.5f)},
        {0, 0, false, 0, Values(10, 3.0f)},
    };
    for (const auto& c : cases) {
        assets->SetWorld(c.world, true);
        CCorneringData data(assets.get());
        EXPECT_EQ(data.LoadCorneringData(c.carTypeId, 4.5f), c.bound) << c.world;
        EXPECT_EQ(data.GetCarTypeId(), c.id);
        for (int i = 0; i < CCorneringData::kClassCount; ++i)
            EXPECT_EQ(data.GetValue(i), c.values[static_cast<std::size_t>(i)]) << c.world << " " << i;
        EXPECT_FLOAT_EQ(data.GetCornerSpeedLimit(1, 50.0f), c.values[1] / 2);
        EXPECT_EQ(data.GetCornerSpeedLimit(10, 100.0f) + data.GetCornerSpeedLimit(-1, 100.0f), 0.0f);
    }
    // Cut values keep the top speed from the cut on; values that are no numbers are not taken.
    std::vector<std::uint8_t> asset;
    ASSERT_TRUE(assets->GetAssetData(1999, asset));
    for (std::size_t cut = 0; cut <= asset.size(); ++cut) {
        CCorneringData data(nullptr);
        data.Clear(4.5f);
        EXPECT_EQ(data.CopyValues(std::span(asset.data(), cut)), static_cast<int>(cut / 4));
        EXPECT_EQ(data.GetValue(9), cut == 40 ? jungle[9] : 4.5f);
    }
    const float nan = NAN;
    std::memcpy(asset.data() + 12, &nan, 4);
    CCorneringData data(nullptr);
    data.Clear(4.5f);
    EXPECT_EQ(data.CopyValues(asset), 9);
    EXPECT_EQ(data.GetValue(3), 4.5f);
}

} // namespace
