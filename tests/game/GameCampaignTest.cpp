// The program's campaign: made by the game's parts after the worlds from the sample set's definition,
// with its progress in the settings, and reached by the shell through its hooks.

#include "HeadlessGame.h"

#include "app/GameStateMan.h"
#include "app/RaceSetup.h"
#include "platform/settings/MemoryStore.h"
#include "race/CampaignMan.h"

#include <gtest/gtest.h>

using namespace zentrix;

namespace {

TEST(GameCampaign, TheProgramsCampaignFollowsTheStoredProgress) {
    gametest::HeadlessGame game;
    game.store->Set("Campaign_Progress", "1");
    EXPECT_EQ(game.App().GetCampaignMan(), nullptr);
    ASSERT_TRUE(game.Start());
    CCampaignMan* campaign = game.App().GetCampaignMan();
    ASSERT_NE(campaign, nullptr);
    EXPECT_TRUE(campaign->IsStarted());
    EXPECT_EQ(campaign->GetNodeCount(), 6);
    EXPECT_EQ(campaign->GetNodeState(0), 2);
    EXPECT_EQ(campaign->GetNodeState(1), 1);

    // The game-state manager reaches the campaign through the shell: a campaign race takes the current
    // node's laps (node 3 runs four).
    CGameStateMan* states = game.App().GetGameStateMan();
    states->SetGameMode(0);
    campaign->SetCurrentNode(3);
    CRaceSetup setup;
    ClearRaceSetup(setup);
    states->BuildRaceSetup(setup);
    EXPECT_EQ(setup.laps, 4);
    campaign->SetCurrentNode(5);
    states->BuildRaceSetup(setup);
    EXPECT_EQ(setup.laps, 3);

    campaign->SetNodeState(1, 2);
    std::string stored;
    ASSERT_TRUE(game.store->Get("Campaign_Progress", stored));
    EXPECT_EQ(stored, "2");
}

} // namespace
