#pragma once

#include "foundation/assets/AssetMan.h"
#include "foundation/assets/Bitmap.h"
#include "render/SurfacePictures.h"
#include "support/PanelDoubles.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

using namespace zentrix;

namespace uitest {

/// The sample set written by mkdata into a temporary folder that is the working folder meanwhile, an
/// asset manager started on it (its fonts from the recording library), and panel services that read
/// records, pictures, texts and fonts through it.
struct SampleServices : testsupport::RecordingPanelServices {
    testsupport::TempFolder folder;
    std::filesystem::path previous = std::filesystem::current_path();
    CSurfacePictures pictures{&surfaces};
    std::unique_ptr<CAssetMan> assets;

    SampleServices() {
        const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                    folder.Native("") + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("mkdata failed");
        std::filesystem::current_path(folder.Path());
        CAssetMan::SLinks links;
        links.pictures = &pictures;
        links.fonts = &fontLibrary;
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
    bool GetAssetData(int assetId, std::vector<std::uint8_t>& out) override {
        return assets->GetAssetData(assetId, out);
    }
    bool LoadAssetIntoString(int assetId, std::string& out) override {
        return assets->LoadAssetIntoString(assetId, out);
    }
    plat::text::Font* GetFont(int index) override { return assets->GetFont(index); }
};

} // namespace uitest
