#include "platform/raster/SoftwareDevice.h"

#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace plat::raster {

namespace {

using ClipVertex = SoftwareDevice::ClipVertex;

// Triangles are clipped to |x|, |y| <= kGuard * w, so screen positions stay a viewport or so beyond
// each edge; the scissor does the rest. Near: 0 <= z, and w stays positive.
constexpr float kGuard = 3.0f;
constexpr float kMinW = 1e-6f;
constexpr int kPlaneCount = 6;
constexpr int kMaxPolygon = 3 + kPlaneCount;
constexpr unsigned kNotFinite = 1u << kPlaneCount; // an outcode bit of its own

float PlaneDistance(const ClipVertex& v, int plane) {
    switch (plane) {
    case 0:
        return v.z;
    case 1:
        return v.w - kMinW;
    case 2:
        return kGuard * v.w - v.x;
    case 3:
        return kGuard * v.w + v.x;
    case 4:
        return kGuard * v.w - v.y;
    default:
        return kGuard * v.w + v.y;
    }
}

unsigned Outcode(const ClipVertex& v) {
    unsigned code = 0;
    for (int p = 0; p < kPlaneCount; ++p)
        if (PlaneDistance(v, p) < 0.0f)
            code |= 1u << p;
    return code;
}

ClipVertex Mix(const ClipVertex& a, const ClipVertex& b, float t) {
    auto m = [t](float x, float y) { return x + (y - x) * t; };
    return {m(a.x, b.x), m(a.y, b.y), m(a.z, b.z), m(a.w, b.w), m(a.u, b.u),
            m(a.v, b.v), m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

// Sutherland-Hodgman against one plane; returns the new vertex count.
int ClipAgainst(const ClipVertex* in, int n, ClipVertex* out, int plane) {
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % n];
        const float da = PlaneDistance(a, plane), db = PlaneDistance(b, plane);
        if (da >= 0.0f)
            out[count++] = a;
        if ((da >= 0.0f) != (db >= 0.0f))
            out[count++] = Mix(a, b, da / (da - db));
    }
    return count;
}

bool IsFinite(const ClipVertex& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w) &&
           std::isfinite(v.u) && std::isfinite(v.v);
}

float ReadFloat(const std::uint8_t* p) {
    float f;
    std::memcpy(&f, p, sizeof f);
    return f;
}

std::uint32_t ReadWord(const std::uint8_t* p) {
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

void WriteFloat(std::uint8_t* p, float f) {
    std::memcpy(p, &f, sizeof f);
}

void Log(const char* message) {
    std::fprintf(stderr, "raster: %s\n", message);
}

} // namespace

SoftwareDevice::SoftwareDevice(RenderTarget target) {
    SetRenderTarget(target);
}

void SoftwareDevice::SetRenderTarget(RenderTarget target) {
    m_target = target;
    if (!target.IsValid())
        m_target = RenderTarget{};
    if (m_depth.Width() != m_target.width || m_depth.Height() != m_target.height)
        m_depth.Resize(m_target.width, m_target.height);
    m_state.SetViewport({0, 0, m_target.width, m_target.height, 0.0f, 1.0f});
}

DeviceCaps SoftwareDevice::Caps() const {
    return DeviceCaps{};
}

std::vector<gfx2d::PixelFormat> SoftwareDevice::TextureFormats() const {
    return {gfx2d::kFormat565, gfx2d::kFormatArgb1555, gfx2d::kFormatArgb4444, gfx2d::kFormatArgb8888};
}

std::vector<int> SoftwareDevice::DepthFormats() const {
    return {16};
}

void SoftwareDevice::SetTransform(TransformKind kind, const Matrix4& matrix) {
    m_state.SetTransform(kind, matrix);
}
void SoftwareDevice::SetViewport(const Viewport& viewport) {
    // Like the device it stands in for, a viewport must lie inside the render target.
    if (viewport.x < 0 || viewport.y < 0 || viewport.width <= 0 || viewport.height <= 0 ||
        viewport.width > m_target.width - viewport.x || viewport.height > m_target.height - viewport.y ||
        !(viewport.minZ >= 0.0f && viewport.minZ <= viewport.maxZ && viewport.maxZ <= 1.0f)) {
        Log("viewport refused: it does not lie inside the render target");
        return;
    }
    m_state.SetViewport(viewport);
}
void SoftwareDevice::SetRenderState(RenderState state, std::uint32_t value) {
    m_state.Set(state, value);
}
void SoftwareDevice::SetTextureStageState(int stage, StageState state, std::uint32_t value) {
    m_state.Set(stage, state, value);
}
void SoftwareDevice::SetTexture(int stage, const Texture* texture) {
    m_state.Bind(stage, texture);
}
void SoftwareDevice::SetMaterial(const Material& material) {
    m_state.SetMaterial(material);
}
void SoftwareDevice::SetLight(int index, const Light& light) {
    m_state.SetLight(index, light);
}
void SoftwareDevice::EnableLight(int index, bool on) {
    m_state.EnableLight(index, on);
}

