#include "engine/Texture.h"
#include "engine/EngineLog.h"
#include "engine/TextureList.h"
#include "engine/TexturePixel.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace zentrix;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Header(int type, int width, int height, int depth, int descriptor = 0) {
    Bytes h(18, 0);
    h[2] = static_cast<std::uint8_t>(type);
    h[12] = static_cast<std::uint8_t>(width), h[13] = static_cast<std::uint8_t>(width >> 8);
    h[14] = static_cast<std::uint8_t>(height), h[15] = static_cast<std::uint8_t>(height >> 8);
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = static_cast<std::uint8_t>(descriptor);
    return h;
}

Bytes Tga(int type, int width, int height, int depth, int descriptor, const Bytes& body) {
    Bytes b = Header(type, width, height, depth, descriptor);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

TexelRgba Pixel(const CTexture& t, int x, int y) {
    TexelRgba p;
    GetTexturePixel(x, y, t.GetWidth(), t.GetPixels(), t.GetFormat(), p.r, p.g, p.b, p.a);
    return p;
}

bool IsPlaceholder(const CTexture& t) {
    return t.GetWidth() == 64 && t.GetHeight() == 64 && t.GetFormat() == kFormat5550 &&
           t.GetPixels()[2] == 73;
}

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override { SetEngineLogFile(folder.Native("engine.log")); }
    void TearDown() override { SetEngineLogFile("ombrel.log"); }
    std::string Log() const { return folder.Read("engine.log"); }
    testsupport::TempFolder folder;
};

