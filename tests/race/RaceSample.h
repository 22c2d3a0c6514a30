#pragma once

// The sample set as the race code reads it: a copy of mkdata's output that is the current directory
// while the fixture lives, with a started asset manager over it and settings in memory.

#include "foundation/assets/AssetMan.h"
#include "foundation/base/AppSettings.h"
#include "platform/settings/MemoryStore.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace racetest {

class RaceSample : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    testsupport::TempFolder folder;
    plat::settings::MemoryStore store;
    zentrix::CAppSettings settings{store};
    std::unique_ptr<zentrix::CAssetMan> assets;

private:
    std::filesystem::path m_previous;
};

} // namespace racetest
