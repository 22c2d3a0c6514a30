#pragma once

#include <string>
#include <string_view>

/// Fonts for the game's text: font files registered while the program runs and fonts made from them by
/// face, height and weight.
namespace plat::text {

/// A font made by the service; 0 is no font.
using FontId = int;

/// What the game asks of a font. A positive height is the cell height (ascent plus descent).
struct FontSpec {
    std::string face;
    int height = 0;
    int weight = 400; ///< 400 normal, 700 and above bold
};

/// The font service. Without the named face's file the real back-end falls back to a bundled bold face.
class FontService {
public:
    virtual ~FontService() = default;
    /// Makes the faces of a font file available; false when the file cannot be used.
    virtual bool AddFontFile(std::string_view path) = 0;
    /// Withdraws the faces of a font file added before.
    virtual void RemoveFontFile(std::string_view path) = 0;
    /// A new font; 0 when it cannot be made.
    virtual FontId CreateFont(const FontSpec& spec) = 0;
    /// Releases a font made by CreateFont.
    virtual void DeleteFont(FontId font) = 0;
};

} // namespace plat::text