TEST_F(TextureTest, DecodesDepthsOrientationsAndRunLengthPackets) {
    // Two rows of two 24-bit pixels: the file holds row A then row B.
    const Bytes rowA = {1, 2, 3, 4, 5, 6}, rowB = {7, 8, 9, 10, 11, 12};
    Bytes twoRows = rowA;
    twoRows.insert(twoRows.end(), rowB.begin(), rowB.end());
    struct Case {
        const char* what;
        Bytes file;
        std::uint32_t format;
        TexelRgba topLeft, bottomRight;
    };
    const Case cases[] = {
        {"bottom-up rows come out reversed",
         Tga(2, 2, 2, 24, 0, twoRows),
         kFormat8880,
         {9, 8, 7, 255},
         {6, 5, 4, 255}},
        {"top-down rows stay",
         Tga(2, 2, 2, 24, 0x20, twoRows),
         kFormat8880,
         {3, 2, 1, 255},
         {12, 11, 10, 255}},
        {"32-bit keeps its alpha",
         Tga(2, 1, 1, 32, 0x20, {10, 20, 30, 40}),
         kFormat8888,
         {30, 20, 10, 40},
         {30, 20, 10, 40}},
        {"16-bit is X1R5G5B5",
         Tga(2, 1, 1, 16, 0x20, {0x1F, 0x7C}),
         kFormat5550,
         {255, 0, 255, 0},
         {255, 0, 255, 0}},
        {"repeat packet 0x83 gives four equal pixels",
         Tga(10, 4, 1, 24, 0x20, {0x83, 1, 2, 3}),
         kFormat8880,
         {3, 2, 1, 255},
         {3, 2, 1, 255}},
        {"raw packet 0x03 gives four pixels",
         Tga(10, 4, 1, 24, 0x20, {0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 5, 6}),
         kFormat8880,
         {1, 1, 1, 255},
         {6, 5, 4, 255}},
        {"a packet longer than the image stops at its end",
         Tga(10, 2, 1, 24, 0x20, {0xFF, 9, 9, 9}),
         kFormat8880,
         {9, 9, 9, 255},
         {9, 9, 9, 255}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CTexture t;
        t.LoadFromMemory(c.file.data(), c.file.size(), "plain.tga");
        ASSERT_EQ(t.GetFormat(), c.format);
        EXPECT_EQ(Pixel(t, 0, 0), c.topLeft);
        EXPECT_EQ(Pixel(t, t.GetWidth() - 1, t.GetHeight() - 1), c.bottomRight);
    }
}

TEST_F(TextureTest, FlagsComeFromThePixelsAndTheName) {
    const Bytes magenta24 = Tga(2, 1, 1, 24, 0, {255, 0, 255});
    const Bytes grey24 = Tga(2, 1, 1, 24, 0, {9, 9, 9});
    const Bytes any32 = Tga(2, 1, 1, 32, 0, {255, 0, 255, 255});
    struct Case {
        const Bytes* file;
        const char* name;
        std::uint32_t flags;
        int alphaLevel;
    };
    const Case cases[] = {
        {&magenta24, "a.tga", kTexKeyed, 0},
        {&any32, "a.tga", kTexTranslucent, 0},
        {&grey24, "a!05.tga", kTexTranslucent | kTexAlphaLevel, 85},
        {&grey24, "a!x.tga", kTexTranslucent, 2},
        {&grey24, "a!07x@.tga", kTexTranslucent | kTexAlphaLevel | kTexAdditive, 119},
        {&grey24, "a!20.tga", kTexTranslucent | kTexAlphaLevel, -1},
        {&grey24, "a@.tga", 0, 0},
        {&grey24, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(no name)");
        CTexture t;
        t.LoadFromMemory(c.file->data(), c.file->size(), c.name);
        EXPECT_EQ(t.GetFlags(), c.flags);
        EXPECT_EQ(t.GetAlphaLevel(), c.alphaLevel);
    }
}

TEST_F(TextureTest, PixelsWidenAndWriteBackInEveryFormat) {
    struct Case {
        std::uint32_t format;
        Bytes stored;
        TexelRgba read;
    };
    const Case cases[] = {
        {kFormat5650, {0x1F, 0x08}, {8, 0, 255, 255}}, // 5-bit 1 -> 8, 6-bit 0, 5-bit 31 -> 255
        {kFormat5650, {0x20, 0x00}, {0, 4, 0, 255}},   // 6-bit 1 -> 4
        {kFormat5550, {0x00, 0x7C}, {255, 0, 0, 255}}, {kFormat5551, {0x00, 0x80}, {0, 0, 0, 255}},
        {kFormat4444, {0x21, 0xF0}, {0, 34, 17, 255}}, {kFormat8880, {255, 0, 255}, {255, 0, 255, 0}},
        {kFormat8888, {1, 2, 3, 4}, {3, 2, 1, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        TexelRgba p;
        GetTexturePixel(0, 0, 1, c.stored.data(), c.format, p.r, p.g, p.b, p.a);
        EXPECT_EQ(p, c.read);
        Bytes written(c.stored.size(), 0xAA);
        SetTexturePixel(0, 0, 1, written.data(), c.format, p.r, p.g, p.b, p.a);
        EXPECT_EQ(written, c.stored);
    }
}

TEST_F(TextureTest, BrokenImagesGetThePlaceholderOrTheRamp) {
    // Every cut of a valid image, raw and run-length, falls back cleanly (the sanitizer sees any
    // read past the data).
    for (const Bytes& valid : {Tga(2, 3, 2, 24, 0, Bytes(18, 7)), Tga(10, 4, 1, 32, 0, {0x83, 1, 2, 3, 4})}) {
        for (std::size_t n = 0; n < valid.size(); ++n) {
            SCOPED_TRACE(n);
            const Bytes cut(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n));
            CTexture t;
            t.LoadFromMemory(cut.data(), cut.size(), "cut!05.tga");
            EXPECT_TRUE(IsPlaceholder(t));
            EXPECT_EQ(t.GetFlags(), 0u);
        }
    }
    CTexture huge;
    const Bytes hugeHeader = Header(2, 65535, 65535, 32);
    huge.LoadFromMemory(hugeHeader.data(), hugeHeader.size(), "huge.tga");
    EXPECT_TRUE(IsPlaceholder(huge));
    EXPECT_NE(Log().find("LOG: (LoadTGA) Corrupt TGA: huge.tga\n"), std::string::npos);

    // Another image type or depth is read as the ramp in a 16-bit format at the image's size.
    for (const Bytes& odd : {Tga(1, 3, 2, 8, 0, {}), Tga(2, 3, 2, 8, 0, {}), Tga(3, 3, 2, 24, 0, {})}) {
        CTexture t;
        t.LoadFromMemory(odd.data(), odd.size(), "odd.tga");
        EXPECT_EQ(t.GetWidth(), 3);
        EXPECT_EQ(t.GetFormat(), kFormat5550);
        EXPECT_EQ(t.GetPixels()[2], 73);
    }
    EXPECT_NE(Log().find("LOG: (LoadTGA) TGA is an invalid pixel format\n"), std::string::npos);
}

CTexture* g_callbackResult = nullptr;
std::string g_callbackName;
CTexture* Loader(const char* name) {
    g_callbackName = name;
    return g_callbackResult;
}

TEST_F(TextureTest, LoadingByNameGoesThroughTheLoaderOrTheFile) {
    const Bytes file = Tga(2, 2, 1, 24, 0, {1, 2, 3, 4, 5, 6});
    folder.Write("Wall.tga", std::string(file.begin(), file.end()));
    const std::string lower = folder.Native("wall.TGA");
    CTexture* fromFile = OMBRELLoadTexture(lower.c_str());
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(fromFile->GetWidth(), 2);
    EXPECT_STREQ(fromFile->GetName(), lower.c_str());
    DeleteTexture(fromFile);
    EXPECT_EQ(TextureCount(), 0u);

    SetUserTextureLoadFunction(Loader);
    g_callbackResult = nullptr;
    EXPECT_EQ(OMBRELLoadTexture("gone.tga"), nullptr);
    EXPECT_EQ(g_callbackName, "gone.tga");
    EXPECT_NE(Log().find("LOG: (LoadTexture) User load function failed to find texture gone.tga"),
              std::string::npos);
    CTexture* found = NewTextureFromMemory(file.data(), file.size(), "x.tga");
    g_callbackResult = found;
    EXPECT_EQ(OMBRELLoadTexture(""), found);
    EXPECT_EQ(g_callbackName, "MISSING");
    EXPECT_STREQ(found->GetName(), "MISSING");
    SetUserTextureLoadFunction(nullptr);
    DeleteAllTextures();
    EXPECT_EQ(TextureCount(), 0u);
}

TEST_F(TextureTest, OnlyTgaFilesLoadWithoutALoader) {
    const std::string upper = folder.Native("none.TgA");
    CTexture* t = OMBRELLoadTexture(upper.c_str());
    EXPECT_TRUE(IsPlaceholder(*t));
    DeleteAllTextures();
    EXPECT_EXIT(OMBRELLoadTexture("picture.bmp"), ::testing::ExitedWithCode(3), "");
}

} // namespace
