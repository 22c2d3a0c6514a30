#pragma once

#include "SampleSources.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace zentrix;

/// Writes the sample resource set in the game's own formats: "resource.cfg", the resource table
/// "VORN.rtb", the libraries (one part each) and the loose files below the resource path.
namespace mkdata {

/// Where the set keeps its parts, relative to the output folder (game form).
inline constexpr const char* kResourcePath = "Resources";
inline constexpr const char* kTableName = "VORN.rtb";
/// The font copied as the font asset.
inline constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

/// The library base path (relative to the output folder) behind a library name, or "" for another name.
std::string LibraryBase(const std::string& store);
/// The entry name of an asset's path in its library: the whole path for "[Library]", the path after its
/// first folder for "[Library2]" and "[Library3]", after its second for the world libraries.
std::string EntryName(const Asset& asset);
/// The bytes of an asset as the game reads them; false with the reason in error.
bool BuildContent(const Sources& sources, const Asset& asset, std::vector<std::uint8_t>& out,
                  std::string& error);
/// Writes the whole set into folder (created when missing); false with the reason in error.
bool WriteResourceSet(const Sources& sources, const std::string& folder, std::string& error);

} // namespace mkdata
