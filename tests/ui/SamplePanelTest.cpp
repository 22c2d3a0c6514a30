#include "UiFixtures.h"

#include "foundation/assets/AssetMan.h"
#include "platform/gfx2d/SurfaceFactory.h"
#include "render/Bitmap.h"
#include "render/SurfaceMan.h"
#include "support/TempFolder.h"

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
