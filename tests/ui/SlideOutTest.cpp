#include "UiFixtures.h"

#include "render/CompoundOverlay.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

constexpr int kPanel = PanelFixture::kPanel;

/// A panel sliding between `hidden` and `shown` with help item `helpId`; its picture has two pieces,
/// shown side by side at (0, 0) and (32, 0), hidden at (-500, 0) and (32, 400).
struct SlideFixture : PanelFixture {
    SlideFixture(plat::gfx2d::Point hidden, plat::gfx2d::Point shown, int helpId = -1) {
        services.AddPicture(10, 64, 32, {0x10, 0x20, 0x30});
        services.SetInt(kPanel, CSlideOut::kFieldPicture, 10);
        const int rows[2][6] = {{0, 0, -500, 0, 32, 32}, {32, 0, 32, 400, 32, 32}};
        for (int piece = 0; piece < 2; ++piece)
            for (int k = 0; k < 6; ++k)
                services.SetInt(kPanel, CCompoundOverlay::kFieldShownX + k, rows[piece][k], piece);
        services.SetVector(kPanel, CSlideOut::kFieldHiddenPosition, static_cast<float>(hidden.x),
                           static_cast<float>(hidden.y));
        services.SetVector(kPanel, CSlideOut::kFieldShownPosition, static_cast<float>(shown.x),
                           static_cast<float>(shown.y));
        services.SetInt(kPanel, CSlideOut::kFieldHelpId, helpId);
        Make();
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(services.log.begin(), services.log.end(), line));
    }
};

} // namespace

TEST(SlideOut, SlidingInReachesTheShownPositionExactlyOnTheTwentiethUpdate) {
    const struct {
        plat::gfx2d::Point hidden, shown;
        int helpId;
    } cases[] = {{{0, 480}, {0, 301}, 900}, {{-213, 47}, {19, 47}, -1}, {{640, 0}, {397, 3}, 901}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.x);
        SlideFixture f(c.hidden, c.shown, c.helpId);
        EXPECT_EQ(f.panel->GetX(), c.hidden.x);
        EXPECT_EQ(f.panel->GetY(), c.hidden.y);
        f.panel->Activate(false);
        for (int i = 1; i < 20; ++i)
            f.panel->Update(16);
        EXPECT_EQ(f.panel->GetState(), CSlideOut::kSlidingIn);
        EXPECT_EQ(f.services.log.size(), 1u) << "only the overlay, no help yet";
        f.panel->Update(16);
        EXPECT_EQ(f.panel->GetState(), CSlideOut::kShown);
        EXPECT_EQ(f.panel->GetX(), c.shown.x);
        EXPECT_EQ(f.panel->GetY(), c.shown.y);
        // Every piece at its shown offset, not a pixel short.
        std::vector<COverlay*> pieces;
        f.services.LastOverlay()->GetOverlayList(pieces);
        ASSERT_EQ(pieces.size(), 2u);
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(pieces[k]->COverlay::GetX(), c.shown.x + 32 * k);
            EXPECT_EQ(pieces[k]->COverlay::GetY(), c.shown.y);
        }
        EXPECT_EQ(f.Count("help " + std::to_string(c.helpId) + " 1"), c.helpId == -1 ? 0 : 1);
        EXPECT_EQ(f.panel->HasStartedHelp(), c.helpId != -1);
        f.panel->Update(16);
        EXPECT_EQ(f.services.log.size(), c.helpId == -1 ? 1u : 2u) << "nothing more once shown";
    }
}

TEST(SlideOut, SlidingOutReleasesThePictureWhenItArrives) {
    SlideFixture f({0, 480}, {0, 300});
    f.panel->Activate(false);
    for (int i = 0; i < 20; ++i)
        f.panel->Update(16);
    CCompoundOverlay* overlay = f.panel->GetOverlay();
    f.panel->Deactivate(false);
    EXPECT_FALSE(f.panel->IsActive());
    for (int i = 1; i < 20; ++i)
        f.panel->Update(16);
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kSlidingOut);
    EXPECT_TRUE(f.services.IsLive(overlay));
    f.panel->Update(16);
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kHiddenState);
    EXPECT_EQ(f.panel->GetY(), 480);
    EXPECT_FALSE(f.services.IsLive(overlay));
    EXPECT_FALSE(overlay->IsVisible());
    EXPECT_EQ(f.panel->GetOverlay(), nullptr);
}

TEST(SlideOut, AMoveAtOnceKeepsTheSlideParameter) {
    SlideFixture f({0, 480}, {0, 300});
    // Shown at once, t stays 0: a sliding Deactivate hides it on the next update.
    f.panel->Activate(true);
    EXPECT_EQ(f.panel->GetY(), 300);
    f.panel->Deactivate(false);
    f.panel->Update(16);
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kHiddenState);
    // Slid in, hidden at once, t stays 1: a sliding Activate shows it in full on the next update, every
    // piece exactly where it is shown (t passes 1 there, and the fraction of that step falls short).
    f.panel->Activate(false);
    for (int i = 0; i < 20; ++i)
        f.panel->Update(16);
    f.panel->Deactivate(true);
    EXPECT_EQ(f.panel->GetY(), 480);
    EXPECT_EQ(f.panel->GetOverlay(), nullptr);
    f.panel->Activate(false);
    f.panel->Update(16);
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kShown);
    EXPECT_EQ(f.panel->GetY(), 300);
    std::vector<COverlay*> pieces;
    f.services.LastOverlay()->GetOverlayList(pieces);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0]->COverlay::GetX(), 0);
    EXPECT_EQ(pieces[1]->COverlay::GetX(), 32);
    EXPECT_EQ(pieces[1]->COverlay::GetY(), 300);
}

