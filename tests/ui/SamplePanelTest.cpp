#include "UiFixtures.h"

#include "foundation/assets/AssetMan.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "render/Bitmap.h"
#include "render/SurfaceMan.h"
#include "support/TempFolder.h"
#include "ui/PushButton.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace uitest;

namespace {

/// The sample set written by mkdata into a temporary folder that is the working folder meanwhile, an
/// asset manager started on it, and panel services that read records and pictures through it.
struct SampleServices : testsupport::RecordingPanelServices {
    testsupport::TempFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
    plat::gfx2d::MemorySurfaceFactory factory;
    CSurfaceMan surfaces{factory};
    std::unique_ptr<CAssetMan> assets;

    SampleServices() {
        const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                    folder.Native("") + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("mkdata failed");
        std::filesystem::current_path(folder.Path());
        CAssetMan::SLinks links;
        links.surfaces = &surfaces;
        assets = std::make_unique<CAssetMan>(std::move(links));
        if (assets->StartManager() != 0)
            throw std::runtime_error("the asset manager did not start");
    }
    ~SampleServices() override {
        assets->StopManager();
        assets.reset();
        std::filesystem::current_path(previous);
    }
    bool GetInt(int assetId, int dataId, int& out, int element) override {
        return assets->GetInt(assetId, dataId, out, element);
    }
    bool GetVector(int assetId, int dataId, CVector& out, int element) override {
        return assets->GetVector(assetId, dataId, out, element);
    }
    std::unique_ptr<CBitmap> GetBitmap(int assetId) override { return assets->GetBitmap(assetId); }
};

constexpr int kTestPanel = 39990;

} // namespace

TEST(SamplePanels, TheTestPanelIsLaidOutFromItsRecord) {
    SampleServices services;
    Log log;
    CSlideOutMan manager(services);
    TestPanel panel(kTestPanel, &manager, log);
    panel.Init();
    ASSERT_EQ(panel.GetControlList().size(), 3u);

    const struct {
        int type;
        plat::gfx2d::Point inactive, active, inside, outside;
        int pressTime, helpId;
    } controls[] = {
        {CControl::kTypePushButton, {8, 8}, {8, 8}, {32, 24}, {33, 24}, 1, 57110},
        {CControl::kTypePushButton, {40, 36}, {40, 8}, {61, 49}, {62, 49}, 3, 57111}, // click area 2..21
                                                                                      // x 2..13
        {CControl::kTypeToggleButton, {72, 8}, {72, 8}, {72, 8}, {71, 8}, 1, 57112},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        auto* button = static_cast<CPushButton*>(panel.FindControl(i));
        EXPECT_EQ(button->GetType(), controls[i].type);
        EXPECT_EQ(button->GetWidth(), 24);
        EXPECT_EQ(button->GetHeight(), 16);
        EXPECT_EQ((plat::gfx2d::Point{button->GetX(), button->GetY()}), controls[i].inactive);
        EXPECT_EQ((plat::gfx2d::Point{button->GetActiveX(), button->GetActiveY()}), controls[i].active);
        EXPECT_TRUE(button->HitTest(controls[i].inside.x, controls[i].inside.y));
        EXPECT_FALSE(button->HitTest(controls[i].outside.x, controls[i].outside.y));
        EXPECT_EQ(button->GetPressTime(), controls[i].pressTime);
        EXPECT_EQ(button->GetHelpId(), controls[i].helpId);
    }

    EXPECT_EQ(panel.GetY(), 480);
    panel.Activate(false);
    for (int i = 0; i < 20; ++i)
        panel.Update(16);
    EXPECT_EQ((plat::gfx2d::Point{panel.GetX(), panel.GetY()}), (plat::gfx2d::Point{20, 380}));
    EXPECT_EQ(panel.GetHelpId(), -1);
}

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
