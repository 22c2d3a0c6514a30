#pragma once

// Small scenes for the rasterizer tests: a canvas with a device looking down +z through a 90-degree
// projection, and vertices placed by their screen position and depth.

#include "platform/raster/SoftwareDevice.h"
#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"
#include "support/GoldenImage.h"

#include <cstring>
#include <functional>
#include <vector>

namespace rasterkit {

using namespace plat::raster;
using plat::gfx2d::kFormat565;
using plat::gfx2d::kFormatArgb1555;
using plat::gfx2d::kFormatArgb4444;
using plat::gfx2d::kFormatArgb8888;
using plat::gfx2d::PackRgb565;
using plat::gfx2d::PixelFormat;
using plat::gfx2d::UnpackRgb565;

/// A pre-lit vertex (position, 0xAARRGGBB, texture coordinates).
struct V {
    float x, y, z;
    std::uint32_t colour;
    float u, v;
};

/// The engine's projection: horizontal and vertical cotangents, depth 0 at near and 1 at far.
inline Matrix4 Projection(float cotH, float cotV, float nearZ, float farZ) {
    Matrix4 m;
    const float q = farZ / (farZ - nearZ);
    m.At(0, 0) = cotH;
    m.At(1, 1) = cotV;
    m.At(2, 2) = q;
    m.At(2, 3) = 1.0f;
    m.At(3, 2) = -q * nearZ;
    return m;
}

/// A vertex buffer of one layout written from floats and words in layout order.
inline VertexBuffer MakeBuffer(std::uint32_t layout, const std::vector<std::vector<float>>& vertices) {
    VertexBuffer vb(layout, static_cast<int>(vertices.size()));
    std::uint8_t* p = vb.Lock();
    for (const auto& v : vertices) {
        std::memcpy(p, v.data(), v.size() * 4);
        p += vb.Layout().stride;
    }
    return vb;
}

inline float Word(std::uint32_t w) {
    float f;
    std::memcpy(&f, &w, 4);
    return f;
}

/// A texture of 0xAARRGGBB values made by `pixel`(x, y).
inline Texture MakeTexture(int w, int h, const std::function<std::uint32_t(int, int)>& pixel,
                           PixelFormat format = kFormatArgb8888) {
    Texture t(w, h, format);
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            argb.push_back(pixel(x, y));
    t.SetArgb(argb);
    return t;
}

class Canvas {
public:
    static constexpr float kNear = 1.0f, kFar = 100.0f;

    /// A w x h target cleared to `background` and depth 1, lighting off (pre-lit vertices).
    Canvas(int w, int h, std::uint32_t background = 0x000000)
        : m_w(w), m_h(h), m_pixels(static_cast<std::size_t>(w * h)),
          m_device(RenderTarget{m_pixels.data(), w * 2, w, h}) {
        m_device.SetTransform(TransformKind::Projection,
                              Projection(1.0f, static_cast<float>(w) / static_cast<float>(h), kNear, kFar));
        m_device.SetRenderState(RenderState::Lighting, 0);
        m_device.Clear(kClearTarget | kClearDepth, background, 1.0f);
    }

    SoftwareDevice& Device() { return m_device; }

    /// A vertex that lands on screen at (sx, sy) at view depth z.
    V At(float sx, float sy, float z, std::uint32_t colour = 0xFFFFFFFF, float u = 0, float v = 0) const {
        const float hw = static_cast<float>(m_w) / 2, hh = static_cast<float>(m_h) / 2;
        return {(sx / hw - 1.0f) * z,
                (1.0f - sy / hh) * z * static_cast<float>(m_h) / static_cast<float>(m_w),
                z,
                colour,
                u,
                v};
    }

    /// Draws pre-lit vertices as an indexed triangle list.
    void Draw(const std::vector<V>& vs, const std::vector<std::uint16_t>& indices) {
        std::vector<std::vector<float>> raw;
        for (const V& v : vs)
            raw.push_back({v.x, v.y, v.z, Word(v.colour), v.u, v.v});
        VertexBuffer vb = MakeBuffer(kLayoutPrelit, raw);
        m_device.DrawIndexedTriangles(vb, 0, vb.Count(), indices.data(), static_cast<int>(indices.size()));
    }

    /// A screen rectangle at depth z as two clockwise triangles, texture corners (0,0)-(u1,v1).
    void Rect(float x0, float y0, float x1, float y1, float z, std::uint32_t colour, float u1 = 1,
              float v1 = 1) {
        Draw({At(x0, y0, z, colour, 0, 0), At(x1, y0, z, colour, u1, 0), At(x1, y1, z, colour, u1, v1),
              At(x0, y1, z, colour, 0, v1)},
             {0, 1, 2, 0, 2, 3});
    }

    /// Pixel (x, y) widened to 0xRRGGBB.
    std::uint32_t Rgb(int x, int y) const {
        return UnpackRgb565(m_pixels[static_cast<std::size_t>(y * m_w + x)]) & 0xFFFFFF;
    }
    float Depth(int x, int y) const { return m_device.Depth().At(x, y); }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    testsupport::RgbImage Image() const {
        return testsupport::FromRgb565(m_pixels.data(), m_w * 2, m_w, m_h);
    }

private:
    int m_w, m_h;
    std::vector<std::uint16_t> m_pixels;
    SoftwareDevice m_device;
};

} // namespace rasterkit
