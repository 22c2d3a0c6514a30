// Text typed by the player, drawn in any format into any rectangle: the first byte picks the format
// bits, the background mode, the font size and whether the rectangle takes 16-bit or full 32-bit
// coordinates; the rectangle follows, then the text. Nothing may be written outside the rectangle or
// the picture, and the drawn height is 0 exactly when nothing can be drawn.

#include "platform/text/TtfFontLibrary.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kWidth = 64, kHeight = 48, kBorder = 8, kStride = kWidth + 2 * kBorder;
constexpr std::uint16_t kGuard = 0xABCD;

template <typename T> T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static plat::text::TtfFontLibrary library;
    static const std::array<std::unique_ptr<plat::text::Font>, 4> fonts = {
        library.CreateFont("", 14), library.CreateFont("", 19), library.CreateFont("", 38),
        library.CreateFont("", 78)};
    if (size < 1 + 16)
        return 0;
    const std::uint8_t choice = Take<std::uint8_t>(data, size);
    plat::gfx2d::Rect rect;
    if (choice & 0x80) {
        rect = {Take<std::int32_t>(data, size), Take<std::int32_t>(data, size),
                Take<std::int32_t>(data, size), Take<std::int32_t>(data, size)};
    } else {
        rect = {Take<std::int16_t>(data, size) % 200, Take<std::int16_t>(data, size) % 200,
                Take<std::int16_t>(data, size) % 200, Take<std::int16_t>(data, size) % 200};
        data += 8;
        size -= 8;
    }
    const unsigned format =
        ((choice & 1) ? 0x01u : 0u) | ((choice & 2) ? 0x04u : 0u) | ((choice & 4) ? 0x20u : 0u);
    const auto mode =
        (choice & 8) ? plat::text::BackgroundMode::kOpaque : plat::text::BackgroundMode::kTransparent;
    const plat::text::Font& font = *fonts[(choice >> 4) & 3];
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(kStride) * (kHeight + 2 * kBorder), kGuard);
    std::uint16_t* origin = pixels.data() + kBorder * kStride + kBorder;
    for (int y = 0; y < kHeight; ++y)
        std::fill(origin + y * kStride, origin + y * kStride + kWidth, 0);
    const plat::gfx2d::SurfaceView view{
        reinterpret_cast<std::uint8_t*>(origin), kStride * 2, {kWidth, kHeight}, plat::gfx2d::kFormat565};
    const int result = font.Draw(view, text, rect, format, {0xFFFFFF, 0x00FF00, mode});
    font.Measure(text, format);

    const plat::gfx2d::Rect clip = rect.Intersect(view.Bounds());
    for (int y = -kBorder; y < kHeight + kBorder; ++y)
        for (int x = -kBorder; x < kWidth + kBorder; ++x) {
            const std::uint16_t pixel = origin[y * kStride + x];
            const bool onPicture = x >= 0 && x < kWidth && y >= 0 && y < kHeight;
            if (!onPicture && pixel != kGuard)
                std::abort();
            if (onPicture && pixel != 0 && !clip.Contains(plat::gfx2d::Point{x, y}))
                std::abort();
        }
    const bool hasText = !text.empty() && text[0] != '\0';
    if ((result != 0) != (hasText && !clip.IsEmpty()))
        std::abort();
    return 0;
}