bool SoftwareDevice::BeginScene() {
    m_pixelsWritten = 0;
    return m_target.IsValid();
}

void SoftwareDevice::EndScene() {}

gfx2d::Rect SoftwareDevice::Scissor() const {
    const Viewport& vp = m_state.ViewportRect();
    return {std::max(vp.x, 0), std::max(vp.y, 0), std::min(vp.x + std::max(vp.width, 0), m_target.width),
            std::min(vp.y + std::max(vp.height, 0), m_target.height)};
}

void SoftwareDevice::Clear(std::uint32_t flags, std::uint32_t colour, float depth) {
    const gfx2d::Rect r = Scissor();
    if (r.IsEmpty())
        return;
    const std::uint16_t pixel = gfx2d::PackRgb565(colour);
    if (flags & kClearTarget)
        for (int y = r.top; y < r.bottom; ++y)
            std::fill(m_target.Row(y) + r.left, m_target.Row(y) + r.right, pixel);
    if (flags & kClearDepth)
        m_depth.Fill(r, depth);
}

PixelState SoftwareDevice::CurrentPixelState() const {
    using RS = RenderState;
    PixelState p;
    p.texture = m_state.BoundTexture(0);
    if (m_state.Get(0, StageState::ColourOp) == static_cast<std::uint32_t>(TextureOp::Disable))
        p.texture = nullptr;
    p.clamp = m_state.Get(0, StageState::Address) == static_cast<std::uint32_t>(TextureAddress::Clamp);
    p.alphaTest = m_state.Get(RS::AlphaTestEnable) != 0;
    p.alphaFunc = static_cast<Compare>(m_state.Get(RS::AlphaFunc));
    p.alphaRef = m_state.Get(RS::AlphaRef) & 0xFF;
    p.depthTest = m_state.Get(RS::ZEnable) != 0;
    p.depthWrite = m_state.Get(RS::ZWriteEnable) != 0;
    p.depthFunc = static_cast<Compare>(m_state.Get(RS::ZFunc));
    p.blend = m_state.Get(RS::AlphaBlendEnable) != 0;
    p.srcBlend = static_cast<BlendFactor>(m_state.Get(RS::SrcBlend));
    p.destBlend = static_cast<BlendFactor>(m_state.Get(RS::DestBlend));
    return p;
}

