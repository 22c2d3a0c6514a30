#include "UiFixtures.h"

#include "app/GameStateMan.h"
#include "render/CompoundOverlay.h"
#include "ui/MessageBoxSlideOut.h"
#include "ui/PushButton.h"
#include "ui/TextBoxControl.h"
#include "ui/VornMessageBox.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

constexpr int kBoxRecord = 39750;
constexpr int kButtonImage = 900;
constexpr int kBoxPicture = 901;

/// The real slide-out manager and game-state machine over a box record of a title box, two buttons
/// (40 x 20 at (20, 60) and (120, 60)) and a text box on a 200 x 100 picture; the box shows at (100, 100).
struct BoxScreen {
    explicit BoxScreen(int controls = 4) {
        services.SetInt(kBoxRecord, CSlideOut::kFieldControlCount, controls);
        const int types[] = {4, 0, 0, 4};
        const int x[] = {10, 20, 120, 10};
        const int y[] = {5, 60, 60, 30};
        for (int i = 0; i < 4; ++i) {
            services.SetInt(kBoxRecord, CSlideOut::kFieldControlType, types[i], i);
            services.SetInt(kBoxRecord, CControl::kFieldActiveX, x[i], i);
            services.SetInt(kBoxRecord, CControl::kFieldActiveY, y[i], i);
            services.SetInt(kBoxRecord, CControl::kFieldWidth, 180, i);
            services.SetInt(kBoxRecord, CControl::kFieldHeight, 20, i);
            services.SetInt(kBoxRecord, CTextBoxControl::kFieldWrapWidth, 30, i);
            services.SetInt(kBoxRecord, CPushButton::kFieldPressedImage, kButtonImage, i);
        }
        services.AddPicture(kButtonImage, 40, 20, {0xF8, 0xFC, 0});
        services.AddPicture(kBoxPicture, 200, 100, {0, 0, 0x80});
        services.SetInt(kBoxRecord, CSlideOut::kFieldPicture, kBoxPicture);
        services.SetVector(kBoxRecord, CSlideOut::kFieldShownPosition, CVector(100, 100, 0));
        services.SetVector(kBoxRecord, CSlideOut::kFieldHiddenPosition, CVector(100, -200, 0));
        services.texts = {{7702, "Quit"}, {7703, "Leave the game?\rAll is saved."}, {7500, "Again?"}};
        manager.StartManager();
        states.SetState(GAMESTATE_MAIN);
        Frames(20);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i)
            manager.Update(30);
    }
    /// A click released at window point (x, y), taken by the next frame.
    void Click(int x, int y) {
        services.latest[VORNMSG_SLIDEOUT_CLICK] = CMessage(VORNMSG_SLIDEOUT_CLICK, x, y, 0);
        Frames(1);
    }
    void ClickButton(int button) { Click(button == 1 ? 125 : 225, 165); }
    CMessageBoxSlideOut* Box() const {
        return dynamic_cast<CMessageBoxSlideOut*>(manager.GetSlideOutByIndex(CSlideOutMan::kMessageBox));
    }
    CSlideOut* Main() const { return manager.GetSlideOutByIndex(7); }

    testsupport::RecordingPanelServices services;
    CSlideOutMan manager{services, testsupport::PlainPanels()};
    PanelStates links{manager};
    CGameStateMan states{&links, nullptr};
};

