#include "AudioFixtures.h"

#include "support/SampleSet.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

using namespace zentrix;

namespace audiotest {

SampleSound::SampleSound() : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(testsupport::GeneratedSampleSet());
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
