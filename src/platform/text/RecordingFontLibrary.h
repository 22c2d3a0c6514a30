#pragma once

#include "platform/text/FontLibrary.h"

#include <memory>
#include <string>
#include <vector>

namespace plat::text {

/// One text output seen by a recording font.
struct RecordedDraw {
    std::string face;
    int height = 0;
    std::string text;
    gfx2d::Rect rect;
    unsigned format = 0;
    TextStyle style;
};

/// A font library for tests: every font has the asked height, every character advances half of it,
/// and every Draw is recorded. Drawing lays the text out and fills the opaque boxes like a real font
/// but writes no glyph pixels.
class RecordingFontLibrary final : public FontLibrary {
public:
    RecordingFontLibrary();

    /// Succeeds for an existing file and remembers it.
    bool AddFontFile(std::string_view path) override;
    bool RemoveFontFile(std::string_view path) override;
    /// A font named after the face (an added file is not needed).
    std::unique_ptr<Font> CreateFont(std::string_view face, int height) override;
    /// A font named "memory"; null for no bytes.
    std::unique_ptr<Font> OpenFont(std::span<const std::uint8_t> bytes, int height) override;
    /// A font named after the path.
    std::unique_ptr<Font> OpenFontFile(std::string_view path, int height) override;

    /// The font files added and not removed, in order.
    const std::vector<std::string>& AddedFiles() const { return m_added; }
    /// Every Draw of every font made here, in order.
    const std::vector<RecordedDraw>& Draws() const { return *m_draws; }
    /// Forgets the recorded draws.
    void ClearDraws() { m_draws->clear(); }

private:
    std::vector<std::string> m_added;
    std::shared_ptr<std::vector<RecordedDraw>> m_draws;
};

} // namespace plat::text
