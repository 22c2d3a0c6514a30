#pragma once

#include "platform/print/Printer.h"

#include <filesystem>

namespace plat::print {

/// Writes `picture` as an 8-bit RGB PNG file at `path` (a system path), replacing it, with its resolution
/// of `dotsPerInch` (1 or more) written into it; false (and no file left behind) when the picture is
/// invalid or the file cannot be written.
bool WritePng(const std::filesystem::path& path, const RgbPicture& picture, int dotsPerInch);

} // namespace plat::print
