// Drawing with vertex data as a mesh file might carry it (any floats, any indices) and any states
// must never crash, read outside a buffer or convert an out-of-range float to an integer.

#include "platform/raster/SoftwareDevice.h"
#include "platform/raster/Texture.h"
#include "platform/raster/VertexBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace plat::raster;
using plat::gfx2d::kFormatArgb4444;

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint32_t Word() {
        std::uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return w;
    }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool Done() const { return m_pos >= m_size; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    std::vector<std::uint16_t> pixels(32 * 24);
    SoftwareDevice device(RenderTarget{pixels.data(), 64, 32, 24});
    Texture texture(1 + in.Byte() % 7, 1 + in.Byte() % 5, kFormatArgb4444);
    std::vector<std::uint32_t> texels;
    for (int i = 0; i < texture.Width() * texture.Height(); ++i)
        texels.push_back(in.Word());
    texture.SetArgb(texels);

    Matrix4 m;
    for (float& f : m.m) {
        const std::uint32_t w = in.Word();
        std::memcpy(&f, &w, sizeof f);
    }
    device.SetTransform(static_cast<TransformKind>(in.Byte() % 3), m);
    for (int i = 0; i < 6; ++i)
        device.SetRenderState(static_cast<RenderState>(in.Byte() % static_cast<int>(RenderState::Count)),
                              in.Byte() % 8);
    device.SetTextureStageState(0, StageState::Address, in.Byte() & 1);
    device.SetTexture(0, (in.Byte() & 1) ? &texture : nullptr);
    device.SetViewport({in.Byte() % 40 - 4, in.Byte() % 30 - 3, in.Byte() % 40, in.Byte() % 30, 0.0f, 1.0f});
    device.Clear(kClearTarget | kClearDepth, in.Word(), 1.0f);

    static const std::uint32_t kLayouts[] = {kLayoutPrelit, kLayoutUnlit, kLayoutLit, kLayoutScreen};
    VertexBuffer vb(kLayouts[in.Byte() % 4], 1 + in.Byte() % 12);
    std::uint8_t* p = vb.Lock();
    for (int i = 0; i < vb.Count() * vb.Layout().stride; ++i)
        p[i] = in.Byte();
    std::vector<std::uint16_t> indices;
    while (!in.Done() && indices.size() < 60)
        indices.push_back(static_cast<std::uint16_t>(in.Byte() % 14));
    device.DrawIndexedTriangles(vb, 0, vb.Count(), indices.data(), static_cast<int>(indices.size()));
    VertexBuffer screen(kLayoutScreen, vb.Count());
    device.ProcessVertices(kProcessTransform, vb, 0, vb.Count(), screen, 0);
    device.DrawIndexedTriangles(screen, 0, screen.Count(), indices.data(), static_cast<int>(indices.size()));
    return 0;
}
