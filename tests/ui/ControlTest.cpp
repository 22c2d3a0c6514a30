#include "UiFixtures.h"

#include "ui/PushButton.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>

#include <map>

using namespace zentrix;

using namespace uitest;

namespace {

struct LayoutCase {
    const char* name;
    std::map<int, int> fields; ///< layout fields of control 0 (none: the record cannot be read)
    int x, y;                  ///< where the new control stands
    std::vector<std::pair<plat::gfx2d::Point, bool>> hits;
    int helpId;
};

} // namespace

TEST(Control, LayoutPlacesTheControlAndSetsItsClickArea) {
    const LayoutCase cases[] = {
        {"inactive both -1: active position, edges inside",
         {{106, 10}, {107, 20}, {127, -1}, {128, -1}, {112, 30}, {113, 10}, {139, 5}},
         10,
         20,
         {{{10, 20}, true}, {{40, 30}, true}, {{41, 30}, false}, {{40, 31}, false}, {{9, 20}, false}},
         5},
        {"a single -1 is used as read", {{106, 10}, {107, 20}, {127, -1}, {128, 50}}, -1, 50, {}, -1},
        {"hot zone relative to the position",
         {{127, 10}, {128, 20}, {112, 30}, {113, 30}, {114, 2}, {115, 3}, {116, 5}, {117, 6}},
         10,
         20,
         {{{12, 23}, true}, {{15, 26}, true}, {{16, 26}, false}, {{11, 23}, false}, {{30, 40}, false}},
         -1},
        {"hot zone of zeros: the whole rectangle",
         {{127, 10}, {128, 20}, {112, 4}, {113, 4}, {114, 0}, {115, 0}, {116, 0}, {117, 0}},
         10,
         20,
         {{{14, 24}, true}, {{10, 20}, true}},
         -1},
        {"no record: at the origin, no size, no help", {}, 0, 0, {{{0, 0}, true}, {{1, 0}, false}}, -1},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        PanelFixture f;
        for (auto [field, value] : c.fields)
            f.Field(0, field, value);
        f.Layout(0, kProbeType);
        TestPanel& panel = f.Make();
        CControl* control = panel.FindControl(0);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetX(), c.x);
        EXPECT_EQ(control->GetY(), c.y);
        EXPECT_EQ(control->GetState(), CControl::kHidden);
        EXPECT_EQ(control->GetHelpId(), c.helpId);
        for (auto [point, inside] : c.hits)
            EXPECT_EQ(control->HitTest(point.x, point.y), inside) << point.x << "," << point.y;
    }
}

TEST(Control, ClickSoundFollowsTheType) {
    const struct {
        int type;
        bool set;
        int sound;
    } cases[] = {{CControl::kTypePushButton, true, 50100},
                 {CControl::kTypeToggleButton, true, 50101},
                 {CControl::kTypeTextEdit, true, 50102},
                 {CControl::kTypeTextBox, true, 50102},
                 {CControl::kTypeSliderBar, false, 0},
                 {CControl::kTypePowerMeter, false, 0},
                 {CControl::kTypeNone, true, 0}};
    PanelFixture f;
    f.Layout(0, kProbeType);
    CControl* control = f.Make().FindControl(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        control->SetType(c.type);
        control->SetSoundId(0);
        EXPECT_EQ(control->SetSound(1, 2), c.set);
        EXPECT_EQ(control->GetSound(), c.sound);
    }
}

namespace {

using testsupport::Rgb;

constexpr Rgb kLeft{0x10, 0x20, 0x30}, kRight{0x40, 0x80, 0xC0}, kNormal{0, 0xFC, 0}, kPressed{0, 0, 0xF8};

/// A panel picture of two halves in two pieces (0..31 and 32..63) with push button 0 (8 x 8, active at
/// (4, 4), inactive at (40, 4), in the other piece) and toggle 1 at (28, 20), across the pieces' edge.
struct ButtonFixture : PanelFixture {
    CPushButton* push = nullptr;
    CToggleButton* toggle = nullptr;

    explicit ButtonFixture(int pressTime = 0) {
        services.AddPicture(1, 8, 8, kNormal);
        services.AddPicture(2, 8, 8, kPressed);
        services.AddPicture(3, 8, 8, {0xF8, 0xFC, 0});
        testsupport::Image picture{64, 32, {}};
        for (int i = 0; i < 64 * 32; ++i)
            picture.pixels.push_back(i % 64 < 32 ? kLeft : kRight);
        services.pictures[10] = picture;
        services.SetInt(kPanel, CSlideOut::kFieldPicture, 10);
        services.SetPieces(kPanel, {{0, 0, 32, 32}, {32, 0, 64, 32}});
        for (int i = 0; i < 2; ++i) {
            Layout(i, i);
            Field(i, CPushButton::kFieldNormalImage, 1);
            Field(i, CPushButton::kFieldPressedImage, 2);
            Field(i, CPushButton::kFieldHighlightImage, 3);
            Field(i, CPushButton::kFieldPressTime, pressTime);
            Field(i, 139, 77);
        }
        Field(0, CControl::kFieldActiveX, 4);
        Field(0, CControl::kFieldActiveY, 4);
        Field(0, CControl::kFieldInactiveX, 40);
        Field(0, CControl::kFieldInactiveY, 4);
        Field(1, CControl::kFieldActiveX, 28);
        Field(1, CControl::kFieldActiveY, 20);
        Make();
        ShowPanel();
        push = static_cast<CPushButton*>(panel->FindControl(0));
        toggle = static_cast<CToggleButton*>(panel->FindControl(1));
        push->SetSound(0, 0);
        toggle->SetSound(0, 0);
    }
    bool PictureIsUntouched() {
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x)
                if (services.Pixel(x, y) != Pixel565(x < 32 ? kLeft : kRight))
                    return false;
        return true;
    }
};

} // namespace

