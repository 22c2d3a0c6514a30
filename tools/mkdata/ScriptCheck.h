#pragma once

#include "SampleSources.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace zentrix;

namespace mkdata {

/// The bytes of an event script below the sources folder (asset.args[0]), checked with the game's own
/// parser: false with the file and the parser's message in error when the script would not run.
bool MakeScript(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out,
                std::string& error);

} // namespace mkdata
