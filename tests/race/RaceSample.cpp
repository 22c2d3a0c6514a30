#include "RaceSample.h"

#include "support/SampleSet.h"

using namespace zentrix;

namespace racetest {

void RaceSample::SetUp() {
    std::filesystem::copy(testsupport::GeneratedSampleSet(), folder.Path(),
                          std::filesystem::copy_options::recursive);
    m_previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    CAssetMan::SLinks links;
    links.settings = &settings;
    assets = std::make_unique<CAssetMan>(std::move(links));
    ASSERT_EQ(assets->StartManager(), 0);
}

void RaceSample::TearDown() {
    if (assets)
        assets->StopManager();
    assets.reset();
    std::filesystem::current_path(m_previous);
}

} // namespace racetest
