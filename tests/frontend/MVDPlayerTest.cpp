#include "VideoBytes.h"

#include "frontend/MVDPlayer.h"
#include "platform/gfx2d/Surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

using namespace zentrix;
using namespace videotest;

namespace {

/// A player on a 5-6-5 surface of 8 x 4, paced by a frame factor the test sets, with a 12-frame
/// 4 x 2 video opened.
struct PlayerFixture {
    PlayerFixture() {
        name = files.Write(Video(12, 4, 2, 12));
        EXPECT_TRUE(player.Open(name.c_str(), surface.get()));
    }
    /// Pixel (0, 0) of the surface: the frame on show is the one whose first pixel it holds.
    int FrameShown() {
        plat::gfx2d::SurfaceView view;
        surface->Lock(view);
        const std::uint16_t p = view.Row16(0)[0];
        surface->Unlock();
        return p == 0 ? -1 : (p >> 8) & 0x7F;
    }

    VideoFiles files;
    std::string name;
    float factor = 1.0f;
    std::unique_ptr<plat::gfx2d::Surface> surface =
        plat::gfx2d::Surface::Create({8, 4}, plat::gfx2d::kFormat565);
    CMVDPlayer player{0, 0, [this] { return factor; }};
};

} // namespace

TEST(MVDPlayer, TheSpeedTimesTheFrameFactorAdvancesThePosition) {
    struct Case {
        float speed, factor, step;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {{0.5f, 0.5f, 0.25f}, {0.5f, 1.0f, 0.5f}, {0.2f, 2.0f, 0.4f},
                          {0.5f, nan, 0.0f},   {0.5f, inf, 0.0f},  {0.5f, -1.0f, 0.0f}};
    for (const Case& c : cases) {
        PlayerFixture f;
        f.player.SetSpeed(c.speed);
        f.factor = c.factor;
        ASSERT_TRUE(f.player.Play(2, 11, false));
        for (int i = 1; i <= 4; ++i) {
            EXPECT_TRUE(f.player.UpdateFrame(16));
            EXPECT_FLOAT_EQ(f.player.GetPosition(), 2.0f + c.step * static_cast<float>(i)) << c.factor;
        }
    }
}

TEST(MVDPlayer, ARangeShowsItsFramesUpToButNotIncludingTheLast) {
    PlayerFixture f;
    ASSERT_TRUE(f.player.Play(0, 3, false));
    EXPECT_EQ(f.player.GetCurrentFrame(), -1);
    std::vector<int> shown;
    while (f.player.UpdateFrame(16))
        shown.push_back(f.FrameShown());
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 1, 2, 2})) << "speed 0.5, frame factor 1";
    EXPECT_FALSE(f.player.IsPlaying());

    ASSERT_TRUE(f.player.Play(10, 10, true));
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(f.player.UpdateFrame(16));
        EXPECT_EQ(f.FrameShown(), 10) << "each update wraps back to the first frame";
    }
}

TEST(MVDPlayer, PlayingToTheFrameCountIsReportedButPlays) {
    PlayerFixture f;
    EXPECT_FALSE(f.player.Play(8, 12, false));
    EXPECT_TRUE(f.player.IsPlaying());
    EXPECT_TRUE(f.player.UpdateFrame(16));
    EXPECT_EQ(f.FrameShown(), 8);

    CMVDPlayer unopened(0, 0, [] { return 1.0f; });
    EXPECT_FALSE(unopened.Play(0, 1, false));
    EXPECT_FALSE(unopened.IsPlaying());
    EXPECT_FALSE(unopened.Open(f.files.folder.Game("none.mvd").c_str(), f.surface.get()));
    EXPECT_FALSE(unopened.Play(0, 1, false));
    EXPECT_EQ(unopened.CachedFileCount(), 0u);
}

TEST(MVDPlayer, ANameOpenedTwiceIsReadOnce) {
    PlayerFixture f;
    std::filesystem::remove(f.files.folder / "video.mvd");
    EXPECT_TRUE(f.player.Open(f.name.c_str(), nullptr)) << "the open file is taken again";
    EXPECT_EQ(f.player.CachedFileCount(), 1u);
    EXPECT_EQ(f.player.GetFrameCount(), 12);
    ASSERT_TRUE(f.player.Play(5, 7, false));
    EXPECT_TRUE(f.player.UpdateFrame(16));
    EXPECT_EQ(f.FrameShown(), 5) << "frames still come from the file opened first";
}

TEST(MVDPlayer, A555SurfaceGetsConvertedFrames) {
    VideoFiles files;
    const std::string name = files.Write(Video(3, 4, 2, 3));
    auto surface = plat::gfx2d::Surface::Create({4, 2}, plat::gfx2d::kFormat555);
    CMVDPlayer player(0, 0, [] { return 2.0f; });
    ASSERT_TRUE(player.Open(name.c_str(), surface.get()));
    EXPECT_EQ(player.GetPixelMode(), CMVDPlayer::kPixels555);
    ASSERT_TRUE(player.Play(0, 2, false));
    ASSERT_TRUE(player.UpdateFrame(16));
    plat::gfx2d::SurfaceView view;
    surface->Lock(view);
    const std::uint16_t p = PixelOf(1, 5);
    EXPECT_EQ(view.Row16(1)[1], ((p >> 1) & 0x7FE0) | (p & 0x1F));
    surface->Unlock();
}
