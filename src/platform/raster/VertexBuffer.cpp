#include "platform/raster/VertexBuffer.h"

#include "platform/raster/Types.h"

#include <algorithm>

namespace plat::raster {

VertexLayout VertexLayout::FromBits(std::uint32_t bits) {
    VertexLayout l;
    l.bits = bits;
    const bool world = (bits & kPosition) != 0, screen = (bits & kScreenPosition) != 0;
    if (world == screen)
        return l;
    int offset = 0;
    l.position = 0;
    l.screenPosition = screen;
    offset += screen ? 16 : 12;
    if (bits & kNormal) {
        l.normal = offset;
        offset += 12;
    }
    if (bits & kReserved)
        offset += 4;
    if (bits & kDiffuse) {
        l.diffuse = offset;
        offset += 4;
    }
    if (bits & kSpecular) {
        l.specular = offset;
        offset += 4;
    }
    l.texCoordCount = static_cast<int>((bits & kTexCountMask) >> 8);
    if (l.texCoordCount > 0) {
        l.texCoords = offset;
        offset += 8 * l.texCoordCount;
    }
    l.stride = offset;
    return l;
}

VertexBuffer::VertexBuffer(std::uint32_t layoutBits, int count)
    : m_layout(VertexLayout::FromBits(layoutBits)), m_count(std::max(count, 0)),
      m_bytes(static_cast<std::size_t>(m_count) * static_cast<std::size_t>(m_layout.stride)) {}

} // namespace plat::raster
