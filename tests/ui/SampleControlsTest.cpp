#include "SampleServices.h"
#include "UiFixtures.h"

#include "app/GameStateMan.h"
#include "foundation/assets/Bitmap.h"
#include "ui/MessageBoxSlideOut.h"
#include "ui/PowerMeter.h"
#include "ui/SliderBar.h"
#include "ui/TextBoxControl.h"
#include "ui/TextEditControl.h"
#include "ui/VornMessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zentrix;

using namespace uitest;

TEST(SampleControls, TheMessageBoxRecordAsksAndAnswers) {
    SampleServices services;
    CSlideOutMan manager(services, testsupport::PlainPanels());
    manager.StartManager();
    PanelStates links(manager);
    CGameStateMan states(&links, nullptr);
    states.SetState(GAMESTATE_MAIN);

    auto* panel = dynamic_cast<CMessageBoxSlideOut*>(manager.GetSlideOutByIndex(CSlideOutMan::kMessageBox));
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->GetControlList().size(), 4u);
    CVornMessageBox box(7914, 7913, CVornMessageBox::kFirstOnly, states, manager);
    ASSERT_TRUE(box.Show());
    EXPECT_STREQ(static_cast<CTextBoxControl*>(panel->FindControl(0))->GetText(), "Controllers");
    EXPECT_STREQ(static_cast<CTextBoxControl*>(panel->FindControl(3))->GetText(),
                 "Two players have the same controller. \rChoose another one for each.");
    for (int i = 0; i < 20; ++i)
        manager.Update(30);
    // Both texts are drawn on the box's picture as it slides in.
    for (const char* text :
         {"Controllers", "Two players have the same controller. \rChoose another one for each."}) {
        const auto& draws = services.fontLibrary.Draws();
        EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [&](const auto& draw) {
            return draw.text == text;
        })) << text;
    }
    // The first button, 80 x 32 at (40, 112) of a box shown at (160, 160).
    services.latest[VORNMSG_SLIDEOUT_CLICK] = CMessage(VORNMSG_SLIDEOUT_CLICK, 160 + 60, 160 + 120, 0);
    manager.Update(30);
    EXPECT_EQ(box.GetResult(), 1);
    EXPECT_EQ(manager.GetCurrentSlideOutId(), 7);
    manager.StopManager();
}

TEST(SampleControls, TheControlsPanelBuildsEveryControl) {
    SampleServices services;
    Log log;
    CSlideOutMan manager(services, testsupport::PlainPanels());
    TestPanel panel(39920, &manager, log);
    panel.Init();
    panel.Activate(true);
    const auto& controls = panel.GetControlList();
    ASSERT_EQ(controls.size(), 5u);

    auto* slider = dynamic_cast<CSliderBar*>(controls[0].get());
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->GetValue(), 50);
    EXPECT_EQ(slider->GetTravel(), 80);
    auto* text = dynamic_cast<CTextBoxControl*>(controls[1].get());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->GetText(), "Do you really want to\rleave the game?");
    EXPECT_EQ(controls[2]->GetType(), CControl::kTypeTextBox);
    EXPECT_EQ(dynamic_cast<CTextBoxControl*>(controls[2].get())->GetText(), nullptr);
    auto* edit = dynamic_cast<CTextEditControl*>(controls[3].get());
    ASSERT_NE(edit, nullptr);
    panel.ActivateControls();
    EXPECT_EQ(edit->GetMaxLength(), CTextEditControl::kDefaultMaxLength);
    EXPECT_EQ(edit->GetBackgroundColour(), 4210752u);
    edit->SetHighlighted(true);
    EXPECT_EQ(edit->GetBackgroundColour(), 16777215u);
    auto* meter = dynamic_cast<CPowerMeter*>(controls[4].get());
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->GetImageCount(), 5);
    ASSERT_NE(meter->GetImage(3), nullptr);
    EXPECT_EQ(meter->GetImage(3)->GetWidth(), 40);
}
