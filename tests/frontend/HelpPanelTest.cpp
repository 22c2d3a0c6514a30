#include "HelpWorld.h"

#include "frontend/HelpButton.h"
#include "frontend/HelpVideoPlayer.h"
#include "platform/gfx2d/PixelFormat.h"

#include "support/FrameStamp.h"

#include <gtest/gtest.h>

#include <utility>

using namespace zentrix;
using frontendtest::HelpWorld;

namespace {

constexpr std::uint16_t kMagenta = 0xF81F;
// The sample frame picture's border, and the help character's sky and cap.
constexpr std::uint16_t kFrameBorder = plat::gfx2d::PackRgb565(70, 40, 130);
constexpr std::uint16_t kSky = plat::gfx2d::PackRgb565(150, 200, 240);
constexpr std::uint16_t kCap = plat::gfx2d::PackRgb565(250, 140, 30);
constexpr std::uint16_t kButtonBorder = 0xFFFF;

} // namespace

TEST(HelpPanel, OneInstanceServesThePanelsWithHelpInTurnAndKeepsItsPictureOnTheDrawingListOnlyWhileOpen) {
    HelpWorld w;
    EXPECT_FALSE(w.helpPanel->IsOpen());
    w.ShowPanel(HelpWorld::kMainPanel);
    ASSERT_TRUE(w.helpPanel->IsOpen());
    EXPECT_EQ(w.helpPanel->GetPanel(), w.panels->FindSlideOut(HelpWorld::kMainPanel));
    EXPECT_TRUE(w.helpServices.IsDrawn(w.helpPanel->GetOverlay()));
    EXPECT_EQ(w.helpPanel->GetOverlay()->GetX(), 0);
    EXPECT_EQ(w.helpPanel->GetOverlay()->GetY(), 350);

    w.ShowPanel(HelpWorld::kNoHelpPanel);
    EXPECT_FALSE(w.helpPanel->IsOpen());
    EXPECT_TRUE(w.helpServices.drawn.empty());
    EXPECT_EQ(w.helpPanel->GetState(), CHelpPanel::kClosed);

    // The panels are stopped and deleted; the help panel, closed, stays to be deleted once, after them.
    w.ShowPanel(HelpWorld::kMainPanel);
    w.panels->StopManager();
    EXPECT_EQ(CSlideOut::LiveCount(), 0);
    EXPECT_FALSE(w.helpPanel->IsOpen());
    EXPECT_TRUE(w.helpServices.drawn.empty());
}

