#include "support/GoldenImage.h"
#include "support/Tga.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using testsupport::Image;
using testsupport::ReadTga24;
using testsupport::Rgb;

/// Whether two pixels of the picture show the same colour (blending and stretching round a little).
bool Near(const Rgb& a, const Rgb& b) {
    constexpr int kSameColour = 8;
    return std::abs(a.r - b.r) <= kSameColour && std::abs(a.g - b.g) <= kSameColour &&
           std::abs(a.b - b.b) <= kSameColour;
}

TEST(ScreenDemo, FlippedPictureMatchesTheGoldenImage) {
    const std::filesystem::path output = std::filesystem::path(ZENTRIX_BINARY_DIR) / "screendemo-test.tga";
    std::filesystem::remove(output);
    const std::string command =
        "SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen} SDL_RENDER_DRIVER=${SDL_RENDER_DRIVER:-software} "
        "SDL_FRAMEBUFFER_ACCELERATION=${SDL_FRAMEBUFFER_ACCELERATION:-0} " ZENTRIX_BINARY_DIR "/screendemo " +
        output.string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    Image shown;
    ASSERT_TRUE(ReadTga24(output.string(), shown));
    ASSERT_EQ(shown.width, 640);
    ASSERT_EQ(shown.height, 480);
    testsupport::RgbImage picture{shown.width, shown.height, {}};
    for (const Rgb& p : shown.pixels)
        picture.rgb.insert(picture.rgb.end(), {p.r, p.g, p.b});
    EXPECT_TRUE(testsupport::MatchesGolden("screendemo", picture));

    auto at = [&](int x, int y) { return shown.pixels[static_cast<std::size_t>(y * shown.width + x)]; };
    // The 8 x 6 background fills the screen in 80-pixel blocks.
    EXPECT_TRUE(Near(at(79, 79), at(0, 0)));
    EXPECT_FALSE(Near(at(80, 0), at(0, 0)));
    // The keyed ring: its hole and its surroundings show the background, its band does not.
    EXPECT_TRUE(Near(at(115, 111), at(85, 85)));
    EXPECT_TRUE(Near(at(100, 100), at(85, 85)));
    EXPECT_FALSE(Near(at(105, 111), at(85, 85)));
    EXPECT_TRUE(Near(at(363, 247), at(322, 300)));
    EXPECT_FALSE(Near(at(363, 207), at(322, 300)));
}

} // namespace
