#include "HelpWorld.h"

#include "foundation/base/AppSettings.h"
#include "foundation/math/Random.h"
#include "frontend/HelpVideoPlayer.h"
#include "platform/settings/MemoryStore.h"

#include <gtest/gtest.h>

using namespace zentrix;
using frontendtest::HelpWorld;
using Log = std::vector<std::string>;

namespace {

constexpr int kItem = 57110;
constexpr int kOther = 57111;

} // namespace

TEST(HelpManager, AHoverPlaysOnceAfterMoreThan1300MsAndIsOfferedAgainOnlyOnceLeftFor40Updates) {
    HelpWorld w;
    w.help->OnHover(kItem);
    w.Update(1300);
    EXPECT_EQ(w.sound.log, Log{}) << "1300 ms is not enough";
    w.help->OnHover(kItem);
    w.Update(1);
    EXPECT_EQ(w.sound.log, Log{"play 57110"});
    w.sound.End();

    // Still on the control, reported every update: never again.
    for (int i = 0; i < 200; ++i) {
        w.help->OnHover(kItem);
        w.Update(100);
    }
    EXPECT_EQ(w.sound.log, Log{"play 57110"});

    // Off it for two full 40-update periods: it is offered again.
    w.Update(16, 82);
    EXPECT_EQ(w.help->GetLastHovered(), -1);
    w.help->OnHover(kItem);
    w.Update(1301);
    EXPECT_EQ(w.sound.log, (Log{"play 57110", "play 57110"}));
}

TEST(HelpManager, ItemsOfTheSamePriorityWaitForThePlayingOneExceptWhilePrompting) {
    HelpWorld w;
    EXPECT_TRUE(w.help->PlayHelp(kItem, 1));
    EXPECT_FALSE(w.help->PlayHelp(kOther, 1)) << "same priority while it plays";
    EXPECT_FALSE(w.help->PlayHelp(kOther, 2)) << "a larger priority number";
    EXPECT_TRUE(w.help->PlayHelp(kOther, 0)) << "a smaller number cuts it";
    EXPECT_FALSE(w.help->PlayHelp(80001, 0)) << "not an asset id";

    // Into the prompt: listening for more than 180000 ms.
    w.sound.End();
    w.ShowPanel(HelpWorld::kMainPanel);
    w.Update(0);      // speaking ends: listening
    w.Update(180001); // the time passes
    w.Update(0);      // prompting
    ASSERT_EQ(w.help->GetState(), CHelpManager::kPrompting);
    EXPECT_TRUE(w.help->PlayHelp(kItem, 1)) << "any item cuts the prompt";
    EXPECT_EQ(w.help->GetState(), CHelpManager::kSpeaking);
    EXPECT_EQ(w.sound.log, (Log{"play 57110", "play 57111", "loop 57118", "play 57110"}));
}

TEST(HelpManager, ThePromptStartsAfter180000MsOfListeningAndStopsAfter195000) {
    HelpWorld w;
    w.ShowPanel(HelpWorld::kMainPanel);
    w.Update(90000, 2);
    w.Update(0);
    EXPECT_EQ(w.sound.log, Log{}) << "exactly 180000 ms";
    w.Update(1);
    w.Update(0);
    EXPECT_EQ(w.sound.log, Log{"loop 57118"});
    w.Update(14999);
    w.Update(0);
    EXPECT_EQ(w.help->GetState(), CHelpManager::kPrompting) << "195000 ms";
    w.Update(1);
    w.Update(0);
    EXPECT_EQ(w.sound.log, (Log{"loop 57118", "stop"}));
    EXPECT_EQ(w.help->GetState(), CHelpManager::kListening);
}

TEST(HelpManager, WithHelpOffTheIdleHintPlaysOnceAndHelpGoesOffAgainWhenItEnds) {
    HelpWorld w;
    w.help->SetHelpMode(false, false);
    w.Update(180001, 3);
    EXPECT_EQ(w.sound.log, Log{}) << "no help panel is open";

    w.ShowPanel(HelpWorld::kMainPanel);
    w.help->SetHelpMode(false, false); // idle time from 0 again
    w.Update(180000);
    EXPECT_EQ(w.sound.log, Log{});
    w.Update(1);
    EXPECT_EQ(w.sound.log, Log{"play 57108"}) << "switching on is not announced over the hint";
    EXPECT_TRUE(w.help->IsHelpOn());
    w.Update(16);
    EXPECT_TRUE(w.help->IsHelpOn()) << "while the hint plays";
    w.sound.End();
    w.Update(16);
    EXPECT_FALSE(w.help->IsHelpOn());
    EXPECT_EQ(w.help->GetState(), CHelpManager::kOff);
    w.Update(180001, 3);
    EXPECT_EQ(w.sound.log, Log{"play 57108"}) << "once a run";
}

TEST(HelpManager, SwitchingAnnouncesItselfAndTheModeSurvivesARestart) {
    HelpWorld w;
    plat::settings::MemoryStore store;
    CAppSettings settings(store);
    CHelpManager help(&w.sound, &settings);
    help.StartManager();
    help.SetHelpMode(false, true);
    help.SaveBeforeRestart();
    help.SetHelpMode(true, true);
    EXPECT_EQ(w.sound.log, (Log{"play 57109", "stop", "play 57119"}));

    CHelpManager next(&w.sound, &settings);
    next.StartManager();
    next.RestoreAfterRestart();
    EXPECT_FALSE(next.IsHelpOn());
    EXPECT_EQ(w.sound.log.back(), "stop") << "switched off without a word";
    settings.SetInt(CHelpManager::kRestartSetting, 1);
    CHelpManager on(&w.sound, &settings);
    on.StartManager();
    on.RestoreAfterRestart();
    EXPECT_TRUE(on.IsHelpOn());
}

TEST(HelpCharacter, ASeededPickStaysInItsGroupAndNeverRepeatsAClipThatMayNot) {
    for (int group :
         {CHelpVideoPlayer::kListening, CHelpVideoPlayer::kPrompting, CHelpVideoPlayer::kSpeaking}) {
        Random::Seed(static_cast<std::uint32_t>(group) * 7919u);
        int previous = -1;
        std::vector<int> seen(CHelpVideoPlayer::kClipCount, 0);
        for (int i = 0; i < 5000; ++i) {
            const int pick = CHelpVideoPlayer::PickClip(group, previous);
            ASSERT_GE(pick, 0);
            const CHelpVideoPlayer::SClip& clip = CHelpVideoPlayer::kClips[pick];
            ASSERT_EQ(clip.group, group);
            ASSERT_GT(clip.weight, 0) << pick;
            ASSERT_TRUE(pick != previous || clip.mayRepeat) << pick;
            ++seen[pick];
            previous = pick;
        }
        for (int c = 0; c < CHelpVideoPlayer::kClipCount; ++c)
            if (CHelpVideoPlayer::kClips[c].group == group && CHelpVideoPlayer::kClips[c].weight > 0)
                EXPECT_GT(seen[c], 0) << "clip " << c << " never drawn";
    }
}
