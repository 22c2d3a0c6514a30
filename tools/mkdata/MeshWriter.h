#pragma once

#include "SampleSources.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace zentrix;

namespace mkdata {

/// The folder the game looks in first for a texture that a jungle mesh names.
inline constexpr const char* kJungleTextures = "Worlds\\Jungle\\JShred\\";

/// The KMB image of a KMT source below the sources folder (asset.args[0]). Every texture the source
/// names must be an asset of the manifest, in the jungle texture folder or beside the mesh's own path,
/// where the game will look for it; the KMB keeps each texture's name as the source gives it.
bool MakeKmb(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out, std::string& error);

} // namespace mkdata
