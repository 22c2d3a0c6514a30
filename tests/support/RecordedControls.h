#pragma once

// Recorded driving controls of the headless runs: tests/golden/<name>_controls.txt, one 40 ms frame a line.

#include "app/DriverControls.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

/// True when ZENTRIX_RECORD_DRIVE=1 asks the runs to record their controls again.
bool RecordingControlsAsked();
/// The frames of tests/golden/<name>_controls.txt (comment lines skipped; reading stops at a bad line).
std::vector<zentrix::CDriverControls> ReadControls(const std::string& name);
/// Writes the frames to tests/golden/<name>_controls.txt, replacing it.
void WriteControls(const std::string& name, const std::vector<zentrix::CDriverControls>& frames);
/// The frames of `name`, recorded again by `record` first when RecordingControlsAsked().
std::vector<zentrix::CDriverControls>
ReadOrRecordControls(const std::string& name,
                     const std::function<std::vector<zentrix::CDriverControls>()>& record);

} // namespace testsupport
