#pragma once

#include "platform/text/Font.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace plat::text {

/// The face used when a named font cannot be had.
inline constexpr std::string_view kFallbackFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

/// Where fonts come from: font files added for the program's run and found by face name, font data
/// in memory, and font files by name.
class FontLibrary {
public:
    virtual ~FontLibrary() = default;

    /// Makes the face of a font file (a game path) available to CreateFont until it is removed; false
    /// when the file is missing or holds no font. A file added twice must be removed twice.
    virtual bool AddFontFile(std::string_view path) = 0;

    /// Withdraws one addition of a font file; false when it was not added.
    virtual bool RemoveFontFile(std::string_view path) = 0;

    /// A font of the face at a cell height: the most recently added file whose family name, or family
    /// and style name, matches the face in any letter case; else the fallback face. Null when no font can
    /// be opened at that height.
    virtual std::unique_ptr<Font> CreateFont(std::string_view face, int height) = 0;

    /// A font from the bytes of a font file; null when they hold no font.
    virtual std::unique_ptr<Font> OpenFont(std::span<const std::uint8_t> bytes, int height) = 0;

    /// A font from a font file (a game path); the fallback face when the file is missing.
    virtual std::unique_ptr<Font> OpenFontFile(std::string_view path, int height) = 0;
};

} // namespace plat::text
