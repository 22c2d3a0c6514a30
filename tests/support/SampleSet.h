#pragma once

#include <filesystem>

namespace testsupport {

/// The sample resource set as mkdata writes it from data/sample, made once per test program in a
/// temporary folder; tests copy it or read it from there.
const std::filesystem::path& GeneratedSampleSet();

} // namespace testsupport
