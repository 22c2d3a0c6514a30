#include "engine/GeometryBuffer.h"

#include <algorithm>
#include <memory>
#include <new>

namespace zentrix {

namespace {

/// Vertex arrays start on 32-byte boundaries, as the device's vertex copies expect.
constexpr std::align_val_t kVertexAlignment{32};

} // namespace

void CGeometryBuffer::AlignedDelete::operator()(DecalVertex* p) const {
    ::operator delete[](p, kVertexAlignment);
}

CGeometryBuffer::CGeometryBuffer() = default;

void CGeometryBuffer::Resize(std::uint32_t n) {
    if (n == m_capacity)
        return;
    std::unique_ptr<DecalVertex[], AlignedDelete> vertices;
    if (n > 0) {
        void* block = ::operator new[](sizeof(DecalVertex) * n, kVertexAlignment);
        vertices.reset(static_cast<DecalVertex*>(block));
        std::uninitialized_value_construct_n(vertices.get(), n);
        if (m_vertices) {
            const std::uint32_t kept = std::min(n, m_capacity);
            std::copy_n(m_vertices.get(), kept, vertices.get());
            if (n < m_capacity)
                m_count = n;
        }
    }
    m_vertices = std::move(vertices);
    m_texRects.reset();
    if (m_texRectsEnabled && n > 0)
        m_texRects.reset(new TexRect[n]());
    m_capacity = n;
    if (!m_vertices)
        m_count = 0;
}

void CGeometryBuffer::SetCount(std::uint32_t n) {
    m_count = std::min(n, m_capacity);
}

} // namespace zentrix
