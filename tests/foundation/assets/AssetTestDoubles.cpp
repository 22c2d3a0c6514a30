#include "AssetTestDoubles.h"

#include <cstdlib>
#include <stdexcept>

using namespace zentrix;

namespace assettest {

namespace {

/// The sample set as mkdata wrote it, once per test program.
const std::filesystem::path& GeneratedSet() {
    static testsupport::TempFolder output;
    static const std::filesystem::path set = [] {
        const std::string command = "'" ZENTRIX_BINARY_DIR "/mkdata' '" ZENTRIX_SOURCE_DIR "/data/sample' '" +
                                    output.Native("set") + "' >/dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("mkdata failed");
        return output.Path() / "set";
    }();
    return set;
}

} // namespace

SampleWorld::SampleWorld() {
    std::filesystem::copy(GeneratedSet(), folder.Path(), std::filesystem::copy_options::recursive);
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
