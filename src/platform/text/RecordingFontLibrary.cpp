#include "platform/text/RecordingFontLibrary.h"

#include "platform/fs/FileSystem.h"

#include <algorithm>
#include <iterator>

namespace plat::text {
namespace {

class RecordingFont final : public Font {
public:
    RecordingFont(std::string face, int height, std::shared_ptr<std::vector<RecordedDraw>> draws)
        : m_face(std::move(face)), m_height(height), m_draws(std::move(draws)) {
        m_advances.fill(std::max(1, height / 2));
    }

    const std::string& FaceName() const override { return m_face; }
    int Height() const override { return m_height; }
    const AdvanceTable& Advances() const override { return m_advances; }

    int Draw(const gfx2d::SurfaceView& target, std::string_view text, const gfx2d::Rect& rect,
             unsigned format, const TextStyle& style) const override {
        m_draws->push_back({m_face, m_height, std::string(text), rect, format, style});
        return Font::Draw(target, text, rect, format, style);
    }

protected:
    void DrawGlyphs(const gfx2d::SurfaceView&, const gfx2d::Rect&, std::int64_t, std::int64_t,
                    std::string_view, std::uint16_t) const override {}

private:
    std::string m_face;
    int m_height;
    AdvanceTable m_advances{};
    std::shared_ptr<std::vector<RecordedDraw>> m_draws;
};

} // namespace

RecordingFontLibrary::RecordingFontLibrary() : m_draws(std::make_shared<std::vector<RecordedDraw>>()) {}

bool RecordingFontLibrary::AddFontFile(std::string_view path) {
    if (!fs::Exists(path))
        return false;
    m_added.emplace_back(path);
    return true;
}

bool RecordingFontLibrary::RemoveFontFile(std::string_view path) {
    auto it = std::find(m_added.rbegin(), m_added.rend(), path);
    if (it == m_added.rend())
        return false;
    m_added.erase(std::next(it).base());
    return true;
}

std::unique_ptr<Font> RecordingFontLibrary::CreateFont(std::string_view face, int height) {
    return std::make_unique<RecordingFont>(std::string(face), height, m_draws);
}

std::unique_ptr<Font> RecordingFontLibrary::OpenFont(std::span<const std::uint8_t> bytes, int height) {
    if (bytes.empty())
        return nullptr;
    return std::make_unique<RecordingFont>("memory", height, m_draws);
}

std::unique_ptr<Font> RecordingFontLibrary::OpenFontFile(std::string_view path, int height) {
    return std::make_unique<RecordingFont>(std::string(path), height, m_draws);
}

} // namespace plat::text