void SoftwareDevice::TransformVertices(const VertexBuffer& buffer, int start, int count) {
    const VertexLayout& layout = buffer.Layout();
    m_clipVertices.resize(static_cast<std::size_t>(count));
    const Matrix4 m = m_state.Transform(TransformKind::World) * m_state.Transform(TransformKind::View) *
                      m_state.Transform(TransformKind::Projection);
    const Viewport& vp = m_state.ViewportRect();
    const int texSet = static_cast<int>(m_state.Get(0, StageState::TexCoordIndex));
    const int texOffset = texSet < layout.texCoordCount ? layout.texCoords + 8 * texSet : -1;

    // Lit vertices all take one colour: material emissive + ambient x material ambient. No light
    // is modelled; the engine never turns one on.
    const bool lit = m_state.Get(RenderState::Lighting) != 0 && !layout.screenPosition;
    ClipVertex litColour{};
    if (lit) {
        const Material& mat = m_state.CurrentMaterial();
        const std::uint32_t amb = m_state.Get(RenderState::Ambient);
        auto channel = [](float emissive, std::uint32_t ambient8, float material) {
            return std::clamp(emissive + static_cast<float>(ambient8) / 255.0f * material, 0.0f, 1.0f) *
                   255.0f;
        };
        litColour.r = channel(mat.emissive.r, (amb >> 16) & 0xFF, mat.ambient.r);
        litColour.g = channel(mat.emissive.g, (amb >> 8) & 0xFF, mat.ambient.g);
        litColour.b = channel(mat.emissive.b, amb & 0xFF, mat.ambient.b);
        litColour.a = std::clamp(mat.diffuse.a, 0.0f, 1.0f) * 255.0f;
    }

    const std::uint8_t* p =
        buffer.Data() + static_cast<std::size_t>(start) * static_cast<std::size_t>(layout.stride);
    for (int i = 0; i < count; ++i, p += layout.stride) {
        ClipVertex& out = m_clipVertices[static_cast<std::size_t>(i)];
        const float x = ReadFloat(p), y = ReadFloat(p + 4), z = ReadFloat(p + 8);
        if (layout.screenPosition) {
            // Already on screen: take it back to clip space so one clipper and projection serve both.
            const float rhw = ReadFloat(p + 12);
            const float w = rhw > 0.0f ? 1.0f / rhw : NAN;
            out.x = ((x - static_cast<float>(vp.x)) / (static_cast<float>(vp.width) * 0.5f) - 1.0f) * w;
            out.y = (1.0f - (y - static_cast<float>(vp.y)) / (static_cast<float>(vp.height) * 0.5f)) * w;
            out.z = z * w;
            out.w = w;
        } else {
            out.x = x * m.At(0, 0) + y * m.At(1, 0) + z * m.At(2, 0) + m.At(3, 0);
            out.y = x * m.At(0, 1) + y * m.At(1, 1) + z * m.At(2, 1) + m.At(3, 1);
            out.z = x * m.At(0, 2) + y * m.At(1, 2) + z * m.At(2, 2) + m.At(3, 2);
            out.w = x * m.At(0, 3) + y * m.At(1, 3) + z * m.At(2, 3) + m.At(3, 3);
        }
        out.u = texOffset >= 0 ? ReadFloat(p + texOffset) : 0.0f;
        out.v = texOffset >= 0 ? ReadFloat(p + texOffset + 4) : 0.0f;
        if (lit) {
            out.r = litColour.r, out.g = litColour.g, out.b = litColour.b, out.a = litColour.a;
        } else {
            const std::uint32_t c = layout.diffuse >= 0 ? ReadWord(p + layout.diffuse) : 0xFFFFFFFFu;
            out.r = static_cast<float>((c >> 16) & 0xFF);
            out.g = static_cast<float>((c >> 8) & 0xFF);
            out.b = static_cast<float>(c & 0xFF);
            out.a = static_cast<float>(c >> 24);
        }
    }
}

ScreenVertex SoftwareDevice::Project(const ClipVertex& v) const {
    const Viewport& vp = m_state.ViewportRect();
    const float iw = 1.0f / v.w;
    return {static_cast<float>(vp.x) + (1.0f + v.x * iw) * static_cast<float>(vp.width) * 0.5f,
            static_cast<float>(vp.y) + (1.0f - v.y * iw) * static_cast<float>(vp.height) * 0.5f,
            vp.minZ + v.z * iw * (vp.maxZ - vp.minZ),
            iw,
            v.u * iw,
            v.v * iw,
            v.r,
            v.g,
            v.b,
            v.a};
}

void SoftwareDevice::DrawClipTriangle(int ia, int ib, int ic, bool flat) {
    const unsigned ca = m_outcodes[static_cast<std::size_t>(ia)],
                   cb = m_outcodes[static_cast<std::size_t>(ib)],
                   cc = m_outcodes[static_cast<std::size_t>(ic)];
    if (((ca | cb | cc) & kNotFinite) || (ca & cb & cc))
        return;
    const unsigned crossing = ca | cb | cc;
    if (crossing == 0) { // inside every plane: the corners' projections stand as they are
        ScreenVertex screen[3] = {m_screenVertices[static_cast<std::size_t>(ia)],
                                  m_screenVertices[static_cast<std::size_t>(ib)],
                                  m_screenVertices[static_cast<std::size_t>(ic)]};
        if (flat) // a flat triangle takes its first vertex's colour
            for (ScreenVertex& v : screen)
                v.r = screen[0].r, v.g = screen[0].g, v.b = screen[0].b, v.a = screen[0].a;
        DrawScreenTriangle(screen, 3);
        return;
    }

    const ClipVertex& a = m_clipVertices[static_cast<std::size_t>(ia)];
    ClipVertex bufA[kMaxPolygon], bufB[kMaxPolygon];
    bufA[0] = a, bufA[1] = m_clipVertices[static_cast<std::size_t>(ib)],
    bufA[2] = m_clipVertices[static_cast<std::size_t>(ic)];
    if (flat)
        for (ClipVertex& v : bufA)
            v.r = a.r, v.g = a.g, v.b = a.b, v.a = a.a;
    int n = 3;
    ClipVertex* poly = bufA;
    ClipVertex* spare = bufB;
    for (int plane = 0; plane < kPlaneCount && n >= 3; ++plane) {
        if (crossing & (1u << plane)) {
            n = ClipAgainst(poly, n, spare, plane);
            std::swap(poly, spare);
        }
    }
    if (n < 3)
        return;
    ScreenVertex screen[kMaxPolygon];
    for (int i = 0; i < n; ++i)
        screen[i] = Project(poly[i]);
    DrawScreenTriangle(screen, n);
}

