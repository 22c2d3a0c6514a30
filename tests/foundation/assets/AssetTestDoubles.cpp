#include "AssetTestDoubles.h"

#include "support/SampleSet.h"

#include <cstdlib>
#include <stdexcept>

using namespace zentrix;

namespace assettest {

SampleWorld::SampleWorld() {
    std::filesystem::copy(testsupport::GeneratedSampleSet(), folder.Path(),
                          std::filesystem::copy_options::recursive);
    folder.MakeFolder("Settings");
    settings.SetString("Path", folder.Game("Settings"));
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());

    CAssetMan::SLinks links;
    links.host = &services;
    links.settings = &settings;
    links.fonts = &fonts;
    links.engine = &services;
    links.pictures = &pictures;
    links.audio = &audio;
    links.makeGraphicsCaches = [this](CAssetMan&) { return std::make_unique<FakeCaches>(log); };
    links.makeScriptCache = [this](CAssetMan&) { return std::make_unique<FakeCaches>(log); };
    assets = std::make_unique<CAssetMan>(std::move(links));
}

SampleWorld::~SampleWorld() {
    assets.reset();
    std::filesystem::current_path(m_previous);
}

} // namespace assettest