TEST(HelpPanel, TheButtonsHitTestIncludesItsEdges) {
    HelpWorld w;
    w.ShowPanel(HelpWorld::kMainPanel);
    const CHelpButton* button = w.helpPanel->GetButton();
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(button->GetWidth(), 32);
    ASSERT_EQ(button->GetHeight(), 24);
    // The button stands at (4, 86) of the help picture at (0, 350).
    const struct {
        int x, y;
        bool hit;
    } cases[] = {{4, 436, true},  {36, 460, true},  {36, 436, true}, {4, 460, true},  {20, 448, true},
                 {3, 436, false}, {37, 460, false}, {4, 435, false}, {36, 461, false}};
    for (const auto& c : cases)
        EXPECT_EQ(w.helpPanel->HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST(HelpPanel, AClickPressesTheButtonAndSwitchesHelpButNotWhileItIsPressed) {
    HelpWorld w;
    w.ShowPanel(HelpWorld::kMainPanel);
    EXPECT_FALSE(w.helpPanel->OnClick(100, 100, 0)) << "off the button";
    EXPECT_TRUE(w.helpPanel->OnClick(10, 440, 0));
    EXPECT_FALSE(w.help->IsHelpOn());
    EXPECT_EQ(w.helpPanel->GetButton()->GetState(), CHelpButton::kPressed);
    EXPECT_FALSE(w.helpPanel->OnClick(10, 440, 0)) << "still pressed";
    EXPECT_FALSE(w.help->IsHelpOn());
    EXPECT_EQ(w.sound.log, std::vector<std::string>{"play 57109"});

    w.helpPanel->Update(499);
    EXPECT_EQ(w.helpPanel->GetButton()->GetState(), CHelpButton::kPressed);
    w.helpPanel->Update(1);
    EXPECT_EQ(w.helpPanel->GetButton()->GetState(), CHelpButton::kNormal);
    EXPECT_TRUE(w.helpPanel->OnClick(10, 440, 0));
    EXPECT_TRUE(w.help->IsHelpOn());
    EXPECT_EQ(w.sound.log, (std::vector<std::string>{"play 57109", "stop", "play 57119"}));
}

TEST(HelpPanel, TheHelpCornerOffersItsItemUntilTheUnlockStageEndsIt) {
    for (int stage : {0, CHelpButton::kCornerHelpEndStage}) {
        HelpWorld w;
        w.helpServices.unlockStage = stage;
        w.ShowPanel(HelpWorld::kMainPanel);
        w.helpPanel->OnMouseMove(122, 358);
        w.helpPanel->Update(16);
        EXPECT_EQ(w.help->GetPendingHover(), stage == 0 ? CHelpButton::kHelpCorner : -1) << stage;
        w.helpPanel->OnMouseMove(123, 358); // out of the corner
        w.helpPanel->Update(16);
        EXPECT_EQ(w.help->GetPendingHover(), -1) << stage;
    }
}

TEST(HelpPanel, AFrameOfTheHelpVideoShowsAt23And7ThroughTheYellowWindowOfTheFramePicture) {
    HelpWorld w;
    w.ShowPanel(HelpWorld::kMainPanel);
    CHelpVideoPlayer* video = w.helpPanel->GetVideo();
    ASSERT_NE(video, nullptr);
    video->PlayClip(100, 120);
    w.helpServices.frameFactor = 1.0f; // 0.2 frames an update: frame 100 shows first
    w.helpPanel->Update(0);
    ASSERT_EQ(w.helpPanel->GetState(), CHelpPanel::kShown);
    EXPECT_EQ(w.HelpFrame(), 100) << "the frame's number, in its top-left pixels";
    for (const auto& [x, y] : {std::pair{23, 7}, std::pair{26, 10}})
        EXPECT_EQ(w.HelpPixel(x, y) & ~testsupport::kFrameStampBit, kSky & ~testsupport::kFrameStampBit)
            << "the number is hidden in the sky";
    EXPECT_EQ(w.HelpPixel(33, 17), kSky);
    EXPECT_EQ(w.HelpPixel(23 + 24, 7 + 13), kCap) << "the character's cap";
    EXPECT_EQ(w.HelpPixel(23 + 50, 7 + 50), kFrameBorder) << "outside the window: the frame picture";
    EXPECT_EQ(w.HelpPixel(22, 7), kMagenta) << "left of the character";
    EXPECT_EQ(w.HelpPixel(23, 6), kMagenta) << "above it";

    w.helpServices.frameFactor = 25.0f; // five frames an update
    w.helpPanel->Update(0);
    EXPECT_EQ(w.HelpFrame(), 105);

    w.help->SetHelpMode(false, false);
    w.helpPanel->Update(0);
    EXPECT_EQ(w.helpPanel->GetState(), CHelpPanel::kHidden);
    EXPECT_EQ(w.HelpPixel(23, 7), kMagenta) << "no character while help is off";
}

TEST(HelpPanel, TheCharacterWaitsForTheMainScreenBeforeItDraws) {
    HelpWorld w;
    w.helpServices.mainScreenReached = false; // started again straight into a screen with help
    w.ShowPanel(HelpWorld::kMainPanel);
    w.helpPanel->GetVideo()->PlayClip(100, 120);
    w.helpPanel->Update(0);
    ASSERT_EQ(w.helpPanel->GetState(), CHelpPanel::kShown);
    EXPECT_EQ(w.HelpPixel(23, 7), kMagenta);
    w.helpPanel->Redraw(false);
    EXPECT_EQ(w.HelpPixel(23, 7), kMagenta);
    EXPECT_EQ(w.HelpPixel(4, 86), kButtonBorder) << "the button is drawn meanwhile";

    w.helpServices.mainScreenReached = true;
    w.helpPanel->Update(0);
    EXPECT_EQ(w.HelpFrame(), 100) << "the clip from its first frame";
}

TEST(HelpPanel, OpensWithoutADrawingListOrAVideoSurfaceAndLogsWhatFailed) {
    using Surfaces = frontendtest::FakeHelpPanelServices::Surfaces;
    const struct {
        bool drawingList;
        Surfaces surfaces;
        std::vector<std::string> errors;
        bool video; ///< the video shows through the frame's window, else magenta is there
    } cases[] = {
        {false, Surfaces::kMade, {}, true},
        {true, Surfaces::kNone, {"createsurface"}, false},
        {true, Surfaces::kLocked, {"Blt (colourfill)"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.drawingList << " " << int(c.surfaces));
        HelpWorld w;
        w.helpServices.drawingList = c.drawingList;
        w.helpServices.surfaces = c.surfaces;
        w.ShowPanel(HelpWorld::kMainPanel);
        ASSERT_TRUE(w.helpPanel->IsOpen());
        ASSERT_NE(w.helpPanel->GetOverlay(), nullptr);
        EXPECT_EQ(w.helpServices.IsDrawn(w.helpPanel->GetOverlay()), c.drawingList);
        EXPECT_EQ(w.helpServices.errors, c.errors);
        // The panel's own picture, on the list or not, takes the character and the button.
        w.helpPanel->GetVideo()->PlayClip(100, 120);
        w.helpPanel->Update(0);
        if (c.video)
            EXPECT_EQ(w.HelpFrame(), 100);
        else
            EXPECT_EQ(w.HelpPixel(23, 7), kMagenta);
        EXPECT_EQ(w.HelpPixel(23 + 50, 7 + 50), kFrameBorder);
        EXPECT_TRUE(w.helpPanel->OnClick(10, 440, 0));
        w.ShowPanel(HelpWorld::kNoHelpPanel);
        EXPECT_FALSE(w.helpPanel->IsOpen());
        EXPECT_TRUE(w.helpServices.drawn.empty());
    }
}
