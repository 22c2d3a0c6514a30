#pragma once

#include "platform/text/FontLibrary.h"

#include <memory>
#include <string>
#include <vector>

namespace plat::text {

/// The font library over SDL_ttf. An added file is read whole, so deleting it afterwards harms no font.
class TtfFontLibrary final : public FontLibrary {
public:
    /// A library whose fallback face is read from fallbackPath (a native path) when first needed.
    explicit TtfFontLibrary(std::string fallbackPath = std::string(kFallbackFontPath));

    bool AddFontFile(std::string_view path) override;
    bool RemoveFontFile(std::string_view path) override;
    std::unique_ptr<Font> CreateFont(std::string_view face, int height) override;
    std::unique_ptr<Font> OpenFont(std::span<const std::uint8_t> bytes, int height) override;
    std::unique_ptr<Font> OpenFontFile(std::string_view path, int height) override;

private:
    struct AddedFile {
        std::string nativePath;
        std::string pathKey; // the path as given, in one spelling
        std::string family;
        std::string fullName; // family and style
        std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    };

    std::unique_ptr<Font> OpenFallback(int height);

    std::string m_fallbackPath;
    std::shared_ptr<const std::vector<std::uint8_t>> m_fallbackBytes;
    std::vector<AddedFile> m_added;
};

} // namespace plat::text
