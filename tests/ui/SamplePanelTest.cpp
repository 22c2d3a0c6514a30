#include "SampleServices.h"
#include "UiFixtures.h"

#include "foundation/assets/Bitmap.h"
#include "platform/gfx2d/SurfaceView.h"
#include "platform/text/TtfFontLibrary.h"
#include "render/CompoundOverlay.h"
#include "support/GoldenImage.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace uitest;

namespace {

constexpr int kTestPanel = 39990;

} // namespace

TEST(SamplePanels, EveryPanelOfTheManagerHasItsRecordAtSixHundredAndFortyByFourEighty) {
    SampleServices services;
    Log log;
    TestManager manager(services, log);
    manager.StartManager();
    for (const auto& panel : manager.GetSlideOuts()) {
        SCOPED_TRACE(panel->GetId());
        int picture = 0;
        EXPECT_TRUE(services.GetInt(panel->GetId(), CSlideOut::kFieldPicture, picture, 0));
        EXPECT_NE(services.GetBitmap(picture), nullptr);
    }
    EXPECT_EQ(manager.GetSlideOuts().size(), 12u);
}

TEST(SamplePanels, TheTestPanelDrawsItsButtonsAndText) {
    SampleServices services;
    Log log;
    CSlideOutMan manager(services, testsupport::PlainPanels());
    TestPanel panel(kTestPanel, &manager, log);
    panel.Init();
    panel.Activate(false);
    for (int i = 0; i < 20; ++i)
        panel.Update(16);
    panel.ActivateControls();
    static_cast<CToggleButton*>(panel.FindControl(2))->SetChecked(true);
    panel.FindControl(1)->OnEnter(); // under the pointer

    // A caption in the panel font, drawn as a text box would.
    std::vector<std::uint8_t> fontBytes;
    ASSERT_TRUE(services.GetAssetData(6999, fontBytes));
    plat::text::TtfFontLibrary fonts;
    std::unique_ptr<plat::text::Font> font = fonts.OpenFont(fontBytes, 14);
    ASSERT_NE(font, nullptr);
    plat::gfx2d::Surface* piece = panel.GetOverlay()->GetSurface();
    plat::gfx2d::SurfaceView view;
    ASSERT_EQ(piece->Lock(view), plat::gfx2d::Result::Ok);
    font->Draw(view, "Panel", {0, 36, 64, 60}, 0x25, {0xFFFFFF, 0, plat::text::BackgroundMode::kTransparent});
    piece->Unlock();

    auto screen = plat::gfx2d::Surface::Create({640, 480}, plat::gfx2d::kFormat565);
    screen->Fill(nullptr, 0x4208);
    EXPECT_TRUE(panel.GetOverlay()->Blit(screen.get()));
    ASSERT_EQ(screen->Lock(view), plat::gfx2d::Result::Ok);
    // The corner of the screen the panel stands in.
    testsupport::RgbImage picture = testsupport::FromRgb565(view.Row16(360), view.pitch, 176, 120);
    screen->Unlock();
    EXPECT_TRUE(testsupport::MatchesGolden("sample_panel", picture));
}
