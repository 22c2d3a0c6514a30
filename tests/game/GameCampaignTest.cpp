// The program's campaign: made by the game's parts from the sample set's definition, its progress in the
// settings, reached by the shell through its hooks.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "app/RaceSetup.h"
#include "platform/clock/Clock.h"
#include "platform/settings/MemoryStore.h"
#include "race/CampaignMan.h"

#include <gtest/gtest.h>

#include <string>

using namespace zentrix;

TEST(GameCampaign, TheProgramsCampaignFollowsTheStoredProgressAndServesTheRaceSetUp) {
    gametest::HeadlessGame game;
    game.store->Set("Campaign_Progress", "1");
    ASSERT_TRUE(game.Start());
    CCampaignMan* campaign = game.App().GetCampaignMan();
    ASSERT_NE(campaign, nullptr);
    EXPECT_EQ(campaign->GetNodeState(0) * 10 + campaign->GetNodeState(1), 21);
    // A campaign race takes the current node's laps through the game-state manager (node 3 runs four).
    game.App().GetGameStateMan()->SetGameMode(0);
    campaign->SetCurrentNode(3);
    CRaceSetup setup;
    ClearRaceSetup(setup);
    game.App().GetGameStateMan()->BuildRaceSetup(setup);
    EXPECT_EQ(setup.laps, 4);
    campaign->SetNodeState(1, 2);
    std::string stored;
    ASSERT_TRUE(game.store->Get("Campaign_Progress", stored));
    EXPECT_EQ(stored, "2");
}

TEST(GameCampaign, ACampaignThatCannotStartIsReportedNamingItsAssetAndTheStartGoesOn) {
    // Parts without an application have no asset manager: the definition is missing.
    CGameParts parts(std::make_unique<plat::settings::MemoryStore>(),
                     std::make_unique<plat::clock::FakeClock>(0, 1000000));
    testing::internal::CaptureStderr();
    parts.CreateCampaignMan();
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find("the campaign cannot start: asset 4: missing"), std::string::npos) << reported;
    ASSERT_NE(parts.GetCampaignMan(), nullptr);
    EXPECT_EQ(parts.GetCampaignMan()->GetNodeCount(), 0);
    EXPECT_EQ(parts.GetCurrentCampaignNode(), -1);
    parts.DeleteCampaignMan();
}
