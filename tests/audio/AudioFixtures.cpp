#include "AudioFixtures.h"

#include "support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

using namespace zentrix;

namespace audiotest {

namespace {

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

SampleSound::SampleSound() : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(GeneratedSet());
    CAssetMan::SLinks links;
    links.audio = &factory;
    assets = std::make_unique<CAssetMan>(std::move(links));
    if (assets->StartManager() != 0)
        throw std::runtime_error("the asset manager did not start");
    controller.assets = assets.get();
}

SampleSound::~SampleSound() {
    controller.assets = nullptr;
    assets->StopManager();
    assets.reset();
    controller.Stop();
    std::filesystem::current_path(m_previous);
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name))
        m_old = old;
    setenv(name, value, 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_old)
        setenv(m_name, m_old->c_str(), 1);
    else
        unsetenv(m_name);
}

} // namespace audiotest
