#include "VideoBytes.h"

#include "frontend/VideoFile.h"

#include <gtest/gtest.h>

using namespace zentrix;

using namespace videotest;

TEST(VideoFile, TheHeaderIsCheckedBeforeItSizesAnything) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool loads;
    };
    const Case cases[] = {
        {"a 3-frame 4 x 2 video", Video(3, 4, 2, 3), true},
        {"longer than its frames", Video(3, 4, 2, 3, 16, "VORN_VIDEO 1", 5), true},
        {"another magic", Video(3, 4, 2, 3, 16, "VORN_VIDEO 2"), false},
        {"the magic without its zero byte", Video(3, 4, 2, 3, 16, "VORN_VIDEO 1x"), false},
        {"15 bits per pixel", Video(3, 4, 2, 3, 15), false},
        {"width 0", Video(3, 0, 2, 3), false},
        {"a negative width", Video(3, -4, 2, 3), false},
        {"a negative height", Video(3, 4, -2, 3), false},
        {"wider than 4096", Video(1, 4097, 1, 1), false},
        {"a frame short", Video(3, 4, 2, 2, 16, "VORN_VIDEO 1", 15), false},
        // 0x80000 frames of 4096 x 4096 x 2 bytes: 2^44 bytes, past 32 bits and past any file
        {"frames that overflow 32 bits", Video(0x80000, 4096, 4096, 0), false},
        {"count x size wrapping to a small number", Video(0x80000000u, 1, 2, 1), false},
    };
    VideoFiles files;
    for (const Case& c : cases) {
        const std::string name = files.Write(c.bytes);
        for (int mode : {CVideoFile::kPreload, CVideoFile::kStream}) {
            CVideoFile video(0, 0, 0);
            EXPECT_EQ(video.Load(mode, name.c_str()), c.loads) << c.name << " mode " << mode;
            EXPECT_EQ(video.GetFrameCount(), c.loads ? 3 : 0) << c.name;
            std::uint16_t frame[8] = {};
            EXPECT_EQ(video.GetFrame(2, frame, 4, 2, 8, 1), c.loads) << c.name;
        }
    }
}

TEST(VideoFile, EveryCutOfAVideoIsRefusedWhole) {
    const Bytes whole = Video(3, 4, 2, 3);
    VideoFiles files;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const std::string name = files.Write(Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
        for (int mode : {CVideoFile::kPreload, CVideoFile::kStream}) {
            CVideoFile video(0, 0, 0);
            ASSERT_EQ(video.Load(mode, name.c_str()), length == whole.size()) << length;
        }
    }
}

TEST(VideoFile, NoFramesLoadOnlyForStreamingAndAnOpenFailureLeavesAZeroHeader) {
    VideoFiles files;
    const std::string empty = files.Write(Video(0, 4, 2, 0));
    CVideoFile preload(0, 0, 0);
    EXPECT_FALSE(preload.Load(CVideoFile::kPreload, empty.c_str()));
    CVideoFile stream(0, 0, 0);
    EXPECT_TRUE(stream.Load(CVideoFile::kStream, empty.c_str()));
    EXPECT_EQ(stream.GetFrameCount(), 0);
    std::uint16_t frame[8] = {};
    EXPECT_FALSE(stream.GetFrame(0, frame, 4, 2, 8, 1));

    CVideoFile missing(0, 0, 0);
    EXPECT_FALSE(missing.Load(CVideoFile::kStream, files.folder.Game("none.mvd").c_str()));
    CVideoFile badMode(0, 0, 0);
    EXPECT_FALSE(badMode.Load(2, files.Write(Video(3, 4, 2, 3)).c_str()));
    EXPECT_EQ(badMode.GetFrameCount(), 0);
    EXPECT_EQ(badMode.GetWidth(), 0);
}

TEST(VideoFile, FramesAreWrittenOnlyInsideTheDestinationAndConvertedFor555) {
    VideoFiles files;
    const std::string name = files.Write(Video(3, 4, 2, 3));
    constexpr std::uint16_t kUntouched = 0xABCD;
    struct Case {
        const char* name;
        int index, width, height, pitch, mode;
        bool written;
    };
    const Case cases[] = {
        {"5-6-5, rows apart by the pitch", 1, 4, 2, 12, 1, true},
        {"5-5-5 with a wider pitch", 2, 6, 3, 12, 0, true},
        {"another mode writes 5-5-5", 0, 4, 2, 8, 2, true},
        {"index = frame count", 3, 4, 2, 8, 1, false},
        {"index -1", -1, 4, 2, 8, 1, false},
        {"a destination a column narrower", 0, 3, 2, 8, 1, false},
        {"a destination a row lower", 0, 4, 1, 8, 1, false},
        {"a pitch shorter than a row", 0, 4, 2, 6, 1, false},
    };
    for (int mode : {CVideoFile::kPreload, CVideoFile::kStream}) {
        CVideoFile video(0, 0, 0);
        ASSERT_TRUE(video.Load(mode, name.c_str()));
        for (const Case& c : cases) {
            std::vector<std::uint16_t> out(64, kUntouched);
            EXPECT_EQ(video.GetFrame(c.index, out.data(), c.width, c.height, c.pitch, c.mode), c.written)
                << c.name;
            const int stride = c.pitch / 2;
            for (int i = 0; i < 64; ++i) {
                const int x = i % stride;
                const int y = i / stride;
                std::uint16_t expected = kUntouched;
                if (c.written && x < 4 && y < 2) {
                    const std::uint16_t p = PixelOf(c.index, y * 4 + x);
                    expected = c.mode == 1 ? p : static_cast<std::uint16_t>(((p >> 1) & 0x7FE0) | (p & 0x1F));
                }
                ASSERT_EQ(out[i], expected) << c.name << " at " << x << "," << y << " mode " << mode;
            }
        }
    }
}
