#include "engine/GeometryBuffer.h"
#include "engine/TextureHelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace zentrix;

namespace {

void FillNumbered(CGeometryBuffer& buffer) {
    for (std::uint32_t i = 0; i < buffer.GetCapacity(); ++i)
        buffer.GetVertices()[i].x = static_cast<float>(i + 1);
}

TEST(GeometryBuffer, ResizeKeepsWhatFits) {
    struct Case {
        std::uint32_t from, count, to;
        std::uint32_t keptVertices, countAfter;
        const char* label;
    };
    const Case cases[] = {
        {10, 7, 4, 4, 4, "shrinking keeps the first vertices and cuts the count"},
        {4, 3, 10, 4, 3, "growing keeps every old vertex and the count"},
        {6, 5, 6, 6, 5, "the same capacity keeps everything"},
        {6, 5, 0, 0, 0, "zero frees the array"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CGeometryBuffer buffer;
        buffer.Resize(c.from);
        FillNumbered(buffer);
        buffer.SetCount(c.count);
        const DecalVertex* before = buffer.GetVertices();
        buffer.Resize(c.to);
        EXPECT_EQ(buffer.GetCapacity(), c.to);
        EXPECT_EQ(buffer.GetCount(), c.countAfter);
        if (c.to == c.from)
            EXPECT_EQ(buffer.GetVertices(), before);
        if (c.to == 0)
            EXPECT_EQ(buffer.GetVertices(), nullptr);
        for (std::uint32_t i = 0; i < c.keptVertices; ++i)
            EXPECT_EQ(buffer.GetVertices()[i].x, static_cast<float>(i + 1)) << i;
        for (std::uint32_t i = c.keptVertices; i < c.to; ++i)
            EXPECT_EQ(buffer.GetVertices()[i].x, 0.0f) << i;
    }
}

TEST(GeometryBuffer, VerticesAreAlignedAndRectanglesFollowTheFlag) {
    CGeometryBuffer buffer;
    buffer.Resize(5);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(buffer.GetVertices()) % 32, 0u);
    EXPECT_EQ(buffer.GetTexRects(), nullptr);
    buffer.SetTexRectsEnabled(true);
    buffer.Resize(8);
    ASSERT_NE(buffer.GetTexRects(), nullptr);
    buffer.GetTexRects()[7].right = 0.99f; // the whole array is usable
    buffer.Clear();
    EXPECT_EQ(buffer.GetTexRects(), nullptr);
    EXPECT_EQ(buffer.GetCount(), 0u);
}

TEST(GeometryBuffer, CountNeverExceedsTheCapacity) {
    CGeometryBuffer buffer;
    buffer.Resize(3);
    buffer.SetCount(2);
    EXPECT_EQ(buffer.GetCount(), 2u);
    buffer.SetCount(50);
    EXPECT_EQ(buffer.GetCount(), 3u);
}

TEST(TextureReadBytes, ReadsInOrderAndRefusesToRunPastTheEnd) {
    const std::vector<std::uint8_t> data = {1, 2, 3, 4, 5};
    TextureSource source{data.data(), data.size(), 0};
    std::uint8_t out[4] = {};
    ASSERT_TRUE(TextureReadBytes(out, source, 2, false));
    EXPECT_EQ(out[1], 2);
    ASSERT_TRUE(TextureReadBytes(out, source, 3, false));
    EXPECT_EQ(out[0], 3);
    EXPECT_EQ(source.position, 5u);
    out[0] = 99;
    EXPECT_FALSE(TextureReadBytes(out, source, 1, false));
    EXPECT_EQ(out[0], 99);
    EXPECT_EQ(source.position, 5u);
    ASSERT_TRUE(TextureReadBytes(out, source, 4, true));
    EXPECT_EQ(out[0], 1);
    EXPECT_FALSE(TextureReadBytes(out, source, 2, false));
}

} // namespace
