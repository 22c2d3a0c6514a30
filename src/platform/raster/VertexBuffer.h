#pragma once

#include <cstdint>
#include <vector>

namespace plat::raster {

/// Where each part of a vertex sits in a layout; -1 for a part the layout lacks.
struct VertexLayout {
    std::uint32_t bits = 0;
    int stride = 0;
    int position = -1; // 3 floats, or 4 (x, y, z, 1/w) for screen positions
    bool screenPosition = false;
    int normal = -1;    // 3 floats
    int diffuse = -1;   // 0xAARRGGBB
    int specular = -1;  // 0xAARRGGBB
    int texCoords = -1; // first pair of floats
    int texCoordCount = 0;

    /// Decodes layout bits; a layout with no position, or both kinds, comes back with stride 0.
    static VertexLayout FromBits(std::uint32_t bits);
};

/// A plain array of vertices of one layout. Locking gives the first byte; it never waits or fails.
class VertexBuffer {
public:
    /// Room for `count` vertices of `layoutBits`, all bytes 0.
    VertexBuffer(std::uint32_t layoutBits, int count);

    /// First byte of the vertices.
    std::uint8_t* Lock() { return m_bytes.data(); }
    /// Ends a write (nothing to do for memory buffers).
    void Unlock() {}
    const std::uint8_t* Data() const { return m_bytes.data(); }
    const VertexLayout& Layout() const { return m_layout; }
    int Count() const { return m_count; }

private:
    VertexLayout m_layout;
    int m_count;
    std::vector<std::uint8_t> m_bytes;
};

} // namespace plat::raster