void SoftwareDevice::DrawScreenTriangle(const ScreenVertex* screen, int n) {
    double area = 0.0;
    for (int i = 0; i < n; ++i) {
        const ScreenVertex& p = screen[i];
        const ScreenVertex& q = screen[(i + 1) % n];
        area += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    // Screen y runs down, so a positive area is clockwise as the viewer sees it.
    const auto cull = static_cast<CullMode>(m_state.Get(RenderState::CullMode));
    if (area == 0.0 || (cull == CullMode::CounterClockwise && area < 0.0) ||
        (cull == CullMode::Clockwise && area > 0.0))
        return;
    for (int i = 1; i + 1 < n; ++i)
        m_rasterizer.DrawTriangle(screen[0], screen[i], screen[i + 1]);
}

void SoftwareDevice::DrawIndexedTriangles(const VertexBuffer& buffer, int startVertex, int vertexCount,
                                          const std::uint16_t* indices, int indexCount) {
    const VertexLayout& layout = buffer.Layout();
    if (layout.stride == 0) {
        Log("draw refused: the vertex layout has no single kind of position");
        return;
    }
    if (startVertex < 0 || vertexCount < 0 || indexCount < 0 ||
        static_cast<long long>(startVertex) + vertexCount > buffer.Count() ||
        (indices == nullptr && indexCount > 0)) {
        Log("draw refused: the vertex or index range lies outside the buffer");
        return;
    }
    const gfx2d::Rect scissor = Scissor();
    if (!m_target.IsValid() || scissor.IsEmpty())
        return;
    TransformVertices(buffer, startVertex, vertexCount);
    m_outcodes.resize(m_clipVertices.size());
    m_screenVertices.resize(m_clipVertices.size());
    for (std::size_t i = 0; i < m_clipVertices.size(); ++i) {
        const ClipVertex& v = m_clipVertices[i];
        m_outcodes[i] = IsFinite(v) ? Outcode(v) : kNotFinite;
        if (m_outcodes[i] == 0)
            m_screenVertices[i] = Project(v);
    }
    // Only an opaque draw that writes depths may be drawn nearest first: only its overdraw matters.
    const PixelState pixels = CurrentPixelState();
    Rasterizer::RunOptions options;
    if (!pixels.blend && !pixels.alphaTest && pixels.depthTest && pixels.depthWrite)
        options.overdraw = EstimateOverdraw(indices, indexCount, vertexCount);
    m_rasterizer.Begin(pixels, m_target, m_depth, scissor, options);
    const bool flat = m_state.Get(RenderState::ShadeMode) == static_cast<std::uint32_t>(ShadeMode::Flat);
    bool reported = false;
    for (int i = 0; i + 2 < indexCount; i += 3) {
        const int ia = indices[i], ib = indices[i + 1], ic = indices[i + 2];
        if (ia >= vertexCount || ib >= vertexCount || ic >= vertexCount) {
            if (!reported)
                Log("triangle skipped: an index lies past the vertex count");
            reported = true;
            continue;
        }
        DrawClipTriangle(ia, ib, ic, flat);
    }
    m_rasterizer.End();
    m_pixelsWritten += m_rasterizer.PixelsWritten();
}

float SoftwareDevice::EstimateOverdraw(const std::uint16_t* indices, int indexCount, int vertexCount) const {
    // The triangles that need no clipping and are not culled, one in kSample (enough for a guess):
    // their area against the box that holds them.
    constexpr int kSample = 4;
    const auto cull = static_cast<CullMode>(m_state.Get(RenderState::CullMode));
    double area = 0.0;
    float left = std::numeric_limits<float>::max(), top = left, right = -left, bottom = -left;
    for (int i = 0; i + 2 < indexCount; i += 3 * kSample) {
        const int corner[3] = {indices[i], indices[i + 1], indices[i + 2]};
        if (corner[0] >= vertexCount || corner[1] >= vertexCount || corner[2] >= vertexCount)
            continue;
        const auto a = static_cast<std::size_t>(corner[0]), b = static_cast<std::size_t>(corner[1]),
                   c = static_cast<std::size_t>(corner[2]);
        if ((m_outcodes[a] | m_outcodes[b] | m_outcodes[c]) != 0)
            continue;
        const ScreenVertex &p = m_screenVertices[a], &q = m_screenVertices[b], &r = m_screenVertices[c];
        const double twice = (static_cast<double>(q.x) - p.x) * (static_cast<double>(r.y) - p.y) -
                             (static_cast<double>(r.x) - p.x) * (static_cast<double>(q.y) - p.y);
        if ((cull == CullMode::CounterClockwise && twice < 0.0) ||
            (cull == CullMode::Clockwise && twice > 0.0))
            continue;
        area += std::fabs(twice) * 0.5;
        left = std::min({left, p.x, q.x, r.x});
        right = std::max({right, p.x, q.x, r.x});
        top = std::min({top, p.y, q.y, r.y});
        bottom = std::max({bottom, p.y, q.y, r.y});
    }
    // Triangles reach into the guard band around the scissor rectangle, so the box is not cut to it.
    const double box =
        std::max(0.0, static_cast<double>(right) - left) * std::max(0.0, static_cast<double>(bottom) - top);
    return box > 0.0 ? static_cast<float>(area * kSample / box) : 0.0f;
}

bool SoftwareDevice::ProcessVertices(std::uint32_t flags, const VertexBuffer& source, int sourceStart,
                                     int count, VertexBuffer& destination, int destinationStart) {
    const VertexLayout& in = source.Layout();
    const VertexLayout& out = destination.Layout();
    if (in.stride == 0 || in.screenPosition || out.stride == 0 || !out.screenPosition || sourceStart < 0 ||
        destinationStart < 0 || count < 0 || static_cast<long long>(sourceStart) + count > source.Count() ||
        static_cast<long long>(destinationStart) + count > destination.Count()) {
        Log("vertex processing refused: the buffers do not fit");
        return false;
    }
    if (!(flags & kProcessTransform))
        return true;
    const Matrix4 m = m_state.Transform(TransformKind::World) * m_state.Transform(TransformKind::View) *
                      m_state.Transform(TransformKind::Projection);
    const Viewport& vp = m_state.ViewportRect();
    const std::uint8_t* p =
        source.Data() + static_cast<std::size_t>(sourceStart) * static_cast<std::size_t>(in.stride);
    std::uint8_t* q = destination.Lock() +
                      static_cast<std::size_t>(destinationStart) * static_cast<std::size_t>(out.stride);
    for (int i = 0; i < count; ++i, p += in.stride, q += out.stride) {
        const float x = ReadFloat(p), y = ReadFloat(p + 4), z = ReadFloat(p + 8);
        const float cx = x * m.At(0, 0) + y * m.At(1, 0) + z * m.At(2, 0) + m.At(3, 0);
        const float cy = x * m.At(0, 1) + y * m.At(1, 1) + z * m.At(2, 1) + m.At(3, 1);
        const float cz = x * m.At(0, 2) + y * m.At(1, 2) + z * m.At(2, 2) + m.At(3, 2);
        const float cw = x * m.At(0, 3) + y * m.At(1, 3) + z * m.At(2, 3) + m.At(3, 3);
        const float rhw = 1.0f / cw;
        WriteFloat(q, static_cast<float>(vp.x) + (1.0f + cx * rhw) * static_cast<float>(vp.width) * 0.5f);
        WriteFloat(q + 4,
                   static_cast<float>(vp.y) + (1.0f - cy * rhw) * static_cast<float>(vp.height) * 0.5f);
        WriteFloat(q + 8, vp.minZ + cz * rhw * (vp.maxZ - vp.minZ));
        WriteFloat(q + 12, rhw);
        if (in.texCoords >= 0 && out.texCoords >= 0)
            std::memcpy(q + out.texCoords, p + in.texCoords, 8);
    }
    destination.Unlock();
    return true;
}

} // namespace plat::raster