TEST(MessageBox, OpensOverTheScreenAndAnswersOnceForTheButtonPressed) {
    const struct {
        int mode;
        bool first, second; // enabled
        int pressed;        // 1 or 2; the other is pressed first and must be refused when disabled
        int answer;
    } cases[] = {
        {CVornMessageBox::kFirstOnly, true, false, 1, 1},
        {CVornMessageBox::kSecondOnly, false, true, 2, 2},
        {CVornMessageBox::kBoth, true, true, 2, 2},
        {CVornMessageBox::kBoth, true, true, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " button " << c.pressed);
        BoxScreen screen;
        CVornMessageBox box(7703, 7702, c.mode, screen.states, screen.manager);
        EXPECT_EQ(box.GetResult(), -1);
        ASSERT_TRUE(box.Show());
        EXPECT_EQ(screen.states.GetState(), GAMESTATE_MAIN);
        EXPECT_EQ(screen.manager.GetCurrentSlideOutId(), CSlideOutMan::kMessageBox);
        EXPECT_EQ(screen.manager.GetActiveSlideOut(), screen.Box());
        EXPECT_TRUE(screen.Box()->GetOverlay()->GetKeyedFlag());
        EXPECT_STREQ(static_cast<CTextBoxControl*>(screen.Box()->FindControl(0))->GetText(), "Quit");
        EXPECT_STREQ(static_cast<CTextBoxControl*>(screen.Box()->FindControl(3))->GetText(),
                     "Leave the game? \rAll is saved."); // the space after a word stays before a return
        EXPECT_EQ(screen.Box()->FindControl(1)->GetState() == CControl::kActive, c.first);
        EXPECT_EQ(screen.Box()->FindControl(2)->GetState() == CControl::kActive, c.second);
        EXPECT_EQ(screen.Box()->FindControl(1)->GetSound(), CControl::kSoundPushButton);

        screen.Frames(20);
        EXPECT_EQ(box.GetResult(), 0);
        const int other = 3 - c.pressed;
        if (!(other == 1 ? c.first : c.second)) {
            screen.ClickButton(other);
            EXPECT_EQ(box.GetResult(), 0);
        }
        screen.ClickButton(c.pressed);
        EXPECT_EQ(box.GetResult(), c.answer);
        EXPECT_EQ(box.GetResult(), -1);
        EXPECT_FALSE(box.Close());

        // The box slides away and the screen under it is in front again as it was.
        EXPECT_EQ(screen.manager.GetCurrentSlideOutId(), 7);
        EXPECT_EQ(screen.manager.GetActiveSlideOut(), screen.Main());
        EXPECT_EQ(screen.Main()->GetState(), CSlideOut::kShown);
        EXPECT_EQ(screen.Box()->GetState(), CSlideOut::kSlidingOut);
        screen.Frames(20);
        EXPECT_EQ(screen.Box()->GetState(), CSlideOut::kHiddenState);
        EXPECT_EQ(screen.Box()->FindControl(1)->GetState(), CControl::kInactive);
    }
}

TEST(MessageBox, CloseTakesTheBoxAwayAndBoxesShareOneOpenFlag) {
    BoxScreen screen;
    CVornMessageBox first(7703, 7702, CVornMessageBox::kBoth, screen.states, screen.manager);
    CVornMessageBox second(7500, 7702, CVornMessageBox::kBoth, screen.states, screen.manager);
    ASSERT_TRUE(first.Show());
    screen.Frames(20);
    ASSERT_TRUE(second.Show());
    EXPECT_STREQ(static_cast<CTextBoxControl*>(screen.Box()->FindControl(3))->GetText(), "Again?");
    EXPECT_EQ(first.GetResult(), 0);

    EXPECT_TRUE(first.Close());
    EXPECT_EQ(second.GetResult(), -1);
    EXPECT_FALSE(second.Close());
    EXPECT_EQ(screen.manager.GetCurrentSlideOutId(), 7);
    EXPECT_EQ(screen.manager.GetActiveSlideOut(), screen.Main());
    EXPECT_EQ(screen.Box()->GetState(), CSlideOut::kSlidingOut);
}

TEST(MessageBox, MissingPanelOrControlsAreSkipped) {
    // No panels at all: nothing opens.
    testsupport::RecordingPanelServices services;
    CSlideOutMan manager(services, testsupport::PlainPanels());
    PanelStates links(manager);
    CGameStateMan states(&links, nullptr);
    CVornMessageBox lonely(7703, 7702, CVornMessageBox::kBoth, states, manager);
    EXPECT_FALSE(lonely.Show());
    EXPECT_EQ(lonely.GetResult(), -1);
    EXPECT_EQ(manager.GetCurrentSlideOutId(), -1);

    // A box record with no controls still opens, and closes.
    BoxScreen screen(0);
    CVornMessageBox box(7703, 7702, CVornMessageBox::kBoth, screen.states, screen.manager);
    EXPECT_TRUE(box.Show());
    EXPECT_EQ(box.GetResult(), 0);
    EXPECT_TRUE(box.Close());
}

} // namespace