TEST(SlideOut, ActivatingAnActivePanelOrDeactivatingAHiddenOneChangesNothing) {
    SlideFixture f({0, 480}, {0, 300});
    f.panel->Deactivate(false);
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kHiddenState);
    f.panel->Activate(false);
    f.services.log.clear();
    EXPECT_TRUE(f.panel->Activate(true));
    EXPECT_EQ(f.panel->GetState(), CSlideOut::kSlidingIn);
    EXPECT_TRUE(f.services.log.empty()) << "no second picture";
}

TEST(SlideOut, ControlCountFromTheRecordIsBounded) {
    for (auto [count, made] : {std::pair{0, 0}, {3, 3}, {-5, 0}, {100000, CSlideOut::kMaxControls}}) {
        SCOPED_TRACE(count);
        PanelFixture f;
        for (int i = 0; i < CSlideOut::kMaxControls + 1; ++i)
            f.Layout(i, kProbeType);
        f.services.SetInt(kPanel, CSlideOut::kFieldControlCount, count);
        TestPanel& panel = f.Make();
        EXPECT_EQ(static_cast<int>(panel.GetControlList().size()), made);
        f.services.mouse = {0, 0};
        panel.Update(16);
        EXPECT_EQ(panel.GetHoveredControl() != nullptr, made > 0);
    }
}

TEST(SlideOut, SlidersAreNumberedInLayoutOrderAndUnknownTypesMakeNothing) {
    PanelFixture f;
    int types[] = {5, 0, 5, 42, 5, -1};
    for (int i = 0; i < 6; ++i)
        f.Layout(i, types[i]);
    TestPanel& panel = f.Make();
    EXPECT_EQ(panel.sliders, (Log{"0:0", "2:1", "4:2"}));
    std::vector<int> made;
    for (const auto& control : panel.GetControlList())
        made.push_back(control->GetId());
    EXPECT_EQ(made, (std::vector<int>{0, 1, 2, 4}));
}

TEST(SlideOut, OneControlUpdatesPerUpdateInTurn) {
    PanelFixture f;
    for (int i = 0; i < 3; ++i)
        f.Layout(i, kProbeType);
    TestPanel& panel = f.Make();
    for (int i = 0; i < 4; ++i)
        panel.Update(16);
    EXPECT_EQ(f.log, (Log{"update 0", "update 1", "update 2", "update 0"}));
}

TEST(SlideOut, TheLastControlUnderThePointerIsHovered) {
    PanelFixture f;
    for (int i = 0; i < 3; ++i) {
        f.Layout(i, kProbeType);
        f.Field(i, CControl::kFieldInactiveX, 10 * i);
        f.Field(i, CControl::kFieldInactiveY, 0);
        f.Field(i, CControl::kFieldWidth, 15);
        f.Field(i, CControl::kFieldHeight, 15);
    }
    TestPanel& panel = f.Make();
    f.services.mouse = {12, 5}; // over controls 0 and 1
    panel.Update(16);
    EXPECT_EQ(panel.GetHoveredControl(), panel.FindControl(1));
    EXPECT_EQ(f.log, (Log{"update 0", "enter 1", "draw+ 0", "draw+ 1", "draw+ 2"}));

    // A control that refuses the hover is never hovered, but the change still redraws once.
    f.log.clear();
    panel.Probe(2)->acceptsHover = false;
    f.services.mouse = {22, 5}; // over controls 1 and 2
    panel.Update(16);
    EXPECT_EQ(panel.GetHoveredControl(), nullptr);
    EXPECT_EQ(f.log, (Log{"update 1", "leave 1", "enter 2", "draw+ 0", "draw+ 1", "draw+ 2"}));
    f.log.clear();
    panel.Update(16);
    EXPECT_EQ(f.log, (Log{"update 2", "enter 2", "draw+ 0", "draw+ 1", "draw+ 2"}));
}

TEST(SlideOut, EveryControlIsAskedForAClickAndThePanelSoundIsFixed) {
    PanelFixture f;
    for (int i = 0; i < 3; ++i)
        f.Layout(i, kProbeType);
    TestPanel& panel = f.Make();
    EXPECT_FALSE(panel.MouseClick(3, 4, 0));
    panel.Probe(0)->takesClick = true;
    EXPECT_TRUE(panel.MouseClick(3, 4, 0));
    EXPECT_EQ(std::count(f.log.begin(), f.log.end(), "click 2 3,4"), 2);
    panel.SetSound(1234, 0);
    EXPECT_EQ(panel.GetSoundId(), CSlideOut::kPanelSound);
    panel.SetSoundId(7);
    EXPECT_EQ(panel.GetSoundId(), 7);
}