TEST(PushButton, APressDrawsRunsAFrameThenTheCommandThenTheSound) {
    ButtonFixture f;
    f.push->Enable();
    f.services.log.clear();
    bool pressedOnScreen = false;
    f.services.onUpdateEngine = [&] { pressedOnScreen = f.services.Pixel(6, 6) == Pixel565(kPressed); };
    EXPECT_TRUE(f.push->HandleMouse(6, 6, 0));
    EXPECT_TRUE(pressedOnScreen);
    EXPECT_EQ(f.services.log, (Log{"engine update", "render", "sound 50100"}));
    EXPECT_EQ(f.log, (Log{"command 0"}));
    EXPECT_FALSE(f.push->HandleMouse(6, 6, 0)) << "a second click while pressed";
}

TEST(PushButton, ThePressedPictureStaysForThePressTime) {
    for (auto [pressTime, updates] : {std::pair{0, 1}, {1, 1}, {3, 3}}) {
        SCOPED_TRACE(pressTime);
        ButtonFixture f(pressTime);
        f.push->Enable();
        ASSERT_TRUE(f.push->HandleMouse(6, 6, 0));
        for (int i = 1; i < updates; ++i)
            f.push->UpdateControl();
        EXPECT_EQ(f.push->GetButtonState(), CPushButton::kPressed);
        f.push->UpdateControl();
        EXPECT_EQ(f.push->GetButtonState(), CPushButton::kNormal);
        EXPECT_EQ(f.services.Pixel(6, 6), Pixel565(kNormal));
    }
}

TEST(Buttons, PushButtonsTakeClicksOnlyWhenActiveTogglesAlways) {
    for (int state : {CControl::kHidden, CControl::kInactive, CControl::kActive}) {
        SCOPED_TRACE(state);
        ButtonFixture f;
        f.push->SetState(state);
        f.push->SetPosition(4, 4);
        f.toggle->SetState(state);
        EXPECT_EQ(f.push->HandleMouse(6, 6, 0), state == CControl::kActive);
        EXPECT_TRUE(f.toggle->HandleMouse(30, 22, 0));
        EXPECT_TRUE(f.toggle->IsChecked());
    }
}

TEST(ToggleButton, AClickOnAHighlightedToggleFlipsWhatItWasAndEndsTheHighlight) {
    for (bool checked : {false, true}) {
        SCOPED_TRACE(checked);
        ButtonFixture f;
        f.toggle->SetChecked(checked);
        EXPECT_TRUE(f.toggle->OnEnter());
        EXPECT_FALSE(f.toggle->IsChecked()) << "while highlighted";
        EXPECT_FALSE(f.toggle->OnEnter());
        EXPECT_TRUE(f.toggle->HandleMouse(30, 22, 0));
        EXPECT_EQ(f.toggle->IsChecked(), !checked);
        EXPECT_FALSE(f.toggle->OnLeave()) << "the highlight ended with the click";
        EXPECT_EQ(f.toggle->IsChecked(), !checked);
    }
}

TEST(PushButton, MovingAndHidingPutsThePanelPictureBackPixelForPixel) {
    ButtonFixture f;
    f.push->Enable();
    f.toggle->Enable(); // reaches past the edge of its piece: drawn and saved only within it
    EXPECT_EQ(f.services.Pixel(4, 4), Pixel565(kNormal));
    EXPECT_EQ(f.services.Pixel(31, 20), Pixel565(kNormal));
    EXPECT_EQ(f.services.Pixel(32, 20), Pixel565(kRight));
    f.push->Disable(); // moves to (40, 4), over the other half of the picture
    EXPECT_EQ(f.services.Pixel(4, 4), Pixel565(kLeft));
    EXPECT_EQ(f.services.Pixel(40, 4), Pixel565(kNormal));
    f.push->Enable();
    EXPECT_EQ(f.services.Pixel(40, 4), Pixel565(kRight));
    EXPECT_TRUE(f.push->Hide());
    EXPECT_TRUE(f.toggle->Hide());
    EXPECT_TRUE(f.PictureIsUntouched());
}

TEST(Buttons, HoverHelpOfAPushButtonOnlyFromTheFrontPanel) {
    for (bool front : {false, true}) {
        SCOPED_TRACE(front);
        // A started manager whose front panel is the one under test, or none.
        uitest::Log log;
        testsupport::RecordingPanelServices services;
        services.SetInt(39500, CSlideOut::kFieldControlCount, 2);
        services.SetInt(39500, CSlideOut::kFieldControlType, 0, 0);
        services.SetInt(39500, CSlideOut::kFieldControlType, 1, 1);
        services.SetInt(39500, 139, 77, 0);
        services.SetInt(39500, 139, 78, 1);
        TestManager manager(services, log);
        manager.StartManager();
        if (front)
            manager.SwitchTo(3);
        CSlideOut* panel = manager.FindSlideOut(3);
        for (int id : {0, 1}) {
            panel->FindControl(id)->OnEnter();
            panel->FindControl(id)->UpdateControl();
        }
        Log expected = front ? Log{"hover 77", "hover 78"} : Log{"hover 78"};
        Log hovers;
        for (const std::string& line : services.log)
            if (line.rfind("hover", 0) == 0)
                hovers.push_back(line);
        EXPECT_EQ(hovers, expected);
    }
}
